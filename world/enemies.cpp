// Enemies: the world's enemy table, the patrols and the timed arrows of the shown room.
#include "world/enemies.h"

#include <algorithm>
#include <climits>

#include "platform/bank.h"
#include "world/dedicated.h"
#include "world/records.h"
#ifndef QXR_DEDICATED
#include "client/sound_effects.h"
#endif

int ArrowCount1 = ArrowCount1Start;
int ArrowCount2 = ArrowCount2Start;
int ArrowTimer = ArrowPeriod;

namespace {
constexpr int EnemyRecordSize = 20;
constexpr int MoveHorizontal = 1, MoveVertical = 2, MoveStationary = 5;
constexpr int DirUp = 0, DirDown = 1, DirLeft = 2, DirRight = 3;
constexpr int ArrowEnterStep = 50, ArrowSoundStep = 40;
constexpr int ArrowLeftEdge = -16, ArrowRightEdge = 496;

// Speed code of the file: 8 is one pixel per step, any other code v is v + 4.
int SpeedFromCode(int code) { return code == 8 ? 1 : code + 4; }

void PatrolStep(EnemyPickk& e, const EnemyType& enemy) {
  sprite& s = *e.sprite;
  int v = enemy.speed;
  if (enemy.moveType == MoveHorizontal) {
    if (s.x >= enemy.boundX2) {
      s.mirrored = 0;
      e.moveDir = DirLeft;
    }
    if (s.x <= enemy.boundX1) {
      s.mirrored = 1;
      e.moveDir = DirRight;
    }
    s.x += e.moveDir == DirRight ? v : -v;
  } else if (enemy.moveType == MoveVertical) {
    if (s.y >= enemy.boundY2) e.moveDir = DirUp;
    if (s.y <= enemy.boundY1) e.moveDir = DirDown;
    s.y += e.moveDir == DirDown ? v : -v;
  }
}

// Every arrow of a kind advances that kind's counter: announced by its sound, it enters at
// one edge, crosses the room, vanishes past the other edge and comes again a period later.
void ArrowStep(EnemyPickk& e, const EnemyType& enemy, int& counter) {
  sprite& s = *e.sprite;
  int v = enemy.speed;
  ++counter;
  if (counter > ArrowEnterStep) {
    s.Show();
    if (e.moveDir == DirLeft) {
      s.x -= v;
      if (s.x < -32) s.Hide();
    } else {
      s.x += v;
      if (s.x > ArrowRightEdge) s.Hide();
    }
  }
#ifndef QXR_DEDICATED
  if (counter == ArrowSoundStep && SfxOn) PlaySfx(ArrowSound, -1.0f, 1.0f);
#endif
  if (counter == ArrowEnterStep) {
    s.x = e.moveDir == DirLeft ? ArrowRightEdge : ArrowLeftEdge;
    s.Show();
  }
  if (counter == ArrowTimer) counter = 0;
}
}  // namespace

void LoadEnemies() {
  if constexpr (Dedicated) return;
  Bank file = LoadBank("incbin::" + WorldName + "_e.dat");
  long records = static_cast<long>(BankSize(file)) / EnemyRecordSize;
  if (records > MaxEnemies) records = MaxEnemies;  // the table holds no more
  for (int i = 0; i < records; ++i) {
    long at = long(i) * EnemyRecordSize;
    EnemyType& e = Enemies[i];
    e.room = PeekByte(file, at);
    e.x = PeekShort(file, at + 1);
    e.y = PeekShort(file, at + 3);
    e.boundX1 = PeekShort(file, at + 5);
    e.boundY1 = PeekShort(file, at + 7);
    e.boundX2 = PeekShort(file, at + 9);
    e.boundY2 = PeekShort(file, at + 11);
    e.kind = static_cast<Byte>(PeekByte(file, at + 13));
    e.facing = static_cast<Byte>(PeekByte(file, at + 14));
    e.speed = SpeedFromCode(PeekByte(file, at + 15));
    e.colourR = PeekByte(file, at + 16);
    e.colourG = PeekByte(file, at + 17);
    e.colourB = PeekByte(file, at + 18);
    e.moveType = PeekByte(file, at + 19);
    if (e.boundX2 == e.boundX1 && e.boundY2 == e.boundY1) e.moveType = MoveStationary;
  }
  for (long i = records; i < MaxEnemies; ++i) Enemies[i] = EnemyType{};
  LastEnemy = static_cast<int>(records) - 1;
}

void UpdateRoomEnemies() {
  if constexpr (Dedicated) return;
  for (EnemyPickk& e : RoomEnemies) {
    if (!e.sprite || e.enemyIndex < 0 || e.enemyIndex > LastEnemy) continue;
    const EnemyType& enemy = Enemies[e.enemyIndex];
    if (e.kind == ArrowKindI)
      ArrowStep(e, enemy, ArrowCount1);
    else if (e.kind == ArrowKindJ)
      ArrowStep(e, enemy, ArrowCount2);
    else
      PatrolStep(e, enemy);
  }
}

EnemyReach ReachOf(const EnemyPickk& e) {
  if (e.enemyIndex < 0 || e.enemyIndex > LastEnemy) {
    // Never moved: it stays where it stands.
    const int x = e.sprite ? static_cast<int>(e.sprite->x) : 0, y = e.sprite ? static_cast<int>(e.sprite->y) : 0;
    return {x, y, x, y};
  }
  const EnemyType& enemy = Enemies[e.enemyIndex];
  const int x = enemy.x, y = enemy.y + PlayfieldTop, v = enemy.speed;
  if (e.kind == ArrowKindI || e.kind == ArrowKindJ) return {INT_MIN, y, INT_MAX, y};
  if (enemy.moveType == MoveHorizontal) {
    return {std::min(x, enemy.boundX1) - v, y, std::max(x, enemy.boundX2) + v, y};
  }
  if (enemy.moveType == MoveVertical) {
    return {x, std::min(y, enemy.boundY1) - v, x, std::max(y, enemy.boundY2) + v};
  }
  return {x, y, x, y};
}
