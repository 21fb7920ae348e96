// Placing a room's pickups and enemies where the hero can reach them and pass them.
#pragma once

#include "assets/worlds/room_check.h"
#include "assets/worlds/room_layout.h"
#include "assets/worlds/themes.h"
#include "assets/worlds/world_data.h"

// Cells that stay free of enemies: where heroes come in and where they start.
struct KeepClear {
  std::vector<std::pair<int, int>> spots;  // screen positions of heroes (their top-left corner)
  void Add(int x, int y) { spots.push_back({x, y}); }
  void AddArrivals(const std::vector<model::Hero>& arrivals) {
    for (const model::Hero& h : arrivals) Add(h.x, h.y);
  }
  // True when a box (screen pixels) comes within margin pixels of any kept spot.
  bool Hits(int x0, int y0, int x1, int y1, int margin) const;
};

// Adds up to count pickups on places the hero can touch; returns how many were placed.
int PlacePickups(RoomData& room, const RoomReach& reach, int count, const Theme& theme, WorldRng& rng);

// Adds up to count enemies away from the kept spots; returns how many were placed.
int PlaceEnemies(RoomData& room, const RoomReach& reach, int count, const Theme& theme, const KeepClear& keep,
                 WorldRng& rng, bool arrows);
