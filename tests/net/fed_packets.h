// Packets made from bytes by the networking library's test knob and handed straight to the host
// step or the client dispatcher, as if they had just been received (the library is bound).
#pragma once

#include <cstdint>
#include <vector>

#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/host_step.h"
#include "net/netlib_binding.h"

namespace fed_packets {

inline void Handle(const std::vector<uint8_t>& data, RN_PlayerId sender, void (*handle)()) {
  static const auto makePacket = NetLibraryFile().Bind<RN_Packet*(const void*, int, RN_PlayerId)>("RN_TestMakePacket");
  CurrentPacket = makePacket(data.data(), static_cast<int>(data.size()), sender);
  if (CurrentPacket == nullptr) return;
  InStream = NetLib.BitStreamCreateFromPacket(CurrentPacket);
  handle();
  NetFreePacket();
}

}  // namespace fed_packets

// The host step (HostHandlePacket) handles data as a packet from sender.
inline void HostReceives(const std::vector<uint8_t>& data, RN_PlayerId sender) {
  fed_packets::Handle(data, sender, HostHandlePacket);
}

// The client dispatcher (ClientHandlePacket) handles data as a packet from the host.
inline void ClientReceives(const std::vector<uint8_t>& data) {
  fed_packets::Handle(data, UnassignedId, ClientHandlePacket);
}
