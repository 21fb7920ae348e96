// Enemies: loading the world's table, the patrols and the timed arrows of the shown room.
#pragma once

constexpr int ArrowKindI = 73, ArrowKindJ = 74;

extern int ArrowCount1;      // step counter of the kind-73 arrows (room entry: 0)
extern int ArrowCount2;      // step counter of the kind-74 arrows (room entry: -150)
extern int ArrowTimer;       // period of both counters (150, or 300 with several arrows)

void LoadEnemies();          // fills Enemies from "<WorldName>_e.dat" (empty in the server build)
void UpdateRoomEnemies();    // one step of every enemy of RoomEnemies (empty in the server build)
