// Rooms from a map and recipes; pickups and enemies to exact totals.
#include "assets/worlds/world_assembly.h"

#include <algorithm>

BuiltRooms BuildMappedRooms(World& world, const WorldMap& map, const std::set<int>& rooms,
                            const std::function<RoomRecipe(int)>& recipe, uint64_t seed) {
  BuiltRooms built;
  for (int r : rooms) {
    RoomRecipe how = recipe(r);
    RoomPlan plan;
    plan.number = r;
    plan.theme = how.theme;
    plan.body = how.body;
    plan.rope = how.rope;
    plan.special = how.special;
    plan.starts = how.starts;
    plan.leftShelf = how.leftShelf;
    plan.rightShelf = how.rightShelf;
    plan.seed = seed * 1000 + uint64_t(r);
    map.ExitsOf(r, plan.exits);
    plan.leftRow = map.DoorRow(r, ExitLeft);
    plan.rightRow = map.DoorRow(r, ExitRight);
    plan.upGap = map.UpGap(r);
    plan.downGap = map.DownGap(r);
    RoomData& room = world.rooms[size_t(r)];
    room = RoomData();
    if (!BuildRoom(plan, room, built.reaches[r])) built.failed.push_back(r);
    room.name = how.name;
    KeepClear& keep = built.keeps[r];
    keep.AddArrivals(PlanArrivals(plan));
  }
  return built;
}

void Populate(World& world, BuiltRooms& built, const PopulationWish& wish, int pickupTotal, int enemyTotal,
              uint64_t seed) {
  WorldRng rng(seed);
  // Pickups and enemies already in the rooms count towards the totals and the wishes.
  int pickupsShort = pickupTotal, enemiesShort = enemyTotal;
  for (int r = 1; r < 256; ++r) {
    pickupsShort -= int(world.rooms[size_t(r)].pickups.size());
    enemiesShort -= int(world.rooms[size_t(r)].enemies.size());
  }
  for (const auto& [r, n] : wish.pickups) {
    RoomData& room = world.rooms[size_t(r)];
    int want = std::min(n - int(room.pickups.size()), pickupsShort);
    pickupsShort -= PlacePickups(room, built.reaches[r], want, ThemeOf(wish.theme(r)), rng);
  }
  for (const auto& [r, n] : wish.enemies) {
    if (wish.noEnemies.count(r)) continue;
    RoomData& room = world.rooms[size_t(r)];
    int want = std::min(n - int(room.enemies.size()), enemiesShort);
    bool arrows = wish.arrowRooms.count(r) > 0 && want >= 2;
    enemiesShort -= PlaceEnemies(room, built.reaches[r], want, ThemeOf(wish.theme(r)), built.keeps[r], rng, arrows);
  }
  // Whatever did not fit goes, one at a time, to the rooms of the wish that still take one.
  for (int pass = 0; pass < 60 && (pickupsShort > 0 || enemiesShort > 0); ++pass) {
    for (const auto& [r, n] : wish.pickups) {
      RoomData& room = world.rooms[size_t(r)];
      if (pickupsShort > 0 && n > 0 && int(room.pickups.size()) < std::min(50, n + 3 + pass / 10))
        pickupsShort -= PlacePickups(room, built.reaches[r], 1, ThemeOf(wish.theme(r)), rng);
    }
    for (const auto& [r, n] : wish.enemies) {
      RoomData& room = world.rooms[size_t(r)];
      if (enemiesShort > 0 && !wish.noEnemies.count(r) && int(room.enemies.size()) < n + 2 + pass / 10)
        enemiesShort -= PlaceEnemies(room, built.reaches[r], 1, ThemeOf(wish.theme(r)), built.keeps[r], rng, false);
    }
  }
}
