// The enemy loader (speed codes, stationary enemies, short and oversized files), the patrols
// and the arrow timers.
#include "client/sound_effects.h"
#include "platform/sound.h"
#include "tests/world/hero_fixture.h"
#include "world/enemy_contact.h"

namespace {

constexpr int EnemyRoom = 50;

class EnemiesTest : public HeroTest {
 protected:
  void Enter() { StartIn(EnemyRoom, 32, StandingY(15)); }
  EnemyPickk& RoomEnemy(int n) {
    auto it = RoomEnemies.begin();
    std::advance(it, n);
    return *it;
  }
};

TestEnemy Patroller(int x, int bound1, int bound2, int facing, int speedCode = 0) {
  TestEnemy e;
  e.room = EnemyRoom;
  e.x = x;
  e.y = 100;
  e.boundX1 = bound1;
  e.boundY1 = 244;
  e.boundX2 = bound2;
  e.boundY2 = 244;
  e.facing = facing;
  e.speedCode = speedCode;
  e.moveType = 1;
  return e;
}

TestEnemy Arrow(int kind, int facing) {
  TestEnemy e;
  e.room = EnemyRoom;
  e.x = 200;
  e.y = 200;
  e.boundX1 = 0;
  e.boundX2 = 500;
  e.kind = kind;
  e.facing = facing;
  e.speedCode = 4;  // 8 pixels a step
  return e;
}

TEST_F(EnemiesTest, TheLoaderConvertsSpeedsAndMakesEqualEndsStationary) {
  world_.AddEnemy(Patroller(100, 100, 200, 3, 8));
  world_.AddEnemy(Patroller(100, 100, 200, 3, 0));
  world_.AddEnemy(Patroller(100, 100, 200, 3, 7));
  world_.AddEnemy(Patroller(150, 150, 150, 3, 0));
  world_.SelectAsMain();
  ASSERT_EQ(LastEnemy, 3);
  EXPECT_EQ(Enemies[0].speed, 1);
  EXPECT_EQ(Enemies[1].speed, 4);
  EXPECT_EQ(Enemies[2].speed, 11);
  EXPECT_EQ(Enemies[0].moveType, 1);
  EXPECT_EQ(Enemies[3].moveType, 5);
  EXPECT_EQ(Enemies[0].room, EnemyRoom);
  EXPECT_EQ(Enemies[0].boundX2, 200);
  EXPECT_EQ(Enemies[0].facing, 3);
}

TEST_F(EnemiesTest, TheLoaderIgnoresAShortTailAndStopsAtTheTableSize) {
  world_.AddEnemy(Patroller(100, 100, 200, 3));
  world_.AddEnemy(Patroller(120, 100, 200, 3));
  world_.EnemyFile().resize(world_.EnemyFile().size() - 1);  // the second record cut short
  world_.SelectAsMain();
  EXPECT_EQ(LastEnemy, 0);

  TestWorld big;
  for (int i = 0; i < MaxEnemies + 50; ++i) big.AddEnemy(Patroller(i % 400, 0, 400, 3));
  big.SelectAsMain();
  EXPECT_EQ(LastEnemy, MaxEnemies - 1);
  EXPECT_EQ(Enemies[MaxEnemies - 1].x, (MaxEnemies - 1) % 400);

  TestWorld none;
  none.SelectAsMain();
  EXPECT_EQ(LastEnemy, -1);
}

TEST_F(EnemiesTest, AHorizontalPatrolTurnsAtBothEndsOfItsPath) {
  world_.AddEnemy(Patroller(200, 100, 200, 3));  // starts at its right end facing right
  Enter();
  ASSERT_EQ(RoomEnemies.size(), 1u);
  EnemyPickk& e = RoomEnemy(0);
  sprite& s = *e.sprite;
  EXPECT_EQ(s.y, 100 + 144);
  UpdateRoomEnemies();
  EXPECT_EQ(s.x, 196) << "turned left at once";
  EXPECT_EQ(e.moveDir, 2);
  EXPECT_EQ(s.mirrored, 0);
  int steps = 1;
  while (e.moveDir == 2 && steps < 100) {
    UpdateRoomEnemies();
    ++steps;
  }
  EXPECT_EQ(s.x, 104) << "at x 100 it turns right and steps on";
  EXPECT_EQ(s.mirrored, 1);
  EXPECT_EQ(steps, 26);
  for (int i = 0; i < 30; ++i) {
    UpdateRoomEnemies();
    ASSERT_GE(s.x, 96);
    ASSERT_LE(s.x, 204);
  }
}

TEST_F(EnemiesTest, AVerticalPatrolTurnsAtItsEndsAndAStationaryEnemyStays) {
  TestEnemy lift = Patroller(300, 300, 300, 1, 8);
  lift.y = 150;  // screen y 294
  lift.boundY1 = 290;
  lift.boundY2 = 300;
  lift.moveType = 2;
  world_.AddEnemy(lift);
  world_.AddEnemy(Patroller(150, 150, 150, 3));
  Enter();
  ASSERT_EQ(RoomEnemies.size(), 2u);
  sprite& liftSprite = *RoomEnemy(0).sprite;
  sprite& still = *RoomEnemy(1).sprite;
  std::vector<int> ys;
  for (int i = 0; i < 16; ++i) {
    UpdateRoomEnemies();
    ys.push_back(int(liftSprite.y));
  }
  std::vector<int> expected = {295, 296, 297, 298, 299, 300, 299, 298, 297, 296, 295, 294, 293, 292, 291, 290};
  EXPECT_EQ(ys, expected);
  UpdateRoomEnemies();
  EXPECT_EQ(liftSprite.y, 291);
  EXPECT_EQ(still.x, 150);
  EXPECT_EQ(still.y, 244);
}

TEST_F(EnemiesTest, AnArrowSoundsAtStep40EntersAt50AndComesAgainEachPeriod) {
  world_.AddEnemy(Arrow(ArrowKindI, 2));  // flying left
  Enter();
  ASSERT_EQ(RoomEnemies.size(), 1u);
  EXPECT_EQ(ArrowTimer, 150);
  sprite& s = *RoomEnemy(0).sprite;
  EXPECT_TRUE(s.hidden);
  for (int period = 0; period < 2; ++period) {
    for (int step = 1; step <= 150; ++step) {
      UpdateRoomEnemies();
      if (step < 50) {
        ASSERT_TRUE(s.hidden) << step;
      }
      if (step == 50) {
        EXPECT_FALSE(s.hidden);
        EXPECT_EQ(s.x, 496) << "placed at the right edge";
      }
      if (step == 51) {
        EXPECT_EQ(s.x, 488);
      }
    }
    EXPECT_EQ(ArrowCount1, 0) << "the counter starts over after a period";
    EXPECT_TRUE(s.hidden) << "gone past the left edge";
  }
}

TEST_F(EnemiesTest, ARightFlyingArrowEntersAtTheLeftEdgeAndVanishesPastTheRight) {
  world_.AddEnemy(Arrow(ArrowKindI, 3));
  Enter();
  sprite& s = *RoomEnemy(0).sprite;
  for (int i = 0; i < 50; ++i) UpdateRoomEnemies();
  EXPECT_EQ(s.x, -16);
  EXPECT_FALSE(s.hidden);
  int steps = 0;
  while (!s.hidden && steps < 200) {
    UpdateRoomEnemies();
    ++steps;
  }
  EXPECT_GT(s.x, 496);
  EXPECT_EQ(steps, 65);  // from -16 in steps of 8 past 496
}

TEST_F(EnemiesTest, TheSecondArrowKindFliesFirst200StepsAfterEntry) {
  world_.AddEnemy(Arrow(ArrowKindJ, 2));
  Enter();
  EXPECT_EQ(ArrowCount2, -150);
  sprite& s = *RoomEnemy(0).sprite;
  for (int i = 1; i < 200; ++i) {
    UpdateRoomEnemies();
    ASSERT_TRUE(s.hidden) << i;
  }
  UpdateRoomEnemies();
  EXPECT_FALSE(s.hidden);
  EXPECT_EQ(s.x, 496);
}

TEST_F(EnemiesTest, TwoArrowsOfAKindShareOneCounterWithALongerPeriod) {
  world_.AddEnemy(Arrow(ArrowKindI, 2));
  world_.AddEnemy(Arrow(ArrowKindI, 3));
  Enter();
  EXPECT_EQ(ArrowTimer, 300);
  UpdateRoomEnemies();
  EXPECT_EQ(ArrowCount1, 2);
  for (int i = 1; i < 150; ++i) UpdateRoomEnemies();
  EXPECT_EQ(ArrowCount1, 0);
}

TEST_F(EnemiesTest, TheArrowSoundPlaysOnceAPeriodWhenEffectsAreOn) {
  if (!OpenAudio()) GTEST_SKIP() << "no audio device";
  // A short WAV of silence: 8 kHz mono 16-bit, 400 samples.
  std::vector<uint8_t> wav;
  auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) wav.push_back(uint8_t(v >> (8 * i))); };
  auto put16 = [&](uint16_t v) { wav.push_back(uint8_t(v)); wav.push_back(uint8_t(v >> 8)); };
  auto tag = [&](const char* t) { wav.insert(wav.end(), t, t + 4); };
  tag("RIFF"); put32(36 + 800); tag("WAVE");
  tag("fmt "); put32(16); put16(1); put16(1); put32(8000); put32(16000); put16(2); put16(16);
  tag("data"); put32(800);
  wav.insert(wav.end(), 800, 0);
  static std::vector<uint8_t> kept;
  kept = wav;
  RegisterEmbeddedFile("tests/arrow.wav", kept.data(), kept.size());
  ArrowSound = LoadSound("incbin::tests/arrow.wav");
  ASSERT_TRUE(ArrowSound);

  world_.AddEnemy(Arrow(ArrowKindI, 2));
  Enter();
  SfxOn = 1;
  SfxChannels.clear();
  for (int i = 1; i < 40; ++i) UpdateRoomEnemies();
  EXPECT_EQ(SfxChannels.size(), 0u);
  UpdateRoomEnemies();
  EXPECT_EQ(SfxChannels.size(), 1u);
  SfxOn = 0;
  for (int i = 0; i < 150; ++i) UpdateRoomEnemies();
  EXPECT_EQ(SfxChannels.size(), 1u) << "not with effects off";
  SfxChannels.clear();
  ArrowSound.reset();
}

}  // namespace
