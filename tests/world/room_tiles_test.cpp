// Room tiles: tile classes, the cell lookup at and beyond the room's edges, the stair-slope
// mask of a decoded room, mask probes outside the bank, and the conveyor frames drawn.
#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics.h"
#include "tests/world/test_rooms.h"
#include "world/room_tiles.h"

namespace {

constexpr int Room = 20;

class RoomTilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetWorldState(); }
  void Enter() {
    world.SelectAsMain();
    EnterTestRoom(Room);
  }
  int MaskByte(int column, int row, int dx, int dy) {
    return PeekByte(CollisionMask, long(row * 16 + dy) * MaskRowBytes + column * 16 + dx);
  }
  TestWorld world;
};

TEST(TileClassTest, ValueRangesGiveTheirClasses) {
  const int cases[][2] = {{0, 0},     {1, 1},     {159, 1},   {160, 4},   {161, 3},   {222, 4},
                          {223, 3},   {224, 2},   {303, 2},   {304, 0},   {351, 0},   {352, 0},
                          {399, 0},   {400, 7},   {415, 7},   {416, 6},   {431, 6},   {432, 0},
                          {527, 0},   {65535, 0}};
  for (const auto& c : cases) EXPECT_EQ(TileClass(c[0]), c[1]) << "tile " << c[0];
  EXPECT_FALSE(IsHazardTile(303));
  EXPECT_TRUE(IsHazardTile(304));
  EXPECT_TRUE(IsHazardTile(351));
  EXPECT_FALSE(IsHazardTile(352));
}

TEST_F(RoomTilesTest, TileAtTruncatesTowardZeroAndIsEmptyBeyondTheGrid) {
  world.FillColumn(Room, 0, TestSolid);
  world.FillRow(Room, 0, TestPlatform, 1, 31);
  Enter();
  ASSERT_EQ(CellGrid[0][5], CellSolid);
  for (int x = -15; x <= 15; ++x) EXPECT_EQ(TileAt(x, 240), CellSolid) << "x " << x;
  EXPECT_EQ(TileAt(-16, 240), CellEmpty);
  for (int y = 129; y <= 143; ++y) EXPECT_EQ(TileAt(40, y), CellPlatform) << "y " << y;
  EXPECT_EQ(TileAt(40, 128), CellEmpty);
  // Column 32 and row 16 exist and stay empty; beyond them nothing is read.
  CellGrid[32][3] = CellSolid;  // never written by a room: proves the lookup reaches column 32
  EXPECT_EQ(TileAt(512, 144 + 48), CellSolid);
  CellGrid[32][3] = CellEmpty;
  EXPECT_EQ(TileAt(512, 200), CellEmpty);
  EXPECT_EQ(TileAt(40, 400), CellEmpty);
  EXPECT_EQ(TileAt(528, 200), CellEmpty);
  EXPECT_EQ(TileAt(40, 416), CellEmpty);
  EXPECT_EQ(TileAt(100000, -100000), CellEmpty);
}

TEST_F(RoomTilesTest, StairTilesPaintTheirSlopesAndNothingElse) {
  world.SetTile(Room, 3, 5, TestStairsRight);  // 160: class 4, rising to the right
  world.SetTile(Room, 7, 9, TestStairsLeft);   // 161: class 3, rising to the left
  Enter();
  EXPECT_EQ(CellGrid[3][5], CellStairsRight);
  EXPECT_EQ(CellGrid[7][9], CellStairsLeft);
  int solid = 0;
  for (int dy = 0; dy < 16; ++dy) {
    int band = dy / 4;
    for (int dx = 0; dx < 16; ++dx) {
      bool right = dx >= 12 - 4 * band && dx <= 15 - 4 * band;
      bool left = dx >= 4 * band && dx <= 4 * band + 3;
      EXPECT_EQ(MaskByte(3, 5, dx, dy), right ? 255 : 0) << "tile 160 at " << dx << "," << dy;
      EXPECT_EQ(MaskByte(7, 9, dx, dy), left ? 255 : 0) << "tile 161 at " << dx << "," << dy;
    }
  }
  for (int i = 0; i < MaskSize; ++i) solid += PeekByte(CollisionMask, i) != 0;
  EXPECT_EQ(solid, 2 * 4 * 16) << "four 4x4 blocks per stairs cell";
  // The probes see the slope; the top band of tile 160 is at cell columns 12..15.
  EXPECT_EQ(MaskPixelSolid(3 * 16 + 12, 144 + 5 * 16), 1);
  EXPECT_EQ(MaskPixelSolid(3 * 16 + 11, 144 + 5 * 16), 0);
  EXPECT_EQ(MaskSpanSolid(3 * 16 + 5, 144 + 5 * 16), 1) << "the span x..x+7 reaches column 12";
  EXPECT_EQ(MaskSpanSolid(3 * 16 + 4, 144 + 5 * 16), 0);
}

