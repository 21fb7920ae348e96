// The main menu run headless in-process: its keys and buttons, the skin kept or reloaded, the
// sound switches, the address check, and the ways out.
#include <gtest/gtest.h>

#include <cstdlib>

#include "client/client_records.h"
#include "client/main_menu.h"
#include "client/settings.h"
#include "client/sound_effects.h"
#include "client_test_support.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/video_internal.h"
#include "screen_support.h"
#include "world/records.h"
#include "../world/sent_message.h"

namespace {

using clienttest::ScratchFolder;
using clienttest::WriteText;

class Menu : public ::testing::Test {
 protected:
  void SetUp() override {
    clienttest::OpenScreenWithPictures();
    static bool created = false;
    if (!created) {
      created = true;
      CreateClientRecords();
      MouseSprite = sprite::Create(MouseImage, 0, 0);
      ListTunes(folder_.Path() + "/no_tunes/");
    }
    NoSound = 0;
    SfxOn = 1;
    AutoJoin = 0;
    Hosting = 0;
    ExternalIpText.clear();
    FlushKeys();
    FlushMouse();
    InjectMouse(0, 0);
  }
  void TearDown() override { unsetenv("QXR_INPUT_SCRIPT"); }

  // Feeds the menu a script whose frames count from the next flip (1 = the first pass's flip).
  void Script(const std::string& lines) {
    std::string shifted;
    size_t start = 0;
    int base = FlipCount();
    while (start < lines.size()) {
      size_t end = lines.find('\n', start);
      std::string line = lines.substr(start, end - start);
      size_t space = line.find(' ');
      if (space != std::string::npos) shifted += std::to_string(base + std::stoi(line.substr(0, space))) + line.substr(space) + "\n";
      start = end == std::string::npos ? lines.size() : end + 1;
    }
    std::string path = folder_.File("script" + std::to_string(++scripts_) + ".txt");
    WriteText(path, shifted);
    setenv("QXR_INPUT_SCRIPT", path.c_str(), 1);
  }

