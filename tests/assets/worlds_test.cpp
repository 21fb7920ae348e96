// The embedded world files: sizes and record layout, rope flags, names of the goal rooms, the
// lobby rooms, exits, enemy and pickup records, and the floors under every start position.
#include <gtest/gtest.h>

#include <string>

#include "assets/worlds/world_generator.h"
#include "tests/assets/world_files.h"

namespace {

using worlds::All;
using worlds::WorldFiles;

struct Expected {
  int enemies, pickups;
  std::set<int> ropeRooms;
};

const std::map<std::string, Expected>& Table() {
  static const std::map<std::string, Expected> table = {
      {"maps", {680, 1031, {17, 19, 24, 28, 71, 112, 209}}},
      {"pitfall", {30, 1, {3, 8, 12, 14, 15, 16, 19, 24, 28, 71, 112, 209}}},
      {"assault", {59, 1, {}}},
      {"tower", {22, 2, {12, 14, 15, 16, 19, 24, 28, 71, 112, 209}}},
      {"original", {99, 83, {24, 28, 71, 112, 209}}},
      {"jailbreak", {68, 1, {24, 28, 71, 112, 209}}},
      {"laboratory", {84, 1, {4, 24, 28, 71, 112, 209}}},
  };
  return table;
}

// The last room of each world's course.
const std::map<std::string, int>& CourseRooms() {
  static const std::map<std::string, int> rooms = {{"maps", 255},     {"pitfall", 17},   {"assault", 16},
                                                   {"tower", 17},     {"original", 20},  {"jailbreak", 20},
                                                   {"laboratory", 20}};
  return rooms;
}

bool IsLobby(int room) { return room >= 178 && room <= 180; }

TEST(WorldFiles, EachWorldHasItsThreeFilesAtTheirSizes) {
  for (const auto& [name, w] : All()) {
    const Expected& want = Table().at(name);
    EXPECT_EQ(w.rooms.size(), 272640u) << name;
    EXPECT_EQ(w.enemyBytes.size(), size_t(want.enemies) * 20) << name;
    EXPECT_EQ(w.pickupBytes.size(), size_t(want.pickups) * 7) << name;
  }
}

TEST(WorldFiles, RoomRecordsKeepTheirLayout) {
  for (const auto& [name, w] : All()) {
    for (int i = 0; i < 1065; ++i) ASSERT_EQ(w.rooms[size_t(i)], 0) << name << ": record 0, byte " << i;
    for (int room = 1; room < 256; ++room) {
      const uint8_t* rec = &w.rooms[size_t(room) * 1065];
      char flag = char(rec[1063]);
      ASSERT_TRUE(flag == 'Y' || flag == 'N' || flag == ' ') << name << " room " << room;
      EXPECT_EQ(rec[0], 0) << name << " room " << room;
      EXPECT_EQ(rec[1064], 0) << name << " room " << room;
      EXPECT_EQ(char(rec[1]), flag == ' ' ? '3' : '4') << name << " room " << room;
      for (int i = 0; i < 33; ++i) ASSERT_GE(rec[1030 + i], 32) << name << " room " << room << ": name not padded";
      for (int t = 0; t < 512; ++t) ASSERT_LT(w.Tile(room, t % 32, t / 32), 528) << name << " room " << room;
      if (w.Exists(room)) {
        EXPECT_NE(w.Name(room), "") << name << " room " << room;
        EXPECT_NE(flag, ' ') << name << " room " << room;
      } else {
        EXPECT_EQ(w.Name(room), "") << name << " room " << room;
      }
    }
  }
}

TEST(WorldFiles, WorldsHoldTheirRooms) {
  for (const auto& [name, w] : All())
    for (int room = 1; room < 256; ++room) {
      bool wanted = name != "assault" || room <= 16 || IsLobby(room);
      EXPECT_EQ(w.Exists(room), wanted) << name << " room " << room;
    }
}

TEST(WorldFiles, RopeFlagsAreExactlyTheRopeRooms) {
  for (const auto& [name, w] : All())
    for (int room = 1; room < 256; ++room)
      EXPECT_EQ(w.RopeFlag(room) == 'Y', Table().at(name).ropeRooms.count(room) > 0) << name << " room " << room;
}

TEST(WorldFiles, RaceGoalsAndLobbyRoomsCarryTheirNames) {
  const WorldFiles& maps = All().at("maps");
  const std::map<int, std::string> goals = {
      {1, "Corner Shop"},          {81, "Desert Isle"},       {120, "Rocket Room"},
      {255, "Space Invaders"},     {79, "Money Bags"},        {133, "The Drinking Hole"},
      {38, "Emergency Generator"}, {159, "Telly Tw*ts Hill"},
  };
  for (const auto& [room, title] : goals) EXPECT_EQ(maps.Name(room), title) << room;
  EXPECT_NE(maps.Name(212).find("bumming parlour"), std::string::npos) << maps.Name(212);
  for (const auto& [name, w] : All()) {
    EXPECT_EQ(w.Name(178), "Mission Briefing") << name;
    EXPECT_EQ(w.Name(179), "Select Your Team") << name;
    EXPECT_EQ(w.Name(180), "The Gaming Lounge") << name;
  }
}

TEST(WorldFiles, LobbyRoomsAreTheSameInEveryWorld) {
  const WorldFiles& maps = All().at("maps");
  for (const auto& [name, w] : All())
    for (int room = 178; room <= 180; ++room)
      EXPECT_TRUE(std::equal(w.rooms.begin() + room * 1065, w.rooms.begin() + (room + 1) * 1065,
                             maps.rooms.begin() + room * 1065))
          << name << " room " << room;
}

TEST(WorldFiles, LobbyRoomsHoldTheirHeroesAndTheTeamDoors) {
  const WorldFiles& maps = All().at("maps");
  for (int room = 178; room <= 180; ++room) {
    // Slot 15's place, x = 512, lies past the playfield's last column.
    for (int slot = 0; slot <= 14; ++slot)
      EXPECT_TRUE(worlds::StandsAt(maps, room, slot * 32 + 32, 352)) << "room " << room << " slot " << slot;
    EXPECT_TRUE(maps.EnemiesIn(room).empty());
    EXPECT_TRUE(maps.PickupsIn(room).empty());
  }
  // The team room: side walls on rows 12..14 that a team round opens, and exits both ways.
  for (int row = 12; row <= 14; ++row) {
    EXPECT_EQ(model::ClassOf(maps.Tile(179, 0, row)), 1) << row;
    EXPECT_EQ(model::ClassOf(maps.Tile(179, 31, row)), 1) << row;
  }
  EXPECT_NE(maps.Exit(179, model::Left), 0);
  EXPECT_NE(maps.Exit(179, model::Right), 0);
  EXPECT_EQ(maps.Exit(178, model::Left) | maps.Exit(178, model::Right) | maps.Exit(178, model::Up), 0);
  EXPECT_EQ(maps.Exit(180, model::Left) | maps.Exit(180, model::Right) | maps.Exit(180, model::Up), 0);
  // The lounge keeps the chooser's area plain: its menu runs from y 169 to 372, x 0 to 500.
  for (int row = 2; row <= 14; ++row)
    for (int column = 2; column <= 29; ++column) EXPECT_EQ(maps.Tile(180, column, row), 0) << column << "," << row;
}

TEST(WorldFiles, ExitsLeadToRoomsThatLeadBack) {
  for (const auto& [name, w] : All())
    for (int room = 1; room < 256; ++room) {
      if (!w.Exists(room)) continue;
      for (int side = 0; side < 4; ++side) {
        int to = w.Exit(room, side);
        if (to == 0) continue;
        EXPECT_TRUE(w.Exists(to)) << name << " room " << room << " exit " << side << " to " << to;
        // Links are two-way in the main world and in every course (the copied rooms of the
        // other worlds lie beyond their courses).
        bool checked = name == "maps" || room <= CourseRooms().at(name);
        if (checked && room != 179) {
          EXPECT_EQ(w.Exit(to, (side + 2) % 4), room) << name << " room " << room;
        }
      }
    }
}

TEST(WorldFiles, EnemiesFollowTheirRecordRules) {
  for (const auto& [name, w] : All()) {
    int doors = 0;
    for (const worlds::Enemy& e : w.enemies) {
      std::string at = name + " room " + std::to_string(e.room);
      ASSERT_TRUE(w.Exists(e.room)) << at;
      ASSERT_LE(e.kind, 75) << at;
      EXPECT_FALSE(IsLobby(e.room)) << at;
      if (e.kind == 75) {
        ++doors;
        EXPECT_EQ(name, "original") << at;
        EXPECT_TRUE(e.x1 == e.x2 && e.y1 == e.y2) << at << ": a door stands still";
      }
      if (e.kind == 73 || e.kind == 74) {
        EXPECT_TRUE(e.facing == 2 || e.facing == 3) << at;
        EXPECT_GE(e.y, 0) << at;
        EXPECT_LE(e.y, 224) << at;
        continue;
      }
      EXPECT_TRUE(e.moveType == 1 || e.moveType == 2) << at;
      EXPECT_LE(e.x1, e.x2) << at;
      EXPECT_LE(e.y1, e.y2) << at;
      worlds::Box b = worlds::Sweep(e);
      EXPECT_GE(b.x0, 0) << at;
      EXPECT_LE(b.x1, 512) << at;
      EXPECT_GE(b.y0, 144) << at;
      EXPECT_LE(b.y1, 400) << at;
      EXPECT_TRUE(e.x >= e.x1 && e.x <= e.x2) << at << ": starts on its path";
      EXPECT_TRUE(e.y + 144 >= e.y1 && e.y + 144 <= e.y2) << at << ": starts on its path";
    }
    EXPECT_EQ(doors, name == "original" ? 20 : 0) << name;
  }
}

TEST(WorldFiles, PickupsAreGroupedByRoomInsideThePlayfield) {
  for (const auto& [name, w] : All()) {
    std::map<int, int> perRoom;
    int last = 0;
    for (const worlds::Pickup& p : w.pickups) {
      std::string at = name + " room " + std::to_string(p.room);
      EXPECT_GE(p.room, last) << at << ": out of room order";
      last = p.room;
      ++perRoom[p.room];
      EXPECT_TRUE(w.Exists(p.room) && !IsLobby(p.room)) << at;
      EXPECT_LE(p.kind, 24) << at;
      EXPECT_TRUE(p.x >= 0 && p.x <= 496 && p.y >= 0 && p.y <= 240) << at;
      EXPECT_NE(model::ClassOf(w.Tile(p.room, (p.x + 8) / 16, (p.y + 8) / 16)), 1) << at << ": inside a wall";
    }
    for (const auto& [room, n] : perRoom) EXPECT_LE(n, 50) << name << " room " << room;
  }
  const WorldFiles& maps = All().at("maps");
  // Capture the flag shows its flags only in rooms with pickups of their own.
  EXPECT_FALSE(maps.PickupsIn(81).empty());
  EXPECT_FALSE(maps.PickupsIn(160).empty());
}

TEST(WorldFiles, StartPositionsStandOnFloors) {
  const WorldFiles& maps = All().at("maps");
  for (int slot = 0; slot <= 14; ++slot) {
    EXPECT_TRUE(worlds::StandsAt(maps, 32, slot * 32 + 32, 352)) << "room 32 slot " << slot;
    EXPECT_TRUE(worlds::StandsAt(maps, 27, slot * 32 + 32, 352)) << "room 27 slot " << slot;
  }
  // Capture the flag: blue starts on a shelf of room 81, red high in room 160 (the slots whose
  // places lie in the playfield), and the flags stand on floors.
  for (int slot = 0; 32 * slot + 336 <= 496; ++slot)
    EXPECT_TRUE(worlds::StandsAt(maps, 81, 32 * slot + 336, 256)) << "blue slot " << slot;
  for (int slot = 0; 32 * slot + 300 <= 492; ++slot)
    EXPECT_TRUE(worlds::StandsAt(maps, 160, 32 * slot + 300, 160)) << "red slot " << slot;
  for (int c : {13, 14}) EXPECT_TRUE(model::IsGround(model::ClassOf(maps.Tile(81, c, 15)))) << c;
  for (int c : {27, 28}) EXPECT_TRUE(model::IsGround(model::ClassOf(maps.Tile(160, c, 9)))) << c;

  EXPECT_TRUE(worlds::StandsAt(All().at("pitfall"), 1, 32, 224));
  EXPECT_TRUE(worlds::StandsAt(All().at("original"), 1, 32, 352));
  EXPECT_TRUE(worlds::StandsAt(All().at("laboratory"), 1, 32, 336));
  EXPECT_TRUE(worlds::StandsAt(All().at("tower"), 1, 32, 352));
  EXPECT_TRUE(worlds::StandsAt(All().at("tower"), 1, 480, 352));
  for (const char* name : {"assault", "jailbreak"})
    for (int slot = 0; slot <= 14; ++slot)
      EXPECT_TRUE(worlds::StandsAt(All().at(name), 1, slot * 32 + 32, 352)) << name << " slot " << slot;
  // The doors of "original" put the hero into the next room at these places.
  const WorldFiles& original = All().at("original");
  for (int room = 2; room <= 20; ++room) {
    int x = 32, y = 352;
    if (room == 5) y = 176;
    if (room == 6) x = 448, y = 208;
    if (room == 13 || room == 18 || room == 20) x = 480;
    EXPECT_TRUE(worlds::StandsAt(original, room, x, y)) << "original room " << room;
  }
}

TEST(WorldFiles, StartRoomsAreSafe) {
  const WorldFiles& maps = All().at("maps");
  EXPECT_TRUE(maps.EnemiesIn(27).empty()) << "tag and chase are played among the heroes alone";
  // Nothing sweeps within two cells of the single-player start.
  for (const worlds::Enemy* e : maps.EnemiesIn(32))
    EXPECT_FALSE(worlds::Overlaps(worlds::Sweep(*e), 32 - 32, 352 - 32, 32 + 20 + 32, 352 + 32 + 32));
  for (const auto& [name, w] : All())
    if (name != "maps" && name != "original") {
      EXPECT_TRUE(w.EnemiesIn(1).empty()) << name;
    }
}

}  // namespace

namespace {

TEST(WorldFiles, TheGeneratorMakesTheEmbeddedWorldsEveryTime) {
  std::map<std::string, std::vector<uint8_t>> first = GenerateWorldFiles();
  std::map<std::string, std::vector<uint8_t>> second = GenerateWorldFiles();
  EXPECT_EQ(first.size(), 21u);
  EXPECT_TRUE(first == second) << "two runs of the generator differ";
  for (const auto& [name, w] : All()) {
    EXPECT_TRUE(first[name + ".dat"] == w.rooms) << name;
    EXPECT_TRUE(first[name + "_e.dat"] == w.enemyBytes) << name;
    EXPECT_TRUE(first[name + "_p.dat"] == w.pickupBytes) << name;
  }
}

}  // namespace
