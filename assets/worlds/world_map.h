// The layout of a world of rooms on a grid: which neighbours are joined, and how (the floor
// row of a side door, the column of a floor gap between two rooms stacked on each other).
#pragma once

#include <map>
#include <set>
#include <vector>

#include "assets/worlds/world_data.h"

// A link joins two rooms: a's right door to b's left door, or a's way up to b's floor gap.
struct MapLink {
  int a = 0, b = 0;      // a left of b, or a below b
  bool vertical = false;
  int row = 15;          // side door floor row
  int gap = -1;          // floor gap column of the upper room
};

class WorldMap {
 public:
  // Joins the rooms of a grid with a random spanning tree, preferring side doors, plus loops;
  // room r sits in band r / 16 (bands stacked upwards) and column r % 16. Rooms in sideOnly
  // get no ways up or down; rooms in flatDoors only doors on the floor row.
  // The forced links (side doors only) are joined first, as they are.
  static WorldMap Generate(const std::set<int>& rooms, const std::set<int>& sideOnly, const std::set<int>& flatDoors,
                           const std::vector<MapLink>& forced, uint64_t seed);
  // An empty map to fill by hand.
  WorldMap() = default;

  void Join(int a, int b, bool vertical, int row = 15, int gap = -1);
  const std::vector<MapLink>& Links() const { return links_; }
  // The exits of a room as room numbers (up, right, down, left).
  void ExitsOf(int room, int exits[4]) const;
  int DoorRow(int room, int side) const;  // floor row of the room's door on a side
  int UpGap(int room) const;              // the gap column above room, -1 without
  int DownGap(int room) const;            // the gap column in room's floor, -1 without
  // Gives each way up a gap column that keeps both rooms' ledges, rungs and gaps apart.
  void AssignGaps(uint64_t seed);

 private:
  const MapLink* Side(int room, int side) const;  // the link on a side of a room
  std::vector<MapLink> links_;
  std::map<std::pair<int, int>, size_t> sides_;  // (room, side) to link
};
