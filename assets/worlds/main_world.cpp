// The main world "maps": a grid of sixteen bands of sixteen rooms, each band a region of its own
// look, joined by a random tree of doors and ways up, with the hand-made rooms in their places.
#include "assets/worlds/main_world.h"

#include <map>

#include "assets/worlds/lobby_rooms.h"
#include "assets/worlds/room_names.h"
#include "assets/worlds/room_population.h"
#include "assets/worlds/special_rooms.h"
#include "assets/worlds/world_map.h"

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
  if (room == MainStartRoom || room == TagRoom || room == 79) return 0;
  if (room == 255) return 6;
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

World BuildMainWorld() {
  World world;
  world.name = "maps";
  std::set<int> rooms = MainWorldRooms();
  std::set<int> sideOnly = MainRopeRooms();
  std::set<int> flat = MainRopeRooms();
  for (const auto& [room, special] : Specials()) sideOnly.insert(room), flat.insert(room);
  WorldMap map = WorldMap::Generate(rooms, sideOnly, flat, MainSeed);

  WorldRng rng(MainSeed + 7);
  std::map<int, RoomReach> reaches;
  std::map<int, KeepClear> keeps;
  for (int r : rooms) {
    RoomPlan plan;
    plan.number = r;
    plan.theme = BandThemes[r / 16];
    plan.seed = MainSeed * 1000 + uint64_t(r);
    map.ExitsOf(r, plan.exits);
    plan.leftRow = map.DoorRow(r, ExitLeft);
    plan.rightRow = map.DoorRow(r, ExitRight);
    plan.upGap = map.UpGap(r);
    plan.downGap = map.DownGap(r);
    plan.rope = MainRopeRooms().count(r) > 0;
    plan.body = plan.rope ? BodyRopePit : PickBody(plan.theme, rng);
    auto special = Specials().find(r);
    if (special != Specials().end()) {
      plan.special = special->second.draw;
      plan.theme = special->second.theme;
    }
    plan.starts = StartsOf(r);
    RoomData& room = world.rooms[size_t(r)];
    BuildRoom(plan, room, reaches[r]);
    room.name = MainRoomName(r);
    KeepClear& keep = keeps[r];
    keep.AddArrivals(PlanArrivals(plan));
  }
  AddLobbyRooms(world);

  // Pickups and enemies: each room its share, then the totals made exact.
  std::map<int, int> pickupWant, enemyWant;
  int pickupSum = 0, enemySum = 0;
  for (int r : rooms) {
    pickupSum += pickupWant[r] = PickupShare(r, rng);
    enemySum += enemyWant[r] = EnemyShare(r, rng);
  }
  std::vector<int> order(rooms.begin(), rooms.end());
  for (size_t i = 0; pickupSum != MainPickupCount && i < 100000; ++i) {
    int r = order[size_t(rng.Range(0, int(order.size()) - 1))];
    if (r == 79) continue;
    if (pickupSum < MainPickupCount && pickupWant[r] < 8) ++pickupWant[r], ++pickupSum;
    else if (pickupSum > MainPickupCount && pickupWant[r] > 2) --pickupWant[r], --pickupSum;
  }
  for (size_t i = 0; enemySum != MainEnemyCount && i < 100000; ++i) {
    int r = order[size_t(rng.Range(0, int(order.size()) - 1))];
    if (EnemyShare(r, rng) == 0 && enemyWant[r] == 0) continue;
    if (enemySum < MainEnemyCount && enemyWant[r] < 5) ++enemyWant[r], ++enemySum;
    else if (enemySum > MainEnemyCount && enemyWant[r] > 1) --enemyWant[r], --enemySum;
  }
  int pickupsShort = 0, enemiesShort = 0;
  for (int r : rooms) {
    RoomData& room = world.rooms[size_t(r)];
    const Theme& look = ThemeOf(BandThemes[r / 16]);
    int want = pickupWant[r] - int(room.pickups.size());
    pickupsShort += want - PlacePickups(room, reaches[r], want, look, rng);
    int enemies = enemyWant[r] - int(room.enemies.size());
    bool arrows = ArrowTheme(look.id) && rng.Chance(30) && enemies >= 2;
    enemiesShort += enemies - PlaceEnemies(room, reaches[r], enemies, look, keeps[r], rng, arrows);
  }
  // Whatever a room could not take goes to rooms with space left.
  for (int pass = 0; pass < 40 && (pickupsShort > 0 || enemiesShort > 0); ++pass)
    for (int r : rooms) {
      RoomData& room = world.rooms[size_t(r)];
      const Theme& look = ThemeOf(BandThemes[r / 16]);
      if (pickupsShort > 0 && room.pickups.size() < 9 && r != 79) pickupsShort -= PlacePickups(room, reaches[r], 1, look, rng);
      if (enemiesShort > 0 && EnemyShare(r, rng) > 0 && room.enemies.size() < 6)
        enemiesShort -= PlaceEnemies(room, reaches[r], 1, look, keeps[r], rng, false);
    }
  return world;
}
