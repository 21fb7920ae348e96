// Holding back connection requests from addresses with too many pending handshakes, the hello deadline, making room.
#include "platform/qxrnet/handshake_guard.h"

#include <cstring>

#include "platform/qxrnet/server_peer.h"
#include "platform/qxrnet/settings.h"

namespace qxrnet {
namespace {

// ENet's handshake is not done: the source address has not answered the server yet.
bool HandshakeUnfinished(const ENetPeer& peer) {
  return peer.state == ENET_PEER_STATE_ACKNOWLEDGING_CONNECT || peer.state == ENET_PEER_STATE_CONNECTION_PENDING ||
         peer.state == ENET_PEER_STATE_CONNECTION_SUCCEEDED;
}

}  // namespace

bool IsConnectionRequest(const ENetHost& host) {
  if (host.receivedDataLength < sizeof(enet_uint16)) return false;
  enet_uint16 peerId;
  std::memcpy(&peerId, host.receivedData, sizeof peerId);
  peerId = ENET_NET_TO_HOST_16(peerId) & ~(ENET_PROTOCOL_HEADER_FLAG_MASK | ENET_PROTOCOL_HEADER_SESSION_MASK);
  return peerId == ENET_PROTOCOL_MAXIMUM_PEER_ID;
}

bool HoldBack(const ENetHost& host) {
  int pending = 0;
  for (size_t i = 0; i < host.peerCount; ++i) {
    const ENetPeer& peer = host.peers[i];
    if (peer.address.host == host.receivedAddress.host && Pending(peer)) ++pending;
  }
  return pending >= kPendingPerAddress;
}

HandshakeClock::Sighting& HandshakeClock::SightingOf(const ENetPeer& peer, size_t index, uint32_t now) {
  if (sightings_.size() <= index) sightings_.resize(index + 1);
  Sighting& s = sightings_[index];
  if (!s.seen || s.connectId != peer.connectID) s = {true, peer.connectID, now};
  return s;
}

bool HandshakeClock::Overdue(const ENetPeer& peer, size_t index, uint32_t now) {
  return now - SightingOf(peer, index, now).since > HelloDeadlineMs();
}

void HandshakeClock::Forget(size_t index) {
  if (index < sightings_.size()) sightings_[index].seen = false;
}

ENetPeer* HandshakeClock::OldestPending(ENetHost& host, uint32_t now) {
  ENetPeer* oldest = nullptr;
  uint32_t oldestAge = 0;
  bool oldestUnfinished = false;
  for (size_t i = 0; i < host.peerCount; ++i) {
    ENetPeer& peer = host.peers[i];
    if (!Pending(peer) || peer.state == ENET_PEER_STATE_ZOMBIE) continue;  // a zombie is freed anyway
    const uint32_t age = now - SightingOf(peer, i, now).since;
    const bool unfinished = HandshakeUnfinished(peer);
    if (oldest == nullptr || (unfinished && !oldestUnfinished) || (unfinished == oldestUnfinished && age > oldestAge)) {
      oldest = &peer;
      oldestAge = age;
      oldestUnfinished = unfinished;
    }
  }
  return oldest;
}

}  // namespace qxrnet
