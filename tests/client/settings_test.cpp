// The settings file "ip.txt": defaults, short and odd files, the skin range, saving and reading back.
#include <gtest/gtest.h>

#include "client/line_editor.h"
#include "client/settings.h"
#include "client_test_support.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "world/records.h"

namespace {

using clienttest::ReadText;
using clienttest::ScratchFolder;
using clienttest::WriteText;

void ScrambleSettings() {
  PlayerName = "xxxxxxxx";
  LastHostAddress = RegisterAnswer = GameDescription = HostPassword = ConnectPassword = "stale";
  SelectedSkin = 33;
}

TEST(Settings, AMissingFileGivesTheDefaults) {
  ScratchFolder folder;
  ScrambleSettings();
  LoadSettings();
  EXPECT_EQ(PlayerName, " Guest  ");
  EXPECT_EQ(SelectedSkin, 0);
  EXPECT_EQ(LastHostAddress, "");
  EXPECT_EQ(RegisterAnswer, "");
  EXPECT_EQ(GameDescription, "");
  EXPECT_EQ(HostPassword, "");
  EXPECT_EQ(ConnectPassword, "");
  EXPECT_EQ(ReadSettingsLine(1), "");
}

TEST(Settings, AShortFileKeepsWhatItHasAndDefaultsTheRest) {
  ScratchFolder folder;
  WriteText("ip.txt", "Sam\n  10.0.0.7 \t\n");  // LF only, blanks around the address
  ScrambleSettings();
  LoadSettings();
  EXPECT_EQ(PlayerName, "  Sam   ");
  EXPECT_EQ(LastHostAddress, "10.0.0.7");
  EXPECT_EQ(SelectedSkin, 0);
  EXPECT_EQ(RegisterAnswer, "");
  EXPECT_EQ(ConnectPassword, "");
  EXPECT_EQ(ReadSettingsLine(9), "");
}

TEST(Settings, NamesAreCutAndCentredToEight) {
  ScratchFolder folder;
  WriteText("ip.txt", "Bartholomew1\r\n");
  LoadSettings();
  EXPECT_EQ(PlayerName, "Bartholo");
  WriteText("ip.txt", "   \r\n");
  LoadSettings();
  EXPECT_EQ(PlayerName, " Guest  ");
  WriteText("ip.txt", "Bob\r\n");
  LoadSettings();
  EXPECT_EQ(PlayerName, "  Bob   ");
}

TEST(Settings, ASkinOutsideTheCarouselReadsAsTheDefaultHero) {
  ScratchFolder folder;
  for (const char* line : {"51", "-1", "9999999999999", "abc"}) {
    WriteText("ip.txt", std::string("Sam\r\n\r\n") + line + "\r\n");
    SelectedSkin = 12;
    LoadSettings();
    EXPECT_EQ(SelectedSkin, 0) << line;
  }
  WriteText("ip.txt", "Sam\r\n\r\n50\r\n");
  LoadSettings();
  EXPECT_EQ(SelectedSkin, 50);
  WriteText("ip.txt", "Sam\r\n\r\n 7 \r\n");
  LoadSettings();
  EXPECT_EQ(SelectedSkin, 7);
}

TEST(Settings, LinesLongerThanTheirPromptsTakeAreCut) {
  ScratchFolder folder;
  // The address line is 4 MB long; the others exceed their prompts by a little.
  const std::string address = "10.0.0." + std::string(4 << 20, '9');
  WriteText("ip.txt", "Bartholomew\r\n" + address + "\r\n7\r\nYes\r\n" + std::string(25, 'd') + "\r\n  " +
                          std::string(21, 'h') + "  \r\n" + std::string(31, 'c') + "\r\n");
  LoadSettings();
  EXPECT_EQ(PlayerName, "Bartholo");
  EXPECT_EQ(LastHostAddress, address.substr(0, 30));
  EXPECT_EQ(SelectedSkin, 7);  // the line after the long one is still found
  EXPECT_EQ(RegisterAnswer, "Ye");
  EXPECT_EQ(GameDescription, std::string(20, 'd'));
  EXPECT_EQ(HostPassword, std::string(20, 'h'));  // blanks around it are trimmed first
  EXPECT_EQ(ConnectPassword, std::string(30, 'c'));
}

TEST(Settings, SavingWritesSevenLinesAndKeepsTheConnectPassword) {
  ScratchFolder folder;
  PlayerName = "  Sam   ";
  LastHostAddress = "192.168.1.20";
  SelectedSkin = 17;
  RegisterAnswer = "Y";
  GameDescription = "Sunday race";
  HostPassword = "hostpw";
  ConnectPassword = "joinpw";
  SaveSettings();
  EXPECT_EQ(ReadText("ip.txt"), "  Sam   \r\n192.168.1.20\r\n17\r\nY\r\nSunday race\r\nhostpw\r\njoinpw\r\n");

  ScrambleSettings();
  LoadSettings();
  EXPECT_EQ(PlayerName, "  Sam   ");
  EXPECT_EQ(LastHostAddress, "192.168.1.20");
  EXPECT_EQ(SelectedSkin, 17);
  EXPECT_EQ(RegisterAnswer, "Y");
  EXPECT_EQ(GameDescription, "Sunday race");
  EXPECT_EQ(HostPassword, "hostpw");
  EXPECT_EQ(ConnectPassword, "joinpw");
}

TEST(Settings, TheNamePromptTakesTypedTextAndSaves) {
  ScratchFolder folder;
  ASSERT_TRUE(Graphics(640, 480));
  FlushKeys();
  PlayerName = "  Sam   ";
  SelectedSkin = 4;
  ConnectPassword = "joinpw";
  // The prompt starts from the current name: two backspaces take "am" off before "ue" is typed.
  InjectText(std::string("\b\bue") + "\r");
  AskPlayerName();
  EXPECT_EQ(PlayerName, "  Sue   ");
  EXPECT_EQ(EditBuffer, "");
  EXPECT_EQ(ReadSettingsLine(1), "Sue");
  EXPECT_EQ(ReadSettingsLine(3), "4");
  EXPECT_EQ(ReadSettingsLine(7), "joinpw");

  InjectText("\r");  // an empty answer
  EditBuffer.clear();
  PlayerName.clear();
  AskPlayerName();
  EXPECT_EQ(PlayerName, " Guest  ");
}

}  // namespace
