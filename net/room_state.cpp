// Reporting and applying the live state of a room: rope, arrows, enemies, and the catch-up steps.
#include "net/room_state.h"

#include "net/envelope.h"
#include "platform/clock.h"
#include "world/enemies.h"
#include "world/records.h"
#include "world/rope.h"

namespace {

constexpr int CatchUpStepMs = 16;
constexpr int FacingRight = 3;

int CatchUpSteps(int stateTime) {
  const int steps = MsSince(stateTime, NetTime()) / CatchUpStepMs;
  if (steps < 0) return 0;
  return steps > MaxCatchUpSteps ? MaxCatchUpSteps : steps;
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

void ApplyRoomState(const MsgRoomState& state) {
  Rope.swingPos = state.swingPos;
  Rope.swingStep = state.swingStep;
  ArrowCount1 = state.arrowCount1;
  ArrowCount2 = state.arrowCount2;
  if (state.enemies.size() == RoomEnemies.size()) {
    auto reported = state.enemies.begin();
    for (EnemyPickk& enemy : RoomEnemies) {
      const RoomEnemyState& e = *reported++;
      enemy.moveDir = e.moveDir;
      if (!enemy.sprite) continue;
      enemy.sprite->SetPosition(static_cast<float>(e.x), static_cast<float>(e.y));
      enemy.sprite->mirrored = e.moveDir == FacingRight ? 1 : 0;
    }
  }
  for (int step = CatchUpSteps(state.time); step > 0; --step) {
    UpdateRoomEnemies();
    UpdateRope();
  }
}
