// An online game of real programs on loopback: a hosting client or a dedicated server, and
// joining clients, each in its own folder with its own settings file, on a free game port, with
// a stand-in for the game-list and address services. The clients run in real time and start
// their scripted play together, so a moment of the game has one frame number in every script.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../client/client_test_support.h"
#include "../net/net_harness.h"
#include "../server/server_process.h"

namespace onlinetest {

using clienttest::ClientRun;
using clienttest::ReadText;
using clienttest::WriteText;

// Windows virtual-key codes the scripts use.
namespace Vk {
constexpr int Enter = 13, Escape = 27, Space = 32, Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F7 = 118, F10 = 121;
constexpr int Y = 'Y';
}  // namespace Vk

// Frames of the scripted play count from the moment all programs are let go ("tick" 0): a
// program's own frame numbers start earlier by the frames it spent getting there. A program's
// frames fall behind the clock a little at every stall of more than a few frames, so the
// programs meet again at sync points: each holds there until all of them got there.
class Script {
 public:
  Script(int goFrame, std::string syncFolder) : goFrame_(goFrame), syncFolder_(std::move(syncFolder)) {}
  Script& Raw(int frame, const std::string& event) {
    text_ << frame << ' ' << event << '\n';
    return *this;
  }
  // An event at tick t after the start of play.
  Script& At(double seconds, const std::string& event) { return Raw(Frame(seconds), event); }
  Script& Key(double seconds, int vk) { return At(seconds, "key " + std::to_string(vk)); }
  Script& Hold(double seconds, int vk) { return At(seconds, "down " + std::to_string(vk)); }
  Script& Release(double seconds, int vk) { return At(seconds, "up " + std::to_string(vk)); }
  Script& Type(double seconds, const std::string& text) { return At(seconds, "type " + text); }
  Script& Shot(double seconds, const std::string& name) { return At(seconds, "shot " + name + ".png"); }
  // The same key every interval seconds from..to (a key that must come after something the
  // program cannot see coming, such as another player's choice).
  Script& KeyEvery(double from, double to, double interval, int vk) {
    for (double t = from; t <= to + 1e-9; t += interval) Key(t, vk);
    return *this;
  }
  // Holds at tick t until the test lets every program on from the sync point name; its
  // screenshot tells the test that the program got there.
  Script& Sync(double seconds, const std::string& name) {
    return Shot(seconds, "sync-" + name).At(seconds, "wait " + syncFolder_ + "/sync-" + name);
  }
  int Frame(double seconds) const { return goFrame_ + static_cast<int>(seconds * 60 + 0.5); }
  std::string Text() const { return text_.str(); }

