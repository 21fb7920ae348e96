// The hero's walking, jumping and falling, driven by held keys through the world step on
// small rooms loaded through the world loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/world/test_rooms.h"
#include "world/movement.h"

namespace {

constexpr int Room = 10;
constexpr int FloorY = 352;  // standing on the bottom row

class MovementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorldState();
    world.FloorRoom(Room, "Test Room");
  }
  void TearDown() override { FlushKeys(); }

  // Loads the world built so far and enters Room with the hero at (x, y).
  sprite& Start(float x, float y) {
    world.SelectAsMain();
    sprite& hero = MakeHero(x, y);
    EnterTestRoom(Room);
    return hero;
  }
  PlayerType& hero() { return Players[MySlot]; }
  float X() { return hero().sprite->x; }
  float Y() { return hero().sprite->y; }

  // Steps with the keys held, recording y after every step.
  std::vector<float> Steps(int count, std::initializer_list<int> keys = {}) {
    for (int key : keys) InjectKeyDown(key);
    std::vector<float> ys;
    for (int i = 0; i < count; ++i) {
      WorldStep();
      ys.push_back(Y());
    }
    for (int key : keys) InjectKeyUp(key);
    return ys;
  }

  TestWorld world;
};

TEST_F(MovementTest, StandingJumpFollowsTheTableAndLandsOnTheSameRow) {
  Start(64, FloorY);
  // The first step takes off; the key is let go at once, the jump goes on by itself.
  std::vector<float> ys = Steps(1, {Key::Space});
  std::vector<float> rest = Steps(17);
  ys.insert(ys.end(), rest.begin(), rest.end());
  const int rise[18] = {-8, -16, -22, -28, -32, -36, -38, -40, -40, -40, -38, -36, -32, -28, -22, -16, -8, 0};
  for (int step = 0; step < 18; ++step) EXPECT_EQ(ys[step], FloorY + rise[step]) << "after step " << step + 1;
  EXPECT_EQ(hero().jumping, 0);
  EXPECT_EQ(hero().jumpStep, 0);
  Steps(3);
  EXPECT_EQ(Y(), FloorY);
  EXPECT_EQ(hero().falling, 0);
  EXPECT_EQ(Game.dying, 0);
}

TEST_F(MovementTest, JumpFromFourBelowTheGridEndsTwelveLowerOnTheGrid) {
  // Taking off at y = 340 (4 mod 16, as on a stair step): the jump ends on the floor 12 lower.
  Start(64, FloorY - 12);
  Steps(1, {Key::Up});
  EXPECT_EQ(JumpPhase, 3);
  Steps(17);
  EXPECT_EQ(Y(), FloorY);
  EXPECT_EQ(hero().jumping, 0);
}

TEST_F(MovementTest, JumpOntoAPlatformLandsOnIt) {
  world.FillRow(Room, 13, TestPlatform, 6, 12);  // feet on row 13 means y = 320
  Start(32, FloorY);
  Steps(1, {Key::Right, Key::Space});
  InjectKeyDown(Key::Right);
  for (int i = 0; i < 20 && hero().jumping; ++i) WorldStep();
  InjectKeyUp(Key::Right);
  EXPECT_EQ(hero().jumping, 0);
  EXPECT_EQ(Y(), 320);
  Steps(5);
  EXPECT_EQ(Y(), 320) << "the hero stays on the platform";
  EXPECT_EQ(hero().falling, 0);
}

TEST_F(MovementTest, SolidCellAboveCutsTheRiseAndThePlatformDoesNot) {
  world.FillRow(Room, 11, TestSolid, 3, 5);       // over x 48..95
  world.FillRow(Room, 12, TestPlatform, 10, 12);  // right above a hero at x 160
  Start(64, FloorY);
  std::vector<float> ys = Steps(1, {Key::Space});
  std::vector<float> rest = Steps(20);
  ys.insert(ys.end(), rest.begin(), rest.end());
  EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), 336) << "the head bump ends the rise at once";
  EXPECT_EQ(Y(), FloorY);
  EXPECT_EQ(hero().jumping, 0);
  EXPECT_EQ(Game.dying, 0);

  hero().sprite->x = 160;
  ys = Steps(1, {Key::Space});
  rest = Steps(20);
  ys.insert(ys.end(), rest.begin(), rest.end());
  EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), 312) << "a platform above the head is jumped through";
  EXPECT_EQ(Y(), FloorY);
}

