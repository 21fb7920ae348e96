// The three lobby rooms every world holds: the briefing room, the team room and the lounge.
#pragma once

#include "assets/worlds/world_data.h"

constexpr int BriefingRoomNumber = 178, TeamRoomNumber = 179, LoungeRoomNumber = 180;

// Puts rooms 178, 179 and 180 into the world (the same in every world).
void AddLobbyRooms(World& world);
