// The library clock and the connection timing (defaults, or the test knobs' values).
#pragma once

#include <cstdint>

struct _ENetPeer;

namespace qxrnet {

// Milliseconds since the library was loaded (wrapping).
uint32_t Now();

// A silent peer is given up between TimeoutMs() and 2 x TimeoutMs().
uint32_t TimeoutMs();
// Idle connections are pinged this often (keeps them alive and detects loss).
uint32_t KeepAliveMs();
// Client round-trip measurement: one ping this often, and the mean of the last few.
uint32_t PingIntervalMs();
constexpr int kPingSamples = 5;

// Gives a new ENet peer the timeouts above.
void ApplyTimeouts(_ENetPeer* peer);

}  // namespace qxrnet
