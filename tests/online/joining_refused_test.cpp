// Joining refused, with real client programs: a host with a password turns away a wrong one and
// lets the right one in; a host of another protocol version (a stand-in speaking the protocol
// through our networking library) is told goodbye and the joiner learns both versions.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "net/envelope.h"
#include "net/messages.h"
#include "online_checks.h"
#include "online_game.h"
#include "world/records.h"

namespace {

using namespace onlinetest;

const Rgb MenuGreen{0, 255, 0};

// The main menu is shown (after a refused join the player is back in it).
bool InMenu(const Shot& shot) { return BigTextAt(shot, "F2...Single Player", 90, 114, MenuGreen); }

class OnlineJoining : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

// Through the menu's F4, the list's manual entry, the address as the settings keep it and a
// typed connect password.
Script ManualJoin(OnlineGame& game, const Player& joiner, const std::string& password) {
  Script play = game.PlayOf(joiner);
  play.Key(0.2, Vk::F4).Key(0.6, Vk::F4).Key(1.0, Vk::Enter).Type(1.3, password).Key(1.6, Vk::Enter);
  return play;
}

TEST_F(OnlineJoining, AWrongPasswordIsTurnedAwayAndTheRightOneLetIn) {
  OnlineGame game;
  Player& host = game.AddHost("Hosty", 3, "secret");
  Player& wrong = game.AddMenuJoiner("Wrongo", 5);
  Player& right = game.AddMenuJoiner("Righto", 9);

  // Once the wrong password was refused and the right one let in, the joiner leaves, then the
  // host.
  Script hostPlay = game.PlayOf(host);
  hostPlay.Until(2.0, "after").Key(3.5, Vk::Escape).Key(5.5, Vk::F10);
  Script wrongPlay = ManualJoin(game, wrong, "wrong");
  wrongPlay.Until(2.0, "after").Key(2.5, Vk::F10);
  Script rightPlay = ManualJoin(game, right, "secret");
  rightPlay.Until(2.0, "after").Key(2.5, Vk::Escape).Key(4.5, Vk::F10);

  // The host's password prompt is filled from its settings; Enter keeps it.
  game.StartHost(host, hostPlay);
  game.Start(wrong, JoinerMenuScript, wrongPlay.Text(), {"/w"});
  game.Start(right, JoinerMenuScript, rightPlay.Text(), {"/w"});
  ASSERT_TRUE(game.Go());
  game.AwaitScreens("after", {&host, &wrong, &right}, [&](const Player& p, const Shot& screen) {
    if (&p == &host) return ListedPlayer(screen, " Righto ", SlotColour(1), true);
    if (&p == &right) return BigTextAt(screen, playtest::Title(LoungeRoom), 0, 405, {255, 255, 0});
    return p.Errors().find("Incorrect Password") != std::string::npos && InMenu(screen);
  });
  game.Finish(60);
  for (Player* p : {&host, &wrong, &right}) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;

  EXPECT_NE(wrong.run.errors.find("Incorrect Password"), std::string::npos) << wrong.run.errors;
  EXPECT_TRUE(InMenu(Shot(wrong.File("after.png")))) << "the refused joiner is not back in the menu";
  EXPECT_EQ(right.run.errors.find("Incorrect Password"), std::string::npos) << right.run.errors;
  Shot joined(right.File("after.png"));
  EXPECT_TRUE(BigTextAt(joined, playtest::Title(LoungeRoom), 0, 405, {255, 255, 0})) << "the right password did not join";
  Shot lounge(host.File("after.png"));
  EXPECT_TRUE(ListedPlayer(lounge, " Righto ", SlotColour(1), true));
  EXPECT_FALSE(ListedPlayer(lounge, " Wrongo ", SlotColour(1), true));
  EXPECT_FALSE(ListedPlayer(lounge, " Wrongo ", SlotColour(2), true));
  // The address of a started attempt is kept in the settings.
  EXPECT_EQ(ReadText(wrong.File("ip.txt")).find(" Wrongo \r\n127.0.0.1\r\n"), 0u) << ReadText(wrong.File("ip.txt"));
}

TEST_F(OnlineJoining, AHostOfAnotherVersionIsLeftAndBothVersionsAreTold) {
  // The stand-in host: our library's server side in this process, welcoming with version 14.
  net_harness::Server server = net_harness::StartServer();
  ASSERT_NE(server.iface, nullptr);
  OnlineGame game;
  game.Environment()["QXR_GAME_PORT"] = std::to_string(server.port);
  Player& joiner = game.AddJoiner("Joiner", 4);
  Script play = game.PlayOf(joiner);
  play.Until(1.0, "after").Key(1.5, Vk::F10);
  game.StartJoiner(joiner, play);
  ASSERT_TRUE(game.Go());

  const int hosting = Hosting;
  RN_Interface* const interface = NetInterface;
  Hosting = 1;
  NetInterface = server.iface;
  const RN_PlayerId id = net_harness::WaitServerEvent(server.iface, RN_ID_NEW_INCOMING_CONNECTION, 60000);
  ASSERT_NE(id, -1) << "the joiner never connected";
  WriteMessage(MsgWelcome{.slot = 1, .hostTime = NetTime(), .version = 14});
  NetSendTo(id);
  // Its goodbye comes before it tells the player.
  MsgLeave leave{.slot = -1};
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (leave.slot == -1 && std::chrono::steady_clock::now() < giveUp) {
    if (!NetReceive()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    if (NetReadByte() == GameMessageId && NetReadByte() == MsgLeave::type) ReadMessage(leave);
    NetFreePacket();
  }
  EXPECT_EQ(leave.slot, 1) << "no leave came from the joiner";
  const std::string told = "You are trying to connect to a version 2.14 server.  You are on version 2.13";
  game.AwaitScreens("after", {&joiner}, [&](const Player& p, const Shot& screen) {
    return p.Errors().find(told) != std::string::npos && InMenu(screen);
  });
  Hosting = hosting;
  NetInterface = interface;
  game.Finish(60);
  NetLib.DestroyRakServerInterface(server.iface);

  EXPECT_EQ(joiner.run.exitCode, 0) << joiner.run.errors;
  EXPECT_NE(joiner.run.errors.find(told), std::string::npos)
      << joiner.run.errors;
  EXPECT_TRUE(InMenu(Shot(joiner.File("after.png")))) << "the joiner is not back in the menu";
}

}  // namespace
