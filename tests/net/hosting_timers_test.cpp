// The hosting client's heartbeat and states broadcast, timed by a player joined over loopback.
#include <gtest/gtest.h>

#include "tests/net/host_timers.h"
#include "tests/net/hosting_process.h"
#include "tests/net/net_harness.h"

namespace {

TEST(HostingTimers, HeartbeatsComeEveryFiveSecondsAndStatesTwentyTimesASecond) {
  // The host starts before any client: the library's threads must not exist at the fork.
  net_harness::HostingProcess host(net_harness::UnusedPort());
  protocol::ProtocolClient player;
  ASSERT_TRUE(host.Admit(player, 60000)) << host.Errors();
  player.Join("Timer");
  online_test::ExpectHostTimers(player);
  const clienttest::ClientRun run = host.Stop();
  EXPECT_FALSE(run.timedOut) << "the host did not close when asked";
  EXPECT_EQ(run.exitCode, 0) << run.errors;
}

}  // namespace
