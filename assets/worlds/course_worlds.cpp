// The worlds of the world modes. Each replaces the main world's first rooms with a course of
// its own (the other rooms stay as in the main world, unreachable from the course): a chain of
// rooms from room 1 to the goal, or, in "original", rooms that doors lead through in turn.
#include "assets/worlds/course_worlds.h"

#include <string>

#include "assets/worlds/lobby_rooms.h"
#include "assets/worlds/main_world.h"
#include "assets/worlds/room_names.h"
#include "assets/worlds/special_rooms.h"
#include "assets/worlds/world_assembly.h"

namespace {

constexpr int DoorKind = 75;

// One step of a course chain: from room k on to room k + 1.
enum Step { Right, Up, Down };

struct Course {
  std::string world;
  int rooms;                         // the course is rooms 1..rooms
  std::vector<Step> steps;           // rooms - 1 steps
  std::set<int> ropeRooms;
  std::vector<ThemeId> themes;       // cycled over the rooms
  std::vector<BodyKind> bodies;      // cycled over the rooms that are not rope rooms
  std::vector<std::string> names;    // rooms 1..rooms
  int enemies, pickups;
  int goalRoom;                      // the pickups lie here
  std::set<int> arrowRooms;
  uint64_t seed;
};

// Copies the main world's rooms (without their enemies and pickups) past the course.
void CopyMainRooms(World& world, const World& main, int firstRoom) {
  for (int r = firstRoom; r <= 255; ++r) {
    if (r >= LobbyFirstRoom && r <= LobbyLastRoom) continue;
    world.rooms[size_t(r)] = main.rooms[size_t(r)];
    world.rooms[size_t(r)].enemies.clear();
    world.rooms[size_t(r)].pickups.clear();
  }
}

WorldMap ChainMap(const Course& c) {
  WorldMap map;
  WorldRng rng(c.seed);
  for (int k = 1; k < c.rooms; ++k) {
    Step s = c.steps[size_t(k - 1)];
    bool flat = c.ropeRooms.count(k) || c.ropeRooms.count(k + 1);
    if (s == Right) {
      int roll = rng.Range(0, 99);
      map.Join(k, k + 1, false, flat ? 15 : roll < 50 ? 15 : roll < 80 ? 11 : 7);
    } else if (s == Up) {
      map.Join(k, k + 1, true);
    } else {
      map.Join(k + 1, k, true);
    }
  }
  map.AssignGaps(c.seed + 3);
  return map;
}

std::vector<model::Hero> SlotStarts() {
  std::vector<model::Hero> starts;
  for (int slot = 0; slot < MaxStandingSlots; ++slot) starts.push_back(model::StandingAt(slot * 32 + 32, 352));
  return starts;
}

// The goal pickups: as far from the way in as the room allows.
void PlaceGoal(RoomData& room, const RoomReach& reach, int count, int fromX, int fromY) {
  std::vector<std::pair<int, int>> spots;
  for (const model::Hero& h : reach.standing) {
    int column = (h.x + 10) / 16, row = (h.y + 32 - PlayTop) / 16 - 1;
    if (column < 1 || column > 30 || row < 1) continue;
    int x = column * 16, y = row * 16;
    if (!IsOpenTile(room.tiles[row][column]) || !reach.Touches(x, y + PlayTop)) continue;
    spots.push_back({x, y});
  }
  for (int i = 0; i < count && !spots.empty(); ++i) {
    size_t best = 0;
    long bestScore = -1;
    for (size_t s = 0; s < spots.size(); ++s) {
      long dx = spots[s].first - fromX, dy = spots[s].second + PlayTop - fromY;
      long score = dx * dx + dy * dy;
      for (const PickupRecord& p : room.pickups) {
        long ex = spots[s].first - p.x, ey = spots[s].second - p.y;
        if (ex * ex + ey * ey < 96 * 96) score = -1;  // keep the goals apart
      }
      if (score > bestScore) bestScore = score, best = s;
    }
    if (bestScore < 0) break;
    room.pickups.push_back({spots[best].first, spots[best].second, 24});
  }
}

World BuildChainWorld(const Course& c, const World& main, const std::vector<model::Hero>& firstStarts,
                      int firstShelf) {
  World world;
  world.name = c.world;
  CopyMainRooms(world, main, c.rooms + 1);
  WorldMap map = ChainMap(c);
  std::set<int> rooms;
  for (int r = 1; r <= c.rooms; ++r) rooms.insert(r);
  size_t bodyIndex = 0;
  auto recipe = [&](int r) {
    RoomRecipe how;
    how.theme = c.themes[size_t(r - 1) % c.themes.size()];
    how.rope = c.ropeRooms.count(r) > 0;
    how.body = how.rope ? BodyRopePit : c.bodies[bodyIndex++ % c.bodies.size()];
    if (r == 1) {
      how.starts = firstStarts;
      how.leftShelf = firstShelf;
      if (firstShelf == 0) how.special = DrawStartHall;
    }
    how.name = c.names[size_t(r - 1)];
    return how;
  };
  BuiltRooms built = BuildMappedRooms(world, map, rooms, recipe, c.seed);
  AddLobbyRooms(world);
  // The goal first, then the enemies through the rooms after the first.
  PlaceGoal(world.rooms[size_t(c.goalRoom)], built.reaches[c.goalRoom], c.pickups, 8, 352);
  PopulationWish wish;
  wish.theme = [&](int r) { return c.themes[size_t(r - 1) % c.themes.size()]; };
  int perRoom = c.enemies / (c.rooms - 1);
  for (int r = 2; r <= c.rooms; ++r) wish.enemies[r] = perRoom + (r % 3 == 0 ? 1 : 0);
  wish.enemies[1] = 0;
  wish.noEnemies = {1};
  wish.arrowRooms = c.arrowRooms;
  Populate(world, built, wish, 0, c.enemies, c.seed + 5);
  return world;
}

// ---- "original": rooms 1..20 without exits, each left through its door once its pickups are
// taken; the door puts the hero into the next room at that room's way in.
void DoorArrivalOf(int room, int& x, int& y) {
  x = 32, y = 352;
  if (room == 5) y = 176;
  else if (room == 6) x = 448, y = 208;
  else if (room == 13 || room == 18 || room == 20) x = 480;
}

World BuildOriginal(const World& main) {
  World world;
  world.name = "original";
  CopyMainRooms(world, main, 21);
  WorldMap map;  // no links: doors join the rooms
  std::set<int> rooms;
  for (int r = 1; r <= 20; ++r) rooms.insert(r);
  const std::vector<ThemeId> themes = {ThemeTown,  ThemeSewers, ThemeWoods,  ThemeBeach, ThemeDesert,
                                       ThemeFactory, ThemeLab,  ThemeCaves,  ThemeHills, ThemeCastle,
                                       ThemeIce,   ThemeHaunted, ThemeSky,   ThemeSpace, ThemeSuburbs,
                                       ThemeFactory, ThemeCaves, ThemeCastle, ThemeSky,  ThemeSpace};
  const std::vector<BodyKind> bodies = {BodyStairs, BodyCavern, BodyHazardPits, BodyBelts, BodyHouse, BodyPlain};
  auto recipe = [&](int r) {
    RoomRecipe how;
    how.theme = themes[size_t(r - 1)];
    how.body = bodies[size_t(r) % bodies.size()];
    int x, y;
    DoorArrivalOf(r, x, y);
    how.starts = {model::StandingAt(x, y)};
    if (r == 5) how.leftShelf = 4;
    if (r == 6) how.rightShelf = 6;
    how.name = OriginalRoomName(r);
    return how;
  };
  BuiltRooms built = BuildMappedRooms(world, map, rooms, recipe, 35000);
  AddLobbyRooms(world);
  WorldRng rng(35001);
  for (int r = 1; r <= 20; ++r) {
    RoomData& room = world.rooms[size_t(r)];
    const RoomReach& reach = built.reaches[r];
    int ax, ay;
    DoorArrivalOf(r, ax, ay);
    // The door: standing on a floor, as far from the way in as the room allows.
    const model::Hero* best = nullptr;
    long bestScore = -1;
    for (const model::Hero& h : reach.standing) {
      if (h.x < 16 || h.x > 464) continue;
      long dx = h.x - ax, dy = h.y - ay, score = dx * dx + dy * dy;
      if (score > bestScore) bestScore = score, best = &h;
    }
    EnemyRecord door;
    door.kind = DoorKind;
    door.x = best ? best->x - best->x % 4 : 448;
    door.y = (best ? best->y : 352) - PlayTop;
    door.x1 = door.x2 = door.x;
    door.y1 = door.y2 = door.y + PlayTop;
    door.facing = 2;
    door.speedCode = 0;
    room.enemies.push_back(door);
    built.keeps[r].Add(door.x, door.y + PlayTop);
    built.keeps[r].Add(ax, ay);
  }
  PopulationWish wish;
  wish.theme = [&](int r) { return themes[size_t(r - 1)]; };
  for (int r = 1; r <= 20; ++r) {
    wish.pickups[r] = r <= 3 ? 5 : 4;
    wish.enemies[r] = r == 1 ? 2 : r % 2 == 0 ? 4 : 5;
  }
  Populate(world, built, wish, OriginalPickups, OriginalEnemies, 35002);
  return world;
}
}  // namespace