  ScratchFolder folder_;
  int scripts_ = 0;
};

TEST_F(Menu, SinglePlayerWinsOverTheOtherChoicesOfTheSameFrame) {
  Script("1 key 114\n1 key 115\n1 key 121\n1 key 113\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Play);
  EXPECT_EQ(Game.singlePlayer, 1);
  EXPECT_EQ(MySlot, 0);
  EXPECT_EQ(Hosting, 0);
  EXPECT_EQ(KeyHit(Key::F10), 0);  // the keyboard was flushed on the way out
}

TEST_F(Menu, EscapeF10AndClosingTheWindowLeaveForTheExit) {
  Script("2 key 27\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  Script("3 key 121\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  Script("1 close\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  EXPECT_EQ(sprite::Count(), 1 + MaxPlayers);  // carousel removed: the pointer and the players remain
}

TEST_F(Menu, AClickOnAButtonCountsLikeItsKey) {
  Script("1 mouse 100 120 click\n");  // over "F2...Single Player" at (90, 114)
  EXPECT_EQ(RunMainMenu(), MenuResult::Play);
  EXPECT_EQ(Game.singlePlayer, 1);
}

TEST_F(Menu, ASkinPlayedWithF2IsReplacedByTheSavedOneButF1KeepsIt) {
  WriteText("ip.txt", "Sam\r\n\r\n5\r\n");
  Script("1 key 39\n3 key 113\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Play);
  EXPECT_EQ(SelectedSkin, 6);
  EXPECT_EQ(PlayerName, "  Sam   ");

  Script("1 key 121\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  EXPECT_EQ(SelectedSkin, 5);  // the menu entry read the file again

  // Left, then F1 and a new name: the prompt saves the settings with the chosen skin.
  Script("1 key 37\n3 key 112\n5 type \b\b\bZed\n6 key 13\n30 key 121\n");  // F10 after the prompt ended
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  EXPECT_EQ(SelectedSkin, 4);
  EXPECT_EQ(PlayerName, "  Zed   ");
  EXPECT_EQ(ReadSettingsLine(3), "4");
  Script("1 key 121\n");
  RunMainMenu();
  EXPECT_EQ(SelectedSkin, 4);
}

TEST_F(Menu, WithoutSoundTheMusicButtonsAreGoneButF5StillSwitchesEffects) {
  NoSound = 1;
  Script("1 key 116\n1 key 117\n3 key 121\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  EXPECT_EQ(SfxOn, 0);
  EXPECT_EQ(TuneIndex, 0);
  // The back buffer still holds the last pass: where F5 and F6 would be, only the menu picture.
  int differing = 0;
  for (int y = 186; y < 220; ++y)
    for (int x = 90; x < 330; ++x)
      if ((ReadPixel(x, y) & 0xFFFFFF) != (ReadImagePixel(MenuImage, 0, x, y) & 0xFFFFFF)) ++differing;
  EXPECT_EQ(differing, 0);
  int opaque = 0;
  auto screen = [](int x, int y) { return ReadPixel(x, y); };
  EXPECT_EQ(clienttest::TextMismatches(screen, FontImage, "F7...Get Your IP Address", 90, 220, 0, 255, 0, &opaque,
                                       true),
            0);
  EXPECT_GT(opaque, 50);
}

TEST_F(Menu, WithSoundF5AndF6AreShown) {
  Script("2 key 116\n2 key 117\n4 key 121\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  EXPECT_EQ(SfxOn, 0);
  EXPECT_EQ(TuneIndex, 0);  // with no tunes the list holds only "OFF"
  auto screen = [](int x, int y) { return ReadPixel(x, y); };
  EXPECT_EQ(clienttest::TextMismatches(screen, FontImage, "F5...SFX OFF", 90, 186, 0, 255, 0, nullptr, true), 0);
  EXPECT_EQ(clienttest::TextMismatches(screen, FontImage, "F6...Music OFF", 90, 204, 0, 255, 0, nullptr, true), 0);
}

TEST_F(Menu, F7ShowsTheAddressTheServiceGivesAndKeepsItWhenUnreachable) {
  clienttest::StandInHttpService service(std::map<std::string, std::string>{{"/ip.php", "203.0.113.9\r\nignored\r\n"}});
  setenv("QXR_ADDRESS_HOST", service.Host().c_str(), 1);
  Script("1 key 118\n4 key 121\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  EXPECT_EQ(ExternalIpText, "203.0.113.9");

  ExternalIpText = "kept";
  setenv("QXR_ADDRESS_HOST", clienttest::UnreachableHost().c_str(), 1);
  Script("1 key 118\n4 key 121\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  EXPECT_EQ(ExternalIpText, "kept");
  unsetenv("QXR_ADDRESS_HOST");
}

TEST_F(Menu, F7CutsALongAddressToTheScreenAndKeepsTheShownOneWhenTheReplyIsRefused) {
  clienttest::StandInHttpService service(std::map<std::string, std::string>{});
  const std::string ok = "HTTP/1.0 200 OK\r\n\r\n";
  service.Answer("/ip.php", {ok + "203.0.113.9" + std::string(3 * 1024 * 1024, '9') + "\r\n"});
  service.Answer("/ip.php", {"HTTP/1.0 404 Not Found\r\n\r\n198.51.100.1\r\n"});
  service.Answer("/ip.php", {ok + "<html><body>198.51.100.1</body></html>\r\n"});
  service.Answer("/ip.php", {ok + "198.51.100.1\x01\x02\r\n"});
  service.Answer("/ip.php", {"HTTP/1.0 200 OK\r\nContent-Length: 99\r\n\r\n198.51.100.1\r\n"});
  setenv("QXR_ADDRESS_HOST", service.Host().c_str(), 1);
  Script("1 key 118\n4 key 121\n");
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  const std::string cut = "203.0.113.9" + std::string(25, '9');
  EXPECT_EQ(ExternalIpText, cut);
  for (int refused = 0; refused < 4; ++refused) {
    Script("1 key 118\n4 key 121\n");
    EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
    EXPECT_EQ(ExternalIpText, cut) << "refused reply " << refused;
  }
  EXPECT_EQ(service.Requests(), 5);
  unsetenv("QXR_ADDRESS_HOST");
}

TEST_F(Menu, AnAutoJoinThatCannotConnectKeepsThePlayerInTheMenu) {
  BindNetOnce();
  WriteText(folder_.File("ip.txt"), "Guest\r\nno-such-host.invalid\r\n0\r\n");
  AutoJoin = 1;  // the first pass goes to the browser by itself
  Script("4 key 121\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunMainMenu(), MenuResult::Exit);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("COULD NOT CONNECT TO no-such-host.invalid"),
            std::string::npos);
  EXPECT_EQ(AutoJoin, 0);
  EXPECT_EQ(Hosting, 0);
  EXPECT_EQ(Game.singlePlayer, 0);
}

}  // namespace
