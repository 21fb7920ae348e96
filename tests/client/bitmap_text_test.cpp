// Bitmap-font text: glyph placement, colour, characters without a picture, and the player-name fonts.
#include <gtest/gtest.h>

#include "client/bitmap_text.h"
#include "platform/graphics.h"
#include "screen_support.h"
#include "world/records.h"

namespace {

using clienttest::ScreenTextMismatches;

class BitmapText : public ::testing::Test {
 protected:
  void SetUp() override {
    clienttest::OpenScreenWithPictures();
    SetClsColor(0, 0, 0);
    Cls();
  }
};

TEST_F(BitmapText, BigTextPutsEachGlyphSixteenPixelsOnInItsColour) {
  DrawBigText("Az9", 100, 50, 0, 255, 0);
  int opaque = 0;
  EXPECT_EQ(ScreenTextMismatches(FontImage, "Az9", 100, 50, 0, 255, 0, &opaque), 0);
  EXPECT_GT(opaque, 20);
  // Green text: no red or blue anywhere in it.
  EXPECT_EQ(ReadPixel(99, 50), 0u);
}

TEST_F(BitmapText, SmallTextUsesEightPixelCells) {
  DrawSmallText("IP: 1.2", 320, 236, 255, 255, 255);
  int opaque = 0;
  EXPECT_EQ(ScreenTextMismatches(SmallFontImage, "IP: 1.2", 320, 236, 255, 255, 255, &opaque), 0);
  EXPECT_GT(opaque, 10);
}

TEST_F(BitmapText, CharactersWithoutAPictureLeaveTheirPlaceEmpty) {
  std::string text = "A\xA3" "B\x7F" "C\x05";  // the pound sign (163) and control codes
  DrawBigText(text, 40, 100, 255, 255, 0);
  EXPECT_EQ(ScreenTextMismatches(FontImage, text, 40, 100, 255, 255, 0), 0);
  for (int y = 100; y < 116; ++y)
    for (int x = 56; x < 72; ++x) ASSERT_EQ(ReadPixel(x, y), 0u) << x << "," << y;
}

TEST_F(BitmapText, PrivilegedNamesAreHighlightedOnlyWhereAsked) {
  Players[3].name = "BRANDLEX";
  Players[3].colourR = 255, Players[3].colourG = 128, Players[3].colourB = 0;
  Players[4].name = "  Bob   ";
  Players[4].colourR = 0, Players[4].colourG = 255, Players[4].colourB = 255;

  DrawPlayerName(3, "BRANDLEX", 520, 0, 1);   // the player list
  DrawPlayerName(3, "BRANDLEX", 0, 20, 0);    // the chat
  DrawPlayerName(4, "  Bob   ", 520, 40, 1);  // not privileged
  DrawPlayerName(99, "system", 0, 60, 0);     // system lines: white, inverse
  DrawPlayerText(4, "Bob", 200, 200);

  EXPECT_EQ(ScreenTextMismatches(SmallInverseFontImage, "BRANDLEX", 520, 0, 255, 128, 0), 0);
  EXPECT_EQ(ScreenTextMismatches(SmallFontImage, "BRANDLEX", 0, 20, 255, 128, 0), 0);
  EXPECT_EQ(ScreenTextMismatches(SmallFontImage, "  Bob   ", 520, 40, 0, 255, 255), 0);
  EXPECT_EQ(ScreenTextMismatches(SmallInverseFontImage, "system", 0, 60, 255, 255, 255), 0);
  EXPECT_EQ(ScreenTextMismatches(FontImage, "Bob", 200, 200, 0, 255, 255), 0);
  EXPECT_TRUE(IsPrivilegedName("  PLOM  "));
  EXPECT_TRUE(IsPrivilegedName(" KWERT  "));
  EXPECT_TRUE(IsPrivilegedName(" FENNIX "));
  EXPECT_FALSE(IsPrivilegedName("PLOM"));
  Players[3] = PlayerType();
  Players[4] = PlayerType();
}

TEST_F(BitmapText, ColourCodesThatNameNoSlotAreSafe) {
  DrawPlayerName(-1, "x", 0, 0, 1);
  DrawPlayerName(16, "x", 0, 0, 1);
  DrawPlayerName(255, "x", 0, 0, 1);
  DrawPlayerText(200, "x", 100, 100);
  EXPECT_EQ(ScreenTextMismatches(SmallFontImage, "x", 0, 0, 255, 255, 255), 0);
  EXPECT_EQ(ScreenTextMismatches(FontImage, "x", 100, 100, 255, 255, 255), 0);
}

TEST_F(BitmapText, ThePanelListsPlayersOutsideTheLoungeFromTheTop) {
  for (ChatMessagesType& line : ChatLines) line = ChatMessagesType{"", -1};
  ChatLines[2] = ChatMessagesType{"hello", 99};
  MySlot = 0;
  Game.room = 32;
  Game.spectating = 0;
  Players[0].name = "  Ann   ";
  Players[0].colourR = Players[0].colourG = Players[0].colourB = 255;
  Players[5].name = "  Cid   ";
  Players[5].room = LoungeRoom;
  Players[5].colourR = 0, Players[5].colourG = 255, Players[5].colourB = 0;
  DrawChatAndPlayerPanel();
  EXPECT_EQ(Players[0].room, 32);  // the local player's room follows the shown room
  EXPECT_EQ(ScreenTextMismatches(SmallInverseFontImage, "hello", 0, 18, 255, 255, 255), 0);
  EXPECT_EQ(ScreenTextMismatches(SmallFontImage, "Ann", 536, 0, 255, 255, 255), 0);  // right of the grey line
  EXPECT_EQ(ScreenTextMismatches(SmallFontImage, "Cid", 536, 189, 0, 255, 0), 0);
  EXPECT_EQ(ReadPixel(100, 126), 0xC0C0C0u);  // the grey separators
  EXPECT_EQ(ReadPixel(520, 300), 0xC0C0C0u);
  for (PlayerType& p : Players) p = PlayerType();
  for (ChatMessagesType& line : ChatLines) line = ChatMessagesType();
}

}  // namespace
