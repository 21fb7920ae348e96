// Holding back connection requests from addresses with too many pending handshakes, and the hello deadline.
#include "platform/qxrnet/handshake_guard.h"

#include <cstring>

#include "platform/qxrnet/server_peer.h"
#include "platform/qxrnet/settings.h"

namespace qxrnet {
namespace {

// A datagram that asks for a new connection: its header names no peer.
bool IsConnectionRequest(const ENetHost& host) {
  if (host.receivedDataLength < sizeof(enet_uint16)) return false;
  enet_uint16 peerId;
  std::memcpy(&peerId, host.receivedData, sizeof peerId);
  peerId = ENET_NET_TO_HOST_16(peerId) & ~(ENET_PROTOCOL_HEADER_FLAG_MASK | ENET_PROTOCOL_HEADER_SESSION_MASK);
  return peerId == ENET_PROTOCOL_MAXIMUM_PEER_ID;
}

}  // namespace

int ENET_CALLBACK HoldBackConnects(ENetHost* host, ENetEvent*) {
  if (!IsConnectionRequest(*host)) return 0;
  int pending = 0;
  for (size_t i = 0; i < host->peerCount; ++i) {
    const ENetPeer& peer = host->peers[i];
    if (peer.address.host == host->receivedAddress.host && Pending(peer)) ++pending;
  }
  return pending >= kPendingPerAddress ? 1 : 0;
}

bool HandshakeClock::Overdue(const ENetPeer& peer, size_t index, uint32_t now) {
  if (sightings_.size() <= index) sightings_.resize(index + 1);
  Sighting& s = sightings_[index];
  if (!s.seen || s.connectId != peer.connectID) s = {true, peer.connectID, now};
  return now - s.since > HelloDeadlineMs();
}

void HandshakeClock::Forget(size_t index) {
  if (index < sightings_.size()) sightings_[index].seen = false;
}

}  // namespace qxrnet
