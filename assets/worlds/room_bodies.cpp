// The room templates drawn inside the frame: plain, cavern, gallery, belts, rope pit, deadly
// floor with platforms, house.
#include <algorithm>

#include "assets/worlds/room_builder.h"

void RoomBuilder::Body(BodyKind kind) {
  switch (kind) {
    case BodyPlain: Plain(); break;
    case BodyCavern: Cavern(); break;
    case BodyStairs: Gallery(); break;
    case BodyBelts: Belts(); break;
    case BodyRopePit: RopePit(); break;
    case BodyHazardPits: HazardPits(); break;
    case BodyHouse: House(); break;
    default: break;
  }
}

bool RoomBuilder::FindFloorRun(int width, int& c0, int rowTop) {
  if (width > 28) return false;
  for (int tries = 0; tries < 24; ++tries) {
    int c = rng_.Range(2, 29 - width);
    if (Free(c, rowTop, c + width - 1, 15) && SolidFloor(c, c + width - 1)) {
      c0 = c;
      return true;
    }
  }
  return false;
}

bool RoomBuilder::SolidFloor(int c0, int c1) const {
  for (int c = c0; c <= c1; ++c)
    if (TileClassOf(cv_.At(c, 15)) != 1) return false;
  return true;
}

void RoomBuilder::FloatingPlatforms(int count) {
  for (int i = 0; i < count; ++i) {
    int w = rng_.Range(3, 5), c0;
    if (!FindFloorRun(w + 4, c0, 10)) continue;
    cv_.Platform(13, c0 + 1, c0 + w, th_.platform);
    if (rng_.Chance(50)) cv_.Platform(11, c0 + 3, c0 + w + 2, th_.platform);
    Reserve(c0, 10, c0 + w + 3, 15);
  }
}

// A deadly pit in the floor, width cells, with free floor on both sides.
void RoomBuilder::Pit(int width) {
  int c0;
  if (!FindFloorRun(width + 4, c0, 11)) return;
  cv_.Fill(c0 + 2, 15, c0 + 1 + width, 15, th_.hazard);
  Reserve(c0, 11, c0 + width + 3, 15);
}

// A grassy mound: stairs up, a flat top, stairs down, solid earth under it all.
void RoomBuilder::Mound() {
  int h = rng_.Range(2, 3), top = rng_.Range(3, 6), c0;
  int width = 2 * h + top + 2;
  if (!FindFloorRun(width, c0, 15 - h - 3)) return;
  int up = c0 + 1, plateau = up + h, down = plateau + top + h - 1;
  cv_.Stairs(up, 15, h, 1, th_.stairs);
  cv_.Block(plateau, 15 - h, plateau + top - 1, 14, th_.ground);
  cv_.Stairs(down, 15, h, -1, th_.stairs);
  for (int i = 1; i < h; ++i) {
    cv_.Fill(up + i, 15 - i, up + h - 1, 14, tile::SolidFill(th_.ground));
    cv_.Fill(plateau + top, 15 - i, down - i, 14, tile::SolidFill(th_.ground));
  }
  Reserve(c0, 15 - h - 3, c0 + width - 1, 15);
}

void RoomBuilder::Plain() {
  if (!th_.indoor && rng_.Chance(50)) Mound();
  FloatingPlatforms(rng_.Range(1, 3));
  if (rng_.Chance(40)) Pit(2);
}

void RoomBuilder::Cavern() {
  for (int i = 0, n = rng_.Range(1, 2); i < n; ++i) {
    int w = rng_.Range(2, 3), c0;
    if (!FindFloorRun(w + 4, c0, 11)) continue;
    cv_.Block(c0 + 2, 14, c0 + 1 + w, 14, th_.ground);
    Reserve(c0, 11, c0 + w + 3, 15);
  }
  Pit(rng_.Range(2, 3));
  if (!th_.indoor && rng_.Chance(50)) Mound();
  if (th_.indoor) {
    for (int c = 2; c < 30; ++c) {
      if (!rng_.Chance(22)) continue;
      int len = rng_.Range(1, 3);
      if (!Free(c, 1, c, len + 1)) continue;
      cv_.Fill(c, 1, c, len, tile::SolidAlt(th_.wall));
    }
  }
  FloatingPlatforms(rng_.Range(1, 2));
}

