// A model of the hero's movement for searching the generated worlds: one room decoded as room
// entry decodes it, and the world step's movement (walk, stairs, jump, fall, belts, deadly
// tiles, exits) on integer positions. The rope and ridden enemies are left out, so a way found
// here never needs them.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace model {

constexpr int RecordSize = 1065;
constexpr int RoomCount = 256;
constexpr int TilesOffset = 2, ExitsOffset = 1026, NameOffset = 1030, NameLength = 33, RopeOffset = 1063;
constexpr int Top = 144;                      // screen y of the playfield's first row
constexpr int MaskBytes = 152000;             // 512 bytes per pixel row from screen y 144
constexpr int FallDeath = 80;                 // a longer fall kills
enum Dir { Up, Right, Down, Left };

inline int Peek16(const std::vector<uint8_t>& b, long at) { return b[at] | (b[at + 1] << 8); }

inline int TileValue(const std::vector<uint8_t>& rooms, int room, int column, int row) {
  return Peek16(rooms, long(room) * RecordSize + TilesOffset + (row * 32 + column) * 2);
}
inline int ExitOf(const std::vector<uint8_t>& rooms, int room, int dir) {
  return rooms[long(room) * RecordSize + ExitsOffset + dir];
}
inline std::string NameOf(const std::vector<uint8_t>& rooms, int room) {
  std::string name(reinterpret_cast<const char*>(&rooms[long(room) * RecordSize + NameOffset]), NameLength);
  size_t end = name.find_last_not_of(' ');
  return end == std::string::npos ? "" : name.substr(0, end + 1);
}
// A room exists when its record holds any tile.
inline bool RoomExists(const std::vector<uint8_t>& rooms, int room) {
  if (room < 1 || room > 255) return false;
  for (int i = 0; i < 512; ++i)
    if (Peek16(rooms, long(room) * RecordSize + TilesOffset + i * 2) != 0) return true;
  return false;
}

// Cell class of a tile value, by the ranges of the room format.
inline int ClassOf(int v) {
  if (v <= 0) return 0;
  if (v <= 159) return 1;
  if (v <= 223) return v % 2 == 0 ? 4 : 3;
  if (v <= 303) return 2;
  if (v <= 399) return 0;
  if (v <= 415) return 7;
  if (v <= 431) return 6;
  return 0;
}
inline bool IsHazard(int v) { return v >= 304 && v <= 351; }
inline bool IsGround(int c) { return c == 1 || c == 2 || c == 6 || c == 7; }

inline bool Overlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
  return x2 + w2 >= x1 && x1 + w1 >= x2 && y2 + h2 >= y1 && y1 + h1 >= y2;
}

struct Room {
  int number = 0;
  uint8_t cells[33][17] = {};  // column 32 and row 16 stay empty
  std::vector<uint8_t> mask = std::vector<uint8_t>(MaskBytes, 0);
  std::vector<std::pair<int, int>> hazards;  // screen position of each deadly tile
  int exits[4] = {};

