// The seven worlds as the programs embed them, read back record by record for the world tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "assets/embedded_files.h"
#include "assets/worlds/hero_model.h"
#include "platform/stream.h"

namespace worlds {

inline const std::vector<std::string>& Names() {
  static const std::vector<std::string> names = {"maps",     "pitfall",   "assault",   "tower",
                                                 "original", "jailbreak", "laboratory"};
  return names;
}

struct Enemy {
  int room, x, y, x1, y1, x2, y2, kind, facing, speedCode, red, green, blue, moveType;
};
struct Pickup {
  int room, x, y, kind;
};

struct WorldFiles {
  std::string name;
  std::vector<uint8_t> rooms, enemyBytes, pickupBytes;
  std::vector<Enemy> enemies;
  std::vector<Pickup> pickups;

  bool Exists(int room) const { return model::RoomExists(rooms, room); }
  int Exit(int room, int side) const { return model::ExitOf(rooms, room, side); }
  int Tile(int room, int column, int row) const { return model::TileValue(rooms, room, column, row); }
  std::string Name(int room) const { return model::NameOf(rooms, room); }
  char RopeFlag(int room) const { return char(rooms[size_t(room) * model::RecordSize + model::RopeOffset]); }
  std::vector<const Enemy*> EnemiesIn(int room) const {
    std::vector<const Enemy*> out;
    for (const Enemy& e : enemies)
      if (e.room == room) out.push_back(&e);
    return out;
  }
  std::vector<const Pickup*> PickupsIn(int room) const {
    std::vector<const Pickup*> out;
    for (const Pickup& p : pickups)
      if (p.room == room) out.push_back(&p);
    return out;
  }
};

inline int U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

// Reads a world's three embedded files.
inline WorldFiles Load(const std::string& name) {
  static bool registered = false;
  if (!registered) RegisterEmbeddedFiles(), registered = true;
  WorldFiles w;
  w.name = name;
  w.rooms = ReadAll("incbin::" + name + ".dat");
  w.enemyBytes = ReadAll("incbin::" + name + "_e.dat");
  w.pickupBytes = ReadAll("incbin::" + name + "_p.dat");
  for (size_t at = 0; at + 20 <= w.enemyBytes.size(); at += 20) {
    const std::vector<uint8_t>& b = w.enemyBytes;
    w.enemies.push_back({b[at], U16(b, at + 1), U16(b, at + 3), U16(b, at + 5), U16(b, at + 7), U16(b, at + 9),
                         U16(b, at + 11), b[at + 13], b[at + 14], b[at + 15], b[at + 16], b[at + 17], b[at + 18],
                         b[at + 19]});
  }
  for (size_t at = 0; at + 7 <= w.pickupBytes.size(); at += 7) {
    const std::vector<uint8_t>& b = w.pickupBytes;
    w.pickups.push_back({b[at], U16(b, at + 1), U16(b, at + 3), U16(b, at + 5) & 255});
  }
  return w;
}

// Every world, loaded once.
inline const std::map<std::string, WorldFiles>& All() {
  static const std::map<std::string, WorldFiles> all = [] {
    std::map<std::string, WorldFiles> m;
    for (const std::string& n : Names()) m[n] = Load(n);
    return m;
  }();
  return all;
}

// True when a hero with its top-left corner at (x, y) stands on ground in the room (the
// landing test: on a whole row, a foot over a solid, platform or belt cell) and no solid cell
// lies within its body.
inline bool StandsAt(const WorldFiles& w, int room, int x, int y) {
  model::Room r;
  r.Load(w.rooms, room);
  if (y % 16 != 0) return false;
  bool ground = model::IsGround(r.TileAt(x, y + 32)) || model::IsGround(r.TileAt(x + 18, y + 32));
  bool clear = true;
  for (int py = y; py < y + 32; py += 8)
    for (int px = x + 4; px <= x + 14; px += 5)
      if (r.TileAt(px, py) == 1) clear = false;
  return ground && clear;
}

// The screen box an enemy sweeps over its whole patrol (a patrol overshoots its ends by up to
// one step).
struct Box {
  int x0, y0, x1, y1;
};
inline Box Sweep(const Enemy& e) {
  int w = e.kind == 71 ? 64 : 32, h = (e.kind == 70 || e.kind == 71) ? 64 : 32;
  int v = e.speedCode == 8 ? 1 : e.speedCode + 4;
  int sx = e.x, sy = e.y + 144;
  if (e.moveType == 1) return {std::min(sx, e.x1) - v, sy, std::max(sx, e.x2) + v + w, sy + h};
  if (e.moveType == 2) return {sx, std::min(sy, e.y1) - v, sx + w, std::max(sy, e.y2) + v + h};
  return {sx, sy, sx + w, sy + h};
}
inline bool Overlaps(const Box& b, int x0, int y0, int x1, int y1) {
  return b.x0 < x1 && x0 < b.x1 && b.y0 < y1 && y0 < b.y1;
}

}  // namespace worlds
