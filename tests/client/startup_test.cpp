// The real client program run headless: the start-up questions, the title screen and the menu on
// screen, the chat log, the version check against a stand-in service, and every way out.
#include <gtest/gtest.h>

#include <regex>

#include "client/version_check.h"
#include "client_test_support.h"
#include "platform/graphics.h"
#include "screen_support.h"
#include "world/records.h"

namespace {

using clienttest::ClientRun;
using clienttest::ReadText;
using clienttest::RunClient;
using clienttest::ScratchFolder;
using clienttest::StandInHttpService;
using Bodies = std::map<std::string, std::string>;

// Answers both questions with n, shows the title, Space, shows the menu, F10.
constexpr const char* ThroughTheMenuScript =
    "1 type n\n2 key 13\n4 type n\n5 key 13\n12 shot title.png\n13 key 32\n25 shot menu.png\n26 key 121\n";

// A screenshot as 0xRRGGBB pixels.
class Screenshot {
 public:
  explicit Screenshot(const std::string& path) : image_(LoadImage(path, 0)) {}
  bool Loaded() const { return ImageWidth(image_) == 640 && ImageHeight(image_) == 480; }
  uint32_t operator()(int x, int y) const { return ReadImagePixel(image_, 0, x, y) & 0xFFFFFF; }

 private:
  Image image_;
};

// Glyph pixels of text in the screenshot that are not the font's in colour (r, g, b).
int Mismatches(const Screenshot& shot, const Image& font, const std::string& text, int x, int y, int r, int g, int b) {
  int opaque = 0;
  int wrong = clienttest::TextMismatches(shot, font, text, x, y, r, g, b, &opaque, true);
  EXPECT_GT(opaque, 4 * static_cast<int>(text.size())) << text;
  return wrong;
}

// The red of the title's prompt, from the brightest pixel of the '*' drawn at (x, y).
int PromptRed(const Screenshot& shot, int x, int y) {
  int bestFont = 0, bestScreen = 0;
  for (int py = 0; py < 16; ++py)
    for (int px = 0; px < 16; ++px) {
      uint32_t source = ReadImagePixel(FontImage, '*' - 32, px, py);
      if ((source >> 24) == 255 && clienttest::Red(source) > bestFont) {
        bestFont = clienttest::Red(source);
        bestScreen = clienttest::Red(shot(x + px, y + py));
      }
    }
  return bestFont ? bestScreen * 255 / bestFont : -1;
}

TEST(ClientStartup, AnswersTheQuestionsShowsTitleAndMenuAndExitsWithF10) {
  clienttest::OpenScreenWithPictures();  // the fonts, to compare the screenshots with
  ScratchFolder folder;
  ClientRun run = RunClient(folder.Path(), ThroughTheMenuScript);
  ASSERT_FALSE(run.timedOut) << run.errors;
  EXPECT_EQ(run.exitCode, 0) << run.errors;

  // The chat log holds exactly its banner line.
  std::string log = ReadText(folder.File("Chat.txt"));
  EXPECT_TRUE(std::regex_match(log, std::regex("Zarnaby Online Chat Log\\. Created [0-3][0-9] [A-Z][a-z]{2} [0-9]{4}  "
                                               "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]\r\n")))
      << log;

  Screenshot title(folder.File("title.png"));
  ASSERT_TRUE(title.Loaded());
  // The flickering prompt: red of one strength for the whole frame, no green or blue.
  const std::string prompt = " ** PRESS SPACE TO START **";
  int red = PromptRed(title, 90 + 16, 450);  // the first '*'
  ASSERT_GE(red, 100);
  ASSERT_LE(red, 255);
  EXPECT_EQ(Mismatches(title, FontImage, prompt, 90, 450, red, 0, 0), 0);

  Screenshot menu(folder.File("menu.png"));
  ASSERT_TRUE(menu.Loaded());
  EXPECT_EQ(Mismatches(menu, FontImage, "F1...Set Player Name", 90, 96, 0, 255, 0), 0);
  EXPECT_EQ(Mismatches(menu, FontImage, "F2...Single Player", 90, 114, 0, 255, 0), 0);
  EXPECT_EQ(Mismatches(menu, FontImage, "F3...Host Game", 90, 132, 0, 255, 0), 0);
  EXPECT_EQ(Mismatches(menu, FontImage, "F4...Connect to Game", 90, 150, 0, 255, 0), 0);
  EXPECT_EQ(Mismatches(menu, FontImage, "F5...SFX ON", 90, 186, 0, 255, 0), 0);
  EXPECT_EQ(Mismatches(menu, FontImage, "F6...Music OFF", 90, 204, 0, 255, 0), 0);
  EXPECT_EQ(Mismatches(menu, FontImage, "F7...Get Your IP Address", 90, 220, 0, 255, 0), 0);
  EXPECT_EQ(Mismatches(menu, SmallFontImage, "IP: ", 320, 236, 0, 255, 0), 0);
  EXPECT_EQ(Mismatches(menu, FontImage, "F10...Exit", 90, 310, 0, 255, 0), 0);
  // The selection frame: red, with its white edge showing right of and below it.
  EXPECT_EQ(menu(311, 341), 0xFF0000u);
  EXPECT_EQ(menu(331, 390), 0xFFFFFFu);
  EXPECT_EQ(menu(320, 393), 0xFFFFFFu);

  // The settings were read (defaults) but not written by merely visiting the menu.
  EXPECT_EQ(ReadText(folder.File("ip.txt")), "");
}

TEST(ClientStartup, ClosingTheWindowOnTheTitleScreenEndsTheProgram) {
  ScratchFolder folder;
  ClientRun run = RunClient(folder.Path(), "1 type n\n2 key 13\n4 type n\n5 key 13\n10 close\n", {}, {}, 30);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0);
}

