// A search over a whole world file: every movement state the hero can reach from the start
// positions, walking through exits into the next rooms, with what went wrong on the way.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <algorithm>
#include <vector>

#include "assets/worlds/hero_model.h"

struct WorldSearch {
  explicit WorldSearch(const std::vector<uint8_t>& roomsFile) : rooms(roomsFile) {}

  const std::vector<uint8_t>& rooms;
  std::array<bool, 256> reached{};
  std::vector<std::string> problems;  // exits into missing rooms, arrivals inside walls, ...
  std::set<int> roomsWithTraps;       // rooms holding a standing state with no way back to a start room
  // Rooms whose exits are not followed (the team room's edges join a team instead).
  std::set<int> stopRooms;
  // A door to another room: from a state touching it the hero is put into the next room.
  std::function<bool(int room, const model::Hero&, int& toRoom, model::Hero& arrival)> door;

  struct Node {
    int room;
    model::Hero hero;
  };
  // Every way into a room found: the state the hero arrives in, by exit or by door.
  std::vector<Node> arrivals;
  // Every state reached, as its room and state key.
  std::vector<uint64_t> nodes;
  static int RoomOf(uint64_t node) { return int(node >> 52); }
  static model::Hero HeroOf(uint64_t node) { return model::Hero::FromKey(node & ((uint64_t(1) << 52) - 1)); }

  // Positions passed in a room, on the 4-pixel grid: for touching pickups and doors.
  bool Passed(int room, int x, int y) const {
    const auto& grid = passed_[size_t(room)];
    int gx = (x + 64) / 4, gy = (y - 64) / 4;
    if (!grid || gx < 0 || gy < 0 || gx >= 160 || gy >= 96 || x % 4 || y % 4) return false;
    return (*grid)[size_t(gy * 160 + gx)] != 0;
  }
  // The pickup touch test against every position passed in the room.
  bool Touchable(int room, int x, int y, int w = 16, int h = 16) const {
    for (int hy = (y - 40) & ~3; hy <= y + h; hy += 4)
      for (int hx = (x - 24) & ~3; hx <= x + w; hx += 4)
        if (Passed(room, hx, hy) && model::Overlap(hx + 2, hy, 16, 32, x, y, w, h)) return true;
    return false;
  }
  bool CanStand(int room, int x, int y) const {
    for (uint64_t n : nodes) {
      if (RoomOf(n) != room) continue;
      model::Hero h = HeroOf(n);
      if (h.x == x && h.y == y && h.Standing()) return true;
    }
    return false;
  }
  int ReachedCount(int from, int to) const {
    int n = 0;
    for (int r = from; r <= to; ++r) n += reached[size_t(r)] ? 1 : 0;
    return n;
  }

  // Searches from the start states; with checkTraps, every standing state must lead back to
  // one of the start rooms.
  void Run(const std::vector<Node>& starts, bool checkTraps) {
    std::vector<uint32_t> from, to;
    std::vector<uint32_t> stack;
    auto add = [&](int room, const model::Hero& h, int parent, bool arrival = false) {
      uint64_t key = (uint64_t(room) << 52) | h.Key();
      uint32_t id = uint32_t(nodes.size());
      uint32_t& slot = ids_.Slot(key, id);
      if (slot == id) {
        nodes.push_back(key);
        stack.push_back(id);
        if (arrival) arrivals.push_back({room, h});
        reached[size_t(room)] = true;
        Mark(room, h.x, h.y);
      } else {
        id = slot;
      }
      if (checkTraps && parent >= 0) from.push_back(uint32_t(parent)), to.push_back(id);
    };
    for (const Node& s : starts) add(s.room, s.hero, -1);
    while (!stack.empty()) {
      uint32_t id = stack.back();
      stack.pop_back();
      Node node{RoomOf(nodes[id]), HeroOf(nodes[id])};
      const model::Room& room = Decoded(node.room);
      int toRoom;
      model::Hero arrival;
      if (door && door(node.room, node.hero, toRoom, arrival)) add(toRoom, arrival, int(id), true);
      int count = 0;
      const model::Input* inputs = model::InputsThatMatter(node.hero, count);
      for (int i = 0; i < count; ++i) {
        model::Hero next = node.hero;
        model::Stepper stepper(room, next);
        int dir = -1;
        model::Outcome outcome = stepper.Step(inputs[i], dir);
        // A jump runs on by itself: follow it to its end in this room without keeping the
        // states on the way.
        for (int guard = 0; outcome == model::Moving && next.jumping && guard < 40; ++guard) {
          Mark(node.room, next.x, next.y);
          outcome = stepper.Step(model::NoKey, dir);
        }
        if (outcome == model::Dead) continue;
        if (outcome == model::Lost) {
          Problem(node.room, "the hero leaves the playfield where there is no exit, near (" +
                                 std::to_string(node.hero.x) + ", " + std::to_string(node.hero.y) + ")");
          continue;
        }
        if (outcome == model::Moving) {
          add(node.room, next, int(id));
          continue;
        }
        if (stopRooms.count(node.room)) continue;
        int target = room.exits[dir];
        if (!model::RoomExists(rooms, target)) {
          Problem(node.room, "exit " + std::to_string(dir) + " leads to missing room " + std::to_string(target));
          continue;
        }
        model::Hero in = model::Arrive(next, dir);
        if (InsideWall(Decoded(target), in)) {
          Problem(node.room, "exit " + std::to_string(dir) + " puts the hero inside a wall of room " +
                                 std::to_string(target) + " at (" + std::to_string(in.x) + ", " + std::to_string(in.y) +
                                 ")");
          continue;
        }
        add(target, in, int(id), true);
      }
    }
    if (checkTraps) FindTraps(starts, from, to);
  }

