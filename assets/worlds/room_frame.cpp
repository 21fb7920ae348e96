// A room's frame: backdrop, walls, floor, ceiling, the side doors, the ways up and down.
#include <algorithm>

#include "assets/worlds/room_builder.h"
#include "assets/worlds/rope_swing.h"

RoomBuilder::RoomBuilder(const RoomPlan& plan, RoomData& room, uint64_t seed)
    : plan_(plan), cv_(room), th_(ThemeOf(plan.theme)), rng_(seed) {}

void RoomBuilder::Frame() {
  Backdrop();
  Shell();
  if (plan_.exits[ExitLeft]) SideDoor(false, plan_.leftRow, true);
  if (plan_.exits[ExitRight]) SideDoor(true, plan_.rightRow, true);
  if (plan_.leftShelf) SideDoor(false, plan_.leftShelf, false);
  if (plan_.rightShelf) SideDoor(true, plan_.rightShelf, false);
  if (plan_.exits[ExitUp]) WayUp(plan_.upGap);
  if (plan_.exits[ExitDown]) WayDown(plan_.downGap);
  if (plan_.rope)
    for (const SwingCell& cell : RopeSwingCells()) Reserve(cell.column, cell.row, cell.column, cell.row);
}

void RoomBuilder::Backdrop() {
  cv_.Fill(0, 0, 31, 15, th_.backdrops[0]);
  if (th_.backdrops.size() < 2) return;
  int second = th_.backdrops[1];
  if (!th_.indoor) {
    // Outdoors: the far backdrop along the lower rows, under the sky.
    cv_.Fill(0, 10, 31, 14, second);
  } else {
    for (int i = 0, n = rng_.Range(1, 3); i < n; ++i) {
      int c = rng_.Range(1, 26), r = rng_.Range(1, 10);
      cv_.Fill(c, r, c + rng_.Range(2, 5), r + rng_.Range(1, 3), second);
    }
  }
}

void RoomBuilder::Shell() {
  int wall = tile::SolidEdge(th_.wall);
  cv_.Fill(0, 0, 0, 15, wall);
  cv_.Fill(31, 0, 31, 15, wall);
  if (th_.indoor) cv_.Fill(0, 0, 31, 0, wall);
  cv_.Block(0, 15, 31, 15, th_.ground);
  cv_.Set(0, 15, wall);
  cv_.Set(31, 15, wall);
}

void RoomBuilder::ReserveCols(int c0, int c1, int r0, int r1, bool right) {
  Reserve(std::min(Col(c0, right), Col(c1, right)), r0, std::max(Col(c0, right), Col(c1, right)), r1);
}

void RoomBuilder::PlatformCols(int row, int c0, int c1, bool right) {
  cv_.Platform(row, std::min(Col(c0, right), Col(c1, right)), std::max(Col(c0, right), Col(c1, right)), th_.platform);
}

// A door in a side wall whose floor is row; the opening is five rows high. A raised floor gets
// a shelf by the wall and a way down to the floor: stairs on a solid base, or rungs. Without
// the opening it is a shelf to stand on.
void RoomBuilder::SideDoor(bool right, int row, bool opening) {
  int wallColumn = right ? 31 : 0;
  if (opening)
    for (int r = row - 5; r <= row - 1; ++r) cv_.Set(wallColumn, r, BackdropAt(r));
  ReserveCols(0, 2, std::max(0, row - 6), row, right);
  if (row >= 15) return;
  if (row == 11 && rng_.Chance(50)) {
    int lo = std::min(Col(1, right), Col(4, right)), hi = std::max(Col(1, right), Col(4, right));
    cv_.Block(lo, 11, hi, 14, th_.ground);
    cv_.Stairs(Col(8, right), 15, 4, right ? 1 : -1, th_.stairs);
  } else {
    PlatformCols(row, 1, 4, right);
    bool near = true;
    for (int r = row + 2; r <= 14; r += 2, near = !near) PlatformCols(r, near ? 3 : 1, near ? 7 : 5, right);
  }
  ReserveCols(0, 8, std::max(0, row - 6), 15, right);
}

// The way up: a ledge on row 3 under the gap of the room above, rungs zigzagging up to it
// every two rows, and the ceiling open above it.
void RoomBuilder::WayUp(int g) {
  for (int r = 0; r <= 2; ++r)
    for (int c = g - 3; c <= g + 5; ++c) cv_.Set(c, r, BackdropAt(r));
  cv_.Platform(3, g - 2, g + 3, th_.platform);
  bool leanRight = LadderLeansRight(g);
  int nearLo = leanRight ? g - 2 : g - 1, nearHi = leanRight ? g + 2 : g + 3;
  int farLo = leanRight ? g + 1 : g - 4, farHi = leanRight ? g + 5 : g;
  for (int r = 13, i = 0; r >= 5; r -= 2, ++i) {
    bool near = i % 2 == 0;
    cv_.Platform(r, near ? nearLo : farLo, near ? nearHi : farHi, th_.platform);
  }
  Reserve(std::min(g - 3, farLo), 0, std::max(g + 5, farHi), 15);
}

