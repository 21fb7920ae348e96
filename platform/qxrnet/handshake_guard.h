// Connections that have not said hello: at most a few per address, none for long.
#pragma once

#include <enet/enet.h>

#include <cstdint>
#include <vector>

namespace qxrnet {

// Pending connections (server_peer.h) one address may hold at once. Legitimate clients
// behind one router each finish their handshake within a round trip, so more of them
// still get in, only a little later.
constexpr int kPendingPerAddress = 4;

// ENet's intercept callback for a server host: swallows a connection request from an
// address that already holds kPendingPerAddress pending connections. The client's ENet
// sends the request again after a while, so an honest client is delayed, not refused.
int ENET_CALLBACK HoldBackConnects(ENetHost* host, ENetEvent* event);

// When each of a host's peers was first seen pending, to close those that stay so too long.
class HandshakeClock {
 public:
  // True when the pending peer at index has been pending longer than the hello deadline.
  bool Overdue(const ENetPeer& peer, size_t index, uint32_t now);
  // The peer at index is not pending (any more).
  void Forget(size_t index);

 private:
  struct Sighting {
    bool seen = false;
    uint32_t connectId = 0;  // tells a new connection in the same peer apart
    uint32_t since = 0;
  };
  std::vector<Sighting> sightings_;
};

}  // namespace qxrnet
