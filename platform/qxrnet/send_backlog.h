// What a peer has not acknowledged yet: bounded, so a peer that never acknowledges cannot pile up data.
#pragma once

#include <enet/enet.h>

#include <cstddef>

namespace qxrnet {

// Reliable data queued for one peer and not yet acknowledged by it, at most. ENet walks a
// peer's whole queue whenever it sends, and resends what is unacknowledged; a client that
// stops acknowledging (or never did) would make every send dearer for ever. A client that
// plays acknowledges within a round trip, so a game never queues more than a few dozen
// messages for it, even on a lossy link.
constexpr size_t kMostUnacknowledgedCommands = 512;
constexpr size_t kMostUnacknowledgedBytes = 256 * 1024;

// True when the commands queued for peer and not yet acknowledged (sent or still to send)
// have reached either bound. Walks no more of the queue than the bounds.
bool BacklogFull(const ENetPeer& peer);

}  // namespace qxrnet
