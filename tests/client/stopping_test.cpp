// Stopping the real client program: SIGTERM, SIGINT and SIGHUP end it from its start-up
// questions, its prompts and its screens, and so does closing the window at the start-up
// questions; each time through its exit path with status 0. A mistyped game port is refused.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>
#include <vector>

#include "client_test_support.h"
#include "platform/graphics.h"
#include "screen_support.h"
#include "world/records.h"

namespace {

using clienttest::ClientRun;
using clienttest::ReadText;
using clienttest::ScratchFolder;
using clienttest::StandInHttpService;
using clienttest::WriteText;

// Generous for a sanitizer build on a loaded machine; a program that ignores the signal never
// ends and is killed after it.
constexpr int EndSeconds = 60;
constexpr double ShotSeconds = 120;

// Screenshots as 0xRRGGBB pixels.
class Screenshot {
 public:
  explicit Screenshot(const std::string& path) : image_(LoadImage(path, 0)) {}
  uint32_t operator()(int x, int y) const { return ReadImagePixel(image_, 0, x, y) & 0xFFFFFF; }

 private:
  Image image_;
};

bool TextShown(const std::string& shot, const Image& font, const std::string& text, int x, int y, int r, int g,
               int b) {
  int opaque = 0;
  const int wrong = clienttest::TextMismatches(Screenshot(shot), font, text, x, y, r, g, b, &opaque, true);
  return opaque > 4 * static_cast<int>(text.size()) && wrong == 0;
}

// The client started in a folder of its own with script; once the screenshot shot (taken by the
// script where the program is to be stopped) exists, the signal is sent. Returns how it ended.
ClientRun SignalWhenShown(const ScratchFolder& folder, const std::string& script, const std::string& shot, int signal,
                          const std::vector<std::string>& arguments = {},
                          const std::map<std::string, std::string>& environment = {}) {
  const pid_t pid = clienttest::StartClientProgram(clienttest::InstallClient(folder.Path()), folder.Path(), script,
                                                   arguments, environment);
  const bool shown = clienttest::WaitForFile(folder.File(shot), ShotSeconds);
  EXPECT_TRUE(shown) << "the client never got to " << shot << ":\n" << ReadText(folder.File("stderr.txt"));
  if (shown) kill(pid, signal);
  return clienttest::WaitClientProgram(pid, folder.Path(), EndSeconds);
}

class ClientStopping : public ::testing::Test {
 protected:
  void SetUp() override { clienttest::OpenScreenWithPictures(); }
};

TEST_F(ClientStopping, EachTerminationSignalEndsTheVersionQuestion) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    ScratchFolder folder;
    const ClientRun run = SignalWhenShown(folder, "2 shot question.png\n", "question.png", signal);
    EXPECT_FALSE(run.timedOut) << "signal " << signal << " did not end the client at the question";
    EXPECT_EQ(run.exitCode, 0) << "signal " << signal << ":\n" << run.errors;
    EXPECT_TRUE(TextShown(folder.File("question.png"), SmallFontImage, "Check for new version ?: ", 140, 0, 255, 255,
                          255))
        << "the question was not on the screen when the signal came";
    // The exit path closed the chat log with its banner in it.
    EXPECT_EQ(ReadText(folder.File("Chat.txt")).rfind("Zarnaby Online Chat Log. Created ", 0), 0u);
  }
}

TEST_F(ClientStopping, ASignalEndsTheFullScreenQuestionToo) {
  ScratchFolder folder;
  const ClientRun run = SignalWhenShown(folder, "2 shot question.png\n", "question.png", SIGTERM, {"/autojoin"});
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(TextShown(folder.File("question.png"), SmallFontImage, "Fullscreen ?: ", 140, 0, 255, 255, 255));
}

// A shot at frame 40 would show the title screen had the program gone on after the close.
TEST_F(ClientStopping, ClosingTheWindowAtEitherStartUpQuestionEndsTheProgram) {
  {
    ScratchFolder folder;
    const ClientRun run = clienttest::RunClient(folder.Path(), "3 close\n40 shot title.png\n", {}, {}, EndSeconds);
    EXPECT_FALSE(run.timedOut) << "closing the window did not end the version question";
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_FALSE(clienttest::FileExists(folder.File("title.png")));
  }
  ScratchFolder folder;
  const ClientRun run =
      clienttest::RunClient(folder.Path(), "1 type n\n2 key 13\n6 close\n40 shot title.png\n", {}, {}, EndSeconds);
  EXPECT_FALSE(run.timedOut) << "closing the window did not end the full-screen question";
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_FALSE(clienttest::FileExists(folder.File("title.png")));
}

