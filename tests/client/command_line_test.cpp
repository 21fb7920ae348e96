// The client's command-line table: which arguments are options, upper-casing, and their switches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/command_line.h"
#include "world/records.h"

namespace {

void ResetSwitches() {
  SfxOn = 1;
  NoSound = 0;
  MusicOn = 1;
  AutoJoin = 0;
  FullScreenOption = 0;
  WindowOption = 0;
}

void Parse(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  std::string program = "qxr";
  argv.push_back(program.data());
  for (std::string& a : arguments) argv.push_back(a.data());
  ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, EverySpellingOfTheTableIsAnOption) {
  EXPECT_EQ(ParseOption("/NOSOUND"), OptionNoSound);
  EXPECT_EQ(ParseOption("NOSOUND"), OptionNoSound);
  EXPECT_EQ(ParseOption("/NOMUSIC"), OptionNoMusic);
  EXPECT_EQ(ParseOption("NOMUSIC"), OptionNoMusic);
  EXPECT_EQ(ParseOption("/AUTOJOIN"), OptionAutoJoin);
  EXPECT_EQ(ParseOption("AUTOJOIN"), OptionAutoJoin);
  EXPECT_EQ(ParseOption("/A"), OptionAutoJoin);
  EXPECT_EQ(ParseOption("/FULLSCREEN"), OptionFullScreen);
  EXPECT_EQ(ParseOption("FULLSCREEN"), OptionFullScreen);
  EXPECT_EQ(ParseOption("/F"), OptionFullScreen);
  EXPECT_EQ(ParseOption("/WINDOW"), OptionWindow);
  EXPECT_EQ(ParseOption("W"), OptionWindow);
  EXPECT_EQ(ParseOption("/W"), OptionWindow);
}

TEST(CommandLine, LowerAndMixedCaseAreUpperCasedFirst) {
  EXPECT_EQ(ParseOption("w"), OptionWindow);
  EXPECT_EQ(ParseOption("/w"), OptionWindow);
  EXPECT_EQ(ParseOption("/NoSound"), OptionNoSound);
  EXPECT_EQ(ParseOption("fullscreen"), OptionFullScreen);
  EXPECT_EQ(ParseOption("/a"), OptionAutoJoin);
}

TEST(CommandLine, NearMissesAreNotOptions) {
  EXPECT_EQ(ParseOption("WINDOW"), OptionNone);  // only with the slash
  EXPECT_EQ(ParseOption("A"), OptionNone);
  EXPECT_EQ(ParseOption("F"), OptionNone);
  EXPECT_EQ(ParseOption("-W"), OptionNone);
  EXPECT_EQ(ParseOption("/W "), OptionNone);     // compared whole
  EXPECT_EQ(ParseOption("/NOSOUNDS"), OptionNone);
  EXPECT_EQ(ParseOption("/NO SOUND"), OptionNone);
  EXPECT_EQ(ParseOption(""), OptionNone);
  EXPECT_EQ(ParseOption("/"), OptionNone);
  EXPECT_EQ(ParseOption("\xE9"), OptionNone);    // only a-z are upper-cased
}

TEST(CommandLine, OptionsSetTheirSwitchesAndUnknownOnesAreIgnored) {
  ResetSwitches();
  Parse({"nosound"});
  EXPECT_EQ(SfxOn, 0);
  EXPECT_EQ(NoSound, 1);
  EXPECT_EQ(MusicOn, 1);

  ResetSwitches();
  Parse({"/nomusic", "bogus", "/a", "/f", "w"});
  EXPECT_EQ(MusicOn, 0);
  EXPECT_EQ(AutoJoin, 1);
  EXPECT_EQ(FullScreenOption, 1);
  EXPECT_EQ(WindowOption, 1);
  EXPECT_EQ(SfxOn, 1);
  EXPECT_EQ(NoSound, 0);

  ResetSwitches();
  Parse({"WINDOW", "A", "F", "sound"});
  EXPECT_EQ(WindowOption, 0);
  EXPECT_EQ(AutoJoin, 0);
  EXPECT_EQ(FullScreenOption, 0);
  EXPECT_EQ(SfxOn, 1);
  ResetSwitches();
}

}  // namespace
