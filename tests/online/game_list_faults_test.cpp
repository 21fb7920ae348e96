// The real client against game-list and address services that misbehave: one that trickles its
// reply, one that never answers, ones that stop mid-reply, one that answers 404, ones that send
// an HTML page or binary data with a 200, ones that send rows of megabytes. Each client checks
// the version, asks for its address (F7) twice and refreshes the browser's list three times:
// honest, misbehaving, honest. The screenshots tell how long each request held the client, that
// the frames after it come as fast as before, that the rows and the address shown are kept when
// a reply is refused, and that the next honest reply is taken again.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../client/client_test_support.h"
#include "client/version_check.h"
#include "online_checks.h"
#include "online_game.h"

namespace {

using namespace onlinetest;
using clienttest::RawReply;
using clienttest::StandInHttpService;

const Rgb Green{0, 255, 0};
const std::string Ok = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
constexpr size_t Huge = 3 * 1024 * 1024;

RawReply Honest(const std::string& body) { return {Ok + body}; }

// How a misbehaving service answers every request, and what the client makes of it.
struct Misbehaviour {
  std::string name;
  RawReply reply;
  bool slow = false;         // given up on only when the request's time is over
  std::string version;       // the version check's message: "" for "I can not contact"
  std::string address;       // what F7 then shows: "" for the honest address kept
  bool listTaken = false;    // the list is taken (its rows cut): then these are its first rows
  std::string firstRow, secondRow;
  bool escapeWhileWaiting = false;  // Escape comes while the list's request waits
};

std::vector<Misbehaviour> Misbehaviours() {
  const std::string row = "192.0.2.99@Never kept@x@\r\n";
  std::string garbage = "\x1f\x8b\x08";  // a compressed body nobody asked for
  for (int i = 0; i < 3000; ++i) garbage += static_cast<char>((i * 7919 + (i >> 3) * 31) & 0xFF);
  const std::string hugeAddress = std::string(Huge, '7') + "@Huge address@x@\r\n";
  const std::string hugeDescription = "192.0.2.99@" + std::string(Huge, 'D') + "@x@\r\n192.0.2.98@Small@y@\r\n";
  auto kind = [](const std::string& name, RawReply reply, bool slow = false) {
    Misbehaviour m;
    m.name = name;
    m.reply = std::move(reply);
    m.slow = slow;
    return m;
  };
  const std::string cut = "HTTP/1.0 200 OK\r\nContent-Length: 400\r\n\r\n" + row + "192.0";
  std::vector<Misbehaviour> all = {
      kind("trickle", {Ok + row, Ok.size(), 4000}, true),
      kind("silent", {"", 0, 0, true}, true),
      kind("cut-closed", {cut}),
      kind("cut-held", {cut, std::string::npos, 0, true}, true),
      kind("not-found", {"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n"
                         "<html><body>Mail admin@example.org</body></html>\r\n"}),
      kind("html", {Ok + "<!DOCTYPE html>\r\n<html>\r\n<body>Mail webmaster@example.org</body>\r\n</html>\r\n"}),
      kind("binary", {Ok + garbage}),
      kind("huge-address", {Ok + hugeAddress}),
      kind("huge-description", {Ok + hugeDescription}),
      kind("trickle-escape", {Ok + row, Ok.size(), 4000}, true)};
  Misbehaviour& address = all[7];
  address.version = "Version " + std::string(16, '7') + " is now available.  " + GameSiteAddress;
  address.address = std::string(36, '7');
  Misbehaviour& description = all[8];
  description.version = "Version 192.0.2.99@DDDDD is now available.  " + std::string(GameSiteAddress);
  description.address = "192.0.2.99@" + std::string(25, 'D');
  description.listTaken = true;
  description.firstRow = std::string(20, 'D');
  description.secondRow = "Small               ";
  all[9].escapeWhileWaiting = true;
  return all;
}

// Frames of the script. The version is checked at start-up; F7 is pressed twice in the menu
// (honest, then misbehaving); the browser's list is refreshed three times (honest, misbehaving,
// honest), with Span frames after each of the first two shot every Part frames (PacedShots).
namespace Frame {
constexpr int Part = 60, Parts = 5, Span = Part * Parts;
constexpr int AddressBefore = 19, AddressAsked = 20, MenuA = 26, MenuB = MenuA + Span;
constexpr int Browser = MenuB + 4, HonestList = Browser + 4, ListA = HonestList + 6, ListB = ListA + Span;
constexpr int Refused = ListB + 2, AfterA = Refused + 6, AfterB = AfterA + Span;
constexpr int HonestAgain = AfterB + 2, Recovered = HonestAgain + 6, Leave = Recovered + 2, Exit = Leave + 6;
constexpr int Escaped = Refused + 13, ExitAfterEscape = Escaped + 5;
}  // namespace Frame

// Shots name_a, name_1 ... and name_b (the last) every Part frames from frame on.
std::string PacedShots(int from, const std::string& name) {
  std::ostringstream s;
  for (int k = 0; k <= Frame::Parts; ++k) {
    const std::string suffix = k == 0 ? "a" : k == Frame::Parts ? "b" : std::to_string(k);
    s << from + k * Frame::Part << " shot " << name << "_" << suffix << ".png\n";
  }
  return s.str();
}

std::string ScriptOf(const Misbehaviour& m) {
  std::ostringstream s;
  s << "1 type y\n2 key 13\n8 key 32\n14 key 118\n";
  s << Frame::AddressBefore << " shot address_before.png\n" << Frame::AddressAsked << " key 118\n";
  s << PacedShots(Frame::MenuA, "menu");
  s << Frame::Browser << " key 115\n" << Frame::HonestList << " key 116\n";
  s << PacedShots(Frame::ListA, "list") << Frame::Refused << " key 116\n";
  if (m.escapeWhileWaiting) {
    s << Frame::Refused + 1 << " key 27\n" << Frame::Escaped << " shot escaped.png\n"
      << Frame::ExitAfterEscape << " key 121\n";
    return s.str();
  }
  s << PacedShots(Frame::AfterA, "after");
  s << Frame::HonestAgain << " key 116\n" << Frame::Recovered << " shot recovered.png\n";
  s << Frame::Leave << " key 27\n" << Frame::Exit << " key 121\n";
  return s.str();
}

struct Client {
  Misbehaviour misbehaviour;
  std::unique_ptr<StandInHttpService> service;
  std::string folder;
  pid_t pid = -1;
  ClientRun run;
  std::string File(const std::string& name) const { return folder + "/" + name; }
  double Between(const std::string& first, const std::string& second) const {
    return WrittenAt(File(second)) - WrittenAt(File(first));
  }
  // The time the fastest Part frames of the shots PacedShots named took: a busy machine that
  // holds the program up for a moment slows some parts, not all of them.
  double FastestPart(const std::string& name) const {
    double fastest = 1e9;
    for (int k = 0; k < Frame::Parts; ++k) {
      const auto shot = [&](int i) {
        return name + "_" + (i == 0 ? "a" : i == Frame::Parts ? "b" : std::to_string(i)) + ".png";
      };
      fastest = std::min(fastest, Between(shot(k), shot(k + 1)));
    }
    return fastest;
  }
};

class GameListFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    PreparePictures();
    char pattern[] = "/tmp/qxr-online-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    root_ = made;
  }
  void TearDown() override {
    if (HasFailure()) {
      std::cerr << "client folders kept in " << root_ << "\n";
      return;
    }
    if (root_.rfind("/tmp/qxr-online-test-", 0) == 0 && std::system(("rm -rf '" + root_ + "'").c_str()) != 0) return;
  }
  std::string root_;
};

