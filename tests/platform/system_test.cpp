// System calls headless: message boxes become one line on standard error, the icon is optional,
// errors are raised as exceptions.
#include <gtest/gtest.h>

#include "platform/graphics.h"
#include "platform/system.h"
#include "test_pictures.h"

namespace {

TEST(System, HeadlessNotifyWritesOneLineAndNeverBlocks) {
  ASSERT_TRUE(Graphics(640, 480));
  EXPECT_TRUE(Headless());
  AppTitle("QXR ONLINE v 2.13");
  EXPECT_EQ(AppTitleText(), "QXR ONLINE v 2.13");
  testing::internal::CaptureStderr();
  Notify("I can not contact the game list");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "I can not contact the game list\n");
}

TEST(System, TheWindowIconIsOptional) {
  SetOwnWindowIcon(StyleMinimizeBox);  // no icon registered yet: nothing happens
  ASSERT_FALSE(RegisterTestPicture("pictures/icon.png", 2, 2, Filled(2, 2, 0xFFFF0000)).empty());
  ASSERT_TRUE(Graphics(640, 480));
  SetOwnWindowIcon(0);
  EndGraphics();
  SetOwnWindowIcon(0);  // no window
  ASSERT_TRUE(Graphics(640, 480));
}

TEST(System, RaisedErrorsCarryTheirMessage) {
  try {
    RaiseError("Unable to open MP3");
    FAIL();
  } catch (const RuntimeError& error) {
    EXPECT_STREQ(error.what(), "Unable to open MP3");
  }
}

}  // namespace
