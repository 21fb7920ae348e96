// World selection: the world of each mode, loading a world only when it changes, the room
// names, short world files, the pickups' present flags, and the real embedded worlds.
#include <gtest/gtest.h>

#include "assets/embedded_files.h"
#include "tests/world/test_rooms.h"
#include "world/room_tiles.h"

namespace {

class WorldFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetWorldState(); }
};

TEST(WorldForModeTest, ModesChooseTheirWorlds) {
  EXPECT_EQ(WorldForMode(33), "pitfall");
  EXPECT_EQ(WorldForMode(34), "assault");
  EXPECT_EQ(WorldForMode(35), "original");
  EXPECT_EQ(WorldForMode(36), "jailbreak");
  EXPECT_EQ(WorldForMode(37), "laboratory");
  EXPECT_EQ(WorldForMode(81), "tower");
  for (int mode : {0, 1, 9, 10, 20, 30, 31, 32, 38, 40, 50, 60, 70, 80, 82, 255})
    EXPECT_EQ(WorldForMode(mode), "maps") << "mode " << mode;
}

TEST(RoomRecordBaseTest, OnlyRoomsOneTo255HaveARecord) {
  EXPECT_EQ(RoomRecordBase(1), 1065);
  EXPECT_EQ(RoomRecordBase(255), 255L * 1065);
  EXPECT_EQ(RoomRecordBase(0), -1);
  EXPECT_EQ(RoomRecordBase(256), -1);
  EXPECT_EQ(RoomRecordBase(-3), -1);
}

TEST_F(WorldFilesTest, RoomNamesAreTrimmedOfControlCharactersAndSpaces) {
  TestWorld world;
  world.SetName(5, "  Corner Shop");
  world.SetName(6, std::string("\tTab\x01", 5));
  world.SetName(7, "\xA3 pound sign");  // 163 is a character of the name, not a blank
  world.SetName(8, "123456789012345678901234567890123456");
  world.SelectAsMain();
  EXPECT_EQ(RoomNames[5], "Corner Shop");
  EXPECT_EQ(RoomNames[6], "Tab");
  EXPECT_EQ(RoomNames[7], "\xA3 pound sign");
  EXPECT_EQ(RoomNames[8], "123456789012345678901234567890123") << "33 characters at most";
  EXPECT_EQ(RoomNames[9], "");
  EXPECT_EQ(RoomNames[0], "");
}

TEST_F(WorldFilesTest, AWorldIsLoadedOnlyWhenItChanges) {
  TestWorld first, second;
  first.SetName(1, "First");
  second.SetName(1, "Second");
  first.SelectAsMain(1);
  EXPECT_EQ(WorldName, "maps");
  EXPECT_EQ(RoomNames[1], "First");
  second.Register("maps");
  SelectWorld(2);  // the same world: the loaded bank stays
  EXPECT_EQ(RoomNames[1], "First");
  TestWorld pitfall;
  pitfall.SetName(1, "Pit");
  pitfall.Register("pitfall");
  SelectWorld(33);
  EXPECT_EQ(WorldName, "pitfall");
  EXPECT_EQ(RoomNames[1], "Pit");
  SelectWorld(1);  // back to the main world: loaded anew
  EXPECT_EQ(RoomNames[1], "Second");
}

TEST_F(WorldFilesTest, AShortWorldFileLeavesTheRestOfTheBankEmpty) {
  TestWorld world;
  world.SetName(3, "Kept");
  world.SetName(200, "Cut off");
  world.Rooms().resize(100L * RoomRecordSize);
  world.SelectAsMain();
  EXPECT_EQ(BankSize(WorldBank), size_t(WorldBankSize));
  EXPECT_EQ(RoomNames[3], "Kept");
  EXPECT_EQ(RoomNames[200], "");
  EnterTestRoom(200);
  for (int c = 0; c < RoomColumns; ++c)
    for (int r = 0; r < RoomRows; ++r) ASSERT_EQ(CellGrid[c][r], CellEmpty);
}

TEST_F(WorldFilesTest, AMissingWorldFileLoadsAsEmptyRooms) {
  TestWorld world;
  world.SetName(3, "Before");
  world.SelectAsMain();
  LoadWorldBank("no_such_world");
  EXPECT_EQ(BankSize(WorldBank), size_t(WorldBankSize));
  EXPECT_EQ(RoomNames[3], "");
}

TEST_F(WorldFilesTest, PickupsArePresentAloneAndAbsentForAJoinedClient) {
  TestWorld world;
  world.AddPickup(4, 10, 20, 1);
  world.AddPickup(4, 40, 20, 2);
  world.AddPickup(9, 10, 20, 3);
  world.SelectAsMain();
  ASSERT_EQ(LastPickup, 2);
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 1) << "single play, pickup " << i;

  Game.singlePlayer = 0;  // joined someone's game
  SelectWorld(1);
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 0) << "joined, pickup " << i;

  Hosting = 1;
  SelectWorld(1);
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 1) << "hosting, pickup " << i;
  Hosting = 0;

  world.Register("original");
  Game.gameMode = 35;
  SelectWorld(35);
  EXPECT_EQ(WorldName, "original");
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 1) << "mode 35, pickup " << i;
}

TEST_F(WorldFilesTest, TheEmbeddedWorldsHoldTheLobbyRooms) {
  RegisterEmbeddedFiles();
  // The tests register their own "maps", "pitfall" and "original", never "laboratory".
  if (!EmbeddedFileExists("laboratory.dat")) GTEST_SKIP() << "no embedded worlds in this build";
  for (const char* name : {"maps", "pitfall", "assault", "tower", "original", "jailbreak", "laboratory"}) {
    EXPECT_EQ(ReadAll(std::string("incbin::") + name + ".dat").size(), size_t(WorldBankSize)) << name;
  }
  WorldName = "";
  SelectWorld(34);
  EXPECT_EQ(WorldName, "assault");
  EXPECT_EQ(RoomNames[178], "Mission Briefing");
  EXPECT_EQ(RoomNames[179], "Select Your Team");
  EXPECT_EQ(RoomNames[180], "The Gaming Lounge");
  WorldName = "";
  SelectWorld(1);
  EXPECT_EQ(RoomNames[180], "The Gaming Lounge");
  EXPECT_FALSE(RoomNames[32].empty());
}

}  // namespace
