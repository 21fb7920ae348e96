// The names of the main world's rooms.
#pragma once

#include <string>

// The name of room (1..255) of the main world; the race goals keep their fixed names.
std::string MainRoomName(int room);
// The names of the course rooms of the other worlds.
std::string PitfallRoomName(int room);
std::string AssaultRoomName(int room);
std::string JailbreakRoomName(int room);
std::string LaboratoryRoomName(int room);
std::string OriginalRoomName(int room);
std::string TowerRoomName(int room);
