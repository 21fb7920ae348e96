// Walking the commands of an ENet datagram as ENet itself reads them (header-only: the tests' relay uses it too).
#pragma once

#include <enet/enet.h>

#include <cstddef>
#include <cstdint>

namespace qxrnet {

// The datagram header's size: the peer id, the sent time when flagged, a checksum when used.
inline size_t DatagramHeaderSize(uint16_t peerIdField, bool checksum) {
  size_t size = (peerIdField & ENET_PROTOCOL_HEADER_FLAG_SENT_TIME) != 0 ? sizeof(ENetProtocolHeader) : sizeof(uint16_t);
  return checksum ? size + sizeof(uint32_t) : size;
}

// The commands that carry data (a packet or a fragment of one) on a channel.
inline bool CarriesData(int kind) {
  return kind == ENET_PROTOCOL_COMMAND_SEND_RELIABLE || kind == ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE ||
         kind == ENET_PROTOCOL_COMMAND_SEND_FRAGMENT || kind == ENET_PROTOCOL_COMMAND_SEND_UNSEQUENCED ||
         kind == ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE_FRAGMENT;
}

// Calls visit(kind, command, bytes) for each whole command in [at, end), bytes being its size
// with its data, in order; stops where ENet would stop reading (an unknown command, one cut
// short) or when visit returns false.
template <typename Visit>
void ForEachCommand(const uint8_t* at, const uint8_t* end, Visit visit) {
  static constexpr size_t kSizes[ENET_PROTOCOL_COMMAND_COUNT] = {
      0,
      sizeof(ENetProtocolAcknowledge),
      sizeof(ENetProtocolConnect),
      sizeof(ENetProtocolVerifyConnect),
      sizeof(ENetProtocolDisconnect),
      sizeof(ENetProtocolPing),
      sizeof(ENetProtocolSendReliable),
      sizeof(ENetProtocolSendUnreliable),
      sizeof(ENetProtocolSendFragment),
      sizeof(ENetProtocolSendUnsequenced),
      sizeof(ENetProtocolBandwidthLimit),
      sizeof(ENetProtocolThrottleConfigure),
      sizeof(ENetProtocolSendFragment),
  };
  while (end - at >= static_cast<ptrdiff_t>(sizeof(ENetProtocolCommandHeader))) {
    const auto* command = reinterpret_cast<const ENetProtocol*>(at);
    const int kind = command->header.command & ENET_PROTOCOL_COMMAND_MASK;
    if (kind >= ENET_PROTOCOL_COMMAND_COUNT || kSizes[kind] == 0) return;
    size_t bytes = kSizes[kind];
    if (static_cast<size_t>(end - at) < bytes) return;
    switch (kind) {
      case ENET_PROTOCOL_COMMAND_SEND_RELIABLE: bytes += ENET_NET_TO_HOST_16(command->sendReliable.dataLength); break;
      case ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE: bytes += ENET_NET_TO_HOST_16(command->sendUnreliable.dataLength); break;
      case ENET_PROTOCOL_COMMAND_SEND_UNSEQUENCED: bytes += ENET_NET_TO_HOST_16(command->sendUnsequenced.dataLength); break;
      case ENET_PROTOCOL_COMMAND_SEND_FRAGMENT:
      case ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE_FRAGMENT: bytes += ENET_NET_TO_HOST_16(command->sendFragment.dataLength); break;
      default: break;
    }
    if (static_cast<size_t>(end - at) < bytes) return;
    if (!visit(kind, *command, bytes)) return;
    at += bytes;
  }
}

}  // namespace qxrnet
