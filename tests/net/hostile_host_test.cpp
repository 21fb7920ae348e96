// A joined client's dispatcher, in-process, fed what a hostile host may send: times anywhere in
// the clock's range.
#include <gtest/gtest.h>

#include "net/envelope.h"
#include "net/messages.h"
#include "platform/clock.h"
#include "tests/net/fed_packets.h"
#include "tests/net/game_in_process.h"
#include "tests/net/message_bytes.h"
#include "world/records.h"

namespace {

class HostileHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const bool started = [] {
      game_in_process::StartUp();
      return true;
    }();
    (void)started;
  }
  void SetUp() override { game_in_process::JoinedInLounge(3); }
};

TEST_F(HostileHostTest, HostTimesNearTheEndOfTheRangeWrapAround) {
  // A timed round (mode 12: fifteen minutes) joined just before the host's clock wraps.
  ClientReceives(MessageBytes(MsgGameState{.hostTime = 2147483000, .gameMode = 12}));
  ASSERT_EQ(Game.inGame, 1);
  ClientReceives(MessageBytes(MsgRoundStart{.gameMode = 12}));
  EXPECT_EQ(Game.room, SinglePlayerRoom);
  EXPECT_NEAR(MsSince(NetTime(), Game.roundTime), 15 * 60 * 1000, 1000);

  // A heartbeat at the very end of the range, then a team-timed round (mode 72: fifteen minutes).
  ClientReceives(MessageBytes(MsgHeartbeat{.hostTime = 2147483647}));
  ClientReceives(MessageBytes(MsgGameState{.hostTime = 2147483647, .gameMode = 72}));
  ClientReceives(MessageBytes(MsgRoundStart{.gameMode = 72}));
  EXPECT_EQ(Game.room, TeamRoom);
  EXPECT_NEAR(MsSince(NetTime(), Game.roundTime), 15 * 60 * 1000, 1000);
}

}  // namespace
