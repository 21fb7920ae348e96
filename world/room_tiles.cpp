// The shown room's tile and cell grids, the stair-slope collision mask and the room's drawing.
#include "world/room_tiles.h"

#include <cstring>

#include "platform/graphics.h"
#include "world/records.h"
#include "world/world_files.h"

int TileClass(int tileValue) {
  if (tileValue <= 0) return CellEmpty;
  if (tileValue <= 159) return CellSolid;
  if (tileValue <= 223) return (tileValue % 2 == 0) ? CellStairsRight : CellStairsLeft;
  if (tileValue <= 303) return CellPlatform;
  if (tileValue <= 399) return CellEmpty;  // deadly animated tiles and decoration
  if (tileValue <= 415) return CellConveyorLeft;
  if (tileValue <= 431) return CellConveyorRight;
  return CellEmpty;
}

bool IsHazardTile(int tileValue) { return tileValue >= 304 && tileValue <= 351; }

int TileAt(int x, int y) {
  // C++ division truncates toward zero, as the room's callers expect just above and left of it.
  int column = x / 16;
  int row = (y - PlayfieldTop) / 16;
  if (column < 0 || row < 0 || column > 32 || row > 16) return CellEmpty;
  return CellGrid[column][row];
}

static long MaskOffset(int x, int y) { return long(x) + long(y - PlayfieldTop) * MaskRowBytes; }

int MaskPixelSolid(int x, int y) {
  long at = MaskOffset(x, y);
  const std::vector<uint8_t>& mask = CollisionMask->bytes;
  if (at < 0 || at >= long(mask.size())) return 0;
  return mask[at] == MaskSolid ? 1 : 0;
}

int MaskSpanSolid(int x, int y) {
  long at = MaskOffset(x, y);
  const std::vector<uint8_t>& mask = CollisionMask->bytes;
  if (at >= 0 && at + 8 <= long(mask.size())) {
    uint64_t span;
    std::memcpy(&span, mask.data() + at, sizeof span);
    return span != 0 ? 1 : 0;
  }
  // Partly or wholly outside the mask: only the bytes inside can be solid.
  for (long i = at; i < at + 8; ++i)
    if (i >= 0 && i < long(mask.size()) && mask[i] != 0) return 1;
  return 0;
}

void ClearCollisionMask() {
  if (CollisionMask2 && CollisionMask2->bytes.size() == size_t(MaskSize))
    CollisionMask->bytes = CollisionMask2->bytes;
  else
    CollisionMask->bytes.assign(MaskSize, 0);
}

void PaintStairSlope(int column, int row, int cellClass) {
  int x0 = column * 16, y0 = row * 16;
  std::vector<uint8_t>& mask = CollisionMask->bytes;
  for (int band = 0; band < 4; ++band) {
    int blockX = cellClass == CellStairsRight ? x0 + 12 - 4 * band : x0 + 4 * band;
    for (int dy = 0; dy < 4; ++dy) {
      long rowStart = long(y0 + 4 * band + dy) * MaskRowBytes;
      for (int dx = 0; dx < 4; ++dx) {
        long at = rowStart + blockX + dx;
        if (at >= 0 && at < long(mask.size())) mask[at] = MaskSolid;
      }
    }
  }
}

void DecodeRoomTiles(int room) {
  std::memset(TileGrid, 0, sizeof TileGrid);
  std::memset(CellGrid, 0, sizeof CellGrid);
  long base = RoomRecordBase(room);
  if (base < 0) return;
  long at = base + RoomTilesOffset;
  for (int row = 0; row < RoomRows; ++row) {
    for (int column = 0; column < RoomColumns; ++column, at += 2) {
      int value = PeekShort(WorldBank, at);
      int cellClass = TileClass(value);
      TileGrid[column][row] = static_cast<uint16_t>(value);
      CellGrid[column][row] = static_cast<uint8_t>(cellClass);
      if (cellClass == CellStairsLeft || cellClass == CellStairsRight) PaintStairSlope(column, row, cellClass);
    }
  }
}

int TileDrawFrame(int column, int row) {
  int frame = TileGrid[column][row];
  int cellClass = CellGrid[column][row];
  if (cellClass == CellConveyorRight || cellClass == CellConveyorLeft) frame += 32 * AnimPhase;
  return frame;
}

void DrawRoom() {
  SetScale(1, 1);
  SetAlpha(1);
  SetBlend(BlendAlpha);
  SetRotation(0);
  SetColor(255, 255, 255);
  for (int row = 0; row < RoomRows; ++row) {
    float y = float(PlayfieldTop + 16 * row);
    for (int column = 0; column < RoomColumns; ++column) DrawImage(TilesImage, float(16 * column), y, TileDrawFrame(column, row));
  }
}