  // A solid cell within the hero's body (the middle of its width: the walking tests keep the
  // hero's edges up to four pixels into a wall).
  static bool InsideWall(const model::Room& room, const model::Hero& h) {
    for (int y = h.y; y < h.y + 32; y += 8)
      for (int x = h.x + 4; x <= h.x + 14; x += 5)
        if (room.TileAt(x, y) == 1) return true;
    return room.TileAt(h.x + 14, h.y + 31) == 1 || room.TileAt(h.x + 4, h.y + 31) == 1;
  }

 private:
  const model::Room& Decoded(int room) {
    auto& slot = decoded_[size_t(room)];
    if (!slot) {
      slot = std::make_unique<model::Room>();
      slot->Load(rooms, room);
    }
    return *slot;
  }
  void Mark(int room, int x, int y) {
    auto& grid = passed_[size_t(room)];
    if (!grid) grid = std::make_unique<std::vector<uint8_t>>(160 * 96, 0);
    int gx = (x + 64) / 4, gy = (y - 64) / 4;
    if (gx >= 0 && gy >= 0 && gx < 160 && gy < 96) (*grid)[size_t(gy * 160 + gx)] = 1;
  }
  void Problem(int room, const std::string& what) {
    std::string line = "room " + std::to_string(room) + ": " + what;
    for (const std::string& p : problems)
      if (p == line) return;
    if (problems.size() < 200) problems.push_back(line);
  }
  // Backwards from every state in a start room over the recorded steps.
  void FindTraps(const std::vector<Node>& starts, const std::vector<uint32_t>& from, const std::vector<uint32_t>& to) {
    std::set<int> startRooms;
    for (const Node& s : starts) startRooms.insert(s.room);
    std::vector<uint32_t> head(nodes.size() + 1, 0), list(from.size());
    for (uint32_t t : to) ++head[t + 1];
    for (size_t i = 1; i < head.size(); ++i) head[i] += head[i - 1];
    std::vector<uint32_t> fill(head.begin(), head.end() - 1);
    for (size_t e = 0; e < from.size(); ++e) list[fill[to[e]]++] = from[e];
    std::vector<uint8_t> back(nodes.size(), 0);
    std::vector<uint32_t> stack;
    for (uint32_t i = 0; i < nodes.size(); ++i)
      if (startRooms.count(RoomOf(nodes[i]))) back[i] = 1, stack.push_back(i);
    while (!stack.empty()) {
      uint32_t n = stack.back();
      stack.pop_back();
      for (uint32_t k = head[n]; k < head[n + 1]; ++k)
        if (!back[list[k]]) back[list[k]] = 1, stack.push_back(list[k]);
    }
    for (uint32_t i = 0; i < nodes.size(); ++i) {
      if (back[i]) continue;
      model::Hero h = HeroOf(nodes[i]);
      if (h.Standing() && h.y % 16 == 0) roomsWithTraps.insert(RoomOf(nodes[i]));
    }
  }

  std::array<std::unique_ptr<model::Room>, 256> decoded_;
  std::array<std::unique_ptr<std::vector<uint8_t>>, 256> passed_;
  // State keys to node numbers: open addressing, doubling when half full.
  class Index {
   public:
    // The number stored for key; a new key gets fresh.
    uint32_t& Slot(uint64_t key, uint32_t fresh) {
      if ((count_ + 1) * 2 > keys_.size()) Grow();
      size_t mask = keys_.size() - 1, i = Hash(key) & mask;
      while (keys_[i] != 0 && keys_[i] != key) i = (i + 1) & mask;
      if (keys_[i] == 0) keys_[i] = key, values_[i] = fresh, ++count_;
      return values_[i];
    }

   private:
    static size_t Hash(uint64_t k) {
      k ^= k >> 31;
      k *= 0x9e3779b97f4a7c15ull;
      return size_t(k ^ (k >> 29));
    }
    void Grow() {
      std::vector<uint64_t> keys(std::max<size_t>(1 << 16, keys_.size() * 2), 0);
      std::vector<uint32_t> values(keys.size(), 0);
      keys.swap(keys_), values.swap(values_);
      count_ = 0;
      for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i]) Slot(keys[i], values[i]);
    }
    std::vector<uint64_t> keys_;
    std::vector<uint32_t> values_;
    size_t count_ = 0;
  };
  Index ids_;
};
