// A breadth-first search over the hero's movement states within one room.
#include "assets/worlds/room_check.h"


namespace {
constexpr int GridX0 = -64, GridY0 = 64, GridW = 160, GridH = 96;  // 4-pixel cells

// Positions off the grid (mid-jump half steps) are not kept: a touch counts only from the grid.
int GridIndex(int x, int y) {
  if (x % 4 != 0 || y % 4 != 0) return -1;
  int gx = (x - GridX0) / 4, gy = (y - GridY0) / 4;
  if (gx < 0 || gy < 0 || gx >= GridW || gy >= GridH) return -1;
  return gy * GridW + gx;
}
}  // namespace

bool RoomReach::Visited(int x, int y) const {
  int i = GridIndex(x, y);
  return i >= 0 && !visited.empty() && visited[size_t(i)] != 0;
}

bool RoomReach::Touches(int x, int y, int w, int h) const {
  // Hero box (hx + 2, hy, 16, 32) against (x, y, w, h), edges included.
  for (int hy = y - 32 - 4; hy <= y + h + 4; hy += 4)
    for (int hx = x - 18 - 4; hx <= x + w + 4; hx += 4) {
      int ax = hx - (hx % 4 + 4) % 4, ay = hy - (hy % 4 + 4) % 4;
      if (!Visited(ax, ay)) continue;
      if (model::Overlap(ax + 2, ay, 16, 32, x, y, w, h)) return true;
    }
  return false;
}

bool RoomReach::CanStand(int x, int y) const {
  for (const model::Hero& h : standing)
    if (h.x == x && h.y == y) return true;
  return false;
}

void LoadModelRoom(model::Room& out, const RoomData& room, int number) {
  out.LoadTiles(number, [&](int c, int r) { return int(room.tiles[r][c]); }, room.exits);
}

RoomReach SearchRoom(const model::Room& room, const std::vector<model::Hero>& seeds) {
  RoomReach result;
  result.visited.assign(size_t(GridW) * GridH, 0);
  model::KeySet seen;
  std::vector<model::Hero> queue;  // searched last in, first out: the order does not matter
  for (const model::Hero& h : seeds)
    if (seen.Insert(h.Key())) queue.push_back(h);
  while (!queue.empty()) {
    model::Hero h = queue.back();
    queue.pop_back();
    int gi = GridIndex(h.x, h.y);
    if (gi >= 0) result.visited[size_t(gi)] = 1;
    if (h.Standing() && !h.onStairs && h.y % 16 == 0) result.standing.push_back(h);
    int count = 0;
    const model::Input* inputs = model::InputsThatMatter(h, count);
    for (int i = 0; i < count; ++i) {
      model::Hero next = h;
      model::Stepper step(room, next);
      int exitDir = -1;
      model::Outcome outcome = step.Step(inputs[i], exitDir);
      // A jump runs on by itself: follow it to its end without keeping the states on the way.
      for (int guard = 0; outcome == model::Moving && next.jumping && guard < 40; ++guard) {
        int gj = GridIndex(next.x, next.y);
        if (gj >= 0) result.visited[size_t(gj)] = 1;
        outcome = step.Step(model::NoKey, exitDir);
      }
      if (outcome == model::Dead) continue;
      if (outcome == model::Lost) {
        result.lost = true;
        continue;
      }
      if (outcome == model::Exited) {
        result.exits[exitDir] = true;
        continue;
      }
      if (seen.Insert(next.Key())) queue.push_back(next);
    }
  }
  return result;
}

std::vector<model::Hero> SideArrivals(int side, int floorRow) {
  model::Hero h = model::StandingAt(side == ExitLeft ? 8 : 492, PlayTop + 16 * floorRow - 32);
  h.walkDir = side == ExitLeft ? 2 : 1;
  return {h};
}

std::vector<model::Hero> ArrivalsFromBelow(int gapColumn) {
  std::vector<model::Hero> out;
  for (int x = 16 * (gapColumn - 2); x <= 16 * (gapColumn + 3); x += 4) {
    model::Hero h = model::StandingAt(x, 352);
    h.jumping = 1;
    h.jumpStep = 2;
    out.push_back(h);
  }
  return out;
}

std::vector<model::Hero> ArrivalsFromAbove(int gapColumn) {
  std::vector<model::Hero> out;
  for (int x = 16 * gapColumn; x <= 16 * gapColumn + 12; x += 4) {
    model::Hero h = model::StandingAt(x, 148);
    h.falling = 1;
    h.fallDistance = 19;
    out.push_back(h);
  }
  return out;
}
