// Stopping real clients in online play with one signal: a hosting client in the lounge logs its
// game off the game list and ends; joined clients, one playing a round and one in the lounge,
// leave the dedicated server and end. Every one exits with status 0.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "online_checks.h"
#include "online_game.h"
#include "round_checks.h"
#include "world/records.h"

namespace {

using namespace onlinetest;

constexpr double ShotSeconds = 120, EndSeconds = 60;  // generous for a sanitizer build on a loaded machine

class OnlineStopping : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

// Waits for the player's screenshot, which its script takes where it is to be stopped.
void WaitForShot(const Player& player, const std::string& shot) {
  ASSERT_TRUE(WaitForFile(player.File(shot + ".png"), ShotSeconds)) << player.name << ":\n" << player.Errors();
}

// The last line the server printed.
std::string LastLine(std::string output) {
  if (!output.empty() && output.back() == '\n') output.pop_back();
  return output.substr(output.rfind('\n') + 1);  // from the start when there is one line
}

TEST_F(OnlineStopping, ASignalEndsAHostingClientInTheLoungeWhichLogsItsGameOff) {
  clienttest::StandInHttpService gameList({{"/newServer.php", "OK\r\n"}, {"/logoff.php", "OK\r\n"}});
  OnlineGame game;
  game.UseWebServices(gameList.Host(), clienttest::UnreachableHost());
  Player& host = game.AddHost("Hosty", 3);
  Script play = game.PlayOf(host);
  play.Shot(1.0, "lounge");
  game.StartHost(host, play, HostStartScript("y", "Stop me", ""));
  ASSERT_TRUE(game.Go());
  WaitForShot(host, "lounge");
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
  // F1 goes on until shortly before the ten seconds' count-down ends, and she is shot well after
  // the round began, so that a slow server on a loaded machine still has her in room 32.
  constexpr double PickPage = 4.0, PickMode = 4.3, Announced = PickMode + 1.0, InRoom32 = PickMode + 14.0;
  Script alicePlay = game.PlayOf(alice), bobPlay = game.PlayOf(bob);
  for (Script* s : {&alicePlay, &bobPlay}) s->Sync(PickPage - 0.3, "pick");
  alicePlay.Key(PickPage, Vk::F1).Key(PickMode, Vk::F1).KeyEvery(Announced + 0.2, Announced + 7.2, 0.5, Vk::F1);
  alicePlay.Shot(InRoom32, "room32");
  bobPlay.Shot(InRoom32, "lounge");
  game.StartJoiner(alice, alicePlay);
  game.StartJoiner(bob, bobPlay, 1.0);
  ASSERT_TRUE(game.Go());
  ASSERT_TRUE(game.Release("pick"));
  WaitForShot(alice, "room32");
  WaitForShot(bob, "lounge");
  kill(alice.pid, SIGTERM);
  kill(bob.pid, SIGHUP);
  game.Finish(EndSeconds);
  EXPECT_EQ(alice.run.exitCode, 0) << alice.run.errors;
  EXPECT_EQ(bob.run.exitCode, 0) << bob.run.errors;
  EXPECT_TRUE(InRoom(ShotOf(alice, "room32"), 32)) << "Alice was not playing the round when she was stopped";
  EXPECT_TRUE(InRoom(ShotOf(bob, "lounge"), LoungeRoom));

  // Both said goodbye: the server freed their slots.
  servertest::ServerProcess& server = game.Server();
  EXPECT_NE(server.Output().find("Players Online 2\n"), std::string::npos) << server.Output();
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(static_cast<int>(EndSeconds));
  while (LastLine(server.Output()) != "Players Online 0" && std::chrono::steady_clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(LastLine(server.Output()), "Players Online 0") << server.Output();
}

}  // namespace