TEST_F(MovementTest, JumpIsRefusedRightUnderASolidCell) {
  world.FillRow(Room, 12, TestSolid, 3, 5);
  Start(64, FloorY);
  Steps(3, {Key::Space});
  EXPECT_EQ(hero().jumping, 0);
  EXPECT_EQ(Y(), FloorY);
}

TEST_F(MovementTest, WallsBlockWalkingAndPlatformsDoNot) {
  world.FillColumn(Room, 10, TestSolid, 13, 14);      // a wall at x 160..175
  world.FillColumn(Room, 3, TestSolid, 13, 14);       // a wall at x 48..63
  world.FillColumn(Room, 20, TestPlatform, 13, 14);   // platform cells in the way at x 320..335
  Start(120, FloorY);
  Steps(10, {Key::Right});
  EXPECT_EQ(X(), 140) << "stops against the wall, where x + 20 would enter it";
  EXPECT_EQ(hero().walkDir, 0);

  Steps(30, {Key::Left});
  EXPECT_EQ(X(), 64) << "stops against the wall, where x - 4 would enter it";
  EXPECT_EQ(hero().sprite->mirrored, 0);

  hero().sprite->x = 280;
  Steps(20, {Key::Right});
  EXPECT_EQ(X(), 360) << "platform cells do not stop the walk";
  EXPECT_EQ(hero().sprite->mirrored, 1);
  EXPECT_EQ(Y(), FloorY);
}

TEST_F(MovementTest, WalkingAdvancesTheFourWalkingFrames) {
  Start(100, FloorY);
  std::vector<int> frames;
  InjectKeyDown(Key::Right);
  for (int i = 0; i < 6; ++i) {
    WorldStep();
    frames.push_back(hero().sprite->frame);
  }
  InjectKeyUp(Key::Right);
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0, 1, 2}));
  EXPECT_EQ(X(), 124);
  WorldStep();
  EXPECT_EQ(hero().walkDir, 0) << "letting go of the key stops the hero";
  EXPECT_EQ(X(), 124);
}

TEST_F(MovementTest, LeftWinsWhenBothKeysAreHeld) {
  Start(200, FloorY);
  Steps(3, {Key::Left, Key::Right});
  EXPECT_EQ(X(), 188);
  EXPECT_EQ(hero().walkDir, 1);
}

// A ledge of row 8 over x 0..95; the hero walks off it to the right and falls on the floor
// of floorRow.
class FallTest : public MovementTest {
 protected:
  void FallOnto(int floorRow) {
    for (int row = 9; row <= 15; ++row) world.FillRow(Room, row, 0);
    world.FillRow(Room, 8, TestSolid, 0, 5);
    world.FillRow(Room, floorRow, TestSolid);
    Start(60, StandingY(8));
    InjectKeyDown(Key::Right);
    for (int i = 0; i < 20 && !hero().falling; ++i) WorldStep();
    InjectKeyUp(Key::Right);
    ASSERT_EQ(hero().falling, 1);
    for (int i = 0; i < 40 && hero().falling && !Game.dying; ++i) WorldStep();
  }
};

TEST_F(FallTest, FallOfFiveRowsIsSurvived) {
  FallOnto(13);
  EXPECT_EQ(Y(), StandingY(13));
  EXPECT_EQ(X(), 96) << "the fall goes straight down";
  EXPECT_EQ(Game.dying, 0);
  EXPECT_EQ(hero().falling, 0);
  EXPECT_EQ(Game.fallDistance, -1);
}

TEST_F(FallTest, FallOfSixRowsKills) {
  FallOnto(14);
  EXPECT_EQ(Y(), StandingY(14));
  EXPECT_EQ(Game.dying, 1);
}

TEST_F(MovementTest, FallDeathNeedsMoreThanEightyPixels) {
  Start(64, FloorY);
  Game.fallDistance = 79;  // 20 fall steps
  CheckFallDeath();
  EXPECT_EQ(Game.dying, 0);
  Game.fallDistance = 83;  // 21 fall steps
  Game.spectating = 1;
  CheckFallDeath();
  EXPECT_EQ(Game.dying, 0) << "a spectator does not die";
  Game.spectating = 0;
  CheckFallDeath();
  EXPECT_EQ(Game.dying, 1);
}

