// Stopping the real dedicated server: SIGTERM, SIGINT and SIGHUP end it at its questions
// (nothing started, registered or written) and while it runs (it closes down, logs its game off
// the game list and exits with status 0).
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "../client/screen_support.h"
#include "assets/embedded_files.h"
#include "platform/graphics.h"
#include "server_process.h"

namespace {

using clienttest::ReadText;
using clienttest::ScratchFolder;
using clienttest::StandInHttpService;
using clienttest::WriteText;
using servertest::ServerProcess;

constexpr int StartMs = 60000, EndMs = 60000;
constexpr double ShotSeconds = 120;

const std::map<std::string, std::string> ServiceReplies = {{"/newServer.php", "OK\r\n"}, {"/logoff.php", "OK\r\n"}};

// The server's small font, loaded here as the server loads it.
const Image& SmallFont() {
  static const Image font = [] {
    RegisterEmbeddedFiles();
    Graphics(400, 32);
    SetMaskColor(0, 0, 0);
    return LoadAnimImage("incbin::pictures/font2.png", 8, 8, 0, 96, 1);
  }();
  return font;
}

// Text drawn in white at the status window's top-left corner of a screenshot.
bool ShownAtTheTop(const std::string& shot, const std::string& text) {
  const Image picture = LoadImage(shot, 0);
  auto pixel = [&](int x, int y) { return ReadImagePixel(picture, 0, x, y) & 0xFFFFFF; };
  int opaque = 0;
  const int wrong = clienttest::TextMismatches(pixel, SmallFont(), text, 0, 0, 255, 255, 255, &opaque, true);
  return opaque > 4 * static_cast<int>(text.size()) && wrong == 0;
}

TEST(ServerStopping, EachTerminationSignalEndsTheQuestionsWithNothingStarted) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    StandInHttpService gameList(ServiceReplies);
    ScratchFolder folder;
    WriteText(folder.File("server_ip.txt"), "Y\r\nTitle\r\npw\r\n");
    ServerProcess server(folder.Path(), {},
                         {{"QXR_GAMELIST_HOST", gameList.Host()},
                          {"QXR_GAME_PORT", std::to_string(clienttest::FreeLoopbackPort(SOCK_DGRAM))}},
                         "3 shot question.png\n");
    ASSERT_TRUE(clienttest::WaitForFile(folder.File("question.png"), ShotSeconds)) << server.Errors();
    server.Signal(signal);
    EXPECT_EQ(server.WaitExit(EndMs), 0) << "signal " << signal << ": " << server.Ending() << "\n" << server.Errors();
    EXPECT_TRUE(ShownAtTheTop(folder.File("question.png"), "Register With the server ? Y"))
        << "the question was not on the screen when the signal came";
    EXPECT_EQ(server.Output(), "CLOSING DOWN\n") << "signal " << signal;
    EXPECT_EQ(gameList.Requests(), 0) << "signal " << signal << ": a server that never started was registered";
    EXPECT_EQ(ReadText(folder.File("server_ip.txt")), "Y\r\nTitle\r\npw\r\n");
  }
}

TEST(ServerStopping, EachTerminationSignalClosesARunningServerDownAndLogsItsGameOff) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    StandInHttpService gameList(ServiceReplies);
    ScratchFolder folder;
    WriteText(folder.File("server_ip.txt"), "Y\r\nTitle\r\n\r\n");
    ServerProcess server(folder.Path(), {"/AUTO"},
                         {{"QXR_GAMELIST_HOST", gameList.Host()},
                          {"QXR_GAME_PORT", std::to_string(clienttest::FreeLoopbackPort(SOCK_DGRAM))}});
    ASSERT_TRUE(server.WaitForOutput("Players Online 0\n", StartMs)) << server.Errors();
    server.Signal(signal);
    EXPECT_EQ(server.WaitExit(EndMs), 0) << "signal " << signal << ": " << server.Ending() << "\n" << server.Errors();
    EXPECT_EQ(server.Output(), "Players Online 0\nCLOSING DOWN\n") << "signal " << signal;
    const std::vector<std::string> paths = gameList.Paths();
    ASSERT_EQ(paths.size(), 2u) << "signal " << signal;
    EXPECT_EQ(paths[0].rfind("/newServer.php?", 0), 0u);
    EXPECT_EQ(paths[1], "/logoff.php") << "signal " << signal;
  }
}

}  // namespace