// A gallery five rows up, reached by stairs; a drop off its far end is survived.
void RoomBuilder::Gallery() {
  int w = rng_.Range(5, 8);
  bool both = rng_.Chance(50);
  bool risingRight = rng_.Chance(50);
  int need = w + 5 + (both ? 5 : 0) + 2, c0;
  if (!FindFloorRun(need, c0, 8)) {
    Plain();
    return;
  }
  int galleryLo, galleryMaterial = th_.platform == th_.ground ? th_.stairs : th_.ground;
  if (risingRight) {
    cv_.Stairs(c0 + 1, 15, 5, 1, th_.stairs);
    galleryLo = c0 + 6;
    if (both) cv_.Stairs(galleryLo + w + 4, 15, 5, -1, th_.stairs);
  } else {
    galleryLo = both ? c0 + 6 : c0 + 1;
    cv_.Stairs(galleryLo + w + 4, 15, 5, -1, th_.stairs);
    if (both) cv_.Stairs(c0 + 1, 15, 5, 1, th_.stairs);
  }
  cv_.Block(galleryLo, 10, galleryLo + w - 1, 10, galleryMaterial);
  Reserve(c0, 8, c0 + need - 1, 15);
  FloatingPlatforms(1);
}

void RoomBuilder::Belts() {
  for (int i = 0, n = rng_.Range(1, 2); i < n; ++i) {
    int w = rng_.Range(4, 7), c0;
    if (!FindFloorRun(w + 2, c0, 12)) continue;
    cv_.Belt(15, c0 + 1, c0 + w, rng_.Chance(50) ? 1 : -1);
    Reserve(c0, 12, c0 + w + 1, 15);
  }
  for (int i = 0, n = rng_.Range(1, 2); i < n; ++i) {
    int w = rng_.Range(3, 5), c0;
    if (!FindFloorRun(w + 2, c0, 10)) continue;
    cv_.Belt(13, c0 + 1, c0 + w, rng_.Chance(50) ? 1 : -1);
    Reserve(c0, 10, c0 + w + 1, 15);
  }
  FloatingPlatforms(1);
}

// The floor under the rope is a deadly pit crossed on two pillars.
void RoomBuilder::RopePit() {
  if (!Free(9, 14, 22, 15) || !SolidFloor(9, 22)) {
    Plain();
    return;
  }
  cv_.Fill(10, 15, 21, 15, th_.hazard);
  for (int c : {13, 14, 17, 18}) cv_.Set(c, 15, tile::SolidTop(th_.ground));
  Reserve(9, 14, 22, 15);
}

// A deadly floor crossed on floating platforms two rows up.
void RoomBuilder::HazardPits() {
  int width = rng_.Range(8, 12), c0;
  if (!FindFloorRun(width + 4, c0, 9)) {
    Cavern();
    return;
  }
  int lo = c0 + 2, hi = c0 + 1 + width;
  cv_.Fill(lo, 15, hi, 15, th_.hazard);
  for (int c = lo; c <= hi - 1;) {
    int w = rng_.Range(2, 3);
    cv_.Platform(13, c, std::min(hi, c + w - 1), th_.platform);
    c += w + rng_.Range(2, 3);
  }
  if (rng_.Chance(60)) {
    int m = (lo + hi) / 2;
    cv_.Platform(11, m - 1, m + 1, th_.platform);
  }
  Reserve(c0, 9, c0 + width + 3, 15);
}

// A house with open doorways at the floor, windows inside and a flat roof with a chimney.
void RoomBuilder::House() {
  int w = rng_.Range(9, 13), c0;
  if (!FindFloorRun(w + 2, c0, 5)) {
    Plain();
    return;
  }
  int a = c0 + 1, b = c0 + w;
  int wall = tile::SolidEdge(th_.wall);
  cv_.Fill(a + 1, 8, b - 1, 14, tile::BackWood);
  cv_.Block(a - 1, 7, b + 1, 7, th_.wall);
  cv_.Fill(a, 8, a, 12, wall);
  cv_.Fill(b, 8, b, 12, wall);
  int chimney = rng_.Range(a + 1, b - 1);
  cv_.Fill(chimney, 5, chimney, 6, tile::SolidFill(th_.wall));
  for (int c = a + 2; c <= b - 2; c += 3) cv_.Set(c, 9, tile::Window);
  int shelf = rng_.Range(a + 2, b - 4);
  cv_.Platform(11, shelf, shelf + 2, tile::Wood);
  cv_.Platform(13, shelf + 2, shelf + 3, tile::Wood);
  Reserve(c0, 5, c0 + w + 1, 15);
}