  // Decodes room from a rooms file.
  void Load(const std::vector<uint8_t>& rooms, int room) {
    int exitsOf[4];
    for (int d = 0; d < 4; ++d) exitsOf[d] = ExitOf(rooms, room, d);
    LoadTiles(room, [&](int c, int r) { return TileValue(rooms, room, c, r); }, exitsOf);
  }
  // Decodes a room from its tile values, tileAt(column, row), and its four exits.
  template <typename TileAtFn>
  void LoadTiles(int room, TileAtFn tileAt, const int exitsOf[4]) {
    number = room;
    std::memset(cells, 0, sizeof cells);
    std::fill(mask.begin(), mask.end(), 0);
    hazards.clear();
    for (int r = 0; r < 16; ++r)
      for (int c = 0; c < 32; ++c) {
        int v = tileAt(c, r);
        int k = ClassOf(v);
        cells[c][r] = uint8_t(k);
        if (k == 3 || k == 4) PaintSlope(c, r, k);
        if (IsHazard(v)) hazards.push_back({c * 16, r * 16 + Top});
      }
    for (int d = 0; d < 4; ++d) exits[d] = exitsOf[d];
  }
  void PaintSlope(int c, int r, int k) {
    for (int band = 0; band < 4; ++band) {
      int bx = k == 4 ? c * 16 + 12 - 4 * band : c * 16 + 4 * band;
      for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 4; ++dx) mask[long(r * 16 + 4 * band + dy) * 512 + bx + dx] = 255;
    }
  }
  int TileAt(int x, int y) const {
    int c = x / 16, r = (y - Top) / 16;
    if (c < 0 || r < 0 || c > 32 || r > 16) return 0;
    return cells[c][r];
  }
  int PixelSolid(int x, int y) const {
    long at = long(x) + long(y - Top) * 512;
    return (at >= 0 && at < MaskBytes && mask[at] == 255) ? 1 : 0;
  }
  int SpanSolid(int x, int y) const {
    long at = long(x) + long(y - Top) * 512;
    for (long i = at; i < at + 8; ++i)
      if (i >= 0 && i < MaskBytes && mask[i] != 0) return 1;
    return 0;
  }
};

// The local hero's movement state; positions stay whole numbers.
struct Hero {
  int x = 0, y = 0;
  int walkDir = 0, jumping = 0, jumpStep = 0, phase = 0, falling = 0;
  int onStairs = 0, stairKind = 6, onConveyor = 0, fallDistance = -1;

  // Identifies the state by what the next steps can depend on: out of a jump only the
  // ranges of a left-over jump step matter, and the keys overwrite the walking direction
  // unless a belt carries the hero.
  uint64_t Key() const {
    int step = jumping ? jumpStep : jumpStep == 0 ? 0 : jumpStep <= 9 ? 1 : jumpStep < 16 ? 10 : 16;
    int dir = (jumping || onConveyor) ? walkDir : 0;
    uint64_t k = uint64_t(x + 64) & 1023;
    k = (k << 10) | (uint64_t(y + 64) & 1023);
    k = (k << 2) | uint64_t(dir);
    k = (k << 1) | uint64_t(jumping);
    k = (k << 5) | uint64_t(step & 31);
    k = (k << 2) | uint64_t(phase);
    k = (k << 1) | uint64_t(falling);
    k = (k << 1) | uint64_t(onStairs);
    k = (k << 3) | uint64_t(stairKind & 7);
    k = (k << 1) | uint64_t(onConveyor);
    k = (k << 8) | uint64_t((fallDistance + 1) & 255);
    return k;
  }
  // The state a key stands for (its left-over jump step and walking direction as the key
  // keeps them, which behave the same).
  static Hero FromKey(uint64_t k) {
    Hero h;
    h.fallDistance = int(k & 255) - 1, k >>= 8;
    h.onConveyor = int(k & 1), k >>= 1;
    h.stairKind = int(k & 7), k >>= 3;
    h.onStairs = int(k & 1), k >>= 1;
    h.falling = int(k & 1), k >>= 1;
    h.phase = int(k & 3), k >>= 2;
    h.jumpStep = int(k & 31), k >>= 5;
    h.jumping = int(k & 1), k >>= 1;
    h.walkDir = int(k & 3), k >>= 2;
    h.y = int(k & 1023) - 64, k >>= 10;
    h.x = int(k & 1023) - 64;
    return h;
  }
  bool Standing() const { return !jumping && !falling; }
};

