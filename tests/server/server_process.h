// The real dedicated server run headless from a folder of its own (it works beside itself, so
// its settings file and chat log are those of that folder): started in the background, its
// standard output followed, signalled and awaited.
#pragma once

#include <fcntl.h>
#include <grp.h>
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

// The server program and the library it loads, linked (or else copied) into folder; returns the
// program's path there.
inline std::string InstallServer(const std::string& folder) {
  clienttest::InstallFiles(folder, {"qxr-server", "libqxrnet.so"});
  return folder + "/qxr-server";
}

// How a server is started besides its folder, arguments and environment.
struct Launch {
  std::string script;      // an input script, written to the folder and used, when not empty
  std::string startIn;     // the working folder it is started from; empty: its own folder
  uid_t user = 0;          // another user and group to run as (root may drop to them); 0: as the
  gid_t group = 0;         // test runs
};

class ServerProcess {
 public:
  // Starts qxr-server, installed in folder unless it already is (its standard output and error
  // go to stdout.txt and stderr.txt there), with the arguments and extra environment.
  ServerProcess(const std::string& folder, const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& environment, const Launch& launch)
      : folder_(folder) {
    const std::string scriptPath = folder + "/server_script.txt";
    if (!launch.script.empty()) clienttest::WriteText(scriptPath, launch.script);
    const std::string startIn = launch.startIn.empty() ? folder : launch.startIn;
    const std::string out = folder + "/stdout.txt", err = folder + "/stderr.txt";

    std::map<std::string, std::string> variables = clienttest::HeadlessEnvironment();
    variables.erase("QXR_FAST");
    if (!launch.script.empty()) variables["QXR_INPUT_SCRIPT"] = scriptPath;
    for (const auto& [name, value] : environment) variables[name] = value;
    clienttest::ChildCommand command(InstallServer(folder), arguments, variables);

    pid_ = fork();
    if (pid_ != 0) return;
    const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (outFile >= 0) dup2(outFile, 1);
    if (errFile >= 0) dup2(errFile, 2);
    if (launch.user != 0 && (setgroups(0, nullptr) != 0 || setgid(launch.group) != 0 || setuid(launch.user) != 0))
      _exit(125);
    if (chdir(startIn.c_str()) != 0) _exit(126);
    command.Exec();
  }
  ServerProcess(const std::string& folder, const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& environment, const std::string& script = "")
      : ServerProcess(folder, arguments, environment, WithScript(script)) {}
  ~ServerProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  static Launch WithScript(const std::string& script) {
    Launch launch;
    launch.script = script;
    return launch;
  }

  pid_t Pid() const { return pid_; }
  std::string Output() const { return clienttest::ReadText(folder_ + "/stdout.txt"); }
  std::string Errors() const { return clienttest::ReadText(folder_ + "/stderr.txt"); }

  // Waits until the standard output holds text; false after timeoutMs.
  bool WaitForOutput(const std::string& text, int timeoutMs = 10000) const {
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
  int WaitExit(int timeoutMs = 10000) {
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
