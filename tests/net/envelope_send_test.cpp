// The send modes, receiving and freeing, the network clock, connecting and closing, over loopback.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

#include "net/envelope.h"
#include "net/net_globals.h"
#include "net_harness.h"
#include "platform/clock.h"
#include "world/records.h"

using namespace net_harness;

namespace {

// A host with two joined clients: A in slot 3, B in slot 4.
class EnvelopeSend : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = StartServer();
    a_ = StartClient(server_.port);
    idA_ = Admit(server_.iface, a_);
    b_ = StartClient(server_.port);
    idB_ = Admit(server_.iface, b_);
    for (PlayersDetails& slot : Slots) slot.netId = -1;
    Slots[3].netId = idA_;
    Slots[4].netId = idB_;
    BeHost();
  }
  void TearDown() override {
    NetLib.DestroyRakClientInterface(a_);
    NetLib.DestroyRakClientInterface(b_);
    NetLib.DestroyRakServerInterface(server_.iface);
    NetInterface = nullptr;
    Hosting = 0;
  }
  void BeHost() {
    Hosting = 1;
    NetInterface = server_.iface;
  }
  void BeClient(RN_Interface* client) {
    Hosting = 0;
    NetInterface = client;
  }
  static void Build(int tag) {
    NetBeginMessage();
    NetWriteByte(tag);
  }
  // The tag of the next message the interface receives through NetReceive, or -1.
  int Received(RN_Interface* at, bool hostSide, int timeoutMs = 2000, RN_PlayerId* sender = nullptr) {
    const int oldHosting = Hosting;
    RN_Interface* oldInterface = NetInterface;
    Hosting = hostSide ? 1 : 0;
    NetInterface = at;
    int tag = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
      if (!NetReceive()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      EXPECT_EQ(NetReadByte(), GameMessageId);
      tag = NetReadByte();
      if (sender != nullptr) *sender = NetLib.PacketGetplayerID(CurrentPacket);
      NetFreePacket();
      EXPECT_EQ(CurrentPacket, nullptr);
      EXPECT_EQ(InStream, nullptr);
      break;
    }
    Hosting = oldHosting;
    NetInterface = oldInterface;
    return tag;
  }
  bool Silent(RN_Interface* at, bool hostSide) { return Received(at, hostSide, 100) == -1; }

  Server server_;
  RN_Interface* a_ = nullptr;
  RN_Interface* b_ = nullptr;
  RN_PlayerId idA_ = 0, idB_ = 0;
};

}  // namespace

TEST_F(EnvelopeSend, HostSendsToOneSlotOrToEveryone) {
  Build(1);
  NetSend(3);
  EXPECT_EQ(Received(a_, false), 1);
  EXPECT_TRUE(Silent(b_, false));

  Build(2);
  NetSend(-1);
  EXPECT_EQ(Received(a_, false), 2);
  EXPECT_EQ(Received(b_, false), 2);

  Build(3);
  NetSend(5);    // a free slot
  NetSend(16);   // no such slot
  NetSend(-7);
  EXPECT_TRUE(Silent(a_, false));
  EXPECT_TRUE(Silent(b_, false));
}

TEST_F(EnvelopeSend, HostChatAndStatesGoToEveryoneAndRepliesToOne) {
  Build(4);
  NetSendChat();
  Build(5);
  NetSendUnreliable();
  for (RN_Interface* c : {a_, b_}) {
    // Two channels: the order between them is not fixed.
    const int first = Received(c, false);
    const int second = Received(c, false);
    EXPECT_EQ(first + second, 9);
    EXPECT_NE(first, second);
  }
  Build(6);
  NetSendTo(idB_);
  EXPECT_EQ(Received(b_, false), 6);
  EXPECT_TRUE(Silent(a_, false));
}

TEST_F(EnvelopeSend, JoiningClientSendsEveryModeToTheHost) {
  BeClient(a_);
  Build(7);
  NetSend(-1);
  Build(8);
  NetSend(3);  // the slot is ignored
  RN_PlayerId sender = 0;
  EXPECT_EQ(Received(server_.iface, true, 2000, &sender), 7);
  EXPECT_EQ(sender, idA_);
  EXPECT_EQ(Received(server_.iface, true), 8);
  Build(9);
  NetSendChat();
  EXPECT_EQ(Received(server_.iface, true), 9);
  Build(10);
  NetSendUnreliable();
  EXPECT_EQ(Received(server_.iface, true), 10);
  Build(11);
  NetSendTo(idB_);  // the host path on a client interface: nothing goes out
  EXPECT_TRUE(Silent(server_.iface, true));
  EXPECT_TRUE(Silent(b_, false));
}

