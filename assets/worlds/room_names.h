// The names of the main world's rooms.
#pragma once

#include <string>

// The name of room (1..255) of the main world; the race goals keep their fixed names.
std::string MainRoomName(int room);