// A set of state keys: open addressing, growing by doubling (key 0 is never a state: x and y
// are offset so that every key has bits set).
class KeySet {
 public:
  explicit KeySet(size_t capacity = 1 << 14) : slots_(capacity, 0) {}
  // True when the key was not in the set yet.
  bool Insert(uint64_t key) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    size_t mask = slots_.size() - 1;
    for (size_t i = Hash(key) & mask;; i = (i + 1) & mask) {
      if (slots_[i] == key) return false;
      if (slots_[i] == 0) {
        slots_[i] = key;
        ++count_;
        return true;
      }
    }
  }
  size_t size() const { return count_; }

 private:
  static size_t Hash(uint64_t k) {
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdull;
    k ^= k >> 33;
    return size_t(k);
  }
  void Grow() {
    std::vector<uint64_t> old;
    old.swap(slots_);
    slots_.assign(old.size() * 2, 0);
    count_ = 0;
    for (uint64_t k : old)
      if (k) Insert(k);
  }
  std::vector<uint64_t> slots_;
  size_t count_ = 0;
};

enum Input { NoKey, LeftKey, RightKey, JumpKey, JumpLeft, JumpRight };
constexpr int InputCount = 6;

// The inputs that can lead to different states: none while jumping (the keys are not read),
// the walking keys while falling, the jump key or not while a belt carries the hero.
inline const Input* InputsThatMatter(const Hero& h, int& count) {
  static const Input all[] = {NoKey, LeftKey, RightKey, JumpKey, JumpLeft, JumpRight};
  static const Input belt[] = {NoKey, JumpKey};
  if (h.jumping) {
    count = 1;
    return all;
  }
  if (h.falling) {
    count = 3;
    return all;
  }
  if (h.onConveyor) {
    count = 2;
    return belt;
  }
  count = InputCount;
  return all;
}

enum Outcome { Moving, Dead, Exited, Lost };

inline const int JumpTable[4][18] = {
    {-8, -8, -6, -6, -4, -4, -2, -2, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8},
    {-8, -6, -6, -6, -4, -2, -2, -2, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8},
    {-6, -6, -6, -4, -4, -2, -2, -2, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8},
    {-6, -6, -4, -4, -4, -2, -2, 0, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8},
};

// One world step of the hero in a room; the step's order is the game's.
class Stepper {
 public:
  Stepper(const Room& room, Hero& hero) : r_(room), h_(hero) {}

  // Runs one step with the keys held; on Exited, exitDir tells the edge left.
  Outcome Step(Input input, int& exitDir) {
    bool left = input == LeftKey || input == JumpLeft;
    bool right = input == RightKey || input == JumpRight;
    bool jump = input == JumpKey || input == JumpLeft || input == JumpRight;
    ReadInput(left, right, jump);
    if (!h_.falling) {
      if (h_.walkDir == 2) WalkRight();
      if (h_.walkDir == 1) WalkLeft();
    }
    JumpStep();
    FallStep();
    if (dead_) return Dead;
    for (auto& hz : r_.hazards)
      if (Overlap(h_.x + 2, h_.y + 2, 16, 30, hz.first, hz.second + 4, 16, 12)) return Dead;
    exitDir = -1;
    if (h_.y < 148) {
      if (r_.exits[Up]) exitDir = Up;
    } else if (h_.x > 494 && h_.walkDir == 2) {
      if (r_.exits[Right]) exitDir = Right;
    } else if (h_.y > 369) {
      if (r_.exits[Down]) exitDir = Down;
    } else if (h_.x <= 4 && h_.walkDir == 1) {
      if (r_.exits[Left]) exitDir = Left;
    }
    // The frame clears the fall count whenever the hero is not falling.
    if (!h_.falling) h_.fallDistance = -1;
    if (exitDir >= 0) return Exited;
    if (h_.y > 420 || h_.y < 60 || h_.x < -40 || h_.x > 560) return Lost;
    return Moving;
  }

 private:
  static int Mod(int v, int m) { return v % m; }  // truncating, as the floating-point remainder