std::vector<World> BuildCourseWorlds(const World& main) {
  std::vector<World> out;
  {
    Course c{"pitfall", 17, {}, {3, 8, 12, 14, 15, 16}, {ThemeWoods, ThemeWoods, ThemeCaves}, {}, {}, PitfallEnemies,
             1, 17, {}, 33000};
    c.steps.assign(16, Right);
    c.bodies = {BodyHazardPits, BodyCavern, BodyHazardPits, BodyStairs};
    for (int r = 1; r <= 17; ++r) c.names.push_back(PitfallRoomName(r));
    out.push_back(BuildChainWorld(c, main, {model::StandingAt(32, 224)}, 7));
  }
  {
    Course c{"assault", 16, {}, {}, {ThemeFactory, ThemeFactory, ThemeSpace}, {}, {}, AssaultEnemies,
             1, 16, {}, 34000};
    c.steps = {Right, Right, Up, Right, Right, Down, Right, Right, Up, Right, Up, Right, Right, Down, Right};
    c.bodies = {BodyBelts, BodyHazardPits, BodyStairs, BodyCavern};
    for (int r = 1; r <= 16; ++r) c.names.push_back(AssaultRoomName(r));
    World w = BuildChainWorld(c, main, SlotStarts(), 0);
    // Only the course and the lobby: the rest of the records stay blank.
    for (int r = 17; r <= 255; ++r)
      if (r < LobbyFirstRoom || r > LobbyLastRoom) w.rooms[size_t(r)] = RoomData();
    out.push_back(w);
  }
  out.push_back(BuildTowerWorld(main));
  out.push_back(BuildOriginal(main));
  {
    Course c{"jailbreak", 20, {}, {}, {ThemeCastle, ThemeCastle, ThemeSewers, ThemeCastle}, {}, {},
             JailbreakEnemies, 1, 20, {3, 6, 9, 12, 15, 18}, 36000};
    c.steps = {Right, Right, Down, Right, Right, Up, Right, Up, Right, Right,
               Right, Down, Right, Right, Up, Right, Right, Up, Right};
    c.bodies = {BodyStairs, BodyCavern, BodyHazardPits, BodyHouse};
    for (int r = 1; r <= 20; ++r) c.names.push_back(JailbreakRoomName(r));
    out.push_back(BuildChainWorld(c, main, SlotStarts(), 0));
  }
  {
    Course c{"laboratory", 20, {}, {4}, {ThemeLab, ThemeLab, ThemeFactory}, {}, {}, LaboratoryEnemies,
             1, 20, {}, 37000};
    c.steps = {Right, Right, Right, Right, Up, Right, Right, Down, Right, Right,
               Up, Right, Right, Right, Up, Right, Right, Down, Right};
    c.bodies = {BodyBelts, BodyStairs, BodyHazardPits, BodyCavern};
    for (int r = 1; r <= 20; ++r) c.names.push_back(LaboratoryRoomName(r));
    out.push_back(BuildChainWorld(c, main, {model::StandingAt(32, 336)}, 14));
  }
  return out;
}