 private:
  int goFrame_;
  std::string syncFolder_;
  std::ostringstream text_;
};

struct Player {
  std::string name;    // as typed in "ip.txt"
  std::string folder;
  int skin = 0;
  int goFrame = 0;     // the program's frame at tick 0
  pid_t pid = -1;
  ClientRun run;
  bool finished = false;
  std::string File(const std::string& file) const { return folder + "/" + file; }
  std::string Errors() const { return ReadText(File("stderr.txt")); }
};

// The settings file: name, last host, skin, register answer, description, host password,
// connect password.
inline std::string SettingsText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

using clienttest::FileExists;
using clienttest::WaitForFile;

// Seconds since the epoch at which a file was last written.
inline double WrittenAt(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return 0;
  return static_cast<double>(info.st_mtim.tv_sec) + info.st_mtim.tv_nsec / 1e9;
}

// A prompt's answer in a script from frame on: the line editor takes one typed character a
// frame and drops whatever is still queued once Enter ends the line, so the Enter goes after
// the text and the next prompt waits for it. Gives the first frame after the answer.
inline int AnswerPrompt(std::ostringstream& script, int frame, const std::string& text) {
  if (!text.empty()) script << frame << " type " << text << "\n";
  const int enter = frame + static_cast<int>(text.size()) + 3;
  script << enter << " key " << Vk::Enter << "\n";
  return enter + 4;
}

// The host's start-up up to the lounge: the version question, the title, F3, the register
// question answered with registerAnswer (and, for "y", the description and the own address),
// the password prompt (filled from the settings) with password typed after it. The host is in
// the lounge well before HostGoFrame.
inline const int HostGoFrame = 90;
inline std::string HostStartScript(const std::string& registerAnswer = "n", const std::string& description = "",
                                   const std::string& ownAddress = "", const std::string& password = "") {
  std::ostringstream s;
  s << "1 type n\n2 key 13\n8 key 32\n14 key " << Vk::F3 << "\n";
  int frame = AnswerPrompt(s, 18, registerAnswer);
  if (registerAnswer == "y" || registerAnswer == "Y") {
    frame = AnswerPrompt(s, frame, description);
    frame = AnswerPrompt(s, frame, ownAddress);
  }
  AnswerPrompt(s, frame, password);
  return s.str();
}

// A joiner started with "/autojoin" holds on the title screen; it leaves the title with Space
// and joins the host at once. Joiners leaving the title a second apart join in that order, and
// the host gives them slots 1, 2, ... in the same order.
inline const int JoinerGoFrame = 2;

// A client started without "/autojoin" answers the version question, leaves the title and
// holds in the main menu.
inline const int MenuGoFrame = 20;
inline const char* const JoinerMenuScript = "1 type n\n2 key 13\n8 key 32\n";

class OnlineGame {
 public:
  OnlineGame() : port_(net_harness::UnusedPort()) {
    char pattern[] = "/tmp/qxr-online-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    folder_ = made ? made : "/tmp";
    environment_["QXR_GAME_PORT"] = std::to_string(port_);
    // No run reaches out to the real services by accident.
    UseWebServices(clienttest::UnreachableHost(), clienttest::UnreachableHost());
  }
  ~OnlineGame() {
    server_.reset();
    for (auto& player : players_) {
      if (player->pid > 0 && !player->finished) {
        kill(player->pid, SIGKILL);
        waitpid(player->pid, nullptr, 0);
      }
    }
    KeepFolders();
    if (folder_.rfind("/tmp/qxr-online-test-", 0) == 0) {
      std::string command = "rm -rf '" + folder_ + "'";
      if (std::system(command.c_str()) != 0) return;
    }
  }
  OnlineGame(const OnlineGame&) = delete;
  OnlineGame& operator=(const OnlineGame&) = delete;

  int Port() const { return port_; }
  const std::string& Folder() const { return folder_; }
  // The environment of every program: the game port and the two web services.
  std::map<std::string, std::string>& Environment() { return environment_; }
  void UseWebServices(const std::string& gameListHost, const std::string& addressHost) {
    environment_["QXR_GAMELIST_HOST"] = gameListHost;
    environment_["QXR_ADDRESS_HOST"] = addressHost;
  }

  // A player folder with its settings file; the program is started by Start.
  Player& Add(const std::string& name, const std::string& settings, int goFrame) {
    auto player = std::make_unique<Player>();
    player->name = name;
    player->folder = folder_ + "/" + std::to_string(players_.size()) + "-" + name;
    player->goFrame = goFrame;
    mkdir(player->folder.c_str(), 0755);
    WriteText(player->File("ip.txt"), settings);
    players_.push_back(std::move(player));
    return *players_.back();
  }
  Player& AddHost(const std::string& name, int skin, const std::string& hostPassword = "") {
    Player& p = Add(name, SettingsText({name, "", std::to_string(skin), "", "", hostPassword, ""}), HostGoFrame);
    p.skin = skin;
    return p;
  }
  // A joiner whose settings keep the host's address; started by StartJoiner it joins at once
  // ("/autojoin"), started with JoinerMenuScript it waits in the menu.
  Player& AddJoiner(const std::string& name, int skin, const std::string& address = "127.0.0.1",
                    bool autojoin = true) {
    Player& p = Add(name, SettingsText({name, address, std::to_string(skin), "", "", "", ""}),
                    autojoin ? JoinerGoFrame : MenuGoFrame);
    p.skin = skin;
    return p;
  }
  Player& AddMenuJoiner(const std::string& name, int skin, const std::string& address = "127.0.0.1") {
    return AddJoiner(name, skin, address, false);
  }

