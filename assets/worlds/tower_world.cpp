// "tower": the dark tower of the team game. Red starts at the left of room 1 and climbs the
// red stairwell (rooms 2, 4, 6, 8, 10), blue starts at the right and climbs the blue one
// (3, 5, 7, 9, 11); across the top the rope walks lead both to the crown room 13 and its two
// pickups, the first touched winning for its team. Tower top 17 lies above the crown room.
#include "assets/worlds/course_worlds.h"

#include <cstdlib>

#include "assets/worlds/lobby_rooms.h"
#include "assets/worlds/main_world.h"
#include "assets/worlds/room_names.h"
#include "assets/worlds/special_rooms.h"
#include "assets/worlds/world_assembly.h"

World BuildTowerWorld(const World& main) {
  World world;
  world.name = "tower";
  for (int r = 18; r <= 255; ++r) {
    if (r >= LobbyFirstRoom && r <= LobbyLastRoom) continue;
    world.rooms[size_t(r)] = main.rooms[size_t(r)];
    world.rooms[size_t(r)].enemies.clear();
    world.rooms[size_t(r)].pickups.clear();
  }
  WorldMap map;
  map.Join(2, 1, false);
  map.Join(1, 3, false);
  for (int r : {2, 4, 6, 8, 3, 5, 7, 9}) map.Join(r, r + 2, true);
  map.Join(10, 12, false);
  map.Join(12, 14, false);
  map.Join(14, 13, false);
  map.Join(13, 15, false);
  map.Join(15, 16, false);
  map.Join(16, 11, false);
  map.Join(13, 17, true);
  map.AssignGaps(81000);
  const std::set<int> rope = {12, 14, 15, 16};
  std::set<int> rooms;
  for (int r = 1; r <= 17; ++r) rooms.insert(r);
  auto recipe = [&](int r) {
    RoomRecipe how;
    how.theme = ThemeCastle;
    how.rope = rope.count(r) > 0;
    how.body = how.rope ? BodyRopePit : r % 2 ? BodyStairs : BodyCavern;
    if (r == 1) {
      how.special = DrawStartHall;
      how.starts = {model::StandingAt(32, 352), model::StandingAt(480, 352)};
    }
    if (r == 13 || r == 17) how.body = BodyPlain;
    how.name = TowerRoomName(r);
    return how;
  };
  BuiltRooms built = BuildMappedRooms(world, map, rooms, recipe, 81001);
  AddLobbyRooms(world);
  // The crown room's two pickups, one on each side: on the floor cells nearest columns 8 and
  // 23 that a hero can touch.
  RoomData& crown = world.rooms[13];
  const RoomReach& reach = built.reaches[13];
  for (int target : {8, 23}) {
    int bestColumn = -1, bestRow = -1;
    for (const model::Hero& h : reach.standing) {
      int column = (h.x + 10) / 16, row = (h.y + 32 - PlayTop) / 16 - 1;
      if (column < 2 || column > 29 || row < 1 || !IsOpenTile(crown.tiles[row][column])) continue;
      if (!reach.Touches(column * 16, row * 16 + PlayTop)) continue;
      if (bestColumn < 0 || std::abs(column - target) < std::abs(bestColumn - target) ||
          (column == bestColumn && row > bestRow)) {
        bestColumn = column, bestRow = row;
      }
    }
    if (bestColumn >= 0) crown.pickups.push_back({bestColumn * 16, bestRow * 16, 24});
  }
  PopulationWish wish;
  wish.theme = [](int) { return ThemeCastle; };
  for (int r = 2; r <= 17; ++r)
    if (r != 13) wish.enemies[r] = r >= 12 ? 1 : 2;
  wish.arrowRooms = {4, 5, 8, 9};
  Populate(world, built, wish, 0, TowerEnemies, 81002);
  return world;
}
