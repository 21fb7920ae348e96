// The world step: its pacing against the frame clock, the animation clock, the respawn
// blink, dying, the tag banners and the spectating keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "net/messages.h"
#include "tests/world/sent_message.h"
#include "tests/world/test_rooms.h"
#include "world/movement.h"

namespace {

// The clock of this test program only moves when a test moves it (a frame of 1000/60 ms per
// AdvanceFastClock, or Delay), so the pacing tests never depend on how fast the machine is.
const bool FastClockSet = [] {
  setenv("QXR_FAST", "1", 0);
  return true;
}();

constexpr int Room = 12;

class WorldStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FastClockSet && FastClock());
    Delay(1000);  // a clock of 0 would read as "no tag event"
    ResetWorldState();
    world.FloorRoom(Room, "Step Room");
    world.FloorRoom(BriefingRoom);
    world.FloorRoom(TeamRoom);
    world.SelectAsMain();
    MakeHero(100, 352);
    EnterTestRoom(Room);
  }
  void TearDown() override { FlushKeys(); }
  PlayerType& hero() { return Players[MySlot]; }
  TestWorld world;
};

TEST_F(WorldStepTest, FramesOf16msGiveAStepOnEveryThirdFrame) {
  LastStepTime = MilliSecs();
  InjectKeyDown(Key::Right);
  std::string stepped;
  for (int frame = 1; frame <= 12; ++frame) {
    AdvanceFastClock();
    float before = hero().sprite->x;
    GameStep();
    GameStep();  // a second call in the same frame never steps again
    stepped += hero().sprite->x == before ? '.' : 'S';
  }
  InjectKeyUp(Key::Right);
  EXPECT_EQ(stepped, "..S..S..S..S");
  EXPECT_EQ(hero().sprite->x, 100 + 4 * 4);
}

TEST_F(WorldStepTest, AnOnlineHeroThatStopsTellsItsPlaceOnceMore) {
  BindNetOnce();  // no interface: what is sent stays in OutStream
  Game.singlePlayer = 0;
  InjectKeyDown(Key::Right);
  for (int frame = 0; frame < 30; ++frame) {
    AdvanceFastClock();
    GameStep();
  }
  InjectKeyUp(Key::Right);
  const int pending = Moved;  // a step whose state has not gone yet
  std::vector<int> sentX;
  for (int frame = 0; frame < 60; ++frame) {
    MarkNothingSent();
    AdvanceFastClock();
    GameStep();
    MsgPlayerState state;
    if (SentMessage(state)) sentX.push_back(state.x);
  }
  Game.singlePlayer = 1;
  EXPECT_EQ(sentX, std::vector<int>(pending + 1, static_cast<int>(hero().sprite->x)))
      << "one state more after the last move, at the place the hero stands";
}

TEST_F(WorldStepTest, ExactlyStepMsAfterTheLastStepIsTooSoon) {
  InjectKeyDown(Key::Right);
  LastStepTime = MilliSecs() - Game.stepMs;
  GameStep();
  EXPECT_EQ(hero().sprite->x, 100);
  LastStepTime = MilliSecs() - Game.stepMs - 1;
  GameStep();
  EXPECT_EQ(hero().sprite->x, 104);
  EXPECT_EQ(LastStepTime, MilliSecs());
  InjectKeyUp(Key::Right);
}

TEST_F(WorldStepTest, AnimationTicksOnEveryFifthStepAndThePhaseWraps) {
  ASSERT_EQ(AnimPhase, 0);
  std::string ticks;
  for (int step = 0; step < 21; ++step) {
    WorldStep();
    ticks += AnimTick ? 'T' : '.';
  }
  EXPECT_EQ(ticks, "T....T....T....T....T");
  EXPECT_EQ(AnimCounter, 5);
  EXPECT_EQ(AnimPhase, 1) << "five ticks: 1, 2, 3, 0, 1";
}

