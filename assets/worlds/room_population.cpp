// Pickups on reachable floors and in jumping height; enemies patrolling floors and shafts.
#include "assets/worlds/room_population.h"

#include <algorithm>
#include <cstdlib>

#include "assets/worlds/room_canvas.h"

namespace {
constexpr int ArrowKindI = 73, ArrowKindJ = 74;

bool Taken(const RoomData& room, int x, int y) {
  for (const PickupRecord& p : room.pickups)
    if (std::abs(p.x - x) < 16 && std::abs(p.y - y) < 16) return true;
  return false;
}

bool OpenCell(const RoomData& room, int c, int r) {
  if (c < 0 || c > 31 || r < 0 || r > 15) return false;
  return IsOpenTile(room.tiles[r][c]);
}

bool OpenBox(const RoomData& room, int c0, int r0, int c1, int r1) {
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c)
      if (!OpenCell(room, c, r)) return false;
  return true;
}

// The enemies' sweeps, so that two do not share one stretch.
bool Crowded(const RoomData& room, int x0, int y0, int x1, int y1) {
  for (const EnemyRecord& e : room.enemies) {
    if (e.kind == ArrowKindI || e.kind == ArrowKindJ) continue;
    int ex0 = std::min(e.x1, e.x2), ex1 = std::max(e.x1, e.x2) + 32;
    int ey0 = std::min(e.y1, e.y2), ey1 = std::max(e.y1, e.y2) + 32;
    if (x0 < ex1 + 16 && ex0 < x1 + 16 && y0 < ey1 && ey0 < y1) return true;
  }
  return false;
}

int Tint(WorldRng& rng) { return rng.Range(170, 255); }
}  // namespace

bool KeepClear::Hits(int x0, int y0, int x1, int y1, int margin) const {
  for (const auto& s : spots) {
    int hx0 = s.first - margin, hy0 = s.second - margin, hx1 = s.first + 20 + margin, hy1 = s.second + 32 + margin;
    if (x0 < hx1 && hx0 < x1 && y0 < hy1 && hy0 < y1) return true;
  }
  return false;
}

int PlacePickups(RoomData& room, const RoomReach& reach, int count, const Theme& theme, WorldRng& rng) {
  if (count <= 0 || reach.standing.empty()) return 0;
  int placed = 0;
  std::vector<int> kinds = theme.pickupKinds.empty() ? std::vector<int>{0} : theme.pickupKinds;
  for (int tries = 0; tries < count * 40 && placed < count; ++tries) {
    const model::Hero& h = reach.standing[size_t(rng.Range(0, int(reach.standing.size()) - 1))];
    int column = (h.x + 10) / 16;
    if (column < 1 || column > 30) continue;
    int floorRow = (h.y + 32 - PlayTop) / 16;
    // On the floor, or a jump's height above it.
    int lift = rng.Chance(30) ? 2 : 1;
    int row = floorRow - lift;
    if (row < 1 || !OpenCell(room, column, row)) continue;
    int x = column * 16, y = row * 16;
    if (Taken(room, x, y) || !reach.Touches(x, y + PlayTop)) continue;
    room.pickups.push_back({x, y, rng.Pick(kinds)});
    ++placed;
  }
  return placed;
}

