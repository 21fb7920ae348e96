// Stairs up and down both slopes, landing on a slope, and belts that carry the hero.
#include "tests/world/hero_fixture.h"
#include "world/stairs_conveyors.h"

namespace {

constexpr int StairRoom = 40;

class StairsTest : public HeroTest {
 protected:
  // A floor on row 15 and three stair cells climbing from column `from` one cell per row,
  // rightwards (tile 160) or leftwards (161), up to a floor on row 12 beyond the top cell.
  void BuildStairs(bool risingRight) {
    world_.FloorRoom(StairRoom);
    for (int i = 0; i < 3; ++i) {
      int column = risingRight ? 10 + i : 21 - i;
      world_.SetTile(StairRoom, column, 14 - i, risingRight ? TestStairsRight : TestStairsLeft);
    }
    if (risingRight)
      world_.FillRow(StairRoom, 12, TestSolid, 13, 20);
    else
      world_.FillRow(StairRoom, 12, TestSolid, 11, 18);
  }

  // Walks with the key held until x reaches the goal; returns the y after each step.
  std::vector<int> WalkTo(int key, float goalX, int maxSteps = 100) {
    std::vector<int> ys;
    Hold(key);
    for (int i = 0; i < maxSteps && (key == Key::Right ? heroSprite().x < goalX : heroSprite().x > goalX); ++i) {
      Step();
      ys.push_back(int(heroSprite().y));
    }
    Release(key);
    return ys;
  }
};

// Up a slope the hero rises 4 pixels with each 4-pixel step; it never falls while on it.
void ExpectClimb(const std::vector<int>& ys, int from, int to) {
  ASSERT_FALSE(ys.empty());
  int previous = from;
  int rises = 0;
  for (int y : ys) {
    EXPECT_TRUE(y == previous || y == previous - 4) << "y went from " << previous << " to " << y;
    rises += (y == previous - 4);
    previous = y;
  }
  EXPECT_EQ(previous, to);
  EXPECT_EQ(rises, (from - to) / 4);
}

TEST_F(StairsTest, ClimbsARisingRightSlopeAndComesBackDown) {
  BuildStairs(true);
  StartIn(StairRoom, 120, StandingY(15));
  std::vector<int> up = WalkTo(Key::Right, 240);
  ExpectClimb(up, StandingY(15), StandingY(12));
  EXPECT_EQ(hero().onStairs, 0);
  EXPECT_EQ(hero().falling, 0);
  EXPECT_EQ(int(heroSprite().x), 240);

  // Standing still at the top the hero stays on the upper floor.
  Steps(3);
  EXPECT_EQ(int(heroSprite().y), StandingY(12));

  std::vector<int> down = WalkTo(Key::Left, 120);
  EXPECT_EQ(down.back(), StandingY(15));
  for (size_t i = 1; i < down.size(); ++i) EXPECT_LE(down[i] - down[i - 1], 4) << "no drop on the way down";
  EXPECT_EQ(Game.dying, 0);
}

TEST_F(StairsTest, ClimbsARisingLeftSlopeAndComesBackDown) {
  BuildStairs(false);
  StartIn(StairRoom, 400, StandingY(15));
  std::vector<int> up = WalkTo(Key::Left, 160);
  ExpectClimb(up, StandingY(15), StandingY(12));
  EXPECT_EQ(hero().falling, 0);

  std::vector<int> down = WalkTo(Key::Right, 400);
  EXPECT_EQ(down.back(), StandingY(15));
  EXPECT_EQ(Game.dying, 0);
}

TEST_F(StairsTest, WallsBlockAtHeadAndBodyHeightButFeetOnlyInMidJump) {
  world_.FloorRoom(StairRoom);
  world_.SetTile(StairRoom, 20, 13, TestSolid);  // body height of a hero standing on row 15
  StartIn(StairRoom, 300, StandingY(15));
  EXPECT_EQ(CheckStairsRight(), 0);
  EXPECT_EQ(hero().stairKind, 6);

  world_.SetTile(StairRoom, 20, 13, 0);
  world_.SetTile(StairRoom, 20, 14, TestSolid);  // foot height
  StartIn(StairRoom, 300, StandingY(14) + 8);
  EXPECT_EQ(CheckStairsRight(), 1) << "standing, a cell at foot height does not block";
  hero().jumpStep = 12;
  hero().jumping = 1;
  EXPECT_EQ(CheckStairsRight(), 0) << "in mid-jump between rows it does";
}

TEST_F(StairsTest, ASlopeJustBelowTheFeetIsSteppedDownTo) {
  BuildStairs(true);
  StartIn(StairRoom, 120, StandingY(15));
  // Over the slope cell (10, 14) the span x 160..167 first meets its blocks at row 376.
  for (int above : {4, 8, 12}) {
    heroSprite().SetPosition(152, 376 - 32 - above);
    hero().falling = 0;
    hero().onStairs = 1;
    float before = heroSprite().y;
    ASSERT_EQ(ProbeFloorBelow(), 1) << above;
    EXPECT_EQ(heroSprite().y, before + 4);
    EXPECT_EQ(hero().falling, 1);
    EXPECT_EQ(hero().onStairs, 0);
  }
  heroSprite().SetPosition(152, 376 - 32);
  hero().onStairs = 0;
  EXPECT_EQ(ProbeFloorBelow(), 1);
  EXPECT_EQ(hero().onStairs, 1);
  hero().onRope = 1;
  EXPECT_EQ(ProbeFloorBelow(), 0) << "nothing while on the rope";
}

TEST_F(HeroTest, ALeftBeltCarriesTheHeroAgainstTheRightKey) {
  world_.FillRow(StairRoom, 15, TestBeltLeft);
  StartIn(StairRoom, 200, StandingY(15));
  Step();  // standing still, the belt takes over
  EXPECT_EQ(hero().onConveyor, 1);
  EXPECT_EQ(hero().walkDir, 1);
  float x = heroSprite().x;
  Hold(Key::Right);
  Steps(5);
  Release(Key::Right);
  EXPECT_EQ(heroSprite().x, x - 5 * 4);
  EXPECT_EQ(hero().walkDir, 1);
  EXPECT_EQ(int(heroSprite().y), StandingY(15));
}

TEST_F(HeroTest, ARightBeltCarriesTheHeroAndAJumpLeavesIt) {
  world_.FillRow(StairRoom, 15, TestBeltRight);
  StartIn(StairRoom, 200, StandingY(15));
  Step();
  Hold(Key::Left);
  Steps(4);
  Release(Key::Left);
  EXPECT_EQ(heroSprite().x, 200 + 4 * 4);
  Hold(Key::Space);
  Step();
  Release(Key::Space);
  EXPECT_EQ(hero().jumping, 1);
  EXPECT_EQ(hero().onConveyor, 0);
}

TEST_F(HeroTest, AHeroWalkingAgainstTheBeltWhenItLandsKeepsWalkingAgainstIt) {
  world_.FillRow(StairRoom, 15, TestBeltLeft);
  StartIn(StairRoom, 200, StandingY(15));
  Hold(Key::Right);
  Steps(3);
  Release(Key::Right);
  EXPECT_EQ(heroSprite().x, 200 + 3 * 4);
  EXPECT_EQ(hero().onConveyor, 0);
}

}  // namespace
