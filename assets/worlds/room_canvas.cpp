// Room drawing helpers over the tile grid.
#include "assets/worlds/room_canvas.h"

#include <algorithm>

#include "assets/worlds/hero_model.h"

// The hero model decodes rooms by the same cell classes, so both read them from one place.
int TileClassOf(int v) { return model::ClassOf(v); }

bool IsOpenTile(int value) { return TileClassOf(value) == 0 && !model::IsHazard(value); }

bool IsGroundTile(int value) { return model::IsGround(TileClassOf(value)); }

int RoomCanvas::At(int column, int row) const {
  if (column < 0 || column >= RoomColumnsW || row < 0 || row >= RoomRowsW) return 0;
  return room_.tiles[row][column];
}

void RoomCanvas::Fill(int c0, int r0, int c1, int r1, int value) {
  for (int r = std::max(0, r0); r <= std::min(RoomRowsW - 1, r1); ++r)
    for (int c = std::max(0, c0); c <= std::min(RoomColumnsW - 1, c1); ++c) room_.tiles[r][c] = uint16_t(value);
}

void RoomCanvas::Block(int c0, int r0, int c1, int r1, int material) {
  Fill(c0, r0, c1, r1, tile::SolidFill(material));
  Fill(c0, r0, c1, r0, tile::SolidTop(material));
}

void RoomCanvas::Platform(int row, int c0, int c1, int material) {
  if (c1 < c0) std::swap(c0, c1);
  if (c0 == c1) {
    Set(c0, row, tile::PlatformSingle(material));
    return;
  }
  for (int c = c0; c <= c1; ++c)
    Set(c, row, c == c0 ? tile::PlatformLeft(material) : c == c1 ? tile::PlatformRight(material) : tile::PlatformMid(material));
}

void RoomCanvas::Stairs(int foot, int floorRow, int n, int direction, int material) {
  int value = direction > 0 ? tile::StairsRight(material) : tile::StairsLeft(material);
  for (int i = 0; i < n; ++i) Set(foot + i * direction, floorRow - 1 - i, value);
}

void RoomCanvas::Belt(int row, int c0, int c1, int direction) {
  if (c1 < c0) std::swap(c0, c1);
  int mid = direction < 0 ? tile::BeltLeft : tile::BeltRight;
  for (int c = c0; c <= c1; ++c) Set(c, row, c == c0 ? mid - 1 : c == c1 ? mid + 1 : mid);
}

void RoomCanvas::Clear(int c0, int r0, int c1, int r1, int backdrop) { Fill(c0, r0, c1, r1, backdrop); }

bool RoomCanvas::IsOpen(int c0, int r0, int c1, int r1) const {
  for (int r = std::max(0, r0); r <= std::min(RoomRowsW - 1, r1); ++r)
    for (int c = std::max(0, c0); c <= std::min(RoomColumnsW - 1, c1); ++c)
      if (!IsOpenTile(room_.tiles[r][c])) return false;
  return true;
}