TEST(ClientStartup, ClosingTheWindowInTheMenuEndsTheProgram) {
  ScratchFolder folder;
  ClientRun run = RunClient(folder.Path(), "1 type n\n2 key 13\n4 key 27\n12 close\n", {"/w"}, {}, 30);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0);
}

TEST(ClientStartup, EscapeLeavesOnlyTheTitleAndEscapeInTheMenuExits) {
  ScratchFolder folder;
  ClientRun run = RunClient(folder.Path(), "1 type n\n2 key 13\n5 key 27\n10 shot menu.png\n11 key 27\n", {"/W"}, {}, 30);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_GT(FileSize(folder.File("menu.png")), 0);
}

TEST(ClientStartup, AutoJoinSkipsTheVersionQuestion) {
  StandInHttpService service(Bodies{{"/v.php", "2.14\r\n"}});
  ScratchFolder folder;
  // The first answer goes to the full-screen question, as the version question is not asked.
  // Without a last address the game is played alone; Escape leaves it, F10 the menu.
  ClientRun run = RunClient(folder.Path(), "1 type y\n2 key 13\n6 key 32\n20 key 27\n30 key 121\n", {"AUTOJOIN"},
                            {{"QXR_GAMELIST_HOST", service.Host()}}, 30);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(service.Requests(), 0);
  EXPECT_EQ(run.errors.find("Version"), std::string::npos) << run.errors;
}

TEST(ClientStartup, AYesToTheVersionQuestionAsksTheServiceAndTellsOfANewVersion) {
  StandInHttpService service(Bodies{{"/v.php", "2.14\r\n"}});
  ScratchFolder folder;
  ClientRun run = RunClient(folder.Path(), "1 type Y\n2 key 13\n6 key 32\n12 key 121\n", {"/w"},
                            {{"QXR_GAMELIST_HOST", service.Host()}}, 30);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(service.Requests(), 1);
  EXPECT_NE(run.errors.find("Version 2.14 is now available.  "), std::string::npos) << run.errors;
}

