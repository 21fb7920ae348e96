// Connections that have not said hello: at most a few per address, none for long, and room made for new ones.
#pragma once

#include <enet/enet.h>

#include <cstdint>
#include <vector>

namespace qxrnet {

// Pending connections (server_peer.h) one address may hold at once. Legitimate clients
// behind one router each finish their handshake within a round trip, so more of them
// still get in, only a little later.
constexpr int kPendingPerAddress = 4;

// ENet peers a server keeps beyond its admitted maximum for connections still in their
// handshake. Handshakes from forged source addresses never finish and each holds a peer
// until it is given up: there must be room for many of them besides the honest ones.
constexpr int kHandshakePlaces = 64;

// True when the datagram the host has just received asks for a new connection (its header
// names no peer).
bool IsConnectionRequest(const ENetHost& host);
// True when the sender of that datagram already holds kPendingPerAddress pending
// connections: the request is swallowed, and the client's ENet sends it again after a
// while, so an honest client is delayed, not refused.
bool HoldBack(const ENetHost& host);

// When each of a host's peers was first seen pending, to close those that stay so too long
// and to pick the oldest when room must be made.
class HandshakeClock {
 public:
  // True when the pending peer at index has been pending longer than the hello deadline.
  bool Overdue(const ENetPeer& peer, size_t index, uint32_t now);
  // The peer at index is not pending (any more).
  void Forget(size_t index);
  // The pending peer that should give way to a new connection when every peer is in use:
  // the oldest of those whose ENet handshake never finished (forged source addresses do
  // not answer), else the oldest of those that never said hello; nullptr when every peer is
  // admitted.
  ENetPeer* OldestPending(ENetHost& host, uint32_t now);

 private:
  struct Sighting {
    bool seen = false;
    uint32_t connectId = 0;  // tells a new connection in the same peer apart
    uint32_t since = 0;
  };
  Sighting& SightingOf(const ENetPeer& peer, size_t index, uint32_t now);
  std::vector<Sighting> sightings_;
};

}  // namespace qxrnet
