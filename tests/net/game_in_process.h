// The client's game run inside a test program, headless, for the fuzz targets and benchmarks
// of online play: a hosting client standing in the lounge, or a client joined to a host, and
// packets made from bytes handed straight to the host step or the client dispatcher.
#pragma once

#include <cstdint>
#include <vector>

#include "net/envelope.h"

namespace game_in_process {

// What the client's start-up does before its menus: the (dummy) screen, the pictures, the
// shared records, the tables, the networking library and its packet-making test knob.
void StartUp();

// This program becomes a hosting client whose own player ("  Host  ", slot 0) stands in the
// lounge, with every other slot free. The server interface listens on port; with port 0 it is
// made but not started, so that nothing goes out of it. False when the port is taken.
bool HostInLounge(int port);

// This program becomes a client joined to a host in mySlot, standing in the lounge. Its client
// interface is made but not connected, so that nothing goes out of it.
void JoinedInLounge(int mySlot);

// Hands data to the host step (HostHandlePacket) as a packet from sender, then frees it.
void HostReceives(const std::vector<uint8_t>& data, RN_PlayerId sender);
// Hands data to the client dispatcher (ClientHandlePacket) as a packet from the host.
void ClientReceives(const std::vector<uint8_t>& data);

}  // namespace game_in_process
