// The game session in single play, frame by frame on a small built world: the start, the loop's keys, the chat line, the falling sound.
#include <gtest/gtest.h>

#include <cstdlib>

#include "client/client_records.h"
#include "client/game_session.h"
#include "client/hud.h"
#include "client/line_editor.h"
#include "client/sound_effects.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "tests/world/test_rooms.h"
#include "world/enter_room.h"
#include "world/records.h"
#include "world/static_data.h"
#include "world/text_utils.h"

namespace {

// Room 32: a floor along the bottom, its right exit to room 33 ("Next Room"), whose left
// exit leads back. Room 40 has no floor under the start position (the hero falls forever).
TestWorld SmallWorld() {
  TestWorld world;
  world.FloorRoom(32, "Start Room");
  world.SetExits(32, 0, 33, 0, 0);
  world.FloorRoom(33, "Next Room");
  world.SetExits(33, 0, 0, 0, 32);
  world.FillRow(40, 15, TestSolid, 10, 31);
  world.SetName(40, "Pit");
  return world;
}

Image OpaqueImage(int width, int height, int frames) {
  Image image = CreateImage(width, height, frames);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xFFFFFFFF);
  for (int f = 0; f < frames; ++f) WriteImagePixels(image, f, pixels.data());
  return image;
}

class SinglePlay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QXR_FAST", "1", 1);  // flips do not wait (when the clock has not been read before)
    ASSERT_TRUE(Graphics(640, 480));
    for (Image& skin : Skins) skin = OpaqueImage(16, 32, 4);
    TilesImage = OpaqueImage(16, 16, 528);
    CreateClientRecords();
    ReadMovementTables();
  }

  void SetUp() override {
    SmallWorld().Register("maps");
    FlushKeys();
    EditBuffer.clear();
    Game.singlePlayer = 1;
    Game.gameMode = 0;
    Game.chatEntryOpen = 0;
    Hosting = 0;
    MySlot = 0;
    PlayerName = AlignText("Tester", 8, "C");
    SelectedSkin = 0;
    SfxOn = 1;
    NoSound = 0;
    StartGame();
  }
  void TearDown() override {
    FlushKeys();
    LeaveGame();
  }

  static PlayerType& Hero() { return Players[MySlot]; }
  // One frame, with a world step due in it whatever the clock did.
  static bool Frame() {
    LastStepTime = MilliSecs() - 1000;
    return GameLoopPass();
  }
};

}  // namespace

TEST_F(SinglePlay, StartsInRoom32WithNineLivesAtSevenInTheMorning) {
  EXPECT_EQ(Game.room, SinglePlayerRoom);
  EXPECT_EQ(AlignText(RoomTitle, 33, "L").substr(0, 10), "Start Room");
  ASSERT_TRUE(Hero().sprite);
  EXPECT_EQ(Hero().sprite->x, 32);
  EXPECT_EQ(Hero().sprite->y, 352);
  EXPECT_EQ(Hero().lives, 9);
  EXPECT_EQ(Hero().score, 0);
  EXPECT_EQ(Hero().name, " Tester ");
  EXPECT_EQ(Hero().following, NoPlayer);
  EXPECT_EQ(Game.dayClock, DayClockStart);
  EXPECT_EQ(PlayReady, 1);
  EXPECT_EQ(Game.fallDistance, -1);
  EXPECT_EQ(Game.entryX, 32);
  EXPECT_EQ(Game.entryY, 352);
  EXPECT_EQ(VisitCounts[32], 1);
  EXPECT_TRUE(Frame());
  EXPECT_EQ(Game.dayClock, DayClockStart + 5);
}

TEST_F(SinglePlay, EveryGameStartsInTheMorningAndAfresh) {
  // The last game ended in the afternoon, in the middle of a death, of a jump and of a blink.
  Game.amPm = "pm";
  Game.dayClock = 3 * 14400;
  Game.dying = 1;
  Game.dyingSteps = 20;
  Game.respawnBlink = 40;
  Hero().jumping = 1;
  Hero().lives = 2;
  Hero().score = 17;
  LeaveGame();
  StartGame();
  EXPECT_EQ(TickDayClock(), "7:00am");
  EXPECT_EQ(Game.dying, 0);
  EXPECT_EQ(Game.dyingSteps, 0);
  EXPECT_EQ(Game.respawnBlink, 0);
  EXPECT_EQ(Hero().jumping, 0);
  EXPECT_EQ(Hero().lives, 9);
  EXPECT_EQ(Hero().score, 0);
}

TEST_F(SinglePlay, WalkingRightLeavesThroughTheExitIntoTheNextRoom) {
  InjectKeyDown(Key::Right);
  int frames = 0;
  while (Game.room == SinglePlayerRoom && frames < 600) {
    ASSERT_TRUE(Frame());
    EXPECT_LT(AnimCounter, 4);
    ++frames;
  }
  InjectKeyUp(Key::Right);
  ASSERT_EQ(Game.room, 33);
  EXPECT_EQ(AlignText(RoomTitle, 33, "L").substr(0, 9), "Next Room");
  EXPECT_EQ(Hero().sprite->x, 8);
  EXPECT_EQ(Hero().sprite->y, 352);
  EXPECT_EQ(Game.entryX, 8);
  // 4 pixels a world step from x 32 until past 494.
  EXPECT_EQ(frames, (496 - 32) / 4);
}