TEST(ClientStartup, WorksInItsOwnFolderWhereverItIsStartedFrom) {
  ScratchFolder home;
  ScratchFolder elsewhere;
  const std::string program = clienttest::InstallClient(home.Path());
  ClientRun run = clienttest::RunClientProgram(program, elsewhere.Path(), ThroughTheMenuScript, {}, {}, 30);
  ASSERT_FALSE(run.timedOut) << run.errors;
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_GT(FileSize(home.File("Chat.txt")), 0);
  EXPECT_EQ(FileType(elsewhere.File("Chat.txt")), 0);
  EXPECT_GT(FileSize(home.File("menu.png")), 0);  // screenshots too go beside the program
}

TEST(ClientStartup, AMissingNetworkingLibraryEndsTheProgramWithAClearError) {
  ScratchFolder folder;
  // A copy of the program in a folder without the library beside it.
  std::string copy = folder.File("qxr");
  ASSERT_EQ(std::system(("cp '" + clienttest::ClientProgram() + "' '" + copy + "'").c_str()), 0);
  ScratchFolder work;
  ClientRun run = clienttest::RunClientProgram(copy, work.Path(), "1 type n\n2 key 13\n", {"/w"}, {}, 30);
  ASSERT_FALSE(run.timedOut);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.errors.find("libqxrnet"), std::string::npos) << run.errors;
}

// The version check itself, in this process, against the stand-in service.
class VersionCheck : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv("QXR_GAMELIST_HOST"); }
  std::string NoticeFor(const std::string& body) {
    StandInHttpService service(Bodies{{"/v.php", body}});
    setenv("QXR_GAMELIST_HOST", service.Host().c_str(), 1);
    std::string notice = VersionCheckNotice();
    EXPECT_EQ(service.Requests(), 1);
    return notice;
  }
  // The notice for a reply sent as it stands; "I can not contact" stands for that message.
  std::string NoticeForReply(const std::string& reply) {
    StandInHttpService service(Bodies{});
    service.Answer("/v.php", {reply});
    setenv("QXR_GAMELIST_HOST", service.Host().c_str(), 1);
    std::string notice = VersionCheckNotice();
    if (notice == "I can not contact " + service.Host()) notice = "I can not contact";
    return notice;
  }
};

TEST_F(VersionCheck, ThisVersionOrAnEmptyReplyShowsNothing) {
  EXPECT_EQ(NoticeFor("2.13\r\n"), "");
  EXPECT_EQ(NoticeFor("2.13"), "");
  EXPECT_EQ(NoticeFor(""), "");
  EXPECT_EQ(NoticeFor("\r\n2.14\r\n"), "");  // only the first line counts
}

TEST_F(VersionCheck, AnotherVersionIsAnnounced) {
  EXPECT_EQ(NoticeFor("2.14\r\n"), std::string("Version 2.14 is now available.  ") + GameSiteAddress);
  EXPECT_EQ(NoticeFor("2.12\nold news\n"), std::string("Version 2.12 is now available.  ") + GameSiteAddress);
}

TEST_F(VersionCheck, ARefusedPageOrDataIsNotAnnouncedAndALongVersionIsCut) {
  const std::string ok = "HTTP/1.0 200 OK\r\n\r\n";
  EXPECT_EQ(NoticeForReply("HTTP/1.0 404 Not Found\r\n\r\n2.14\r\n"), "I can not contact");
  EXPECT_EQ(NoticeForReply("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n2.14\r\n"), "I can not contact");
  EXPECT_EQ(NoticeForReply(ok + "<html><body>It works!</body></html>\r\n"), "I can not contact");
  EXPECT_EQ(NoticeForReply(ok + "\x1f\x8b\x08\x00 2.14"), "I can not contact");
  EXPECT_EQ(NoticeForReply(ok + "2.14-" + std::string(3 * 1024 * 1024, '9') + "\r\n"),
            "Version 2.14-99999999999 is now available.  " + std::string(GameSiteAddress));
}

TEST_F(VersionCheck, AnUnreachableServiceIsNamed) {
  std::string host = clienttest::UnreachableHost();
  setenv("QXR_GAMELIST_HOST", host.c_str(), 1);
  EXPECT_EQ(VersionCheckNotice(), "I can not contact " + host);
}

}  // namespace
