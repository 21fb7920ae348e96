// The game-list and address services with real client programs and a stand-in service that
// records every request line: the version check, F7's address, the registration in its four
// query forms, Refresh filling the browser's rows and a row picked to join (and the host's
// Escape ending the game it then chose), the log-off when hosting ends; and, with the stand-in
// stopped, every request's message without a hang.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "online_checks.h"
#include "online_game.h"
#include "world/records.h"

namespace {

using namespace onlinetest;
using clienttest::StandInHttpService;

const Rgb Green{0, 255, 0};

std::map<std::string, std::string> ServiceReplies() {
  return {{"/v.php", "2.13\r\n"},
          {"/ip.php", "203.0.113.7\r\n"},
          {"/newServer.php", "OK\r\n"},
          {"/logoff.php", "OK\r\n"},
          // A line without "@" ends the list: the row after it is never shown.
          {"/getLobby.php",
           "127.0.0.1@Fish & Chips night@x@\r\n192.0.2.7@Another game@y@\r\nno game here\r\n"
           "198.51.100.3@Never shown@z@\r\n"}};
}

std::string RequestLine(const std::string& path) { return "GET " + path + " HTTP/1.0"; }

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "  " + line + "\n";
  return text;
}

class OnlineGameList : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

TEST_F(OnlineGameList, AnnouncedListedPickedAndLoggedOff) {
  StandInHttpService service(ServiceReplies());
  OnlineGame game;
  game.UseWebServices(service.Host(), service.Host());
  Player& host = game.AddHost("Hosty", 3);
  Player& joiner = game.AddMenuJoiner("Picker", 6, "");

  // The host checks the version, asks for its address (F7), then hosts a registered game
  // with its address typed and no password.
  std::ostringstream hostStart;
  hostStart << "1 type y\n2 key 13\n8 key 32\n12 key 118\n16 shot address.png\n20 key 114\n";
  AnswerPrompt(hostStart, AnswerPrompt(hostStart, AnswerPrompt(hostStart, AnswerPrompt(hostStart, 24, "y"),
                                                                "Fish & Chips night"), "127.0.0.1"), "");
  // Once the joiner is in, the host chooses a collect game and, with the joiner in the briefing
  // room, sends everybody back to the lounge with Escape; then leaves its game.
  Script hostPlay = game.PlayOf(host);
  hostPlay.Until(2.0, "joined").Key(2.5, Vk::F1).Key(2.8, Vk::F1).Until(3.0, "announced");
  hostPlay.Until(3.2, "briefing").Key(3.7, Vk::Escape).Until(4.0, "back").Key(4.5, Vk::Escape).Key(7.0, Vk::F10);
  // The joiner opens the list, refreshes it and picks the first row; it joins the game the host
  // announced.
  Script joinerPlay = game.PlayOf(joiner);
  joinerPlay.Key(0.2, Vk::F4).Key(0.6, Vk::F5).Shot(1.2, "list").At(1.5, "mouse 40 24 click").Until(2.0, "joined");
  joinerPlay.Until(2.2, "announced").KeyEvery(2.5, 4.0, 0.5, Vk::F1).Until(4.5, "briefing").Until(5.0, "back");
  // The host leaving ends its game too: it is back in the menu once the connection closes.
  joinerPlay.Until(5.5, "menu").Key(6.0, Vk::F10);

  game.Start(host, hostStart.str(), hostPlay.Text(), {"/w"});
  game.Start(joiner, JoinerMenuScript, joinerPlay.Text(), {"/w"});
  ASSERT_TRUE(game.Go());
  const auto inRoom = [](const Shot& screen, int room) {
    return BigTextAt(screen, playtest::Title(room), 0, 405, {255, 255, 0});
  };
  game.AwaitScreens("joined", {&host, &joiner}, [&](const Player& p, const Shot& screen) {
    return &p == &host ? ListedPlayer(screen, " Picker ", SlotColour(1), true) : inRoom(screen, LoungeRoom);
  });
  game.AwaitScreens("announced", {&host, &joiner}, [&](const Player& p, const Shot& screen) {
    return &p == &host || BigTextAt(screen, "        First to collect        ", 2, 216, Green);
  });
  game.AwaitScreens("briefing", {&host, &joiner}, [&](const Player& p, const Shot& screen) {
    return &p == &host || inRoom(screen, BriefingRoom);
  });
  game.AwaitScreens("back", {&host, &joiner}, [&](const Player& p, const Shot& screen) {
    return &p == &host || (inRoom(screen, LoungeRoom) && BigTextAt(screen, "No game started ", 128, 224, {0, 255, 255}));
  });
  game.AwaitScreens("menu", {&joiner}, [&](const Player&, const Shot& screen) {
    return BigTextAt(screen, "F2...Single Player", 90, 114, Green);
  });
  game.Finish(60);
  EXPECT_EQ(host.run.exitCode, 0) << host.run.errors;
  EXPECT_EQ(joiner.run.exitCode, 0) << joiner.run.errors;
  EXPECT_EQ(host.run.errors, "");  // version 2.13 is the newest: nothing to tell

  const std::vector<std::string> expected = {
      RequestLine("/v.php"),
      RequestLine("/ip.php"),
      RequestLine("/newServer.php?password=N&ip=127.0.0.1&description=Fish%20%26%20Chips%20night"
                  "&name=%20Hosty%20%20&char=3"),
      RequestLine("/getLobby.php"),
      RequestLine("/logoff.php?ip=127.0.0.1")};
  EXPECT_EQ(service.RequestLines(), expected) << Joined(service.RequestLines());

  EXPECT_TRUE(SmallTextAt(Shot(host.File("address.png")), "IP: 203.0.113.7", 320, 236, Green, true));

  Shot list(joiner.File("list.png"));
  ASSERT_TRUE(list.Loaded());
  EXPECT_TRUE(BigTextAt(list, "Fish & Chips night  ", 32, 16, Green));
  EXPECT_TRUE(BigTextAt(list, "127.0.0.1", 385, 16, Green));
  EXPECT_TRUE(BigTextAt(list, "Another game        ", 32, 32, Green));
  EXPECT_TRUE(BigTextAt(list, "192.0.2.7", 385, 32, Green));
  for (int y : {48, 64}) {
    EXPECT_FALSE(BigTextAt(list, "Never shown", 32, y, Green));
    EXPECT_FALSE(BigTextAt(list, "198.51.100.3", 385, y, Green));
  }

  EXPECT_TRUE(BigTextAt(Shot(joiner.File("joined.png")), playtest::Title(LoungeRoom), 0, 405, {255, 255, 0}))
      << "picking the listed game did not join it";
  EXPECT_TRUE(ListedPlayer(Shot(host.File("joined.png")), " Picker ", SlotColour(1), true));
  EXPECT_TRUE(BigTextAt(Shot(joiner.File("briefing.png")), playtest::Title(BriefingRoom), 0, 405, {255, 255, 0}));
  Shot back(joiner.File("back.png"));
  EXPECT_TRUE(BigTextAt(back, playtest::Title(LoungeRoom), 0, 405, {255, 255, 0})) << "the host's Escape did not end the game";
  EXPECT_TRUE(BigTextAt(back, "No game started ", 128, 224, {0, 255, 255}));
}

