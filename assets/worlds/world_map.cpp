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
                            const std::vector<MapLink>& forced, uint64_t seed) {
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
  std::set<std::pair<int, int>> joined;
  for (const MapLink& link : forced) {
    parent[size_t(Root(parent, link.a))] = Root(parent, link.b);
    map.Join(link.a, link.b, false, link.row);
    joined.insert({link.a, link.b});
  }
  std::vector<Candidate> spare;
  for (const Candidate& c : candidates) {
    if (!c.vertical && joined.count({c.a, c.b})) continue;
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
  sides_[{a, vertical ? ExitUp : ExitRight}] = links_.size();
  sides_[{b, vertical ? ExitDown : ExitLeft}] = links_.size();
  links_.push_back(link);
}

const MapLink* WorldMap::Side(int room, int side) const {
  auto it = sides_.find({room, side});
  return it == sides_.end() ? nullptr : &links_[it->second];
}

void WorldMap::ExitsOf(int room, int exits[4]) const {
  for (int side = 0; side < 4; ++side) {
    const MapLink* link = Side(room, side);
    exits[side] = !link ? 0 : link->a == room ? link->b : link->a;
  }
}

int WorldMap::DoorRow(int room, int side) const {
  const MapLink* link = Side(room, side);
  return link ? link->row : 15;
}

int WorldMap::UpGap(int room) const {
  const MapLink* link = Side(room, ExitUp);
  return link ? link->gap : -1;
}

int WorldMap::DownGap(int room) const {
  const MapLink* link = Side(room, ExitDown);
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
      bool leftRaised = Side(below, ExitLeft) && DoorRow(below, ExitLeft) < 15;
      bool rightRaised = Side(below, ExitRight) && DoorRow(below, ExitRight) < 15;
      if (leftRaised && rightRaised && (LadderLo(g) < 9 || LadderHi(g) > 22)) continue;
      if (leftRaised && LadderLo(g) < 9 && LadderHi(g) + 1 > 30) continue;
      // Heroes coming up into the room above land beside its gap: not on a raised door's base.
      bool aboveLeftRaised = Side(above, ExitLeft) && DoorRow(above, ExitLeft) < 15;
      bool aboveRightRaised = Side(above, ExitRight) && DoorRow(above, ExitRight) < 15;
      if ((aboveLeftRaised && g - 3 <= 8) || (aboveRightRaised && g + 5 >= 23)) continue;
      chosen = g;
      break;
    }
    link.gap = chosen >= 0 ? chosen : options.front();
  }
}
