// The client's game run inside a test program, headless, for the fuzz targets and benchmarks
// of online play: a hosting client standing in the lounge, or a client joined to a host
// (tests/net/fed_packets.h hands them packets).
#pragma once

#include "net/envelope.h"

namespace game_in_process {

// What the client's start-up does before its menus: the (dummy) screen, the pictures, the
// shared records, the tables and the networking library.
void StartUp();

// This program becomes a hosting client whose own player ("  Host  ", slot 0) stands in the
// lounge, with every other slot free. The server interface listens on port; with port 0 it is
// made but not started, so that nothing goes out of it. False when the port is taken.
bool HostInLounge(int port);

// This program becomes a client joined to a host in mySlot, standing in the lounge. Its client
// interface is made but not connected, so that nothing goes out of it.
void JoinedInLounge(int mySlot);

}  // namespace game_in_process
