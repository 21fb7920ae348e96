// Hands out player ids for admitted connections.
#include "platform/qxrnet/peer_ids.h"

#include <atomic>

namespace qxrnet {

RN_PlayerId NextPlayerId() {
  static std::atomic<int> last{0};
  // Two thousand million connections would be needed to run out; ids stay positive.
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace qxrnet
