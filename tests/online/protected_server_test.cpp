// A dedicated server run by a user who cannot write its folder, with a read-only "server_ip.txt"
// that holds a password: it reads the password, says it cannot write the file back, and keeps its
// game protected; a real client without the password is turned away, one with it is let in.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "online_checks.h"
#include "online_game.h"
#include "round_checks.h"
#include "world/records.h"

namespace {

using namespace onlinetest;

class OnlineProtectedServer : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

TEST_F(OnlineProtectedServer, AReadOnlySettingsFileKeepsTheGameProtectedWhenItCannotBeWrittenBack) {
  // Root writes whatever the permissions say: a root test runs the server as nobody instead.
  servertest::Launch launch;
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) GTEST_SKIP() << "running as root and there is no user nobody to run the server as";
    launch.user = nobody->pw_uid;
    launch.group = nobody->pw_gid;
  }
  OnlineGame game;
  const std::string folder = game.Folder() + "/server";
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  const std::string settings = SettingsText({"N", "Guarded", "sesame"});
  WriteText(folder + "/server_ip.txt", settings);
  servertest::InstallServer(folder);
  for (const char* output : {"/stdout.txt", "/stderr.txt"}) WriteText(folder + output, "");
  // The server's user may pass through the game's folder, read its own and write neither.
  ASSERT_EQ(chmod((folder + "/server_ip.txt").c_str(), 0444), 0);
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  // Writable again at the end, so that the game's folder can be removed whatever happened.
  struct Writable {
    std::string folder;
    ~Writable() { chmod(folder.c_str(), 0755); }
  } writableAtTheEnd{folder};
  ASSERT_EQ(chmod(game.Folder().c_str(), 0755), 0);
  servertest::ServerProcess server(folder, {"/AUTO"}, game.Environment(), launch);
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n", 60000)) << server.Ending() << "\n" << server.Errors();
  EXPECT_NE(server.Errors().find("Can not write server_ip.txt"), std::string::npos) << server.Errors();

  Player& sneaky = game.AddJoiner("Sneaky", 5);
  Script play = game.PlayOf(sneaky);
  play.Shot(6.0, "after").Key(6.5, Vk::F10);
  game.StartJoiner(sneaky, play);
  ASSERT_TRUE(game.Go());
  game.Finish(60);
  EXPECT_EQ(sneaky.run.exitCode, 0) << sneaky.run.errors;
  EXPECT_NE(sneaky.run.errors.find("Incorrect Password"), std::string::npos) << sneaky.run.errors;
  EXPECT_TRUE(BigTextAt(ShotOf(sneaky, "after"), "F2...Single Player", 90, 114, {0, 255, 0}))
      << "the refused client is not back in the menu";

  // The password guards the game; the one who knows it gets in.
  net_harness::BindLibrary();
  RN_Interface* friendly = net_harness::StartClient(game.Port(), "sesame");
  EXPECT_EQ(net_harness::NextClientByte(friendly, 20000), RN_ID_CONNECTION_REQUEST_ACCEPTED);
  EXPECT_TRUE(server.WaitForOutput("Players Online 1\n", 60000)) << server.Output();
  NetLib.DestroyRakClientInterface(friendly);
  EXPECT_TRUE(server.WaitForOutput("Players Online 1\nPlayers Online 0\n", 60000)) << server.Output();

  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(60000), 0) << server.Errors();
  EXPECT_EQ(ReadText(folder + "/server_ip.txt"), settings);
}

}  // namespace
