// What the server keeps about each ENet peer (in ENetPeer::data) and how it tells admitted from pending ones.
#pragma once

#include <enet/enet.h>

#include <cstdint>

#include "platform/qxrnet/qxrnet.h"

namespace qxrnet {

struct PeerState {
  RN_PlayerId id = 0;    // 0 until admitted
  bool refused = false;  // a disconnect with a reason is on its way
  uint32_t lastHeard = 0;  // when the last packet came (the connection's start, before the first)
};

inline PeerState* StateOf(const ENetPeer& peer) { return static_cast<PeerState*>(peer.data); }

inline bool Admitted(const ENetPeer& peer) {
  const PeerState* state = StateOf(peer);
  return state != nullptr && state->id != 0;
}

// Holds a place without being admitted: still connecting, not said hello yet, or refused
// and on its way out.
inline bool Pending(const ENetPeer& peer) { return peer.state != ENET_PEER_STATE_DISCONNECTED && !Admitted(peer); }

}  // namespace qxrnet
