// The dedicated server's heartbeat and states broadcast, timed by a player joined over loopback.
#include <gtest/gtest.h>

#include "../net/host_timers.h"
#include "server_process.h"

namespace {

TEST(ServerTimers, HeartbeatsComeEveryFiveSecondsAndStatesTwentyTimesASecond) {
  clienttest::ScratchFolder folder;
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  servertest::ServerProcess server(folder.Path(), {"/AUTO"}, {{"QXR_GAME_PORT", std::to_string(port)}});
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n", 60000)) << server.Errors();
  protocol::ProtocolClient player;
  ASSERT_TRUE(player.Connect(port, "", 60000));
  player.Join("Timer");
  online_test::ExpectHostTimers(player);
  EXPECT_TRUE(server.Running()) << server.Errors();
}

}  // namespace