TEST_F(WorldStepTest, RespawnBlinkShowsTheHeroOnEveryFifthStepThenForGood) {
  Game.respawnBlink = 100;
  std::string shown;
  for (int step = 0; step < 12; ++step) {
    WorldStep();
    shown += hero().sprite->hidden ? '.' : 'O';
  }
  EXPECT_EQ(shown, "O....O....O.");  // counts 99, 94, 89 have the remainder 4
  Game.respawnBlink = 2;
  WorldStep();
  EXPECT_EQ(hero().sprite->hidden, 1);
  WorldStep();
  EXPECT_EQ(Game.respawnBlink, 0);
  EXPECT_EQ(hero().sprite->hidden, 0);
}

TEST_F(WorldStepTest, ADyingHeroStopsMovingAtOnce) {
  hero().sprite->y = 300;
  hero().falling = 1;
  Game.fallDistance = 51;
  Game.dying = 1;
  InjectKeyDown(Key::Right);
  WorldStep();
  WorldStep();
  InjectKeyUp(Key::Right);
  EXPECT_EQ(hero().sprite->y, 300);
  EXPECT_EQ(hero().sprite->x, 100);
}

TEST_F(WorldStepTest, ATagEventHoldsTheHeroForFiveSeconds) {
  Game.gameMode = 30;
  Game.tagEventTime = MilliSecs();
  InjectKeyDown(Key::Right);
  WorldStep();
  EXPECT_EQ(hero().sprite->x, 100) << "input is ignored while the banner shows";
  Delay(5000);
  WorldStep();
  EXPECT_NE(Game.tagEventTime, 0) << "exactly 5000 ms is not more than 5000";
  Delay(1);
  WorldStep();
  EXPECT_EQ(Game.tagEventTime, 0);
  EXPECT_EQ(hero().sprite->x, 104) << "the step that ends the banner reads the keys again";
  InjectKeyUp(Key::Right);
}

TEST_F(WorldStepTest, TheBulldogBannerLastsTenSeconds) {
  Game.gameMode = 32;
  Game.tagEventTime = MilliSecs();
  Delay(9000);
  WorldStep();
  EXPECT_NE(Game.tagEventTime, 0);
  Delay(1001);
  WorldStep();
  EXPECT_EQ(Game.tagEventTime, 0);
}

class SpectatingKeysTest : public WorldStepTest {
 protected:
  void SetUp() override {
    WorldStepTest::SetUp();
    Game.singlePlayer = 0;  // online: the own state is not due, so nothing is sent
    LastSendTime = MilliSecs() + 1000000;
  }
};

TEST_F(SpectatingKeysTest, SStartsFollowingOutsideTheBriefingAndTeamRooms) {
  InjectKeyHit(Key::A + ('S' - 'A'));
  WorldStep();
  EXPECT_EQ(Game.ownRoom, Room) << "the own room is kept before following someone";
  EXPECT_EQ(Game.spectating, 0) << "nobody else is outside the lobby";
  for (int room : {BriefingRoom, TeamRoom}) {
    Game.ownRoom = 0;
    Game.room = room;
    InjectKeyHit(Key::A + ('S' - 'A'));
    WorldStep();
    EXPECT_EQ(Game.ownRoom, 0) << "room " << room;
  }
}

TEST_F(SpectatingKeysTest, SIsIgnoredAloneInTheAirAndWhileChatting) {
  Game.singlePlayer = 1;
  InjectKeyHit(Key::A + ('S' - 'A'));
  WorldStep();
  EXPECT_EQ(Game.ownRoom, 0);
  Game.singlePlayer = 0;
  // An S typed into the chat line does not start following once the line is closed.
  Game.chatEntryOpen = 1;
  InjectKeyHit(Key::A + ('S' - 'A'));
  WorldStep();
  Game.chatEntryOpen = 0;
  WorldStep();
  EXPECT_EQ(Game.ownRoom, 0);
  hero().jumping = 1;
  InjectKeyHit(Key::A + ('S' - 'A'));
  WorldStep();
  EXPECT_EQ(Game.ownRoom, 0);
}

}  // namespace
