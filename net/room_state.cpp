// Reporting and applying the live state of a room: rope, arrows, enemies, and the catch-up steps.
#include "net/room_state.h"

#include <algorithm>

#include "net/envelope.h"
#include "platform/clock.h"
#include "world/enemies.h"
#include "world/records.h"
#include "world/rope.h"

namespace {

constexpr int CatchUpStepMs = 16;
constexpr int DirUp = 0, FacingRight = 3;

int CatchUpSteps(int stateTime) {
  const int steps = MsSince(stateTime, NetTime()) / CatchUpStepMs;
  if (steps < 0) return 0;
  return steps > MaxCatchUpSteps ? MaxCatchUpSteps : steps;
}

// An enemy's direction as the game keeps it: an arrow flies the way it was placed; any other
// enemy takes one of the four directions or the one it started with.
int MoveDirFrom(int reported, const EnemyPickk& enemy) {
  const bool arrow = enemy.kind == ArrowKindI || enemy.kind == ArrowKindJ;
  if (arrow) return enemy.moveDir;
  const bool started = enemy.enemyIndex >= 0 && enemy.enemyIndex <= LastEnemy && reported == Enemies[enemy.enemyIndex].facing;
  return (reported >= DirUp && reported <= FacingRight) || started ? reported : enemy.moveDir;
}

}  // namespace

MsgRoomState OwnRoomState(int requester, int room) {
  MsgRoomState state;
  state.requester = requester;
  state.room = room;
  state.time = NetTime();
  state.swingPos = Rope.swingPos;
  state.swingStep = Rope.swingStep;
  state.arrowCount1 = ArrowCount1;
  state.arrowCount2 = ArrowCount2;
  for (const EnemyPickk& enemy : RoomEnemies) {
    const int x = enemy.sprite ? static_cast<int>(enemy.sprite->x) : 0;
    const int y = enemy.sprite ? static_cast<int>(enemy.sprite->y) : 0;
    state.enemies.push_back({x, y, enemy.moveDir});
  }
  return state;
}

void BoundRoomState(MsgRoomState& state, int arrowPeriod) {
  state.swingPos = std::clamp(state.swingPos, -RopeSwingLimit, RopeSwingLimit);
  state.swingStep = state.swingStep > 0 ? RopeSwingStep : -RopeSwingStep;
  state.arrowCount1 = std::clamp(state.arrowCount1, ArrowCount1Start, arrowPeriod - 1);
  state.arrowCount2 = std::clamp(state.arrowCount2, ArrowCount2Start, arrowPeriod - 1);
}

void ApplyRoomState(const MsgRoomState& reported) {
  MsgRoomState state = reported;
  BoundRoomState(state, ArrowTimer);
  Rope.swingPos = state.swingPos;
  Rope.swingStep = state.swingStep;
  ArrowCount1 = state.arrowCount1;
  ArrowCount2 = state.arrowCount2;
  if (state.enemies.size() == RoomEnemies.size()) {
    auto e = state.enemies.begin();
    for (EnemyPickk& enemy : RoomEnemies) {
      const RoomEnemyState& at = *e++;
      enemy.moveDir = MoveDirFrom(at.moveDir, enemy);
      if (!enemy.sprite) continue;
      const EnemyReach reach = ReachOf(enemy);
      enemy.sprite->SetPosition(static_cast<float>(std::clamp(at.x, reach.left, reach.right)),
                                static_cast<float>(std::clamp(at.y, reach.top, reach.bottom)));
      enemy.sprite->mirrored = enemy.moveDir == FacingRight ? 1 : 0;
    }
  }
  for (int step = CatchUpSteps(state.time); step > 0; --step) {
    UpdateRoomEnemies();
    UpdateRope();
  }
}
