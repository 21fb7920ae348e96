// Entering a room: clearing the old room's sprites, decoding the new one, the arrival rules of
// the game modes and, online, asking for the room's live state.
#pragma once

constexpr int DiscoveryRoomCount = 252;   // the discovery share is taken over rooms 1..252
constexpr int RoomStateWaitMs = 8000;     // how long a requested room state is awaited

// Enters Game.room (empty in the server build). A room number outside 1..255 is refused:
// Game.room goes back to the room shown (or the start room when none was shown yet).
void EnterRoom();
// Removes the pickup, enemy, hazard and rope sprites of the shown room and hides all players.
void ClearRoomSprites();

// The goal room of race mode 20..28; 0 for any other mode.
int RaceGoalRoom(int mode);
// The discovery share: rooms 1..252 with a visit, as a truncated percentage of 252.
int DiscoveryShare();
// The room last entered by EnterRoom (0 before the first).
extern int ShownRoom;
