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

// Gives a new ENet peer the keep-alive pings and ENet's own give-up time, a backstop far
// behind AnswerOverdue (ENet counts only acknowledgements of reliable data as answers).
void ApplyTimeouts(_ENetPeer* peer);
// True when the peer has answered nothing for TimeoutMs(): no packet since lastHeard (Now()
// clock; the connection's start until a first packet) and no acknowledgement either.
bool AnswerOverdue(const _ENetPeer* peer, uint32_t lastHeard);

}  // namespace qxrnet
