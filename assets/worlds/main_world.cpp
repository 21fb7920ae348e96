// The main world "maps": a grid of sixteen bands of sixteen rooms, each band a region of its own
// look, joined by a random tree of doors and ways up, with the hand-made rooms in their places.
#include "assets/worlds/main_world.h"

#include <iterator>
#include <map>

#include "assets/worlds/lobby_rooms.h"
#include "assets/worlds/room_names.h"
#include "assets/worlds/world_assembly.h"
#include "assets/worlds/special_rooms.h"

namespace {
constexpr uint64_t MainSeed = 20240611;

const ThemeId BandThemes[16] = {ThemeTown,  ThemeSewers, ThemeSuburbs, ThemeWoods, ThemeBeach,   ThemeDesert,
                                ThemeFactory, ThemeLab,  ThemeCaves,   ThemeHills, ThemeCastle,  ThemeCastle,
                                ThemeIce,   ThemeHaunted, ThemeSky,    ThemeSpace};

struct SpecialRoom {
  void (*draw)(RoomBuilder&);
  ThemeId theme;
};

const std::map<int, SpecialRoom>& Specials() {
  static const std::map<int, SpecialRoom> specials = {
      {32, {DrawStartRoom, ThemeSuburbs}},     {27, {DrawArena, ThemeTown}},
      {81, {DrawDesertIsle, ThemeBeach}},      {160, {DrawCastleRed, ThemeCastle}},
      {1, {DrawCornerShop, ThemeTown}},        {38, {DrawGenerator, ThemeFactory}},
      {79, {DrawMoneyBags, ThemeBeach}},       {120, {DrawRocketRoom, ThemeLab}},
      {133, {DrawDrinkingHole, ThemeCaves}},   {159, {DrawTellyHill, ThemeHills}},
      {212, {DrawParlour, ThemeHaunted}},      {255, {DrawSpaceInvaders, ThemeSpace}},
      {29, {DrawWalkway, ThemeSewers}},        {30, {DrawWalkway, ThemeSewers}},
      {31, {DrawWalkway, ThemeSewers}},
  };
  return specials;
}

BodyKind PickBody(ThemeId theme, WorldRng& rng) {
  struct Weight {
    BodyKind kind;
    int weight;
  };
  static const std::map<ThemeId, std::vector<Weight>> weights = {
      {ThemeTown, {{BodyHouse, 35}, {BodyPlain, 20}, {BodyStairs, 20}, {BodyHazardPits, 10}, {BodyBelts, 15}}},
      {ThemeSewers, {{BodyCavern, 30}, {BodyHazardPits, 30}, {BodyBelts, 10}, {BodyStairs, 15}, {BodyPlain, 15}}},
      {ThemeSuburbs, {{BodyHouse, 40}, {BodyPlain, 25}, {BodyStairs, 20}, {BodyCavern, 15}}},
      {ThemeWoods, {{BodyCavern, 35}, {BodyPlain, 25}, {BodyStairs, 20}, {BodyHazardPits, 20}}},
      {ThemeBeach, {{BodyHazardPits, 35}, {BodyPlain, 25}, {BodyHouse, 15}, {BodyStairs, 15}, {BodyCavern, 10}}},
      {ThemeDesert, {{BodyHazardPits, 30}, {BodyCavern, 30}, {BodyStairs, 20}, {BodyPlain, 20}}},
      {ThemeFactory, {{BodyBelts, 50}, {BodyStairs, 20}, {BodyHazardPits, 20}, {BodyPlain, 10}}},
      {ThemeLab, {{BodyBelts, 30}, {BodyStairs, 30}, {BodyHazardPits, 20}, {BodyPlain, 20}}},
      {ThemeCaves, {{BodyCavern, 50}, {BodyHazardPits, 25}, {BodyStairs, 15}, {BodyPlain, 10}}},
      {ThemeHills, {{BodyPlain, 30}, {BodyCavern, 25}, {BodyStairs, 25}, {BodyHouse, 20}}},
      {ThemeCastle, {{BodyStairs, 40}, {BodyHazardPits, 20}, {BodyCavern, 20}, {BodyPlain, 20}}},
      {ThemeIce, {{BodyCavern, 40}, {BodyHazardPits, 30}, {BodyStairs, 20}, {BodyPlain, 10}}},
      {ThemeHaunted, {{BodyHouse, 25}, {BodyStairs, 35}, {BodyHazardPits, 20}, {BodyCavern, 20}}},
      {ThemeSky, {{BodyHazardPits, 50}, {BodyPlain, 30}, {BodyStairs, 20}}},
      {ThemeSpace, {{BodyBelts, 25}, {BodyHazardPits, 35}, {BodyStairs, 20}, {BodyPlain, 20}}},
  };
  const std::vector<Weight>& list = weights.at(theme);
  int total = 0;
  for (const Weight& w : list) total += w.weight;
  int roll = rng.Range(0, total - 1);
  for (const Weight& w : list) {
    if (roll < w.weight) return w.kind;
    roll -= w.weight;
  }
  return BodyPlain;
}

bool ArrowTheme(ThemeId theme) { return theme == ThemeCastle || theme == ThemeHaunted || theme == ThemeDesert; }

// Heroes a game start puts into a room, where the room must hold them up.
std::vector<model::Hero> StartsOf(int room) {
  std::vector<model::Hero> starts;
  if (room == MainStartRoom || room == TagRoom)
    for (int slot = 0; slot < MaxStandingSlots; ++slot) starts.push_back(model::StandingAt(slot * 32 + 32, 352));
  if (room == BlueFlagRoom)
    for (int slot = 0; slot * 32 + 336 <= 496; ++slot) starts.push_back(model::StandingAt(slot * 32 + 336, 256));
  if (room == RedFlagRoom)
    for (int slot = 0; slot * 32 + 300 <= 492; ++slot) starts.push_back(model::StandingAt(slot * 32 + 300, 160));
  return starts;
}

// How many pickups and enemies each room gets before the totals are evened out.
int PickupShare(int room, WorldRng& rng) {
  if (room == 79) return 40;
  if (room == MainStartRoom) return 3;
  return rng.Range(3, 5);
}
int EnemyShare(int room, WorldRng& rng) {
  if (room == MainStartRoom || room == TagRoom || room == 79 || room == 255) return 0;
  int band = room / 16;
  return band < 3 ? rng.Range(1, 2) : band < 8 ? rng.Range(2, 3) : rng.Range(2, 4);
}
}  // namespace

