// Text buttons: the hover boxes, one click per press with the shared click delay, the small button.
#include <gtest/gtest.h>

#include "client/bitmap_text.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "screen_support.h"
#include "world/records.h"

namespace {

using clienttest::ScreenTextMismatches;

class TextButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    clienttest::OpenScreenWithPictures();
    ClickDelay = 0;
    FlushMouse();
    InjectMouse(0, 0);
    Cls();
  }
  void TearDown() override { FlushMouse(); }
};

TEST_F(TextButtons, TheHoverBoxCoversTheTextAndOneRowBelowIt) {
  const std::string text = "F2...Single Player";  // 18 characters: 288 pixels
  InjectMouse(90 + 288 - 1, 114 + 16);
  EXPECT_EQ(TextButton(text, 90, 114, 0, 255, 0), 0);  // hovered but not pressed
  EXPECT_EQ(ScreenTextMismatches(InverseFontImage, text, 90, 114, 0, 255, 0), 0);

  Cls();
  InjectMouse(90 + 288, 114);
  TextButton(text, 90, 114, 0, 255, 0);
  EXPECT_EQ(ScreenTextMismatches(FontImage, text, 90, 114, 0, 255, 0), 0);
  Cls();
  InjectMouse(90, 114 + 17);
  TextButton(text, 90, 114, 0, 255, 0);
  EXPECT_EQ(ScreenTextMismatches(FontImage, text, 90, 114, 0, 255, 0), 0);
  Cls();
  InjectMouse(89, 120);
  TextButton(text, 90, 114, 0, 255, 0);
  EXPECT_EQ(ScreenTextMismatches(FontImage, text, 90, 114, 0, 255, 0), 0);
}

TEST_F(TextButtons, HoldingTheButtonClicksOnceEveryHundredCalls) {
  InjectMouse(100, 100);
  InjectMouseClick(1);  // held: the release waits for the next input poll, which never comes here
  std::vector<int> clickCalls;
  for (int call = 1; call <= 201; ++call)
    if (TextButton("F10...Exit", 90, 96, 0, 255, 0)) clickCalls.push_back(call);
  EXPECT_EQ(clickCalls, (std::vector<int>{1, 101, 201}));
}

TEST_F(TextButtons, TheDelayIsSharedAndRunsDownWhileOtherButtonsAreDrawn) {
  InjectMouse(100, 100);
  InjectMouseClick(1);
  EXPECT_EQ(TextButton("AAAA", 90, 96, 0, 255, 0), 1);
  // Another button under the same press cannot click until the counter has run down.
  for (int i = 0; i < 98; ++i) TextButton("not hovered", 400, 400, 0, 255, 0);
  EXPECT_EQ(TextButton("BBBB", 90, 96, 0, 255, 0), 0);
  EXPECT_EQ(TextButton("BBBB", 90, 96, 0, 255, 0), 1);
}

TEST_F(TextButtons, NoClickWithoutTheButtonOrOutsideTheText) {
  InjectMouse(100, 100);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(TextButton("AAAA", 90, 96, 0, 255, 0), 0);
  InjectMouseClick(1);
  InjectMouse(300, 300);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(TextButton("AAAA", 90, 96, 0, 255, 0), 0);
}

TEST_F(TextButtons, TheSmallButtonReactsTwelvePixelsACharacterWhileHeld) {
  const std::string text = "0123456789";
  InjectMouse(200 + 119, 50 + 12);
  EXPECT_EQ(SmallTextButton(text, 200, 50, 255, 255, 0), 0);
  EXPECT_EQ(ScreenTextMismatches(SmallInverseFontImage, text, 200, 50, 255, 255, 0), 0);
  InjectMouseClick(1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SmallTextButton(text, 200, 50, 255, 255, 0), 1);  // no delay
  InjectMouse(200 + 120, 50);
  EXPECT_EQ(SmallTextButton(text, 200, 50, 255, 255, 0), 0);
  InjectMouse(210, 50 + 13);
  EXPECT_EQ(SmallTextButton(text, 200, 50, 255, 255, 0), 0);
  PollInput();  // the press ends
  InjectMouse(210, 55);
  EXPECT_EQ(SmallTextButton(text, 200, 50, 255, 255, 0), 0);
}

}  // namespace
