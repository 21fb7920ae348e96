// Building the rooms of a world from its map, and filling them with an exact number of pickups
// and enemies.
#pragma once

#include <functional>
#include <map>
#include <set>

#include "assets/worlds/room_layout.h"
#include "assets/worlds/room_population.h"
#include "assets/worlds/world_map.h"

// What a room is made of, besides its links.
struct RoomRecipe {
  ThemeId theme = ThemeTown;
  BodyKind body = BodyPlain;
  bool rope = false;
  void (*special)(RoomBuilder&) = nullptr;
  std::vector<model::Hero> starts;
  int leftShelf = 0, rightShelf = 0;
  std::string name;
};

struct BuiltRooms {
  std::map<int, RoomReach> reaches;
  std::map<int, KeepClear> keeps;
  std::vector<int> failed;  // rooms whose every exit could not be kept reachable
};

// Builds each room of rooms with its recipe and its links from the map.
BuiltRooms BuildMappedRooms(World& world, const WorldMap& map, const std::set<int>& rooms,
                            const std::function<RoomRecipe(int)>& recipe, uint64_t seed);

// Places pickups and enemies: each room's wish first, then what did not fit goes to other
// rooms of the list that take it, until the totals are met. Pickups and enemies already in the
// world count towards the totals and their rooms' wishes.
struct PopulationWish {
  std::map<int, int> pickups, enemies;
  std::set<int> noEnemies;        // rooms kept free of enemies
  std::set<int> arrowRooms;       // rooms that get an arrow among their enemies
  std::function<ThemeId(int)> theme;
};
void Populate(World& world, BuiltRooms& built, const PopulationWish& wish, int pickupTotal, int enemyTotal,
              uint64_t seed);
