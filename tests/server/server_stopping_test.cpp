// Stopping the real dedicated server: SIGTERM, SIGINT and SIGHUP end it at its questions
// (nothing started, registered or written) and while it runs (it closes down, logs its game off
// the game list and exits with status 0).
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "server_process.h"
#include "status_window.h"

namespace servertest {
namespace {

constexpr double ShotSeconds = 120;  // generous for a sanitizer build on a loaded machine

TEST(ServerStopping, EachTerminationSignalEndsTheQuestionsWithNothingStarted) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    StandInHttpService gameList(GameListAnswers);
    ScratchFolder folder;
    WriteText(folder.File("server_ip.txt"), "Y\r\nTitle\r\npw\r\n");
    ServerProcess server(folder.Path(), {}, ServerEnvironment(FreeLoopbackPort(SOCK_DGRAM), gameList.Host()),
                         "3 shot question.png\n");
    ASSERT_TRUE(WaitForFile(folder.File("question.png"), ShotSeconds)) << server.Errors();
    server.Signal(signal);
    EXPECT_EQ(server.WaitExit(), 0) << "signal " << signal << ": " << server.Ending() << "\n" << server.Errors();
    EXPECT_TRUE(ShownAtTheTop(folder.File("question.png"), "Register With the server ? Y"))
        << "the question was not on the screen when the signal came";
    EXPECT_EQ(server.Output(), "CLOSING DOWN\n") << "signal " << signal;
    EXPECT_EQ(gameList.Requests(), 0) << "signal " << signal << ": a server that never started was registered";
    EXPECT_EQ(ReadText(folder.File("server_ip.txt")), "Y\r\nTitle\r\npw\r\n");
  }
}

TEST(ServerStopping, EachTerminationSignalClosesARunningServerDownAndLogsItsGameOff) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    StandInHttpService gameList(GameListAnswers);
    ScratchFolder folder;
    WriteText(folder.File("server_ip.txt"), "Y\r\nTitle\r\n\r\n");
    ServerProcess server(folder.Path(), {"/AUTO"},
                         ServerEnvironment(FreeLoopbackPort(SOCK_DGRAM), gameList.Host()));
    ASSERT_TRUE(server.WaitForOutput("Players Online 0\n")) << server.Errors();
    server.Signal(signal);
    EXPECT_EQ(server.WaitExit(), 0) << "signal " << signal << ": " << server.Ending() << "\n" << server.Errors();
    EXPECT_EQ(server.Output(), "Players Online 0\nCLOSING DOWN\n") << "signal " << signal;
    const std::vector<std::string> paths = gameList.Paths();
    ASSERT_EQ(paths.size(), 2u) << "signal " << signal;
    EXPECT_EQ(paths[0].rfind("/newServer.php?", 0), 0u);
    EXPECT_EQ(paths[1], "/logoff.php") << "signal " << signal;
  }
}

}  // namespace
}  // namespace servertest
