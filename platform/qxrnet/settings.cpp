// The library clock, connection timeouts and the test knob that shortens them.
#include "platform/qxrnet/settings.h"

#include <enet/enet.h>
#include <enet/time.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include "platform/qxrnet/export.h"

namespace qxrnet {
namespace {

const auto kLoadTime = std::chrono::steady_clock::now();

constexpr uint32_t kDefaultTimeoutMs = 20000;
constexpr uint32_t kDefaultKeepAliveMs = 500;
constexpr uint32_t kDefaultPingIntervalMs = 1000;
constexpr uint32_t kDefaultHelloDeadlineMs = 5000;
constexpr uint32_t kDefaultConnectAttemptMs = 10000;

std::atomic<uint32_t> timeoutMs{kDefaultTimeoutMs};
std::atomic<uint32_t> keepAliveMs{kDefaultKeepAliveMs};
std::atomic<uint32_t> pingIntervalMs{kDefaultPingIntervalMs};

}  // namespace

uint32_t Now() {
  const auto elapsed = std::chrono::steady_clock::now() - kLoadTime;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

uint32_t TimeoutMs() { return timeoutMs.load(); }
uint32_t KeepAliveMs() { return keepAliveMs.load(); }
uint32_t PingIntervalMs() { return pingIntervalMs.load(); }
// Shortened timeouts (tests) shorten the handshake limits with them.
uint32_t HelloDeadlineMs() { return std::min(kDefaultHelloDeadlineMs, TimeoutMs()); }
uint32_t ConnectAttemptMs() { return std::min(kDefaultConnectAttemptMs, 2 * TimeoutMs()); }

void ApplyTimeouts(_ENetPeer* peer) {
  // ENet gives up after this long without an acknowledgement of its reliable data. Its
  // resends back off, so on a very lossy link that can happen while the game's unreliable
  // traffic still flows both ways: keep it far behind our own rule.
  enet_peer_timeout(peer, 0, 5 * TimeoutMs(), 5 * TimeoutMs());
  enet_peer_ping_interval(peer, KeepAliveMs());
}

bool AnswerOverdue(const _ENetPeer* peer, uint32_t lastHeard) {
  // ENet stamps lastReceiveTime with its own clock whenever the peer acknowledges
  // anything; it is 0 until the first acknowledgement.
  return Now() - lastHeard > TimeoutMs() &&
         ENET_TIME_DIFFERENCE(enet_time_get(), peer->lastReceiveTime) > TimeoutMs();
}

}  // namespace qxrnet

RN_EXPORT int RN_GetTime(void) { return static_cast<int>(qxrnet::Now()); }

RN_EXPORT void RN_TestSetTimeouts(int timeoutMs, int pingIntervalMs) {
  using namespace qxrnet;
  qxrnet::timeoutMs = timeoutMs > 0 ? static_cast<uint32_t>(timeoutMs) : kDefaultTimeoutMs;
  if (pingIntervalMs > 0) {
    keepAliveMs = static_cast<uint32_t>(pingIntervalMs);
    qxrnet::pingIntervalMs = static_cast<uint32_t>(pingIntervalMs);
  } else {
    keepAliveMs = kDefaultKeepAliveMs;
    qxrnet::pingIntervalMs = kDefaultPingIntervalMs;
  }
}
