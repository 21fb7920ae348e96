// Joining a grid of rooms: a spanning tree by random weights (side doors are cheaper than ways
// up), a few more links for loops, then door rows and gap columns.
#include "assets/worlds/world_map.h"

#include <algorithm>
#include <numeric>

namespace {
struct Candidate {
  int a, b;
  bool vertical;
  int weight;
};

int Root(std::vector<int>& parent, int x) {
  while (parent[size_t(x)] != x) x = parent[size_t(x)] = parent[size_t(parent[size_t(x)])];
  return x;
}

// Columns a ladder up to a ledge under gap g occupies, and the clear space around a gap.
int LadderLo(int g) { return g - 4; }
int LadderHi(int g) { return g + 5; }
int GapLo(int g) { return g - 3; }
int GapHi(int g) { return g + 6; }
bool Apart(int lo1, int hi1, int lo2, int hi2) { return hi1 < lo2 || hi2 < lo1; }
}  // namespace

WorldMap WorldMap::Generate(const std::set<int>& rooms, const std::set<int>& sideOnly, const std::set<int>& flatDoors,
                            uint64_t seed) {
  WorldRng rng(seed);
  std::vector<Candidate> candidates;
  for (int r : rooms) {
    if (r % 16 != 15 && rooms.count(r + 1)) candidates.push_back({r, r + 1, false, rng.Range(0, 99)});
    if (rooms.count(r + 16) && !sideOnly.count(r) && !sideOnly.count(r + 16))
      candidates.push_back({r, r + 16, true, rng.Range(70, 169)});
  }
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& x, const Candidate& y) {
    return x.weight != y.weight ? x.weight < y.weight : (x.a != y.a ? x.a < y.a : x.b < y.b);
  });
  std::vector<int> parent(256);
  std::iota(parent.begin(), parent.end(), 0);
  WorldMap map;
  auto doorRow = [&](int a, int b) {
    if (flatDoors.count(a) || flatDoors.count(b)) return 15;
    int roll = rng.Range(0, 99);
    return roll < 55 ? 15 : roll < 85 ? 11 : 7;
  };
  std::vector<Candidate> spare;
  for (const Candidate& c : candidates) {
    int ra = Root(parent, c.a), rb = Root(parent, c.b);
    if (ra == rb) {
      spare.push_back(c);
      continue;
    }
    parent[size_t(ra)] = rb;
    map.Join(c.a, c.b, c.vertical, c.vertical ? 15 : doorRow(c.a, c.b));
  }
  for (const Candidate& c : spare)
    if (rng.Chance(c.vertical ? 8 : 35)) map.Join(c.a, c.b, c.vertical, c.vertical ? 15 : doorRow(c.a, c.b));
  map.AssignGaps(seed + 1);
  return map;
}

void WorldMap::Join(int a, int b, bool vertical, int row, int gap) {
  MapLink link;
  link.a = a, link.b = b, link.vertical = vertical, link.row = row, link.gap = gap;
  index_[{a, b}] = links_.size();
  links_.push_back(link);
}

const MapLink* WorldMap::Find(int a, int b) const {
  auto it = index_.find({a, b});
  return it == index_.end() ? nullptr : &links_[it->second];
}

void WorldMap::ExitsOf(int room, int exits[4]) const {
  exits[ExitUp] = Find(room, room + 16) ? room + 16 : 0;
  exits[ExitRight] = (room % 16 != 15 && Find(room, room + 1)) ? room + 1 : 0;
  exits[ExitDown] = Find(room - 16, room) ? room - 16 : 0;
  exits[ExitLeft] = (room % 16 != 0 && Find(room - 1, room)) ? room - 1 : 0;
}

int WorldMap::DoorRow(int room, int side) const {
  const MapLink* link = side == ExitRight ? Find(room, room + 1) : Find(room - 1, room);
  return link ? link->row : 15;
}

int WorldMap::UpGap(int room) const {
  const MapLink* link = Find(room, room + 16);
  return link ? link->gap : -1;
}

int WorldMap::DownGap(int room) const {
  const MapLink* link = Find(room - 16, room);
  return link ? link->gap : -1;
}

void WorldMap::AssignGaps(uint64_t seed) {
  WorldRng rng(seed);
  for (MapLink& link : links_) {
    if (!link.vertical || link.gap >= 0) continue;
    int below = link.a, above = link.b;
    std::vector<int> options;
    for (int g = 6; g <= 23; ++g) options.push_back(g);
    for (size_t i = options.size(); i > 1; --i) std::swap(options[i - 1], options[size_t(rng.Range(0, int(i) - 1))]);
    int chosen = -1;
    for (int g : options) {
      // The room below climbs to a ledge under g: keep it off that room's own floor gap and
      // its raised doors. The room above has its gap at g: keep it off its own ladder.
      int belowGap = DownGap(below), aboveLadder = UpGap(above);
      if (belowGap >= 0 && !Apart(LadderLo(g), LadderHi(g), GapLo(belowGap), GapHi(belowGap))) continue;
      if (aboveLadder >= 0 && !Apart(GapLo(g), GapHi(g), LadderLo(aboveLadder), LadderHi(aboveLadder))) continue;
      bool leftRaised = below % 16 != 0 && Find(below - 1, below) && DoorRow(below, ExitLeft) < 15;
      bool rightRaised = below % 16 != 15 && Find(below, below + 1) && DoorRow(below, ExitRight) < 15;
      if (leftRaised && rightRaised && (LadderLo(g) < 9 || LadderHi(g) > 22)) continue;
      if (leftRaised && LadderLo(g) < 9 && LadderHi(g) + 1 > 30) continue;
      // Heroes coming up into the room above land beside its gap: not on a raised door's base.
      bool aboveLeftRaised = above % 16 != 0 && Find(above - 1, above) && DoorRow(above, ExitLeft) < 15;
      bool aboveRightRaised = above % 16 != 15 && Find(above, above + 1) && DoorRow(above, ExitRight) < 15;
      if ((aboveLeftRaised && g - 3 <= 8) || (aboveRightRaised && g + 5 >= 23)) continue;
      chosen = g;
      break;
    }
    link.gap = chosen >= 0 ? chosen : options.front();
  }
}
