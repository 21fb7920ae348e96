// Test knobs: making an interface vanish without telling the other end, and packets made from bytes.
#include "platform/qxrnet/bitstream.h"
#include "platform/qxrnet/client.h"
#include "platform/qxrnet/export.h"
#include "platform/qxrnet/server.h"

RN_EXPORT void RN_TestDropWithoutNotice(RN_Interface* iface) {
  if (auto* s = qxrnet::AsServer(iface)) s->Vanish();
  if (auto* c = qxrnet::AsClient(iface)) c->Vanish();
}

RN_EXPORT RN_Packet* RN_TestMakePacket(const void* data, int length, RN_PlayerId sender) {
  if (data == nullptr || length < 1 || length > RN_MAX_PACKET_BYTES) return nullptr;
  return qxrnet::MakePacket(static_cast<const uint8_t*>(data), static_cast<size_t>(length), sender, true);
}
