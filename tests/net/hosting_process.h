// A real hosting client `qxr`, run headless in real time in a folder of its own, for tests that
// play against it over loopback: it answers the start-up questions, hosts on a free port (F3,
// no registration, no password unless given) and stands in the lounge until it is stopped.
#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/client/client_test_support.h"
#include "tests/net/protocol_client.h"

namespace net_harness {

class HostingProcess {
 public:
  // Frames are page flips at 60 a second: the version question, the title, F3, "register? n",
  // the password prompt (prefilled from ip.txt).
  explicit HostingProcess(int port, const std::string& name = "Hosty", const std::string& password = "")
      : port_(port), password_(password) {
    char pattern[] = "/tmp/qxr-hosting-XXXXXX";
    const char* made = mkdtemp(pattern);
    folder_ = made != nullptr ? made : "/tmp";
    clienttest::WriteText(folder_ + "/ip.txt", name + "\r\n\r\n3\r\nN\r\n\r\n" + password + "\r\n\r\n");
    const std::string script = "1 type n\n2 key 13\n8 key 32\n14 key 114\n20 type n\n22 key 13\n26 key 13\n";
    const std::string unreachable = clienttest::UnreachableHost();
    pid_ = clienttest::StartClientProgram(clienttest::InstallClient(folder_), folder_, script, {"/w"},
                                          {{"QXR_FAST", "0"},
                                           {"QXR_GAME_PORT", std::to_string(port)},
                                           {"QXR_GAMELIST_HOST", unreachable},
                                           {"QXR_ADDRESS_HOST", unreachable}});
  }
  ~HostingProcess() {
    if (pid_ > 0) Stop();
    if (folder_.rfind("/tmp/qxr-hosting-", 0) == 0 && !getenv("QXR_KEEP_TEST_FILES")) {
      const std::string command = "rm -rf '" + folder_ + "'";
      if (std::system(command.c_str()) != 0) return;
    }
  }
  HostingProcess(const HostingProcess&) = delete;
  HostingProcess& operator=(const HostingProcess&) = delete;

  // Ends the program at once, as a crash or SIGKILL would.
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, &exitStatus_, 0);
    pid_ = -1;
  }

  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  const std::string& Folder() const { return folder_; }
  std::string ChatLog() const { return clienttest::ReadText(folder_ + "/Chat.txt"); }
  std::string Errors() const { return clienttest::ReadText(folder_ + "/stderr.txt"); }

  // True while the program runs (it has neither exited nor crashed).
  bool Running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    pid_ = -1;
    exitStatus_ = status;
    return false;
  }

  // Connects client to the host, trying again while the host is still starting up.
  bool Admit(protocol::ProtocolClient& client, int timeoutMs = 30000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline && Running()) {
      if (client.Connect(port_, password_, 2000)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  // Asks the program to end (SIGTERM, sent again every half second while it runs), and kills it
  // when it has not ended after timeoutSeconds. The result says how it ended.
  clienttest::ClientRun Stop(int timeoutSeconds = 20) {
    clienttest::ClientRun run;
    if (pid_ > 0) {
      int status = 0;
      bool ended = false;
      for (int tries = 0; tries < 2 * timeoutSeconds && !ended; ++tries) {
        kill(pid_, SIGTERM);
        for (int ms = 0; ms < 500 && !ended; ms += 10) {
          ended = waitpid(pid_, &status, WNOHANG) == pid_;
          if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
      }
      if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        run.timedOut = true;
      }
      exitStatus_ = status;
      pid_ = -1;
    }
    run.exitCode = !run.timedOut && WIFEXITED(exitStatus_) ? WEXITSTATUS(exitStatus_) : -1;
    run.errors = Errors();
    return run;
  }

 private:
  int port_;
  std::string password_;
  std::string folder_;
  pid_t pid_ = -1;
  int exitStatus_ = 0;
};

}  // namespace net_harness
