// The rope of rope rooms: its swing, the segment positions from RopeTable, catching, climbing
// and letting go, and the re-catch delay.
#include "tests/world/hero_fixture.h"
#include "world/rope.h"

namespace {

constexpr int RopeRoomNumber = 17;

class RopeTest : public HeroTest {
 protected:
  void SetUp() override {
    HeroTest::SetUp();
    world_.FloorRoom(RopeRoomNumber);
    world_.SetRopeFlag(RopeRoomNumber, 'Y');
  }
  // The hero hangs still below the straight rope: the box (x + 2, y, 20, 24) holds segment 28
  // (y 318) and none below it.
  void HangStraightAndPlaceHero() {
    Rope.swingPos = 54;
    Rope.swingStep = -2;
    UpdateRope();
    heroSprite().SetPosition(244, 298);
  }
};

std::vector<int> ExpectedSwing() {
  std::vector<int> s;
  for (int p = 20; p >= -34; p -= 2) s.push_back(p);
  for (int p : {-38, -42, -46, -50, -54, -50, -46, -42, -38}) s.push_back(p);
  for (int p = -36; p <= 34; p += 2) s.push_back(p);
  for (int p : {36, 38, 42, 46, 50, 54, 50, 46, 42, 38}) s.push_back(p);
  for (int p = 36; p >= 22; p -= 2) s.push_back(p);
  return s;
}

TEST_F(RopeTest, RoomEntrySpawnsTheRopeInARopeRoomOnly) {
  StartIn(RopeRoomNumber, 32, StandingY(15));
  EXPECT_EQ(Game.ropeRoom, 1);
  ASSERT_TRUE(Rope.anchor);
  EXPECT_EQ(Rope.anchor->x, 256);
  EXPECT_EQ(Rope.anchor->y, 144);
  EXPECT_EQ(Rope.segmentCount, 32);
  EXPECT_EQ(Rope.swingLimit, 54);
  EXPECT_EQ(Rope.swingPos, 22);
  EXPECT_EQ(Rope.swingStep, -2);
  for (const SpriteRef& segment : Rope.segments) EXPECT_TRUE(segment);

  world_.FloorRoom(RopeRoomNumber + 1);
  StartIn(RopeRoomNumber + 1, 32, StandingY(15));
  EXPECT_EQ(Game.ropeRoom, 0);
  EXPECT_FALSE(Rope.anchor);
  int before = Rope.swingPos;
  UpdateRope();
  EXPECT_EQ(Rope.swingPos, before) << "no swing outside rope rooms";
}

TEST_F(RopeTest, SwingsFastNearTheVerticalAndTurnsAtItsLimit) {
  StartIn(RopeRoomNumber, 32, StandingY(15));
  std::vector<int> seen;
  for (size_t i = 0; i < ExpectedSwing().size(); ++i) {
    UpdateRope();
    seen.push_back(Rope.swingPos);
  }
  EXPECT_EQ(seen, ExpectedSwing());
  EXPECT_EQ(Rope.swingStep, -2) << "a full period later the swing runs as at the start";
}

TEST_F(RopeTest, SegmentsHangStraightAtTheLimitAndBendMostAtZero) {
  StartIn(RopeRoomNumber, 32, StandingY(15));
  Rope.swingPos = -54;
  Rope.swingStep = 2;
  UpdateRope();
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(Rope.segments[i]->x, 256) << i;
    EXPECT_EQ(Rope.segments[i]->y, 144 + 6 * (i + 1)) << i;
  }
  Rope.swingPos = 0;
  Rope.swingStep = 2;
  UpdateRope();
  EXPECT_EQ(Rope.segments[31]->x, 256 + 134);
  EXPECT_EQ(Rope.segments[31]->y, 144 + 134);
  Rope.swingPos = 0;
  Rope.swingStep = -2;
  UpdateRope();
  EXPECT_EQ(Rope.segments[31]->x, 256 - 134) << "bent to the left while the step is negative";
}

TEST_F(RopeTest, AWildSwingFromTheNetworkStaysInsideTheTableAndTurnsBack) {
  StartIn(RopeRoomNumber, 32, StandingY(15));
  Rope.swingPos = 1001;
  Rope.swingStep = 2;
  UpdateRope();
  EXPECT_EQ(Rope.swingStep, -2);
  EXPECT_EQ(RopeHorizontalStep(-3), 0);
  EXPECT_EQ(RopeVerticalStep(128), 0);
  Rope.swingPos = 53;  // odd: never exactly at the limit
  Rope.swingStep = 2;
  for (int i = 0; i < 200; ++i) {
    UpdateRope();
    ASSERT_LE(std::abs(Rope.swingPos), 60) << "step " << i;
  }
}

TEST_F(RopeTest, CatchesTheLowestTouchedSegmentAndCarriesTheHero) {
  StartIn(RopeRoomNumber, 32, StandingY(15));
  HangStraightAndPlaceHero();
  hero().jumping = 1;
  hero().falling = 1;
  CatchRope();
  ASSERT_EQ(hero().onRope, 1);
  EXPECT_EQ(hero().ropeSegment, 28);
  EXPECT_EQ(hero().jumping, 0);
  EXPECT_EQ(hero().falling, 0);

  Step();
  const sprite& held = *Rope.segments[28];
  EXPECT_EQ(heroSprite().x, held.x - 10);
  EXPECT_EQ(heroSprite().y, held.y - 16);
}

TEST_F(RopeTest, ClimbsUpToTheTopAndDownUntilItLetsGo) {
  StartIn(RopeRoomNumber, 32, StandingY(15));
  HangStraightAndPlaceHero();
  CatchRope();
  ASSERT_EQ(hero().onRope, 1);

  Hold(Key::Right);
  Steps(40);
  Release(Key::Right);
  EXPECT_EQ(hero().onRope, 1);
  EXPECT_EQ(hero().ropeSegment, 0) << "climbing up stops at the top segment";
  EXPECT_EQ(heroSprite().mirrored, 1);

  Hold(Key::Left);
  int steps = 0;
  while (hero().onRope && steps < 40) {
    Step();
    ++steps;
  }
  Release(Key::Left);
  EXPECT_EQ(steps, 32) << "one segment per step, and off past the 32nd";
  EXPECT_EQ(hero().onRope, 0);
  EXPECT_EQ(heroSprite().mirrored, 0);
  EXPECT_EQ(hero().ropeGrabDelay, 9) << "10 on letting go, one counted off in that step";
}

TEST_F(RopeTest, TheRopeCannotBeCaughtAgainForTenSteps) {
  StartIn(RopeRoomNumber, 32, StandingY(15));
  HangStraightAndPlaceHero();
  hero().ropeGrabDelay = 10;
  for (int i = 1; i < 10; ++i) {
    CatchRope();
    ASSERT_EQ(hero().onRope, 0) << "caught after " << i << " steps";
  }
  CatchRope();
  EXPECT_EQ(hero().onRope, 1);
}

TEST_F(RopeTest, AJumpLeavesTheRopeEvenUnderASolidCell) {
  world_.FillRow(RopeRoomNumber, 8, TestSolid, 0, 31);
  StartIn(RopeRoomNumber, 32, StandingY(15));
  HangStraightAndPlaceHero();
  CatchRope();
  ASSERT_EQ(hero().onRope, 1);
  Hold(Key::Space);
  Step();
  Release(Key::Space);
  EXPECT_EQ(hero().onRope, 0);
  EXPECT_EQ(hero().jumping, 1);
  EXPECT_EQ(hero().ropeGrabDelay, 9);
}

}  // namespace
