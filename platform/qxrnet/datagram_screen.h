// Judging a datagram from a known peer before ENet takes it in: what it would make ENet hold.
#pragma once

#include <enet/enet.h>

namespace qxrnet {

// Commands on one channel may arrive at most this many sequence numbers ahead of the next
// one due. ENet keeps those that come early in a list it walks for every command, and
// commands without data count against none of its own bounds. A peer of this library sends
// in order, and after a lost datagram only a few messages wait behind it.
constexpr int kMostCommandsAhead = 256;
// Unreliable commands waiting on one channel for a reliable one that has not come.
constexpr int kMostUnreliableWaiting = 128;
// A message is at most RN_MAX_PACKET_BYTES, cut into fragments of at least a few hundred
// bytes: more fragments than this is no message of ours.
constexpr unsigned kMostFragments = 16;

enum class Verdict {
  Take,    // let ENet handle it
  Drop,    // swallow it: nothing the peer may send just now (ENet would drop it, or the
           // peer is not admitted and sends data)
  CutOff,  // the peer goes over a bound: disconnect it
};

// The peer the received datagram comes from, as ENet would find it; nullptr for a
// connection request, a stale or forged peer id or session (ENet drops those itself), and a
// compressed datagram (this library compresses nothing, so ENet drops it too).
ENetPeer* SenderOf(ENetHost& host);

// Reads the commands of the datagram the host has just received from peer, as ENet will,
// and says what to do with it. admitted: the peer may send data on every channel; before
// that, only on the library's control channel.
Verdict Screen(const ENetHost& host, const ENetPeer& peer, bool admitted);

}  // namespace qxrnet
