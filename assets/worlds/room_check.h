// Searching one room with the hero's movement: which exits can be reached from a way in,
// where the hero can stand and what it can touch, and whether it can leave the playfield.
#pragma once

#include <string>
#include <vector>

#include "assets/worlds/hero_model.h"
#include "assets/worlds/world_data.h"

struct RoomReach {
  bool exits[4] = {false, false, false, false};  // edges left through an exit
  bool lost = false;                             // the hero got off the playfield
  std::vector<model::Hero> standing;             // still, on ground, at rest
  std::vector<uint8_t> visited;                  // positions passed, on the 4-pixel grid

  bool Visited(int x, int y) const;
  // True when the hero can touch the 16 x 16 box at screen (x, y) (the pickup touch test).
  bool Touches(int x, int y, int w = 16, int h = 16) const;
  bool CanStand(int x, int y) const;
};

void LoadModelRoom(model::Room& out, const RoomData& room, int number);

// Searches the room from the given arrivals with every key held at every step.
RoomReach SearchRoom(const model::Room& room, const std::vector<model::Hero>& seeds);

// Arrivals of a hero walking in through a side door whose floor is on row floorRow.
std::vector<model::Hero> SideArrivals(int side, int floorRow);
// Arrivals from the room below, jumping up from a ledge under the floor gap at gapColumn.
std::vector<model::Hero> ArrivalsFromBelow(int gapColumn);
// Arrivals from the room above, dropping through its floor gap at gapColumn.
std::vector<model::Hero> ArrivalsFromAbove(int gapColumn);
