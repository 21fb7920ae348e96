// Packets handed to the program, their sender ids, and the unassigned id.
#include "platform/qxrnet/bitstream.h"
#include "platform/qxrnet/export.h"
#include "platform/qxrnet/peer_ids.h"

namespace qxrnet {

RN_Packet* MakePacket(const uint8_t* data, size_t size, RN_PlayerId sender, bool reliable) {
  auto* p = new RN_Packet;
  p->stream.data.assign(data, data + size);
  p->stream.ownedByPacket = true;
  p->sender = sender;
  p->reliable = reliable;
  return p;
}

RN_Packet* MakeEvent(uint8_t eventId, RN_PlayerId sender) { return MakePacket(&eventId, 1, sender, true); }

RN_Packet* FreePacket(RN_Packet* packet) {
  delete packet;
  return nullptr;
}

}  // namespace qxrnet

RN_EXPORT const unsigned char* RN_PacketGetData(RN_Packet* packet) {
  return packet == nullptr ? nullptr : packet->stream.data.data();
}

RN_EXPORT int RN_PacketGetLength(RN_Packet* packet) {
  return packet == nullptr ? 0 : static_cast<int>(packet->stream.data.size());
}

RN_EXPORT RN_PlayerId RN_PacketGetplayerID(RN_Packet* packet) {
  return packet == nullptr ? qxrnet::kUnassignedId : packet->sender;
}

RN_EXPORT RN_PlayerId RN_CreatePlayerIDFromPacket(RN_Packet* packet) { return RN_PacketGetplayerID(packet); }

RN_EXPORT RN_PlayerId RN_GetUNASSIGNEDPLAYERID(void) { return qxrnet::kUnassignedId; }