TEST_F(MovementTest, LateRightwardJumpStepsOntoTheGroundAhead) {
  // A pit under the hero; ground begins two cells to the right.
  world.FillRow(Room, 15, 0, 4, 5);
  Start(64, FloorY);
  PlayerType& p = hero();
  p.jumping = 1;
  p.jumpStep = 16;
  p.walkDir = 2;
  EXPECT_EQ(FloorCollision(), 1);
  EXPECT_EQ(X(), 68) << "one extra step right onto the ground";
}

TEST_F(MovementTest, SnapToGridRoundsToFourPixels) {
  sprite& s = Start(64, FloorY);
  const float cases[][2] = {{101, 100}, {102, 100}, {103, 104}, {104, 104}, {101.5f, 101.5f}};
  for (const auto& c : cases) {
    s.x = c[0];
    s.y = c[0] + 200;
    hero().jumpStep = 0;
    SnapToGrid();
    EXPECT_EQ(s.x, c[1]) << "x from " << c[0];
    EXPECT_EQ(s.y, c[1] + 200) << "y from " << c[0] + 200;
  }
  s.y = 301;
  hero().jumpStep = 3;  // mid-jump the height is left alone
  SnapToGrid();
  EXPECT_EQ(s.y, 301);
}

// Room 50 with an exit on every side; room 70 with none. Each neighbour has a floor.
class RoomEdgeTest : public MovementTest {
 protected:
  void SetUp() override {
    MovementTest::SetUp();
    for (int room : {40, 49, 50, 51, 60, 70}) world.FloorRoom(room);
    for (int room : {50, 70}) {
      world.FillRow(room, 4, TestPlatform, 2, 6);  // a ledge high enough to jump out of the top
      world.FillRow(room, 15, 0, 14, 16);          // a hole in the floor at x 224..271
    }
    world.FillRow(60, 3, TestSolid);               // the room below catches the fall at once
    world.SetExits(50, 40, 51, 60, 49);
  }
  void EnterAt(int room, float x, float y) {
    world.SelectAsMain();
    MakeHero(x, y);
    EnterTestRoom(room);
  }
};

TEST_F(RoomEdgeTest, WalkingOffTheRightEdgeEntersTheRightRoomAtItsLeftEdge) {
  EnterAt(50, 480, FloorY);
  Steps(4, {Key::Right});
  EXPECT_EQ(Game.room, 51);
  EXPECT_EQ(X(), 8);
  EXPECT_EQ(Y(), FloorY);
}

TEST_F(RoomEdgeTest, WalkingOffTheLeftEdgeEntersTheLeftRoomAtItsRightEdge) {
  EnterAt(50, 20, FloorY);
  Steps(4, {Key::Left});
  EXPECT_EQ(Game.room, 49);
  EXPECT_EQ(X(), 492);
}

TEST_F(RoomEdgeTest, JumpingOutOfTheTopEntersTheRoomAboveAtItsBottom) {
  EnterAt(50, 48, StandingY(4));
  std::vector<float> ys = Steps(5, {Key::Space});
  EXPECT_EQ(Game.room, 40);
  EXPECT_EQ(ys.back(), 368 - 16) << "mid-jump on the grid: 368 - (16 - 0)";
  EXPECT_EQ(hero().jumping, 1) << "the jump goes on in the room above";
  Steps(20);
  EXPECT_EQ(Game.room, 40);
  EXPECT_EQ(Y(), FloorY);
  EXPECT_EQ(Game.dying, 0);
}

TEST_F(RoomEdgeTest, FallingThroughTheFloorEntersTheRoomBelowAtItsTop) {
  EnterAt(50, 224, FloorY);
  for (int i = 0; i < 10 && Game.room == 50; ++i) WorldStep();
  EXPECT_EQ(Game.room, 60);
  EXPECT_EQ(Y(), 148);
  Steps(5);
  EXPECT_EQ(Y(), StandingY(3));
  EXPECT_EQ(hero().falling, 0);
  EXPECT_EQ(Game.dying, 0);
}

TEST_F(RoomEdgeTest, EdgesWithoutAnExitKeepTheRoom) {
  EnterAt(70, 480, FloorY);
  Steps(8, {Key::Right});
  EXPECT_EQ(Game.room, 70);
  EXPECT_GT(X(), 494);
  hero().sprite->x = 48;
  hero().sprite->y = StandingY(4);
  Steps(1, {Key::Space});
  Steps(20);
  EXPECT_EQ(Game.room, 70);
  EXPECT_EQ(Y(), StandingY(4)) << "the jump out of the top comes back down on the ledge";
}

}  // namespace
