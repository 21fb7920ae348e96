// The library's byte buffer behind RN_BitStream, and the packet that owns one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/qxrnet/qxrnet.h"

struct RN_BitStream {
  std::vector<uint8_t> data;
  size_t readPos = 0;
  bool pastEnd = false;
  bool ownedByPacket = false;     // a received packet's payload: read only
  std::vector<uint8_t> scratch;   // what a short RN_BitStreamRead hands out
};

// A received packet or an event. Its payload lives in its stream.
struct RN_Packet {
  RN_BitStream stream;
  RN_PlayerId sender = 0;
  bool reliable = false;  // data that came reliable-ordered (never dropped by the queue)
};

namespace qxrnet {

// A packet holding bytes [data, data + size) from sender.
RN_Packet* MakePacket(const uint8_t* data, size_t size, RN_PlayerId sender, bool reliable);
// A one-byte event packet.
RN_Packet* MakeEvent(uint8_t eventId, RN_PlayerId sender);
// Gives back a packet from MakePacket or MakeEvent (nullptr is fine); returns nullptr.
RN_Packet* FreePacket(RN_Packet* packet);

}  // namespace qxrnet
