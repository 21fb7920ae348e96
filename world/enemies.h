// Enemies: loading the world's table, the patrols and the timed arrows of the shown room.
#pragma once

constexpr int ArrowKindI = 73, ArrowKindJ = 74;
// The arrow counters' period: one arrow in the room, or several.
constexpr int ArrowPeriod = 150, LongArrowPeriod = 300;
// What room entry sets the counters to: the kind-74 arrows come half a period later.
constexpr int ArrowCount1Start = 0, ArrowCount2Start = -150;

extern int ArrowCount1;      // step counter of the kind-73 arrows (room entry: 0)
extern int ArrowCount2;      // step counter of the kind-74 arrows (room entry: -150)
extern int ArrowTimer;       // period of both counters (ArrowPeriod, or LongArrowPeriod)

struct EnemyPickk;
// The box an enemy of the shown room can be in, whatever it has done since the room was
// entered: a patrol between its path's ends (its start and one step beyond them included),
// an arrow anywhere along its row, any other enemy where it was placed. Inclusive.
struct EnemyReach {
  int left, top, right, bottom;
};
EnemyReach ReachOf(const EnemyPickk& e);

void LoadEnemies();          // fills Enemies from "<WorldName>_e.dat" (empty in the server build)
void UpdateRoomEnemies();    // one step of every enemy of RoomEnemies (empty in the server build)