  // A dedicated server hosts the game instead of a hosting client: "qxr-server /AUTO" in a
  // folder of its own with settings as its "server_ip.txt" (register answer, title, password),
  // on the game's port and with the game's web services. False when it did not come up.
  bool StartServer(const std::string& settings) {
    const std::string folder = folder_ + "/server";
    mkdir(folder.c_str(), 0755);
    WriteText(folder + "/server_ip.txt", settings);
    server_ = std::make_unique<servertest::ServerProcess>(folder, std::vector<std::string>{"/AUTO"}, environment_);
    if (server_->WaitForOutput("Players Online 0\n")) return true;
    ADD_FAILURE() << "the server did not come up:\n" << server_->Errors();
    return false;
  }
  servertest::ServerProcess& Server() { return *server_; }
  std::string ServerFile(const std::string& file) const { return folder_ + "/server/" + file; }

  // The play of a player: its script from tick 0 on.
  Script PlayOf(const Player& player) const { return Script(player.goFrame, folder_); }

  // Starts the program of a player with its start-up script and then its play, which first
  // holds at the sync point "go".
  void Start(Player& player, const std::string& startup, const std::string& play,
             const std::vector<std::string>& arguments, bool fast = false) {
    Script go = PlayOf(player);
    go.Sync(0, "go");
    // The client keeps its settings and chat log beside the program: each player gets its own.
    player.pid = clienttest::StartClientProgram(clienttest::InstallClient(player.folder), player.folder,
                                                startup + go.Text() + play, arguments, Environment(), fast);
  }
  void StartHost(Player& host, const Script& play, const std::string& startup = HostStartScript()) {
    Start(host, startup, play.Text(), {"/w"});
  }
  void StartJoiner(Player& joiner, const Script& play, double leaveTitle = 0.05) {
    Script title = PlayOf(joiner);
    title.Key(leaveTitle, Vk::Space);
    Start(joiner, "", title.Text() + play.Text(), {"/w", "/autojoin"});
  }

  // Lets every started program go on from the sync point once all of them got there.
  bool Release(const std::string& name, double seconds = 90) {
    std::vector<const Player*> started;
    for (auto& player : players_) {
      if (player->pid > 0 && !player->finished) started.push_back(player.get());
    }
    return Release(name, started, seconds);
  }
  // Lets the programs that hold at the sync point go on once all of them got there (a point
  // only some of the programs' plays have).
  bool Release(const std::string& name, const std::vector<const Player*>& holders, double seconds = 90) {
    bool all = true;
    for (const Player* player : holders) {
      if (!WaitForFile(player->File("sync-" + name + ".png"), seconds)) {
        ADD_FAILURE() << player->name << " never got to " << name << ":\n" << player->Errors();
        all = false;
        break;
      }
    }
    WriteText(folder_ + "/sync-" + name, name);
    return all;
  }
  bool Go(double seconds = 90) { return Release("go", seconds); }

  // Waits for every program to end by itself, seconds at most from now.
  void Finish(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    for (auto& player : players_) {
      if (player->pid <= 0 || player->finished) continue;
      const auto left = std::chrono::duration_cast<std::chrono::seconds>(deadline - std::chrono::steady_clock::now());
      player->run = clienttest::WaitClientProgram(player->pid, player->folder, std::max<int>(1, static_cast<int>(left.count())));
      player->finished = true;
      EXPECT_FALSE(player->run.timedOut) << player->name << " did not end in time:\n" << player->run.errors;
    }
  }

 private:
  // With QXR_E2E_SHOTS set to a folder, the players' folders of a run are kept there.
  void KeepFolders() const {
    const char* keep = std::getenv("QXR_E2E_SHOTS");
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!keep || !*keep || info == nullptr) return;
    std::string target = std::string(keep) + "/" + info->name();
    std::string command = "mkdir -p '" + target + "' && cp -a '" + folder_ + "'/. '" + target + "'/";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not keep the run in " << target;
  }

  int port_;
  std::string folder_;
  std::map<std::string, std::string> environment_;
  std::vector<std::unique_ptr<Player>> players_;
  std::unique_ptr<servertest::ServerProcess> server_;
};

}  // namespace onlinetest
