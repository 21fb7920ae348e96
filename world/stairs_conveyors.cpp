// Stairs and conveyors: the stair walking tests, landing on a slope and the belt rule.
#include "world/stairs_conveyors.h"

#include <cmath>

#include "world/local_hero.h"
#include "world/room_tiles.h"

namespace {
constexpr int SlopeRisingLeft = CellStairsLeft;    // 3
constexpr int SlopeRisingRight = CellStairsRight;  // 4
constexpr int OffStairs = 6;

bool OnWholeRow(float y) { return std::fmod(y, 16.0f) == 0.0f; }
}  // namespace

int CheckStairsRight() {
  PlayerType* hero = LocalHero();
  if (!hero) return 0;
  sprite& s = *hero->sprite;
  if (!hero->jumping) {
    int x = static_cast<int>(s.x), y = static_cast<int>(s.y);
    // Up a slope rising to the right.
    if (hero->stairKind != SlopeRisingLeft && MaskPixelSolid(x + 16, y + 30) &&
        (hero->onStairs || MaskPixelSolid(x + 20, y + 26))) {
      hero->onStairs = 1;
      hero->stairKind = SlopeRisingRight;
      s.y -= 4;
      return 1;
    }
    // Down a slope rising to the left.
    if (hero->stairKind != SlopeRisingRight && MaskPixelSolid(x + 8, y + 34) &&
        (hero->onStairs || MaskPixelSolid(x + 12, y + 38))) {
      hero->onStairs = 1;
      hero->stairKind = SlopeRisingLeft;
      s.y += 4;
      return 1;
    }
    // Stepping off the top of a rising-right slope lifts the hero onto the floor row.
    if (hero->onStairs && hero->stairKind == SlopeRisingRight) s.y -= 4;
  }
  hero->onStairs = 0;
  hero->stairKind = OffStairs;
  int x = static_cast<int>(s.x), y = static_cast<int>(s.y);
  if (TileAt(x + 20, y) == CellSolid || TileAt(x + 20, y + 16) == CellSolid) return 0;
  if (hero->jumpStep != 0 && !OnWholeRow(s.y) && TileAt(x + 20, y + 32) == CellSolid) return 0;
  return 1;
}

int CheckStairsLeft() {
  PlayerType* hero = LocalHero();
  if (!hero) return 0;
  sprite& s = *hero->sprite;
  if (!hero->jumping) {
    int x = static_cast<int>(s.x), y = static_cast<int>(s.y);
    // Down a slope rising to the right.
    if (hero->stairKind != SlopeRisingLeft && MaskPixelSolid(x + 14, y + 34) &&
        (hero->onStairs || MaskPixelSolid(x + 10, y + 38))) {
      hero->onStairs = 1;
      hero->stairKind = SlopeRisingRight;
      s.y += 4;
      return 1;
    }
    // Up a slope rising to the left.
    if (hero->stairKind != SlopeRisingRight && MaskPixelSolid(x + 4, y + 30) &&
        (hero->onStairs || MaskPixelSolid(x, y + 26))) {
      hero->onStairs = 1;
      hero->stairKind = SlopeRisingLeft;
      s.y -= 4;
      return 1;
    }
  }
  hero->onStairs = 0;
  hero->stairKind = OffStairs;
  int x = static_cast<int>(s.x), y = static_cast<int>(s.y);
  if (TileAt(x - 4, y) == CellSolid || TileAt(x - 4, y + 16) == CellSolid) return 0;
  if (hero->jumpStep > 9 && TileAt(x - 4, y + 32) == CellSolid) return 0;
  return 1;
}

int ProbeFloorBelow() {
  PlayerType* hero = LocalHero();
  if (!hero || hero->onRope) return 0;
  sprite& s = *hero->sprite;
  int x = static_cast<int>(s.x), y = static_cast<int>(s.y);
  for (int d = 0; d <= 12; d += 4) {
    if (!MaskSpanSolid(x + 8, y + d + 32)) continue;
    if (d == 0) {
      hero->onStairs = 1;
    } else {
      // The slope is a little below the feet: step down onto it.
      s.y += 4;
      hero->onStairs = 0;
      hero->falling = 1;
    }
    return 1;
  }
  return 0;
}

void ApplyConveyor(int cellClass) {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  if (cellClass == CellConveyorLeft && hero->walkDir != 2) {
    hero->walkDir = 1;
    hero->onConveyor = 1;
  } else if (cellClass == CellConveyorRight && hero->walkDir != 1) {
    hero->walkDir = 2;
    hero->onConveyor = 1;
  }
}
