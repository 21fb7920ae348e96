// The host's timers measured from outside by a joined player over a long window: the heartbeat's
// period by the host times the heartbeats carry, the states broadcast's rate by the broadcasts
// counted between them. The bands are wide, for a busy machine that makes a frame late now and
// then, yet a timer ten times longer or shorter falls far outside them.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "tests/net/protocol_client.h"

namespace online_test {

// Heartbeats come every 5 s (once the clock is past 5,000 ms since the last: a frame later).
inline constexpr int HeartbeatLeastMs = 4500, HeartbeatMostMs = 10000;
// States go out every 40 ms, at the first 60 Hz frame after that: 20 a second; fewer when the
// host's frames are late (down to one a frame), more never (at most one a frame).
inline constexpr double StatesLeastPerSecond = 8, StatesMostPerSecond = 26;

// Pumps the joined player until three more heartbeats came (a minute at most; a host that
// beats ten times less often sends one or none meanwhile) and checks both timers.
inline void ExpectHostTimers(protocol::ProtocolClient& player) {
  const size_t before = player.Got().heartbeats.size();
  int statesAtFirst = -1;
  const bool three = player.PumpUntil(
      [&] {
        const size_t beats = player.Got().heartbeats.size() - before;
        if (beats >= 1 && statesAtFirst < 0) statesAtFirst = player.Got().statesBroadcasts;
        return beats >= 3;
      },
      60000);
  ASSERT_TRUE(three) << "heartbeats in a minute: " << player.Got().heartbeats.size() - before;
  const std::vector<MsgHeartbeat>& beats = player.Got().heartbeats;
  for (size_t i = before + 1; i < before + 3; ++i) {
    const int gap = beats[i].hostTime - beats[i - 1].hostTime;
    EXPECT_GE(gap, HeartbeatLeastMs) << "heartbeat " << i - before;
    EXPECT_LE(gap, HeartbeatMostMs) << "heartbeat " << i - before;
  }
  const double seconds = (beats[before + 2].hostTime - beats[before].hostTime) / 1000.0;
  const double perSecond = (player.Got().statesBroadcasts - statesAtFirst) / seconds;
  EXPECT_GE(perSecond, StatesLeastPerSecond) << "states broadcasts in " << seconds << " s";
  EXPECT_LE(perSecond, StatesMostPerSecond) << "states broadcasts in " << seconds << " s";
}

}  // namespace online_test