  void Snap() {
    auto snap = [](int& v) {
      int m = Mod(v, 4);
      if (m == 1) v -= 1;
      else if (m == 2) v -= 2;
      else if (m == 3) v += 1;
    };
    if (h_.jumpStep == 0) snap(h_.y);
    snap(h_.x);
  }
  void ReadInput(bool left, bool right, bool jump) {
    if (h_.jumping) return;
    if (!h_.onConveyor) h_.walkDir = left ? 1 : right ? 2 : 0;
    if (h_.falling || !jump) return;
    if (r_.TileAt(h_.x, h_.y - 16) == 1) return;
    Snap();
    h_.jumping = 1;
    h_.jumpStep = 0;
    int m = Mod(h_.y, 16);
    h_.phase = m == 12 ? 1 : m == 8 ? 2 : m == 4 ? 3 : 0;
  }
  void CheckFallDeath() {
    if (h_.fallDistance != -1 && h_.fallDistance > FallDeath) dead_ = true;
  }
  int CheckStairsRight() {
    int x = h_.x, y = h_.y;
    if (!h_.jumping) {
      if (h_.stairKind != 3 && r_.PixelSolid(x + 16, y + 30) && (h_.onStairs || r_.PixelSolid(x + 20, y + 26))) {
        h_.onStairs = 1, h_.stairKind = 4, h_.y -= 4;
        return 1;
      }
      if (h_.stairKind != 4 && r_.PixelSolid(x + 8, y + 34) && (h_.onStairs || r_.PixelSolid(x + 12, y + 38))) {
        h_.onStairs = 1, h_.stairKind = 3, h_.y += 4;
        return 1;
      }
      if (h_.onStairs && h_.stairKind == 4) h_.y -= 4;
    }
    h_.onStairs = 0, h_.stairKind = 6;
    x = h_.x, y = h_.y;
    if (r_.TileAt(x + 20, y) == 1 || r_.TileAt(x + 20, y + 16) == 1) return 0;
    if (h_.jumpStep != 0 && Mod(y, 16) != 0 && r_.TileAt(x + 20, y + 32) == 1) return 0;
    return 1;
  }
  int CheckStairsLeft() {
    int x = h_.x, y = h_.y;
    if (!h_.jumping) {
      if (h_.stairKind != 3 && r_.PixelSolid(x + 14, y + 34) && (h_.onStairs || r_.PixelSolid(x + 10, y + 38))) {
        h_.onStairs = 1, h_.stairKind = 4, h_.y += 4;
        return 1;
      }
      if (h_.stairKind != 4 && r_.PixelSolid(x + 4, y + 30) && (h_.onStairs || r_.PixelSolid(x, y + 26))) {
        h_.onStairs = 1, h_.stairKind = 3, h_.y -= 4;
        return 1;
      }
    }
    h_.onStairs = 0, h_.stairKind = 6;
    if (r_.TileAt(x - 4, y) == 1 || r_.TileAt(x - 4, y + 16) == 1) return 0;
    if (h_.jumpStep > 9 && r_.TileAt(x - 4, y + 32) == 1) return 0;
    return 1;
  }
  void WalkRight() {
    if (CheckStairsRight()) {
      h_.x += 4;
      h_.walkDir = 2;
    } else if (!h_.jumping) {
      h_.walkDir = 0;
    }
  }
  void WalkLeft() {
    if (CheckStairsLeft()) {
      h_.x -= 4;
      h_.walkDir = 1;
    } else if (!h_.jumping) {
      h_.walkDir = 0;
    }
  }
  int ProbeFloorBelow() {
    for (int d = 0; d <= 12; d += 4) {
      if (!r_.SpanSolid(h_.x + 8, h_.y + d + 32)) continue;
      if (d == 0) {
        h_.onStairs = 1;
      } else {
        h_.y += 4;
        h_.onStairs = 0;
        h_.falling = 1;
      }
      return 1;
    }
    return 0;
  }
  void ApplyConveyor(int c) {
    if (c == 7 && h_.walkDir != 2) {
      h_.walkDir = 1, h_.onConveyor = 1;
    } else if (c == 6 && h_.walkDir != 1) {
      h_.walkDir = 2, h_.onConveyor = 1;
    }
  }
  int FloorCollision() {
    h_.onConveyor = 0;
    if (h_.onStairs) {
      CheckFallDeath();
      return 1;
    }
    if (Mod(h_.y, 16) != 0) return 0;
    int feet = h_.y + 32, landed = 0;
    int c = r_.TileAt(h_.x, feet);
    if (IsGround(c)) {
      landed = 1;
    } else {
      c = r_.TileAt(h_.x + 18, feet);
      if (IsGround(c)) {
        landed = 1;
      } else if (h_.jumpStep >= 16 && h_.walkDir == 2) {
        c = r_.TileAt(h_.x + 32, feet);
        if (IsGround(c)) {
          WalkRight();
          landed = 1;
        }
      }
    }
    ApplyConveyor(c);
    if (landed) CheckFallDeath();
    return landed;
  }
  int HeadBlocked() {
    if (Mod(h_.y, 16) != 0) return 0;
    return (r_.TileAt(h_.x, h_.y - 16) == 1 || r_.TileAt(h_.x + 16, h_.y - 16) == 1) ? 1 : 0;
  }
  void JumpStep() {
    if (!h_.jumping) return;
    h_.onConveyor = 0, h_.onStairs = 0, h_.stairKind = 6;
    if (HeadBlocked() && h_.jumpStep < 9) {
      h_.jumpStep = 18;
    } else if (h_.jumpStep >= 0 && h_.jumpStep < 18) {
      h_.y += JumpTable[h_.phase][h_.jumpStep];
      h_.jumpStep += 1;
      h_.fallDistance = -1;
      if (h_.jumpStep > 9 && (FloorCollision() || (Mod(h_.y, 16) == 0 && ProbeFloorBelow()))) {
        h_.jumping = 0, h_.jumpStep = 0;
        return;
      }
    } else {
      h_.jumpStep = 18;
    }
    if (h_.jumpStep >= 18) {
      FloorCollision();
      h_.jumping = 0, h_.jumpStep = 0;
    }
  }
  void FallStep() {
    if (h_.jumping) return;
    if (FloorCollision()) {
      CheckFallDeath();
      h_.falling = 0, h_.fallDistance = -1;
      return;
    }
    if (ProbeFloorBelow()) {
      CheckFallDeath();
      h_.fallDistance = -1, h_.walkDir = 0;
      return;
    }
    h_.falling = 0;
    if (h_.onStairs) return;
    if (FloorCollision()) return;
    h_.y += 4, h_.fallDistance += 4;
    h_.onStairs = 0, h_.stairKind = 6, h_.walkDir = 0, h_.falling = 1;
  }