int PlaceEnemies(RoomData& room, const RoomReach& reach, int count, const Theme& theme, const KeepClear& keep,
                 WorldRng& rng, bool arrows) {
  int placed = 0;
  int first = theme.FirstEnemyKind();
  if (arrows && count > 0) {
    // An arrow flies along the floor; a hero jumps it.
    EnemyRecord e;
    e.kind = rng.Chance(50) ? ArrowKindI : ArrowKindJ;
    e.facing = rng.Chance(50) ? 2 : 3;
    e.x = e.facing == 2 ? 496 : 0;
    e.y = 16 * 15 - 32;
    e.x1 = 0, e.x2 = 496, e.y1 = e.y2 = e.y + PlayTop;
    e.speedCode = 3;
    e.moveType = 1;
    room.enemies.push_back(e);
    ++placed;
  }
  for (int tries = 0; tries < 240 && placed < count; ++tries) {
    int roll = rng.Range(0, 99);
    if (roll >= 80) {
      // A flyer crossing the room in open air, two cells high.
      int r = rng.Range(2, 11), c0 = rng.Range(2, 20), c1 = std::min(29, c0 + rng.Range(6, 14));
      if (!OpenBox(room, c0, r, c1, r + 1)) continue;
      int x1 = c0 * 16, x2 = (c1 - 1) * 16, y = r * 16 + PlayTop;
      if (keep.Hits(x1, y, x2 + 32, y + 32, 24) || Crowded(room, x1, y, x2 + 32, y + 32)) continue;
      EnemyRecord e;
      e.kind = first + rng.Range(0, 4);
      e.x = x1 + 16 * rng.Range(0, (x2 - x1) / 16);
      e.y = y - PlayTop;
      e.x1 = x1, e.x2 = x2, e.y1 = e.y2 = y;
      e.facing = rng.Chance(50) ? 2 : 3;
      e.speedCode = rng.Pick(std::vector<int>{8, 0, 1});
      e.red = Tint(rng), e.green = Tint(rng), e.blue = Tint(rng);
      e.moveType = 1;
      room.enemies.push_back(e);
      ++placed;
      continue;
    }
    bool flyer = roll >= 55;
    if (!flyer) {
      // A walker on a stretch of floor the hero stands on, with room above to jump it.
      const model::Hero& h = reach.standing[size_t(rng.Range(0, int(reach.standing.size()) - 1))];
      int floorRow = (h.y + 32 - PlayTop) / 16;
      int c = (h.x + 8) / 16;
      int c0 = c, c1 = c;
      while (c0 > 1 && IsGroundTile(room.tiles[floorRow][c0 - 1]) && OpenBox(room, c0 - 1, floorRow - 4, c0 - 1, floorRow - 1)) --c0;
      while (c1 < 30 && IsGroundTile(room.tiles[floorRow][c1 + 1]) && OpenBox(room, c1 + 1, floorRow - 4, c1 + 1, floorRow - 1)) ++c1;
      if (floorRow < 5 || c1 - c0 + 1 < 5 || !OpenBox(room, c0, floorRow - 4, c1, floorRow - 1)) continue;
      int x1 = c0 * 16, x2 = (c1 - 1) * 16;
      int y = floorRow * 16 - 32;
      if (keep.Hits(x1, y + PlayTop, x2 + 32, y + PlayTop + 32, 24)) {
        // Shorten the patrol to the part away from the kept spots.
        bool ok = false;
        for (int len = c1 - c0 + 1; len >= 4 && !ok; --len)
          for (int s = c0; s + len - 1 <= c1 && !ok; ++s) {
            int a = s * 16, b = (s + len - 2) * 16;
            if (!keep.Hits(a, y + PlayTop, b + 32, y + PlayTop + 32, 24)) x1 = a, x2 = b, ok = true;
          }
        if (!ok) continue;
      }
      if (Crowded(room, x1, y + PlayTop, x2 + 32, y + PlayTop + 32)) continue;
      EnemyRecord e;
      e.kind = first + rng.Range(0, 4);
      e.x = x1 + 16 * rng.Range(0, (x2 - x1) / 16);
      e.y = y;
      e.x1 = x1, e.x2 = x2, e.y1 = e.y2 = y + PlayTop;
      e.facing = rng.Chance(50) ? 2 : 3;
      e.speedCode = rng.Pick(std::vector<int>{8, 8, 0, 1});
      e.red = Tint(rng), e.green = Tint(rng), e.blue = Tint(rng);
      e.moveType = 1;
      room.enemies.push_back(e);
      ++placed;
    } else {
      // A flyer going up and down a clear shaft of two columns.
      int c = rng.Range(3, 27);
      int r1 = rng.Range(8, 12), r0 = r1 - rng.Range(4, 7);
      if (r0 < 1 || !OpenBox(room, c, r0, c + 1, r1)) continue;
      int x = c * 16, top = r0 * 16 + PlayTop, bottom = (r1 - 1) * 16 + PlayTop;
      if (keep.Hits(x, top, x + 32, bottom + 32, 24) || Crowded(room, x, top, x + 32, bottom + 32)) continue;
      EnemyRecord e;
      e.kind = first + rng.Range(0, 4);
      e.x = x;
      e.y = top - PlayTop;
      e.x1 = e.x2 = x;
      e.y1 = top, e.y2 = bottom;
      e.facing = 1;
      e.speedCode = rng.Pick(std::vector<int>{8, 0, 0, 1});
      e.red = Tint(rng), e.green = Tint(rng), e.blue = Tint(rng);
      e.moveType = 2;
      room.enemies.push_back(e);
      ++placed;
    }
  }
  return placed;
}