bool RoomBuilder::LadderLeansRight(int g) const {
  bool rightZone = plan_.exits[ExitRight] && plan_.rightRow < 15;
  bool leftZone = plan_.exits[ExitLeft] && plan_.leftRow < 15;
  int rightLimit = rightZone ? 22 : 30, leftLimit = leftZone ? 9 : 1;
  if (plan_.exits[ExitDown]) {
    // Keep the rungs off the floor gap.
    if (plan_.downGap > g) rightLimit = std::min(rightLimit, plan_.downGap - 3);
    else leftLimit = std::max(leftLimit, plan_.downGap + 5);
  }
  if (g + 5 <= rightLimit) return true;
  if (g - 4 >= leftLimit) return false;
  return g < 16;
}

// The way down: a gap two cells wide in the floor, kept clear above for heroes coming up.
void RoomBuilder::WayDown(int g) {
  for (int c = g; c <= g + 1; ++c) cv_.Set(c, 15, BackdropAt(14));
  Reserve(g - 3, 10, g + 6, 15);
}

void RoomBuilder::Dress() {
  if (th_.indoor) {
    for (int c = 1; c <= 30;) {
      int w = rng_.Range(2, 6);
      if (rng_.Chance(45) && Free(c, 1, std::min(30, c + w - 1), 3)) {
        cv_.Fill(c, 1, std::min(30, c + w - 1), 1, tile::SolidFill(th_.wall));
        // Now and then a block hangs lower from it.
        int drop = c + rng_.Range(0, w - 1);
        if (rng_.Chance(40) && drop <= 30 && Free(drop, 2, drop, 4)) cv_.Set(drop, 2, tile::SolidAlt(th_.wall));
      }
      c += w + rng_.Range(1, 3);
    }
  }
  if (rng_.Chance(50)) {
    int w = rng_.Range(3, 6), c0;
    if (FindFloorRun(w + 4, c0, 10)) {
      cv_.Block(c0 + 2, 14, c0 + 1 + w, 14, th_.ground);
      Reserve(c0, 10, c0 + w + 3, 15);
    }
  }
}

void RoomBuilder::Decorate() {
  // Things on the back wall: indoors anywhere up high, outdoors only on the far backdrop.
  int wallLo = th_.indoor ? 2 : 11, wallHi = th_.indoor ? 10 : 13;
  for (int r = 1; r < 15; ++r)
    for (int c = 1; c < 31; ++c) {
      if (!IsBackdrop(c, r) || reserved_[r][c]) continue;
      bool onFloor = TileClassOf(cv_.At(c, r + 1)) == 1;
      bool underCeiling = TileClassOf(cv_.At(c, r - 1)) == 1 && r <= 2;
      if (onFloor && !th_.floorDecor.empty() && rng_.Chance(16)) {
        cv_.Set(c, r, rng_.Pick(th_.floorDecor));
      } else if (underCeiling && !th_.hangingDecor.empty() && rng_.Chance(10)) {
        cv_.Set(c, r, rng_.Pick(th_.hangingDecor));
      } else if (r >= wallLo && r <= wallHi && !th_.wallDecor.empty() && rng_.Chance(5) && IsBackdrop(c, r + 1) &&
                 IsBackdrop(c, r - 1)) {
        cv_.Set(c, r, rng_.Pick(th_.wallDecor));
      }
    }
}

int RoomBuilder::BackdropAt(int row) const {
  if (!th_.indoor && th_.backdrops.size() > 1 && row >= 10) return th_.backdrops[1];
  return th_.backdrops[0];
}

bool RoomBuilder::IsBackdrop(int c, int r) const {
  int v = cv_.At(c, r);
  return std::find(th_.backdrops.begin(), th_.backdrops.end(), v) != th_.backdrops.end();
}

void RoomBuilder::Reserve(int c0, int r0, int c1, int r1) {
  for (int r = std::max(0, r0); r <= std::min(15, r1); ++r)
    for (int c = std::max(0, c0); c <= std::min(31, c1); ++c) reserved_[r][c] = true;
}

bool RoomBuilder::Free(int c0, int r0, int c1, int r1) const {
  if (c0 < 1 || c1 > 30) return false;
  for (int r = std::max(0, r0); r <= std::min(15, r1); ++r)
    for (int c = c0; c <= c1; ++c)
      if (reserved_[r][c]) return false;
  return true;
}
