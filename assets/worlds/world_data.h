// The worlds as the generator builds them: rooms with their tiles, exits, names, enemies and pickups.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int RoomColumnsW = 32;
constexpr int RoomRowsW = 16;
constexpr int PlayTop = 144;  // screen y of the playfield's first row

enum ExitSide { ExitUp, ExitRight, ExitDown, ExitLeft };

// One enemy record. Start y is within the playfield; path ends are screen pixels.
struct EnemyRecord {
  int x = 0, y = 0;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int kind = 0;
  int facing = 3;     // 0 up, 1 down, 2 left, 3 right
  int speedCode = 8;  // 8: one pixel a step; v: v + 4 pixels a step
  int red = 255, green = 255, blue = 255;
  int moveType = 1;   // 1 horizontal, 2 vertical
};

// One pickup: its top-left corner within the playfield.
struct PickupRecord {
  int x = 0, y = 0;
  int kind = 0;
};

struct RoomData {
  bool exists = false;
  uint16_t tiles[RoomRowsW][RoomColumnsW] = {};  // [row][column]
  int exits[4] = {0, 0, 0, 0};                   // up, right, down, left
  std::string name;
  bool rope = false;
  std::vector<EnemyRecord> enemies;
  std::vector<PickupRecord> pickups;

  int At(int column, int row) const { return tiles[row][column]; }
  void Set(int column, int row, int value) {
    if (column >= 0 && column < RoomColumnsW && row >= 0 && row < RoomRowsW) tiles[row][column] = uint16_t(value);
  }
};

struct World {
  std::string name;
  std::array<RoomData, 256> rooms;
};

// A small deterministic generator, so every build makes the same worlds.
class WorldRng {
 public:
  explicit WorldRng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
  uint32_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return uint32_t((state_ * 0x2545F4914F6CDD1Dull) >> 32);
  }
  // A whole number from lo to hi, both included.
  int Range(int lo, int hi) { return hi <= lo ? lo : lo + int(Next() % uint32_t(hi - lo + 1)); }
  bool Chance(int percent) { return Range(0, 99) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) { return items[size_t(Range(0, int(items.size()) - 1))]; }

 private:
  uint64_t state_;
};
