// Stopping real clients in online play with one signal: a hosting client in the lounge logs its
// game off the game list and ends; joined clients, one playing a round and one in the lounge,
// leave the dedicated server and end. Every one exits with status 0.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "online_checks.h"
#include "online_game.h"
#include "round_checks.h"
#include "world/records.h"

namespace {

using namespace onlinetest;

constexpr double EndSeconds = 60;  // generous for a sanitizer build on a loaded machine

class OnlineStopping : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

// Waits until the screen of player, held at the "until" point name, shows room; it is kept as
// "<name>.png".
bool AwaitRoom(OnlineGame& game, Player& player, const std::string& name, int room) {
  return game.AwaitScreens(name, {&player}, [room](const Player&, const Shot& screen) { return InRoom(screen, room); });
}

TEST_F(OnlineStopping, ASignalEndsAHostingClientInTheLoungeWhichLogsItsGameOff) {
  clienttest::StandInHttpService gameList(clienttest::GameListAnswers);
  OnlineGame game;
  game.UseWebServices(gameList.Host(), clienttest::UnreachableHost());
  Player& host = game.AddHost("Hosty", 3);
  Script play = game.PlayOf(host);
  play.Until(1.0, "lounge");
  game.StartHost(host, play, HostStartScript("y", "Stop me", ""));
  ASSERT_TRUE(game.Go());
  ASSERT_TRUE(AwaitRoom(game, host, "lounge", LoungeRoom));
  kill(host.pid, SIGTERM);
  game.Finish(EndSeconds);
  EXPECT_EQ(host.run.exitCode, 0) << host.run.errors;
  EXPECT_TRUE(InRoom(ShotOf(host, "lounge"), LoungeRoom));
  const std::vector<std::string> paths = gameList.Paths();
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0].rfind("/newServer.php?password=N&description=Stop%20me&", 0), 0u) << paths[0];
  EXPECT_EQ(paths[1].rfind("/logoff.php", 0), 0u) << "the game was not logged off";
}

TEST_F(OnlineStopping, ASignalEndsJoinedClientsInARoundAndInTheLoungeWhichLeaveTheServer) {
  OnlineGame game;
  ASSERT_TRUE(game.StartServer(SettingsText({"", "Stopping", ""})));
  Player& alice = game.AddJoiner("Alice", 3);
  Player& bob = game.AddJoiner("Bob", 7);
  // Alice, the administrator, chooses "Collect 30" and joins it; Bob stays in the lounge. Her
  // F1 goes on until shortly before the ten seconds' count-down ends; then the test waits until
  // her screen shows room 32, and Bob's the lounge.
  constexpr double PickPage = 4.0, PickMode = 4.3, Announced = PickMode + 1.0, InRoom32 = PickMode + 9.0;
  Script alicePlay = game.PlayOf(alice), bobPlay = game.PlayOf(bob);
  for (Script* s : {&alicePlay, &bobPlay}) s->Sync(PickPage - 0.3, "pick");
  alicePlay.Key(PickPage, Vk::F1).Key(PickMode, Vk::F1).KeyEvery(Announced + 0.2, Announced + 7.2, 0.5, Vk::F1);
  alicePlay.Until(InRoom32, "room32");
  bobPlay.Until(InRoom32, "lounge");
  game.StartJoiner(alice, alicePlay);
  game.StartJoiner(bob, bobPlay, 1.0);
  ASSERT_TRUE(game.Go());
  ASSERT_TRUE(game.Release("pick"));
  ASSERT_TRUE(AwaitRoom(game, alice, "room32", SinglePlayerRoom));
  ASSERT_TRUE(AwaitRoom(game, bob, "lounge", LoungeRoom));
  kill(alice.pid, SIGTERM);
  kill(bob.pid, SIGHUP);
  game.Finish(EndSeconds);
  EXPECT_EQ(alice.run.exitCode, 0) << alice.run.errors;
  EXPECT_EQ(bob.run.exitCode, 0) << bob.run.errors;
  EXPECT_TRUE(InRoom(ShotOf(alice, "room32"), SinglePlayerRoom)) << "Alice was not playing the round when she was stopped";
  EXPECT_TRUE(InRoom(ShotOf(bob, "lounge"), LoungeRoom));

  // Both said goodbye: the server freed their slots.
  servertest::ServerProcess& server = game.Server();
  EXPECT_NE(server.Output().find("Players Online 2\n"), std::string::npos) << server.Output();
  EXPECT_TRUE(server.WaitForLastLine("Players Online 0", static_cast<int>(EndSeconds * 1000))) << server.Output();
}

}  // namespace
