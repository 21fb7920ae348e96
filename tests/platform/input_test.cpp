// Input: key hits counted and flushed, typed 8-bit characters, mouse, the close request, and a
// scripted run that types, clicks and saves a screenshot.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/stream.h"

namespace {

TEST(Keys, HitsAreCountedUntilAskedAndFlushed) {
  FlushKeys();
  InjectKeyHit(Key::Space);
  PollInput();
  InjectKeyHit(Key::Space);
  EXPECT_EQ(KeyHit(Key::Space), 2);
  EXPECT_EQ(KeyHit(Key::Space), 0);
  EXPECT_TRUE(KeyDown(Key::Space));  // a hit is held for one loop pass
  PollInput();
  EXPECT_FALSE(KeyDown(Key::Space));

  InjectKeyDown(Key::A);
  InjectKeyDown(Key::A);  // still one press
  EXPECT_TRUE(KeyDown(Key::A));
  EXPECT_EQ(KeyHit(Key::A), 1);
  InjectKeyHit(Key::F10);
  InjectText("x");
  FlushKeys();
  EXPECT_FALSE(KeyDown(Key::A));
  EXPECT_EQ(KeyHit(Key::F10), 0);
  EXPECT_EQ(GetChar(), 0);
  EXPECT_EQ(KeyHit(-1), 0);
  EXPECT_EQ(KeyHit(Key::Count), 0);
  EXPECT_FALSE(KeyDown(1000));
}

TEST(Keys, EitherShiftHoldsTheGenericShift) {
  FlushKeys();
  InjectKeyDown(160);  // left shift
  InjectKeyDown(161);  // right shift
  InjectKeyUp(160);
  EXPECT_TRUE(KeyDown(Key::Shift));
  InjectKeyUp(161);
  EXPECT_FALSE(KeyDown(Key::Shift));
  EXPECT_EQ(KeyHit(Key::Shift), 1);
}

TEST(TypedCharacters, ComeAsEightBitCodes) {
  FlushKeys();
  InjectUtf8Text("a\xC2\xA3\xC3\xA9\xE2\x82\xAC!");  // a, pound, e-acute, euro (no 8-bit code), !
  InjectKeyHit(Key::Backspace);
  InjectKeyHit(Key::Enter);
  InjectKeyHit(Key::Escape);
  InjectText("\xA3");
  std::vector<int> typed;
  while (int c = GetChar()) typed.push_back(c);
  EXPECT_EQ(typed, (std::vector<int>{'a', 163, 233, '!', 8, 13, 27, 163}));
}

TEST(Mouse, PositionButtonsAndFlush) {
  FlushMouse();
  InjectMouse(320, 240);
  InjectMouseClick(1);
  EXPECT_EQ(MouseX(), 320);
  EXPECT_EQ(MouseY(), 240);
  EXPECT_TRUE(MouseDown(1));
  EXPECT_FALSE(MouseDown(2));
  EXPECT_EQ(MouseHit(1), 1);
  EXPECT_EQ(MouseHit(1), 0);
  PollInput();
  EXPECT_FALSE(MouseDown(1));
  InjectMouseClick(2);
  FlushMouse();
  EXPECT_FALSE(MouseDown(2));
  EXPECT_EQ(MouseHit(2), 0);
  EXPECT_FALSE(MouseDown(0));
  EXPECT_FALSE(MouseDown(4));
}

TEST(CloseRequest, IsSeenOnceByWhoeverAsks) {
  EXPECT_FALSE(AppTerminate());
  InjectClose();
  PollInput();
  EXPECT_TRUE(AppTerminate());
  EXPECT_FALSE(AppTerminate());
}

TEST(InputScript, TypesClicksHoldsKeysTakesAShotAndCloses) {
  ASSERT_TRUE(Graphics(640, 480));
  FlushKeys();
  FlushMouse();
  std::string dir = "/tmp/qxr_platform_script_" + std::to_string(getpid());
  std::string scriptPath = dir + ".txt", shotPath = dir + ".png";
  int base = FlipCount();
  {
    StreamPtr script = WriteFile(scriptPath);
    ASSERT_TRUE(script);
    auto line = [&](int frame, const std::string& event) { WriteLine(*script, std::to_string(base + frame) + " " + event); };
    WriteLine(*script, "# a comment, then a blank line");
    WriteLine(*script, "");
    line(1, "type hi \xA3");
    line(2, "key 13");
    line(3, "mouse 100 50 click");
    line(4, "down 37");
    line(5, "shot " + shotPath);
    line(6, "up 37");
    line(7, "close");
  }
  setenv("QXR_INPUT_SCRIPT", scriptPath.c_str(), 1);

  std::string typed;
  int enterPass = -1, clickPasses = 0, leftPasses = 0, passes = 0, clickX = 0, clickY = 0;
  for (; passes < 30; ++passes) {
    SetBlend(BlendSolid);
    SetColor(0, 0, 0);
    Cls();
    SetColor(0, 255, 0);
    DrawRect(0, 0, 10, 10);
    while (int c = GetChar()) typed += static_cast<char>(c);
    if (KeyHit(Key::Enter)) enterPass = passes;
    if (MouseDown(1)) {
      ++clickPasses;
      clickX = MouseX();
      clickY = MouseY();
    }
    if (KeyDown(Key::Left)) ++leftPasses;
    if (AppTerminate()) break;
    Flip();
  }
  unsetenv("QXR_INPUT_SCRIPT");

  EXPECT_EQ(typed, "hi \xA3\r");
  EXPECT_EQ(enterPass, 2);
  EXPECT_EQ(clickPasses, 1);
  EXPECT_EQ(clickX, 100);
  EXPECT_EQ(clickY, 50);
  EXPECT_EQ(leftPasses, 2);
  EXPECT_EQ(passes, 7);  // the close request ends the loop
  Image shot = LoadImage(shotPath, 0);
  ASSERT_TRUE(shot);
  EXPECT_EQ(ReadImagePixel(shot, 0, 5, 5), 0xFF00FF00u);
  EXPECT_EQ(ReadImagePixel(shot, 0, 50, 50), 0xFF000000u);
  DeleteFile(scriptPath);
  DeleteFile(shotPath);
}

// "until" stops the script, not the program: the loop goes on flipping and the screen is saved
// meanwhile; once the file is there the later events come, their frames counted without the
// flips spent waiting.
TEST(InputScript, UntilHoldsTheScriptWhileTheProgramPlaysOn) {
  ASSERT_TRUE(Graphics(640, 480));
  FlushKeys();
  const std::string dir = "/tmp/qxr_platform_until_" + std::to_string(getpid());
  const std::string scriptPath = dir + ".txt", shotPath = dir + ".png", goPath = dir + ".go";
  const int base = FlipCount();
  {
    StreamPtr script = WriteFile(scriptPath);
    ASSERT_TRUE(script);
    WriteLine(*script, std::to_string(base + 2) + " until " + goPath + " " + shotPath);
    WriteLine(*script, std::to_string(base + 4) + " key 13");
  }
  setenv("QXR_INPUT_SCRIPT", scriptPath.c_str(), 1);
  int passes = 0, enterPass = -1, released = -1;
  for (; passes < 200 && enterPass < 0; ++passes) {
    SetColor(passes < 50 ? 255 : 0, 0, passes < 50 ? 0 : 255);
    DrawRect(0, 0, 10, 10);
    if (KeyHit(Key::Enter)) enterPass = passes;
    if (passes == 70) {
      // The screen saved while waiting is a recent one: blue, drawn after pass 50.
      Image seen = LoadImage(shotPath, 0);
      ASSERT_TRUE(seen);
      EXPECT_EQ(ReadImagePixel(seen, 0, 5, 5), 0xFF0000FFu);
      WriteLine(*WriteFile(goPath), "go");
      released = passes;
    }
    Flip();
  }
  unsetenv("QXR_INPUT_SCRIPT");
  ASSERT_EQ(released, 70);
  // Released in pass 70's flip: the key two script frames later comes in pass 72's flip and is
  // seen in pass 73, as if the waiting had never been.
  EXPECT_EQ(enterPass, released + 3);
  DeleteFile(scriptPath);
  DeleteFile(shotPath);
  DeleteFile(goPath);
}

}  // namespace
