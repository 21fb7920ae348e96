// Drawing on a room's tile grid: blocks, floors, platforms, stairs, belts and openings.
#pragma once

#include "assets/worlds/tile_values.h"
#include "assets/worlds/world_data.h"

class RoomCanvas {
 public:
  explicit RoomCanvas(RoomData& room) : room_(room) {}

  int At(int column, int row) const;
  void Set(int column, int row, int value) { room_.Set(column, row, value); }
  void Fill(int c0, int r0, int c1, int r1, int value);
  // A solid mass of a material: its top row lit, the rest plain.
  void Block(int c0, int r0, int c1, int r1, int material);
  // A platform (stood on, jumped through) from column c0 to c1 on one row.
  void Platform(int row, int c0, int c1, int material);
  // Stairs of n cells; the foot cell stands on floorRow at column foot, the top cell is n rows
  // higher and n - 1 columns further in the rising direction (+1 right, -1 left).
  void Stairs(int foot, int floorRow, int n, int direction, int material);
  // A belt from c0 to c1 on one row, carrying left (-1) or right (+1).
  void Belt(int row, int c0, int c1, int direction);
  // Clears a rectangle to the room's backdrop tile.
  void Clear(int c0, int r0, int c1, int r1, int backdrop);
  // True when every cell of the rectangle is empty or decoration.
  bool IsOpen(int c0, int r0, int c1, int r1) const;

 private:
  RoomData& room_;
};

// Cell class of a tile value (the ranges of the room format).
int TileClassOf(int value);
bool IsOpenTile(int value);    // walked and jumped through: empty, decoration
bool IsGroundTile(int value);  // stood on: solid, platform, belt