TEST_F(GameListFaults, AMisbehavingServiceNeitherFreezesTheClientNorReplacesWhatItShows) {
  std::vector<Client> clients;
  for (const Misbehaviour& m : Misbehaviours()) {
    Client c;
    c.misbehaviour = m;
    c.service = std::make_unique<StandInHttpService>(std::map<std::string, std::string>{});
    c.service->Answer("/v.php", m.reply);
    c.service->Answer("/ip.php", Honest("203.0.113.7\r\n"));
    c.service->Answer("/ip.php", m.reply);
    c.service->Answer("/getLobby.php", Honest("192.0.2.10@First list@x@\r\n192.0.2.11@Second row@y@\r\n"));
    c.service->Answer("/getLobby.php", m.reply);
    c.service->Answer("/getLobby.php", Honest("192.0.2.20@Later list@z@\r\n"));
    c.folder = root_ + "/" + m.name;
    mkdir(c.folder.c_str(), 0755);
    WriteText(c.File("ip.txt"), SettingsText({"Tester", "", "0", "", "", "", ""}));
    clients.push_back(std::move(c));
  }
  for (Client& c : clients)
    c.pid = clienttest::StartClientProgram(clienttest::InstallClient(c.folder), c.folder, ScriptOf(c.misbehaviour),
                                           {"/w"},
                                           {{"QXR_GAMELIST_HOST", c.service->Host()},
                                            {"QXR_ADDRESS_HOST", c.service->Host()}});
  for (Client& c : clients) c.run = clienttest::WaitClientProgram(c.pid, c.folder, 300);

  for (Client& c : clients) {
    const Misbehaviour& m = c.misbehaviour;
    SCOPED_TRACE(m.name);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.errors;
    const std::string contact = "I can not contact " + c.service->Host() + "\n";
    std::string expected = (m.version.empty() ? contact : m.version + "\n");
    if (!m.listTaken) expected += contact;
    EXPECT_EQ(c.run.errors, expected);

    // Each request ended within its time (5 s) and a margin for a loaded machine; one that
    // waited for the service to finish would take 20 s and more.
    const double addressWait = c.Between("address_before.png", "menu_a.png");
    const double listWait = c.Between("list_b.png", m.escapeWhileWaiting ? "escaped.png" : "after_a.png");
    for (double wait : {addressWait, listWait}) {
      EXPECT_LT(wait, 12.0);
      if (m.slow) {
        EXPECT_GT(wait, 4.0) << "given up on before its time";
      }
    }

    const Shot listed(c.File("list_a.png"));
    ASSERT_TRUE(listed.Loaded());
    EXPECT_TRUE(BigTextAt(listed, "First list          ", 32, 16, Green));
    EXPECT_TRUE(BigTextAt(listed, "192.0.2.11", 385, 32, Green));

    const Shot menu(c.File("menu_a.png"));
    ASSERT_TRUE(menu.Loaded());
    const std::string shown = m.address.empty() ? "203.0.113.7" : m.address;
    EXPECT_TRUE(SmallTextAt(menu, "IP: " + shown, 320, 236, Green, true)) << "IP: " << shown;

    // The frames after the request come as fast as those of the honest list, part for fastest
    // part: a kept row or address of megabytes would slow each of them down many times.
    const double honestFrames = c.FastestPart("list");
    EXPECT_LT(c.FastestPart("menu"), 4 * honestFrames + 0.5) << "honest: " << honestFrames;

    if (m.escapeWhileWaiting) {
      const Shot escaped(c.File("escaped.png"));
      ASSERT_TRUE(escaped.Loaded());
      EXPECT_TRUE(BigTextAt(escaped, "F7...Get Your IP Address", 90, 220, Green)) << "Escape did not leave the list";
      continue;
    }
    EXPECT_LT(c.FastestPart("after"), 4 * honestFrames + 0.5) << "honest: " << honestFrames;
    const Shot after(c.File("after_a.png"));
    ASSERT_TRUE(after.Loaded());
    if (m.listTaken) {
      EXPECT_TRUE(BigTextAt(after, m.firstRow, 32, 16, Green));
      EXPECT_TRUE(BigTextAt(after, "192.0.2.99", 385, 16, Green));
      EXPECT_TRUE(BigTextAt(after, m.secondRow, 32, 32, Green));
    } else {
      EXPECT_TRUE(BigTextAt(after, "First list          ", 32, 16, Green)) << "the rows shown were not kept";
      EXPECT_TRUE(BigTextAt(after, "192.0.2.10", 385, 16, Green));
      EXPECT_TRUE(BigTextAt(after, "Second row          ", 32, 32, Green));
      EXPECT_TRUE(BigTextAt(after, "192.0.2.11", 385, 32, Green));
    }
    const Shot recovered(c.File("recovered.png"));
    ASSERT_TRUE(recovered.Loaded());
    EXPECT_TRUE(BigTextAt(recovered, "Later list          ", 32, 16, Green)) << "the next honest list was not taken";
    EXPECT_FALSE(BigTextAt(recovered, "192.0.2.11", 385, 32, Green));
  }
}

}  // namespace
