// The HUD: the day clock and the round clock, the lives icons, name tags and the score table switch.
#include <gtest/gtest.h>

#include <vector>

#include "client/game_session.h"
#include "client/hud.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "world/records.h"

namespace {

// Opaque white pictures stand in for the skin and the small font, so every drawn icon or
// letter leaves a solid block on the screen.
Image SolidImage(int width, int height, int frames) {
  Image image = CreateImage(width, height, frames);
  std::vector<uint32_t> white(static_cast<size_t>(width) * height, 0xFFFFFFFF);
  for (int f = 0; f < frames; ++f) WriteImagePixels(image, f, white.data());
  return image;
}

bool AnyLit(int x, int y, int width, int height) {
  for (int j = y; j < y + height; ++j)
    for (int i = x; i < x + width; ++i)
      if (ReadPixel(i, j) != 0) return true;
  return false;
}

class HudDrawing : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(Graphics(640, 480)); }
  void SetUp() override {
    Skins[0] = SolidImage(20, 32, 4);
    SmallFontImage = SolidImage(8, 8, 96);
    SmallInverseFontImage = SmallFontImage;
    SelectedSkin = 0;
    MySlot = 0;
    for (int i = 0; i < MaxPlayers; ++i) {
      PlayerColourR[i] = PlayerColourG[i] = PlayerColourB[i] = 255;
      Players[i].colourR = Players[i].colourG = Players[i].colourB = 255;
    }
    SetClsColor(0, 0, 0);
    Cls();
  }
};

}  // namespace

TEST(DayClock, StartsAtSevenAndAdvancesOneMinuteEvery48Frames) {
  Game.dayClock = DayClockStart;
  Game.amPm = "am";
  EXPECT_EQ(TickDayClock(), "7:00am");
  for (int frame = 1; frame < 48; ++frame) EXPECT_EQ(TickDayClock(), "7:00am") << frame;
  EXPECT_EQ(TickDayClock(), "7:01am");
  Game.dayClock = DayClockStart + 60 * 240;  // 8:00
  EXPECT_EQ(TickDayClock(), "8:00am");
  Game.dayClock = 10 * 14400 + 5 * 240;
  EXPECT_EQ(TickDayClock(), "10:05am");
}

TEST(DayClock, SuffixSwitchesWhenThirteenWouldBeReached) {
  Game.dayClock = 12 * 14400 + 59 * 240;  // 12:59
  Game.amPm = "am";
  for (int frame = 0; frame < 48; ++frame) EXPECT_EQ(TickDayClock(), "12:59am") << frame;
  EXPECT_EQ(TickDayClock(), "1:00pm");
  EXPECT_EQ(Game.amPm, "pm");
  // Twelve hours later it switches back.
  Game.dayClock = 12 * 14400 + 59 * 240;
  for (int frame = 0; frame < 48; ++frame) TickDayClock();
  EXPECT_EQ(TickDayClock(), "1:00am");
}

TEST(RoundClock, CountsDownToZeroThenShowsNegativeNumbers) {
  EXPECT_EQ(RoundClockText(300000, 0), "05:00");
  EXPECT_EQ(RoundClockText(300000, 1), "04:59");
  EXPECT_EQ(RoundClockText(100000, 99500), "00:00");
  EXPECT_EQ(RoundClockText(100000, 105000), "00:-5");
}

TEST_F(HudDrawing, DayClockStandsStillInTimedModesAndRunsOtherwise) {
  Game.dayClock = DayClockStart;
  Game.gameMode = 12;
  Game.roundTime = 0;
  DrawHud();
  EXPECT_EQ(Game.dayClock, DayClockStart);
  Game.gameMode = 72;
  DrawHud();
  EXPECT_EQ(Game.dayClock, DayClockStart);
  Game.gameMode = 0;
  DrawHud();
  EXPECT_EQ(Game.dayClock, DayClockStart + 5);
}

TEST_F(HudDrawing, AtMostTenLivesIcons) {
  Players[0].lives = 12;
  DrawLivesIcons();
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(AnyLit(25 * i, 445, 20, 32)) << "icon " << i;
  EXPECT_FALSE(AnyLit(250, 445, 100, 32));

  Cls();
  Players[0].lives = 0;
  DrawLivesIcons();
  EXPECT_FALSE(AnyLit(0, 445, 640, 32));

  Players[0].lives = 3;
  DrawLivesIcons();
  EXPECT_TRUE(AnyLit(50, 445, 20, 32));
  EXPECT_FALSE(AnyLit(75, 445, 200, 32));
}

TEST_F(HudDrawing, NameTagsOnlyForPlayersInTheShownRoom) {
  Game.room = 40;
  Game.spectating = 0;
  Game.showNames = 1;
  for (PlayerType& p : Players) p.name.clear();
  auto place = [](int slot, int room, float x, float y) {
    Players[slot].name = " player ";
    Players[slot].room = room;
    if (!Players[slot].sprite) Players[slot].sprite = sprite::Create(Skins[0], 0, 0);
    Players[slot].sprite->SetPosition(x, y);
  };
  place(0, 99, 100, 200);  // the own room field lags behind: the own tag is drawn anyway
  place(3, 40, 300, 200);
  place(5, 41, 400, 300);
  DrawNameTags();
  EXPECT_TRUE(AnyLit(82, 191, 64, 8));
  EXPECT_TRUE(AnyLit(282, 191, 64, 8));
  EXPECT_FALSE(AnyLit(382, 291, 64, 8));

  // While following someone into another room, the own tag is not drawn.
  Cls();
  Game.spectating = 1;
  Game.ownRoom = 12;
  DrawNameTags();
  EXPECT_FALSE(AnyLit(82, 191, 64, 8));
  EXPECT_TRUE(AnyLit(282, 191, 64, 8));
  Game.spectating = 0;

  Cls();
  Game.showNames = 0;
  DrawNameTags();
  EXPECT_FALSE(AnyLit(0, 0, 640, 480));
  Game.showNames = 1;
  for (PlayerType& p : Players) p.name.clear();
}

TEST_F(HudDrawing, ScoreTableStaysOpenUntilTabIsHitAgain) {
  ShowScores = 0;
  FlushKeys();
  DrawScoreTable();
  EXPECT_EQ(ShowScores, 0);
  InjectKeyHit(Key::Tab);
  DrawScoreTable();
  EXPECT_EQ(ShowScores, 1);
  for (int frame = 0; frame < 5; ++frame) DrawScoreTable();
  EXPECT_EQ(ShowScores, 1);
  EXPECT_TRUE(AnyLit(32, 32, 576, 416));
  InjectKeyHit(Key::Tab);
  DrawScoreTable();
  EXPECT_EQ(ShowScores, 0);
  SetAlpha(1);
}