TEST_F(RoomTilesTest, EnteringAnotherRoomClearsTheOldSlopes) {
  world.SetTile(Room, 3, 5, TestStairsRight);
  Enter();
  EnterTestRoom(Room + 1);
  for (int i = 0; i < MaskSize; ++i) ASSERT_EQ(PeekByte(CollisionMask, i), 0) << "byte " << i;
}

TEST_F(RoomTilesTest, MaskProbesOutsideTheBankAreFree) {
  Enter();
  CollisionMask->bytes.assign(MaskSize, 255);  // everything solid, so only the guard can say free
  EXPECT_EQ(MaskPixelSolid(0, 144), 1);
  EXPECT_EQ(MaskPixelSolid(0, 143), 0) << "above the playfield";
  EXPECT_EQ(MaskPixelSolid(-1, 144), 0) << "before the first byte";
  EXPECT_EQ(MaskPixelSolid(MaskSize % MaskRowBytes, 144 + MaskSize / MaskRowBytes), 0) << "past the end";
  EXPECT_EQ(MaskSpanSolid(0, 100), 0);
  EXPECT_EQ(MaskSpanSolid(0, 144), 1);
  // A span that starts inside and runs past the end sees only its bytes inside.
  int lastRow = 144 + (MaskSize - 1) / MaskRowBytes, lastX = (MaskSize - 1) % MaskRowBytes;
  EXPECT_EQ(MaskSpanSolid(lastX - 3, lastRow), 1);
  CollisionMask->bytes[MaskSize - 4] = CollisionMask->bytes[MaskSize - 3] = 0;
  CollisionMask->bytes[MaskSize - 2] = CollisionMask->bytes[MaskSize - 1] = 0;
  EXPECT_EQ(MaskSpanSolid(lastX - 3, lastRow), 0);
}

TEST_F(RoomTilesTest, ConveyorsDrawFourFramesThirtyTwoApart) {
  world.SetTile(Room, 0, 0, TestBeltLeft);  // 400
  world.SetTile(Room, 1, 0, 37);            // solid: not animated
  Enter();
  for (int phase = 0; phase < 4; ++phase) {
    AnimPhase = phase;
    EXPECT_EQ(TileDrawFrame(0, 0), 400 + 32 * phase);
    EXPECT_EQ(TileDrawFrame(1, 0), 37);
  }
}

TEST_F(RoomTilesTest, DrawRoomDrawsTheConveyorFrameOfThePhase) {
  ASSERT_TRUE(Graphics(640, 480));
  // A tiles picture whose only painted frame is 464, the third frame of tile 400.
  TilesImage = CreateImage(16, 16, 528);
  std::vector<uint32_t> red(16 * 16, 0xFFFF0000u);
  WriteImagePixels(TilesImage, 464, red.data());
  world.SetTile(Room, 2, 3, TestBeltLeft);
  Enter();
  int x = 2 * 16 + 8, y = 144 + 3 * 16 + 8;
  AnimPhase = 2;
  Cls();
  DrawRoom();
  EXPECT_EQ(ReadPixel(x, y) & 0xFFFFFF, 0xFF0000u);
  AnimPhase = 1;
  Cls();
  DrawRoom();
  EXPECT_NE(ReadPixel(x, y) & 0xFFFFFF, 0xFF0000u);
  TilesImage = Image();
}

}  // namespace
