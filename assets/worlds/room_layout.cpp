// Building one room from its plan, checked with the hero's movement.
#include "assets/worlds/room_layout.h"

#include "assets/worlds/room_builder.h"

namespace {
bool AllExitsReached(const RoomPlan& plan, const RoomReach& reach) {
  if (reach.lost) return false;
  for (int side = 0; side < 4; ++side)
    if (plan.exits[side] && !reach.exits[side]) return false;
  return true;
}
}  // namespace

std::vector<model::Hero> PlanArrivals(const RoomPlan& plan) {
  std::vector<model::Hero> seeds;
  auto add = [&](const std::vector<model::Hero>& more) { seeds.insert(seeds.end(), more.begin(), more.end()); };
  if (plan.exits[ExitLeft]) add(SideArrivals(ExitLeft, plan.leftRow));
  if (plan.exits[ExitRight]) add(SideArrivals(ExitRight, plan.rightRow));
  if (plan.exits[ExitDown]) add(ArrivalsFromBelow(plan.downGap));
  if (plan.exits[ExitUp]) add(ArrivalsFromAbove(plan.upGap));
  for (const model::Hero& h : plan.starts) seeds.push_back(h);
  return seeds;
}

bool BuildRoom(const RoomPlan& plan, RoomData& room, RoomReach& reach) {
  model::Room modelRoom;
  std::vector<model::Hero> seeds = PlanArrivals(plan);
  constexpr int Attempts = 6;
  for (int attempt = 0; attempt < Attempts; ++attempt) {
    RoomData candidate = room;
    RoomBuilder builder(plan, candidate, plan.seed * 31 + uint64_t(attempt));
    builder.Frame();
    if (plan.special) {
      plan.special(builder);
    } else {
      BodyKind kind = attempt < Attempts - 2 ? plan.body : attempt == Attempts - 2 ? BodyCavern : BodyPlain;
      builder.Body(kind);
      builder.Dress();
    }
    builder.Decorate();
    for (int i = 0; i < 4; ++i) candidate.exits[i] = plan.exits[i];
    candidate.rope = plan.rope;
    candidate.exists = true;
    LoadModelRoom(modelRoom, candidate, plan.number);
    RoomReach found = SearchRoom(modelRoom, seeds);
    bool good = AllExitsReached(plan, found);
    if (good || attempt == Attempts - 1) {
      room = candidate;
      reach = std::move(found);
      return good;
    }
  }
  return false;
}
