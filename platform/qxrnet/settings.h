// The library clock and the connection timing (defaults, or the test knobs' values).
#pragma once

#include <cstdint>

struct _ENetPeer;

namespace qxrnet {

// Milliseconds since the library was loaded (wrapping).
uint32_t Now();

// A peer that has answered nothing for this long is lost (20 s, like the game's own
// silence rule, so a lossy link is not given up early).
uint32_t TimeoutMs();
// Idle connections are pinged this often (keeps them alive and detects loss).
uint32_t KeepAliveMs();
// Client round-trip measurement: one ping this often, and the mean of the last few.
uint32_t PingIntervalMs();
constexpr int kPingSamples = 5;
// A connection must say hello within this long after it first shows up at the server.
uint32_t HelloDeadlineMs();
// A client gives up a connection attempt that is not admitted within this long.
uint32_t ConnectAttemptMs();

// Gives a new ENet peer the keep-alive pings and ENet's own give-up time (TimeoutMs() to
// twice that, a backstop behind AnswerOverdue).
void ApplyTimeouts(_ENetPeer* peer);
// True when the connection made at connectedAt (Now() clock) has had no answer from the
// peer for TimeoutMs(): neither since it was made nor since its last acknowledgement.
bool AnswerOverdue(const _ENetPeer* peer, uint32_t connectedAt);

}  // namespace qxrnet