  const Room& r_;
  Hero& h_;
  bool dead_ = false;
};

// Where the hero stands in the next room after leaving by an edge (the room exit rules).
inline Hero Arrive(Hero h, int dir) {
  auto sideStep = [&]() {
    if (h.walkDir == 2) h.x += 16;
    if (h.walkDir == 1) h.x -= 16;
  };
  auto snap = [&]() {
    auto s = [](int& v) {
      int m = v % 4;
      if (m == 1) v -= 1;
      else if (m == 2) v -= 2;
      else if (m == 3) v += 1;
    };
    if (h.jumpStep == 0) s(h.y);
    s(h.x);
  };
  switch (dir) {
    case Up: {
      int m = h.y % 16;
      h.y = h.jumping ? 368 - (16 - m) : 352;
      sideStep();
      break;
    }
    case Right:
      h.x = 8;
      if (h.onStairs) h.y += h.stairKind == 4 ? -8 : 8;
      break;
    case Down:
      h.y = 148;
      h.jumping = 0;
      sideStep();
      break;
    case Left:
      h.x = 492;
      if (h.onStairs) {
        snap();
        h.y += h.stairKind == 3 ? -8 : 8;
      }
      break;
  }
  snap();  // the entry state is saved snapped
  return h;
}

// A hero standing still at (x, y).
inline Hero StandingAt(int x, int y) {
  Hero h;
  h.x = x, h.y = y;
  return h;
}

}  // namespace model