// One registration: a host started fast, with the given answers, leaving the lounge at once.
struct Registration {
  std::string password, address, expectedQuery, expectedLogOff;
};

TEST_F(OnlineGameList, TheFourRegistrationFormsAndTheirLogOffs) {
  const std::string name = "&name=%20Hosty%20%20&char=3";
  const Registration forms[] = {
      {"pw", "10.0.0.5", "password=Y&description=Two%20words&ip=10.0.0.5" + name, "/logoff.php?ip=10.0.0.5"},
      {"pw", "", "password=Y&description=Two%20words" + name, "/logoff.php"},
      {"", "10.0.0.5", "password=N&ip=10.0.0.5&description=Two%20words" + name, "/logoff.php?ip=10.0.0.5"},
      {"", "", "password=N&description=Two%20words" + name, "/logoff.php"}};
  for (const Registration& form : forms) {
    StandInHttpService service(ServiceReplies());
    OnlineGame game;
    game.UseWebServices(service.Host(), service.Host());
    Player& host = game.AddHost("Hosty", 3);
    Script play = game.PlayOf(host);
    play.Key(0.1, Vk::Escape).Key(0.3, Vk::F10);
    game.Start(host, HostStartScript("y", "Two words", form.address, form.password), play.Text(), {"/w"}, true);
    ASSERT_TRUE(game.Go(60));
    game.Finish(60);
    EXPECT_EQ(host.run.exitCode, 0) << host.run.errors;
    const std::vector<std::string> expected = {RequestLine("/newServer.php?" + form.expectedQuery),
                                               RequestLine(form.expectedLogOff)};
    EXPECT_EQ(service.RequestLines(), expected) << Joined(service.RequestLines());
    // The answers are kept in the settings: register answer, description, password.
    EXPECT_NE(ReadText(host.File("ip.txt")).find("\r\nY\r\nTwo words\r\n" + form.password + "\r\n"), std::string::npos)
        << ReadText(host.File("ip.txt"));
  }
}

TEST_F(OnlineGameList, AStoppedServiceIsReportedForEveryRequestAndNothingHangs) {
  std::string stopped;
  {
    StandInHttpService service(ServiceReplies());
    stopped = service.Host();
  }
  OnlineGame game;
  game.UseWebServices(stopped, stopped);
  Player& host = game.AddHost("Hosty", 3);
  // The version check, F7, the list's Refresh, the registration, the log-off.
  std::ostringstream start;
  start << "1 type y\n2 key 13\n8 key 32\n12 key 118\n16 shot address.png\n20 key 115\n24 key 116\n28 key 27\n"
           "34 key 114\n";
  AnswerPrompt(start, AnswerPrompt(start, AnswerPrompt(start, AnswerPrompt(start, 38, "y"), "Stopped"), ""), "");
  Script play = game.PlayOf(host);
  play.Key(0.1, Vk::Escape).Key(0.3, Vk::F10);
  const auto begun = std::chrono::steady_clock::now();
  game.Start(host, start.str(), play.Text(), {"/w"}, true);
  ASSERT_TRUE(game.Go(60));
  game.Finish(60);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
  EXPECT_EQ(host.run.exitCode, 0) << host.run.errors;
  EXPECT_LT(seconds, 30) << "the requests held the program up";

  const std::string contact = "I can not contact " + stopped + "\n";
  EXPECT_EQ(host.run.errors, contact + contact + contact + "FAIL " + contact)
      << "version check, Refresh, registration, log-off:\n" << host.run.errors;
  // An address that could not be fetched leaves the menu's address empty.
  Shot menu(host.File("address.png"));
  EXPECT_TRUE(SmallTextAt(menu, "IP:", 320, 236, Green, true));
  EXPECT_FALSE(SmallTextAt(menu, "IP: 2", 320, 236, Green, true));
}

}  // namespace