TEST_F(SinglePlay, EscapeLeavesAtOnce) {
  InjectKeyHit(Key::Escape);
  EXPECT_FALSE(Frame());
}

TEST_F(SinglePlay, EscapeWithTheChatLineOpenOnlyClosesIt) {
  InjectKeyHit('Y');
  ASSERT_TRUE(Frame());
  ASSERT_EQ(Game.chatEntryOpen, 1);
  InjectText("abc");
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Frame());
  EXPECT_EQ(EditBuffer, "abc");
  InjectKeyHit(Key::Escape);
  EXPECT_TRUE(Frame());
  EXPECT_EQ(Game.chatEntryOpen, 0);
  EXPECT_EQ(EditBuffer, "");
  // The next Escape leaves.
  InjectKeyHit(Key::Escape);
  EXPECT_FALSE(Frame());
}

TEST_F(SinglePlay, ChatLinesAreNotSentButTheGoalIsShown) {
  ChatLines[13] = ChatMessagesType();
  InjectKeyHit(Key::Enter);
  ASSERT_TRUE(Frame());
  ASSERT_EQ(Game.chatEntryOpen, 1);
  InjectText("hello");
  InjectKeyHit(Key::Enter);
  for (int i = 0; i < 8 && Game.chatEntryOpen; ++i) ASSERT_TRUE(Frame());
  EXPECT_EQ(Game.chatEntryOpen, 0);
  EXPECT_EQ(ChatLines[13].text, "");

  Game.bannerTitle = AlignText("First to collect", 32, "C");
  Game.bannerGoal = AlignText("30 pickups wins", 32, "C");
  InjectKeyHit('Y');
  ASSERT_TRUE(Frame());
  InjectText("/gAmE please");
  InjectKeyHit(Key::Enter);
  for (int i = 0; i < 16 && Game.chatEntryOpen; ++i) ASSERT_TRUE(Frame());
  EXPECT_EQ(Game.chatEntryOpen, 0);
  EXPECT_EQ(ChatLines[13].text, "First to collect 30 pickups wins");
  EXPECT_EQ(ChatLines[13].colour, 99);

  // The cheat words are consumed and change nothing.
  InjectKeyHit('Y');
  ASSERT_TRUE(Frame());
  InjectText("cheat on");
  InjectKeyHit(Key::Enter);
  for (int i = 0; i < 12 && Game.chatEntryOpen; ++i) ASSERT_TRUE(Frame());
  EXPECT_EQ(Game.cheatMode, 0);
  EXPECT_EQ(ChatLines[13].text, "First to collect 30 pickups wins");
  Game.bannerTitle.clear();
  Game.bannerGoal.clear();
}

TEST_F(SinglePlay, MusicKeysOnlyWhileAGameModeIsSet) {
  TuneCount = 2;
  Tunes[1] = "a.mod";
  Tunes[2] = "b.mod";
  TuneIndex = 2;
  MusicOn = 1;
  InjectKeyHit(Key::F6);
  ASSERT_TRUE(Frame());
  EXPECT_EQ(TuneIndex, 2);  // no game mode in single play: the keys are not read

  Game.gameMode = 5;
  InjectKeyHit(Key::F6);
  ASSERT_TRUE(Frame());
  EXPECT_EQ(TuneIndex, 1);  // past the last tune back to the first, never to OFF
  EXPECT_EQ(MusicOn, 1);
  InjectKeyHit(Key::F5);
  ASSERT_TRUE(Frame());
  EXPECT_EQ(TuneIndex, 1);

  NoSound = 1;
  InjectKeyHit(Key::F6);
  ASSERT_TRUE(Frame());
  EXPECT_EQ(TuneIndex, 1);
  Game.gameMode = 0;
  TuneIndex = 0;
  MusicOn = 0;
  TuneCount = 0;
}

TEST_F(SinglePlay, FallingLowersTheFallingSoundAndLandingResetsIt) {
  Game.room = 40;
  EnterRoom();
  Hero().sprite->SetPosition(32, 352);
  int fallingFrames = 0;
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(Frame());
    if (Hero().falling) ++fallingFrames;
  }
  ASSERT_GT(fallingFrames, 30);
  EXPECT_NEAR(FallSoundRate, 1.0f - 0.005f * fallingFrames, 1e-4);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(Frame());
  EXPECT_FLOAT_EQ(FallSoundRate, 0.5f);
  EXPECT_GT(Game.fallDistance, 80);

  // Put down on the floor after a survivable fall, the rate and the fall counter are back at rest.
  Hero().falling = 0;
  Game.fallDistance = 40;
  Hero().sprite->SetPosition(320, 352);
  ASSERT_TRUE(Frame());
  EXPECT_EQ(Hero().falling, 0);
  EXPECT_FLOAT_EQ(FallSoundRate, 1.0f);
  EXPECT_EQ(Game.fallDistance, -1);
}
