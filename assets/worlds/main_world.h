// The main world "maps" and the numbers the game gives its rooms.
#pragma once

#include <set>

#include "assets/worlds/world_data.h"

constexpr int MainStartRoom = 32;   // the single-player start
constexpr int TagRoom = 27;         // tag and chase are played here
constexpr int BlueFlagRoom = 81;    // capture the flag: the blue flag and blue's starts
constexpr int RedFlagRoom = 160;    // the red flag and red's starts
constexpr int LobbyFirstRoom = 178, LobbyLastRoom = 180;
constexpr int MaxStandingSlots = 15;  // heroes at slot * 32 + 32 fit on the floor for slots 0..14
constexpr int MainPickupCount = 1031;
constexpr int MainEnemyCount = 680;

World BuildMainWorld();
// Rooms 1..255 but the lobby.
std::set<int> MainWorldRooms();
const std::set<int>& MainRopeRooms();