TEST_F(EnvelopeSend, NetTimeIsTheLibraryClockOnTheHostAndTheGameClockOnAClient) {
  const int library = NetLib.GetTime();
  EXPECT_LE(NetTime() - library, 50);
  EXPECT_GE(NetTime() - library, 0);
  BeClient(a_);
  SetGameClock(123456789);
  EXPECT_GE(NetTime() - 123456789, 0);
  EXPECT_LE(NetTime() - 123456789, 50);
  // The game clock wraps like the millisecond clock.
  SetGameClock(INT_MAX);
  EXPECT_LE(GameClock() - INT_MAX, 50);
}

TEST(EnvelopeConnect, ConnectGivesOneAndShutdownTellsTheHost) {
  Server server = StartServer();
  NetLib.ServerSetPassword(server.iface, "pw");
  Hosting = 0;
  ASSERT_EQ(NetConnect("127.0.0.1", server.port, "pw"), 1);
  EXPECT_EQ(NextClientByte(NetInterface), RN_ID_CONNECTION_REQUEST_ACCEPTED);
  const RN_PlayerId id = WaitServerEvent(server.iface, RN_ID_NEW_INCOMING_CONNECTION);
  NetShutdown();
  EXPECT_EQ(NetInterface, nullptr);
  EXPECT_EQ(WaitServerEvent(server.iface, RN_ID_DISCONNECTION_NOTIFICATION), id);

  ASSERT_EQ(NetConnect("127.0.0.1", server.port, "wrong"), 1);
  EXPECT_EQ(NextClientByte(NetInterface), RN_ID_INVALID_PASSWORD);
  NetShutdown();

  EXPECT_EQ(NetConnect("no-such-host.invalid", server.port, ""), 0);
  NetShutdown();
  NetLib.DestroyRakServerInterface(server.iface);
}

namespace {

// A one-shot HTTP server on loopback that records the request line it gets.
class LogOffService {
 public:
  LogOffService() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t length = sizeof a;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length);
    port_ = ntohs(a.sin_port);
    listen(listener_, 4);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LogOffService() {
    if (thread_.joinable()) thread_.join();
    close(listener_);
  }
  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  // The request line, once the thread has finished ("" when nobody called within a second).
  std::string RequestLine() {
    if (thread_.joinable()) thread_.join();
    return requestLine_;
  }

 private:
  void Serve() {
    pollfd fd{listener_, POLLIN, 0};
    if (poll(&fd, 1, 1000) <= 0) return;
    const int connection = accept(listener_, nullptr, nullptr);
    std::string request;
    char buffer[512];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<size_t>(n));
    }
    const char reply[] = "HTTP/1.0 200 OK\r\n\r\nOK\r\n";
    send(connection, reply, sizeof reply - 1, 0);
    close(connection);
    requestLine_ = request.substr(0, request.find("\r\n"));
  }

  int listener_ = -1, port_ = 0;
  std::thread thread_;
  std::string requestLine_;
};

void HostThenShutDown(const std::string& registerAnswer, const std::string& ownAddress) {
  Server server = StartServer();
  Hosting = 1;
  NetInterface = server.iface;
  RegisterAnswer = registerAnswer;
  OwnAddress = ownAddress;
  NetShutdown();
  EXPECT_EQ(NetInterface, nullptr);
  EXPECT_EQ(Hosting, 0);
}

}  // namespace

TEST(EnvelopeShutdown, HostLogsOffWithItsAddressOnlyWhenRegisteredWithCapitalY) {
  {
    LogOffService service;
    setenv("QXR_GAMELIST_HOST", service.Host().c_str(), 1);
    HostThenShutDown("Y", "10.1.2.3");
    EXPECT_EQ(service.RequestLine(), "GET /logoff.php?ip=10.1.2.3 HTTP/1.0");
  }
  {
    LogOffService service;
    setenv("QXR_GAMELIST_HOST", service.Host().c_str(), 1);
    HostThenShutDown("Y", " ");  // the address left blank: no query
    EXPECT_EQ(service.RequestLine(), "GET /logoff.php HTTP/1.0");
  }
  {
    LogOffService service;
    setenv("QXR_GAMELIST_HOST", service.Host().c_str(), 1);
    HostThenShutDown("y", "10.1.2.3");
    EXPECT_EQ(service.RequestLine(), "");
  }
  unsetenv("QXR_GAMELIST_HOST");
}

TEST(EnvelopeShutdown, UnreachableGameListStillEndsHosting) {
  setenv("QXR_GAMELIST_HOST", ("127.0.0.1:" + std::to_string(UnusedPort())).c_str(), 1);
  HostThenShutDown("Y", "10.1.2.3");
  unsetenv("QXR_GAMELIST_HOST");
}
