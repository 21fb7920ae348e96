// Reading a datagram's commands ahead of ENet: sequence numbers too far ahead, unreliable data left waiting, fragments.
#include "platform/qxrnet/datagram_screen.h"

#include <cstring>

#include "platform/qxrnet/enet_commands.h"
#include "platform/qxrnet/wire.h"

namespace qxrnet {
namespace {

// How far ahead of the last command delivered on its channel a sequence number is: 1 for the
// next one due, 0 for one already had (ENet discards those after acknowledging them).
int Ahead(enet_uint16 sequenceNumber, enet_uint16 due) {
  const auto ahead = static_cast<enet_uint16>(sequenceNumber - due);
  return ahead >= 0x8000 ? 0 : ahead;
}

// The unreliable commands waiting on a channel, counted up to limit.
int CountWaiting(const ENetChannel& channel, int limit) {
  int count = 0;
  auto& list = const_cast<ENetList&>(channel.incomingUnreliableCommands);
  for (ENetListIterator it = enet_list_begin(&list); it != enet_list_end(&list) && count <= limit; it = enet_list_next(it)) {
    ++count;
  }
  return count;
}

bool IsReliableKind(int kind) { return kind == ENET_PROTOCOL_COMMAND_SEND_RELIABLE || kind == ENET_PROTOCOL_COMMAND_SEND_FRAGMENT; }
bool IsUnreliableKind(int kind) {
  return kind == ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE || kind == ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE_FRAGMENT;
}
bool IsFragment(int kind) {
  return kind == ENET_PROTOCOL_COMMAND_SEND_FRAGMENT || kind == ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE_FRAGMENT;
}

enet_uint16 RawPeerId(const ENetHost& host) {
  enet_uint16 raw;
  std::memcpy(&raw, host.receivedData, sizeof raw);
  return ENET_NET_TO_HOST_16(raw);
}

}  // namespace

ENetPeer* SenderOf(ENetHost& host) {
  if (host.receivedDataLength < sizeof(enet_uint16)) return nullptr;
  const enet_uint16 raw = RawPeerId(host);
  const enet_uint16 flags = raw & ENET_PROTOCOL_HEADER_FLAG_MASK;
  const int session = (raw & ENET_PROTOCOL_HEADER_SESSION_MASK) >> ENET_PROTOCOL_HEADER_SESSION_SHIFT;
  const enet_uint16 id = raw & ~(ENET_PROTOCOL_HEADER_FLAG_MASK | ENET_PROTOCOL_HEADER_SESSION_MASK);
  if ((flags & ENET_PROTOCOL_HEADER_FLAG_COMPRESSED) != 0 || id >= host.peerCount) return nullptr;
  ENetPeer& peer = host.peers[id];
  if (peer.state == ENET_PEER_STATE_DISCONNECTED || peer.state == ENET_PEER_STATE_ZOMBIE) return nullptr;
  if (host.receivedAddress.host != peer.address.host || host.receivedAddress.port != peer.address.port) return nullptr;
  if (peer.outgoingPeerID < ENET_PROTOCOL_MAXIMUM_PEER_ID && session != peer.incomingSessionID) return nullptr;
  return &peer;
}

Verdict Screen(const ENetHost& host, const ENetPeer& peer, bool admitted) {
  const enet_uint8* begin = host.receivedData + DatagramHeaderSize(RawPeerId(host), host.checksum != nullptr);
  const enet_uint8* end = host.receivedData + host.receivedDataLength;
  if (begin > end) return Verdict::Take;
  // Per channel: the reliable command delivered last, as the commands read so far leave it
  // (a burst in order moves it along), and the unreliable commands left waiting (-1: not
  // counted yet).
  enet_uint16 delivered[ENET_PROTOCOL_MAXIMUM_CHANNEL_COUNT];
  int waiting[ENET_PROTOCOL_MAXIMUM_CHANNEL_COUNT];
  for (size_t c = 0; c < peer.channelCount && c < ENET_PROTOCOL_MAXIMUM_CHANNEL_COUNT; ++c) {
    delivered[c] = peer.channels[c].incomingReliableSequenceNumber;
    waiting[c] = -1;
  }
  Verdict verdict = Verdict::Take;
  ForEachCommand(begin, end, [&](int kind, const ENetProtocol& command, size_t) {
    if (!CarriesData(kind)) return true;
    const int channelId = command.header.channelID;
    if (channelId >= static_cast<int>(peer.channelCount)) return false;  // ENet refuses the rest
    if (!admitted && channelId != kControlChannel) {
      verdict = Verdict::Drop;
      return false;
    }
    if (IsFragment(kind) && ENET_NET_TO_HOST_32(command.sendFragment.fragmentCount) > kMostFragments) {
      verdict = Verdict::Drop;
      return false;
    }
    if (!IsReliableKind(kind) && !IsUnreliableKind(kind)) return true;  // unsequenced: nothing waits
    const enet_uint16 sequenceNumber = ENET_NET_TO_HOST_16(command.header.reliableSequenceNumber);
    const int ahead = Ahead(sequenceNumber, delivered[channelId]);
    if (ahead > kMostCommandsAhead) {
      verdict = Verdict::CutOff;
      return false;
    }
    if (IsReliableKind(kind)) {
      if (ahead == 1) delivered[channelId] = sequenceNumber;
    } else if (ahead > 0) {
      // Waits until the reliable command before it has come.
      if (waiting[channelId] < 0) waiting[channelId] = CountWaiting(peer.channels[channelId], kMostUnreliableWaiting);
      if (++waiting[channelId] > kMostUnreliableWaiting) {
        verdict = Verdict::CutOff;
        return false;
      }
    }
    return true;
  });
  return verdict;
}

}  // namespace qxrnet