std::set<int> MainWorldRooms() {
  std::set<int> rooms;
  for (int r = 1; r <= 255; ++r)
    if (r < LobbyFirstRoom || r > LobbyLastRoom) rooms.insert(r);
  return rooms;
}

const std::set<int>& MainRopeRooms() {
  static const std::set<int> rooms = {17, 19, 24, 28, 71, 112, 209};
  return rooms;
}

namespace {
// The invaders march in rows across the top of their room.
void AddInvaders(RoomData& room) {
  const int first = ThemeOf(ThemeSpace).FirstEnemyKind();
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < 3; ++i) {
      EnemyRecord e;
      e.kind = first + (row * 3 + i) % 5;
      e.x = 64 + i * 96 + row * 48;
      e.y = 32 + row * 48;
      e.x1 = 32 + row * 48, e.x2 = 448 - (2 - row) * 16;
      e.y1 = e.y2 = e.y + PlayTop;
      e.facing = row == 0 ? 3 : 2;
      e.speedCode = 0;
      e.red = row == 0 ? 120 : 255, e.green = 255, e.blue = row == 0 ? 160 : 120;
      e.moveType = 1;
      room.enemies.push_back(e);
    }
}
}  // namespace

World BuildMainWorld() {
  World world;
  world.name = "maps";
  std::set<int> rooms = MainWorldRooms();
  std::set<int> sideOnly = MainRopeRooms();
  std::set<int> flat = MainRopeRooms();
  for (const auto& [room, special] : Specials()) sideOnly.insert(room), flat.insert(room);
  // From the start a walk leftwards leads along the sewer walks 31, 30 and 29 to the rope
  // room 28: doors on the floor row, nothing deadly underfoot. The flag rooms' starts reach
  // their right walls, so those walls have doors there: blue's shelf on row 9, red's on row 3.
  auto side = [](int a, int b, int row) {
    MapLink link;
    link.a = a, link.b = b, link.row = row;
    return link;
  };
  const std::vector<MapLink> forced = {side(28, 29, 15), side(29, 30, 15), side(30, 31, 15), side(31, 32, 15),
                                       side(BlueFlagRoom, BlueFlagRoom + 1, 9), side(RedFlagRoom, RedFlagRoom + 1, 3)};
  WorldMap map = WorldMap::Generate(rooms, sideOnly, flat, forced, MainSeed);

  WorldRng rng(MainSeed + 7);
  auto recipe = [&](int r) {
    RoomRecipe how;
    how.theme = BandThemes[r / 16];
    how.rope = MainRopeRooms().count(r) > 0;
    how.body = how.rope ? BodyRopePit : PickBody(how.theme, rng);
    auto special = Specials().find(r);
    if (special != Specials().end()) {
      how.special = special->second.draw;
      how.theme = special->second.theme;
    }
    how.starts = StartsOf(r);
    how.name = MainRoomName(r);
    return how;
  };
  BuiltRooms built = BuildMappedRooms(world, map, rooms, recipe, MainSeed);
  AddLobbyRooms(world);
  AddInvaders(world.rooms[255]);
  // Two pickups on the start room's floor, on the way to either door.
  world.rooms[MainStartRoom].pickups.push_back({208, 224, 0});
  world.rooms[MainStartRoom].pickups.push_back({416, 224, 1});

  PopulationWish wish;
  wish.theme = [](int r) { return BandThemes[r / 16]; };
  int enemies = MainEnemyCount - int(world.rooms[255].enemies.size());
  for (int r : rooms) {
    wish.pickups[r] = PickupShare(r, rng);
    wish.enemies[r] = EnemyShare(r, rng);
    if (ArrowTheme(BandThemes[r / 16]) && rng.Chance(30)) wish.arrowRooms.insert(r);
  }
  wish.noEnemies = {MainStartRoom, TagRoom, 79, 255, 29, 30, 31};
  // The wishes add up to about the totals; even them out to the totals exactly, room by
  // random room (Money Bags keeps its hoard, enemy-free rooms stay free).
  auto even = [&](std::map<int, int>& want, int total, int low, const std::set<int>& fixed) {
    int sum = 0;
    for (const auto& [r, n] : want) sum += fixed.count(r) ? 0 : n;
    for (size_t i = 0; sum != total && i < 100000; ++i) {
      auto it = want.begin();
      std::advance(it, rng.Range(0, int(want.size()) - 1));
      if (fixed.count(it->first)) continue;
      if (sum > total && it->second > low) --it->second, --sum;
      else if (sum < total) ++it->second, ++sum;
    }
  };
  std::set<int> fixedEnemies = wish.noEnemies;
  even(wish.pickups, MainPickupCount - wish.pickups[79], 2, {79});
  even(wish.enemies, enemies, 1, fixedEnemies);
  Populate(world, built, wish, MainPickupCount, MainEnemyCount, MainSeed + 11);
  return world;
}
