// The library clock, connection timeouts and the test knob that shortens them.
#include "platform/qxrnet/settings.h"

#include <enet/enet.h>

#include <atomic>
#include <chrono>

#include "platform/qxrnet/export.h"

namespace qxrnet {
namespace {

const auto kLoadTime = std::chrono::steady_clock::now();

constexpr uint32_t kDefaultTimeoutMs = 3000;
constexpr uint32_t kDefaultKeepAliveMs = 500;
constexpr uint32_t kDefaultPingIntervalMs = 1000;

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

void ApplyTimeouts(_ENetPeer* peer) {
  enet_peer_timeout(peer, 0, TimeoutMs(), 2 * TimeoutMs());
  enet_peer_ping_interval(peer, KeepAliveMs());
}

}  // namespace qxrnet

RN_EXPORT int RN_GetTime(void) { return static_cast<int>(qxrnet::Now()); }

RN_EXPORT void RN_TestSetTimeouts(int timeoutMs, int pingIntervalMs) {
  using namespace qxrnet;
  if (timeoutMs > 0) {
    qxrnet::timeoutMs = static_cast<uint32_t>(timeoutMs);
  } else {
    qxrnet::timeoutMs = kDefaultTimeoutMs;
  }
  if (pingIntervalMs > 0) {
    keepAliveMs = static_cast<uint32_t>(pingIntervalMs);
    qxrnet::pingIntervalMs = static_cast<uint32_t>(pingIntervalMs);
  } else {
    keepAliveMs = kDefaultKeepAliveMs;
    qxrnet::pingIntervalMs = kDefaultPingIntervalMs;
  }
}
