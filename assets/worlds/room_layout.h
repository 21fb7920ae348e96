// Building one room from its plan: the frame (walls, doors, the ways up and down) and a body
// drawn from one of a handful of templates, checked with the hero's movement.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/worlds/room_check.h"
#include "assets/worlds/themes.h"
#include "assets/worlds/world_data.h"

enum BodyKind {
  BodyPlain,       // open floor with a few platforms
  BodyCavern,      // bumps, stalactites, a pit, rock ledges
  BodyStairs,      // stairs up to a gallery
  BodyBelts,       // conveyor belts on the floor and on platforms
  BodyRopePit,     // a deadly pit under the swinging rope, crossed on pillars
  BodyHazardPits,  // a deadly floor crossed on floating platforms
  BodyHouse,       // a house with a roof, windows and a way through
  BodyKindCount
};

class RoomBuilder;

struct RoomPlan {
  int number = 0;
  ThemeId theme = ThemeTown;
  BodyKind body = BodyPlain;
  int exits[4] = {0, 0, 0, 0};  // up, right, down, left
  int rightRow = 15, leftRow = 15;  // floor row of a side door
  int upGap = -1;    // with an up exit: the column of the floor gap of the room above
  int downGap = -1;  // with a down exit: the column of this room's floor gap (2 wide)
  bool rope = false;
  // A raised shelf by a side wall without a door, on this floor row (0 = none): for heroes
  // placed up there by a game start or a door.
  int leftShelf = 0, rightShelf = 0;
  uint64_t seed = 1;
  // A hand-made room draws its own body; it is then searched like any other.
  void (*special)(RoomBuilder&) = nullptr;
  std::vector<model::Hero> starts;  // heroes placed in the room by a game start
};

// The ways into a room, as the hero arrives through each of its exits.
std::vector<model::Hero> PlanArrivals(const RoomPlan& plan);

// Builds the room's tiles and exits; reach receives the search of the result. Tries body
// variants until one keeps every exit reachable, then falls back to a plain body; false when
// even that fails.
bool BuildRoom(const RoomPlan& plan, RoomData& room, RoomReach& reach);

// The floor rows a side door may have.
constexpr int DoorRows[] = {15, 11, 7};