// Through both questions and the title into the menu (frame 12), then the script's own steps.
const std::string IntoTheMenu = "1 type n\n2 key 13\n4 type n\n5 key 13\n10 key 32\n";

TEST_F(ClientStopping, ASignalEndsTheNamePromptWithoutSavingIt) {
  ScratchFolder folder;
  WriteText(folder.File("ip.txt"), "Sam\r\n");
  // F1 asks for the name; Backspaces have taken "Sam" away when the shot is taken.
  const ClientRun run = SignalWhenShown(
      folder, IntoTheMenu + "20 key 112\n24 key 8\n24 key 8\n24 key 8\n32 shot prompt.png\n", "prompt.png", SIGINT);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(TextShown(folder.File("prompt.png"), SmallFontImage, "Name: ", 140, 140, 255, 255, 255));
  EXPECT_EQ(ReadText(folder.File("ip.txt")), "Sam\r\n");
}

TEST_F(ClientStopping, ASignalAtTheHostingQuestionsHostsAndRegistersNothing) {
  StandInHttpService gameList({{"/newServer.php", "OK\r\n"}, {"/logoff.php", "OK\r\n"}});
  ScratchFolder folder;
  WriteText(folder.File("ip.txt"), "Hosty\r\n\r\n0\r\nY\r\nMy game\r\n\r\n");
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  // F3: "Register ...?" holds "Y" from the settings.
  const ClientRun run =
      SignalWhenShown(folder, IntoTheMenu + "20 key 114\n26 shot register.png\n", "register.png", SIGTERM, {},
                      {{"QXR_GAMELIST_HOST", gameList.Host()}, {"QXR_GAME_PORT", std::to_string(port)}});
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(TextShown(folder.File("register.png"), SmallFontImage, "Register with online game server? (Y/N) Y", 140,
                        180, 255, 255, 255));
  EXPECT_EQ(gameList.Requests(), 0) << "a game that was never hosted was registered";
  EXPECT_EQ(ReadText(folder.File("ip.txt")), "Hosty\r\n\r\n0\r\nY\r\nMy game\r\n\r\n") << "the answers were saved";
}

TEST_F(ClientStopping, ASignalEndsTheGameListAndSinglePlay) {
  {
    ScratchFolder folder;
    // F4 opens the list of games.
    const ClientRun run =
        SignalWhenShown(folder, IntoTheMenu + "20 key 115\n30 shot list.png\n", "list.png", SIGTERM, {},
                        {{"QXR_GAMELIST_HOST", clienttest::UnreachableHost()}});
    EXPECT_FALSE(run.timedOut) << "the list of games did not end";
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(TextShown(folder.File("list.png"), FontImage, "Manual IP", 53, 411, 255, 255, 0));
  }
  ScratchFolder folder;
  // F2 plays alone in room 32.
  const ClientRun run = SignalWhenShown(folder, IntoTheMenu + "20 key 113\n40 shot play.png\n", "play.png", SIGINT);
  EXPECT_FALSE(run.timedOut) << "single play only went back to the menu";
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(TextShown(folder.File("play.png"), FontImage, "Items collected     Time", 0, 425, 255, 255, 255));
}

TEST(ClientGamePort, AMistypedGamePortIsRefusedBeforeAnythingStarts) {
  for (const char* port : {"70O2", "70000", "0", "", "-7002", " 7002"}) {
    ScratchFolder folder;
    const ClientRun run = clienttest::RunClient(folder.Path(), "", {"/w"}, {{"QXR_GAME_PORT", port}}, EndSeconds);
    EXPECT_FALSE(run.timedOut) << port;
    EXPECT_EQ(run.exitCode, 1) << port;
    EXPECT_NE(run.errors.find(std::string("QXR_GAME_PORT must be a port number from 1 to 65535, not \"") + port +
                              "\""),
              std::string::npos)
        << run.errors;
    EXPECT_FALSE(clienttest::FileExists(folder.File("Chat.txt"))) << port << ": it started anyway";
  }
}

}  // namespace
