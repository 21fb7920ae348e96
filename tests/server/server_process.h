// The real dedicated server run headless in a folder of its own: started in the background,
// its standard output followed, signalled and awaited.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "../client/client_test_support.h"

namespace servertest {

inline std::string ServerProgram() { return ProgramFolder() + "qxr-server"; }

class ServerProcess {
 public:
  // Starts qxr-server in folder with the arguments and extra environment (an input script, when
  // given, is written to the folder and used).
  ServerProcess(const std::string& folder, const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& environment, const std::string& script = "")
      : folder_(folder) {
    std::string scriptPath = folder + "/server_script.txt";
    if (!script.empty()) clienttest::WriteText(scriptPath, script);
    pid_ = fork();
    if (pid_ != 0) return;
    if (chdir(folder.c_str()) != 0) _exit(126);
    int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) dup2(out, 1);
    if (err >= 0) dup2(err, 2);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("QXR_FAST");
    if (!script.empty()) setenv("QXR_INPUT_SCRIPT", scriptPath.c_str(), 1);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    std::string program = ServerProgram();
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv{program.data()};
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  ~ServerProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  pid_t Pid() const { return pid_; }
  std::string Output() const { return clienttest::ReadText(folder_ + "/stdout.txt"); }
  std::string Errors() const { return clienttest::ReadText(folder_ + "/stderr.txt"); }

  // Waits until the standard output holds text; false after timeoutMs.
  bool WaitForOutput(const std::string& text, int timeoutMs = 60000) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
      if (Output().find(text) != std::string::npos) return true;
      if (exited_) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  void Signal(int signal) const { kill(pid_, signal); }

  // False once the program has ended (it is then awaited; WaitExit gives its exit code).
  bool Running() {
    if (exited_) return false;
    if (waitpid(pid_, &status_, WNOHANG) != pid_) return true;
    exited_ = true;
    return false;
  }

  // Its resident memory (VmRSS) in KB; 0 once it has ended.
  long ResidentKb() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return 0;
  }

  // The exit code once the program ended by itself within timeoutMs; -1 when it did not end
  // normally (it is killed after the time-out).
  int WaitExit(int timeoutMs = 60000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!exited_) {
      if (waitpid(pid_, &status_, WNOHANG) == pid_) break;
      if (std::chrono::steady_clock::now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status_, 0);
        exited_ = true;
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    exited_ = true;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }

  // How the program ended, once it has: "exit code N" or "signal N".
  std::string Ending() const {
    if (!exited_) return "running";
    return WIFEXITED(status_) ? "exit code " + std::to_string(WEXITSTATUS(status_))
                              : "signal " + std::to_string(WTERMSIG(status_));
  }

 private:
  std::string folder_;
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = 0;
};

}  // namespace servertest
