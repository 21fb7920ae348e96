// The dedicated server run for real: start-up from its settings file or from prompts typed into
// its status window, registration and log-off, a failed start, the settings file, signals.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "../net/net_harness.h"
#include "server_process.h"

namespace {

using clienttest::ReadText;
using clienttest::ScratchFolder;
using clienttest::StandInHttpService;
using clienttest::WriteText;
using servertest::ServerProcess;

using Bodies = std::map<std::string, std::string>;
const Bodies ServiceReplies = {{"/newServer.php", "OK\r\n"}, {"/logoff.php", "OK\r\n"}};

std::map<std::string, std::string> Environment(const StandInHttpService& service, int port) {
  return {{"QXR_GAMELIST_HOST", service.Host()}, {"QXR_GAME_PORT", std::to_string(port)}};
}

int LinesOf(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

TEST(ServerStartup, AutoStartsFromItsSettingsRegistersAndLogsOffOnTermination) {
  StandInHttpService service(ServiceReplies);
  ScratchFolder folder;
  WriteText(folder.File("server_ip.txt"), "Y\r\nMy Game & Co\r\n\r\n");
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  ServerProcess server(folder.Path(), {"/auto"}, Environment(service, port));
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n")) << server.Errors();

  // Nobody typed a name: the registration carries the empty name, centred to 8, and skin 1.
  std::vector<std::string> paths = service.Paths();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0], "/newServer.php?password=N&description=My%20Game%20%26%20Co&name=" +
                          std::string(8 * 3, ' ').replace(0, 24, "%20%20%20%20%20%20%20%20") + "&char=1");

  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(), 0) << server.Errors();
  paths = service.Paths();
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[1], "/logoff.php");
  EXPECT_EQ(ReadText(folder.File("server_ip.txt")), "Y\r\nMy Game & Co\r\n\r\n");
  const std::string chat = ReadText(folder.File("Chat.txt"));
  EXPECT_EQ(chat.rfind("Zarnaby Online Chat Log. Created ", 0), 0u);
  EXPECT_EQ(LinesOf(chat), 1);
}

TEST(ServerStartup, TheQuestionsTypedIntoTheStatusWindowAreUsedAndSaved) {
  StandInHttpService service(ServiceReplies);
  ScratchFolder folder;
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  // Register (y), address, title, password: each answer ends with Enter once the editor has
  // taken its characters (one a frame); Escape closes later.
  const std::string script =
      "5 type y\n8 key 13\n10 type 10.1.2.3\n25 key 13\n30 type  Fun Game \n45 key 13\n"
      "50 type  pass \n60 key 13\n200 key 27\n";
  ServerProcess server(folder.Path(), {}, Environment(service, port), script);
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n")) << server.Errors();
  EXPECT_EQ(server.WaitExit(), 0) << server.Errors();
  EXPECT_NE(server.Output().find("CLOSING DOWN\n"), std::string::npos);

  std::vector<std::string> paths = service.Paths();
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0], "/newServer.php?password=Y&description=Fun%20Game&ip=10.1.2.3&name=%20Server%20&char=1");
  EXPECT_EQ(paths[1], "/logoff.php?ip=10.1.2.3");
  EXPECT_EQ(ReadText(folder.File("server_ip.txt")), "Y\r\nFun Game\r\npass\r\n");
}

TEST(ServerStartup, OnlyTheSlashAutoArgumentSkipsTheQuestionsAndALowerCaseYesRegistersWithoutLogOff) {
  StandInHttpService service(ServiceReplies);
  {
    ScratchFolder folder;
    ServerProcess server(folder.Path(), {"AUTO"}, Environment(service, clienttest::FreeLoopbackPort(SOCK_DGRAM)));
    EXPECT_FALSE(server.WaitForOutput("Players Online", 1500)) << "AUTO without the slash asks the questions";
  }
  ScratchFolder folder;
  WriteText(folder.File("server_ip.txt"), "y\r\nLower\r\n");
  ServerProcess server(folder.Path(), {"/AuTo"}, Environment(service, clienttest::FreeLoopbackPort(SOCK_DGRAM)));
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n")) << server.Errors();
  server.Signal(SIGINT);
  EXPECT_EQ(server.WaitExit(), 0);
  std::vector<std::string> paths = service.Paths();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].rfind("/newServer.php?password=N&description=Lower&", 0), 0u);
}

TEST(ServerStartup, AServerThatCannotStartSaysWhyExitsNonZeroAndWritesNoSettings) {
  ScratchFolder folder;
  // The port is taken by another socket.
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  int taken = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(static_cast<uint16_t>(port));
  ASSERT_EQ(bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ServerProcess server(folder.Path(), {"/AUTO"}, {{"QXR_GAME_PORT", std::to_string(port)}});
  EXPECT_EQ(server.WaitExit(), 1);
  close(taken);
  const std::string errors = server.Errors();
  const size_t told = errors.find("Can not start host\n");
  ASSERT_NE(told, std::string::npos) << errors;
  EXPECT_NE(errors.find("UDP port " + std::to_string(port) + ": Address already in use\n", told), std::string::npos)
      << errors;
  EXPECT_EQ(FileType(folder.File("server_ip.txt")), 0);
}

TEST(ServerStartup, ASettingsFileThatCannotBeWrittenIsReportedAndTheServerGoesOn) {
  ScratchFolder folder;
  ASSERT_EQ(mkdir(folder.File("server_ip.txt").c_str(), 0755), 0);
  ServerProcess server(folder.Path(), {"/AUTO"}, {{"QXR_GAME_PORT", std::to_string(clienttest::FreeLoopbackPort(SOCK_DGRAM))}});
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n")) << server.Errors();
  EXPECT_NE(server.Errors().find("Can not write server_ip.txt"), std::string::npos);
  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(), 0);
}

TEST(ServerStartup, TheStatusLineCountsConnectionsUpToFifteenAndRefusesASixteenth) {
  ScratchFolder folder;
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  ServerProcess server(folder.Path(), {"/AUTO"}, {{"QXR_GAME_PORT", std::to_string(port)}});
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n")) << server.Errors();
  net_harness::BindLibrary();
  std::vector<RN_Interface*> clients;
  for (int i = 0; i < 15; ++i) {
    clients.push_back(net_harness::StartClient(port));
    EXPECT_EQ(net_harness::NextClientByte(clients.back()), 16) << "client " << i;
  }
  // Connected players count before they send a name.
  EXPECT_TRUE(server.WaitForOutput("Players Online 15\n")) << server.Output();
  RN_Interface* extra = net_harness::StartClient(port);
  EXPECT_EQ(net_harness::NextClientByte(extra), 23);
  NetLib.DestroyRakClientInterface(extra);

  NetLib.DestroyRakClientInterface(clients.back());
  clients.pop_back();
  EXPECT_TRUE(server.WaitForOutput("Players Online 14\n")) << server.Output();
  for (RN_Interface* client : clients) NetLib.DestroyRakClientInterface(client);
  EXPECT_TRUE(server.WaitForOutput("Players Online 0\n", 5000));
  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(), 0);
}

}  // namespace
