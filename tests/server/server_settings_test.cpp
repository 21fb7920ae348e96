// The real dedicated server's settings file, folder and chat log: the file written back is the
// whole file, the server works beside itself whatever folder it is started from, over-long lines
// are cut to what the questions take (and cost no more than short ones), the chat log is on disk
// while the server runs, and a mistyped game port is refused.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "../net/net_harness.h"
#include "server_process.h"

namespace {

using clienttest::ReadText;
using clienttest::ScratchFolder;
using clienttest::StandInHttpService;
using clienttest::WriteText;
using servertest::Launch;
using servertest::ServerProcess;

// Generous for a sanitizer build on a loaded machine.
constexpr int StartMs = 60000, EndMs = 60000;

std::map<std::string, std::string> OnPort(int port) { return {{"QXR_GAME_PORT", std::to_string(port)}}; }

// What the server answers a library client that gives password ("" for none): admitted or
// refused for its password.
int Answer(int port, const std::string& password) {
  net_harness::BindLibrary();
  RN_Interface* client = net_harness::StartClient(port, password);
  const int answer = net_harness::NextClientByte(client, 20000);
  NetLib.DestroyRakClientInterface(client);
  return answer;
}

TEST(ServerSettings, ClearingThePasswordAtTheQuestionsLeavesNoTraceOfItInTheFile) {
  ScratchFolder folder;
  WriteText(folder.File("server_ip.txt"), "N\r\nOld title\r\nsecret-password\r\n");
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  // Enter keeps the register answer, the blank address and the title; fifteen Backspaces clear
  // the password before its Enter. The editor takes one typed character a frame.
  std::string script = "5 key 13\n10 key 13\n15 key 13\n";
  for (int i = 0; i < 15; ++i) script += "20 key 8\n";
  script += "45 key 13\n";
  ServerProcess server(folder.Path(), {}, OnPort(port), script);
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n", StartMs)) << server.Errors();
  EXPECT_EQ(ReadText(folder.File("server_ip.txt")), "N\r\nOld title\r\n\r\n");
  EXPECT_EQ(Answer(port, ""), RN_ID_CONNECTION_REQUEST_ACCEPTED) << "the cleared password still guards the game";
  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(EndMs), 0) << server.Errors();
}

TEST(ServerSettings, TheFileWrittenBackHoldsTheThreeValuesAndNothingElse) {
  ScratchFolder folder;
  WriteText(folder.File("server_ip.txt"), "\r\nTitle\r\npw\r\na fourth line nobody reads\r\n");
  ServerProcess server(folder.Path(), {"/AUTO"}, OnPort(clienttest::FreeLoopbackPort(SOCK_DGRAM)));
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n", StartMs)) << server.Errors();
  EXPECT_EQ(ReadText(folder.File("server_ip.txt")), "\r\nTitle\r\npw\r\n");
  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(EndMs), 0) << server.Errors();
}

TEST(ServerSettings, TheServerWorksBesideItselfWhateverFolderItIsStartedFrom) {
  ScratchFolder home, elsewhere;
  WriteText(home.File("server_ip.txt"), "\r\nHome\r\nhomepw\r\n");
  WriteText(elsewhere.File("server_ip.txt"), "\r\nElsewhere\r\n\r\n");
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  Launch fromElsewhere;
  fromElsewhere.startIn = elsewhere.Path();
  ServerProcess server(home.Path(), {"/AUTO"}, OnPort(port), fromElsewhere);
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n", StartMs)) << server.Errors();
  // The password of the file beside the program guards the game.
  EXPECT_EQ(Answer(port, ""), RN_ID_INVALID_PASSWORD);
  EXPECT_EQ(Answer(port, "homepw"), RN_ID_CONNECTION_REQUEST_ACCEPTED);
  EXPECT_EQ(ReadText(home.File("Chat.txt")).rfind("Zarnaby Online Chat Log. Created ", 0), 0u);
  EXPECT_FALSE(clienttest::FileExists(elsewhere.File("Chat.txt")));
  EXPECT_EQ(ReadText(elsewhere.File("server_ip.txt")), "\r\nElsewhere\r\n\r\n");
  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(EndMs), 0) << server.Errors();
}

TEST(ServerSettings, OverLongLinesAreCutToWhatTheQuestionsTake) {
  StandInHttpService gameList({{"/newServer.php", "OK\r\n"}, {"/logoff.php", "OK\r\n"}});
  ScratchFolder folder;
  // A register answer, a title of 8 MB and a password of 25 characters, with a CR astray.
  const std::string title(8 << 20, 'T');
  WriteText(folder.File("server_ip.txt"), "Y\r\n" + title + "\r\nabcdefghij\rklmnopqrstuvwxy\r\n");
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  std::map<std::string, std::string> environment = OnPort(port);
  environment["QXR_GAMELIST_HOST"] = gameList.Host();
  ServerProcess server(folder.Path(), {"/AUTO"}, environment);
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n", StartMs)) << server.Errors();

  const std::vector<std::string> paths = gameList.Paths();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].substr(0, paths[0].find("&name=")),
            "/newServer.php?password=Y&description=" + std::string(20, 'T'));
  EXPECT_EQ(Answer(port, "abcdefghijklmnopqrst"), RN_ID_CONNECTION_REQUEST_ACCEPTED);
  EXPECT_EQ(Answer(port, "abcdefghijklmnopqrstuvwxy"), RN_ID_INVALID_PASSWORD);
  EXPECT_EQ(ReadText(folder.File("server_ip.txt")), "Y\r\n" + std::string(20, 'T') + "\r\nabcdefghijklmnopqrst\r\n");
  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(EndMs), 0) << server.Errors();
}

TEST(ServerSettings, TheChatLogHoldsItsBannerWhileTheServerRunsAndAfterItIsKilled) {
  ScratchFolder folder;
  ServerProcess server(folder.Path(), {"/AUTO"}, OnPort(clienttest::FreeLoopbackPort(SOCK_DGRAM)));
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n", StartMs)) << server.Errors();
  const std::string banner = "Zarnaby Online Chat Log. Created ";
  const std::string running = ReadText(folder.File("Chat.txt"));
  EXPECT_EQ(running.rfind(banner, 0), 0u) << "the banner is not on disk while the server runs";
  EXPECT_EQ(running.size() > 2 ? running.substr(running.size() - 2) : "", "\r\n");
  server.Signal(SIGKILL);
  server.WaitExit(EndMs);
  EXPECT_EQ(ReadText(folder.File("Chat.txt")), running);
}

TEST(ServerGamePort, AMistypedPortIsRefusedBeforeAnythingStarts) {
  for (const char* port : {"70O2", "70000", "0", "", "-7002", "7002 "}) {
    ScratchFolder folder;
    WriteText(folder.File("server_ip.txt"), "N\r\nKept\r\n\r\n");
    ServerProcess server(folder.Path(), {"/AUTO"}, {{"QXR_GAME_PORT", port}});
    EXPECT_EQ(server.WaitExit(EndMs), 1) << port << ": " << server.Ending();
    EXPECT_NE(server.Errors().find(std::string("QXR_GAME_PORT must be a port number from 1 to 65535, not \"") + port +
                                   "\""),
              std::string::npos)
        << server.Errors();
    EXPECT_EQ(server.Output().find("Players Online"), std::string::npos) << port;
    EXPECT_FALSE(clienttest::FileExists(folder.File("Chat.txt"))) << port << ": it started anyway";
    EXPECT_EQ(ReadText(folder.File("server_ip.txt")), "N\r\nKept\r\n\r\n");
  }
}

}  // namespace
