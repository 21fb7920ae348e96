// Test helpers of the client suite: a scratch working folder, a stand-in HTTP service on
// 127.0.0.1, and running the real client program headless.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/stream.h"

namespace clienttest {

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

inline bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// Polls for a file until it appears or the time runs out.
inline bool WaitForFile(const std::string& path, double seconds) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
  while (!FileExists(path)) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// A fresh folder under /tmp that becomes the working directory while the object lives.
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/qxr-client-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "/tmp";
    char here[PATH_MAX];
    previous_ = getcwd(here, sizeof here) ? here : "/tmp";
    if (chdir(path_.c_str()) != 0) path_ = previous_;
  }
  ~ScratchFolder() {
    if (chdir(previous_.c_str()) != 0) return;
    std::string command = "rm -rf '" + path_ + "'";
    if (path_.rfind("/tmp/qxr-client-test-", 0) == 0 && std::system(command.c_str()) != 0) return;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::string previous_;
};

// A reply a misbehaving service sends as it stands: the whole text (status line, headers and
// body), of which the first sentAtOnce bytes go at once and the rest one byte every byteEveryMs;
// with holdOpen the connection then stays open, silent, until the service stops.
struct RawReply {
  std::string text;
  size_t sentAtOnce = std::string::npos;
  int byteEveryMs = 0;
  bool holdOpen = false;
};

// Answers every GET on 127.0.0.1 with a fixed body per path ("HTTP/1.0 200 OK"; a path with a
// query is answered by the body of the whole path, else of the part before "?"), 404 for the
// rest. Answer() gives a path raw replies instead, one per request in turn, the last one for
// every request after. Records the paths asked for, and the request lines. Raw replies are sent
// on threads of their own, so a service that trickles or holds one connection still answers
// the others.
class StandInHttpService {
 public:
  explicit StandInHttpService(std::map<std::string, std::string> bodies) : bodies_(std::move(bodies)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 8);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~StandInHttpService() {
    stop_ = true;
    thread_.join();
    for (std::thread& sender : senders_) sender.join();
    close(listener_);
  }
  StandInHttpService(const StandInHttpService&) = delete;
  StandInHttpService& operator=(const StandInHttpService&) = delete;

  // The next request for path (the whole path, or the part before "?") gets reply.
  void Answer(const std::string& path, RawReply reply) {
    std::lock_guard<std::mutex> hold(lock_);
    raw_[path].push_back(std::move(reply));
  }

  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  int Requests() const { return requests_; }
  // The paths (with their queries) asked for so far, in order.
  std::vector<std::string> Paths() const {
    std::lock_guard<std::mutex> hold(lock_);
    return paths_;
  }
  // The first line of every request so far ("GET <path> HTTP/1.0"), in order.
  std::vector<std::string> RequestLines() const {
    std::lock_guard<std::mutex> hold(lock_);
    return lines_;
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd waiting{listener_, POLLIN, 0};
      if (poll(&waiting, 1, 20) <= 0) continue;
      int connection = accept(listener_, nullptr, nullptr);
      if (connection < 0) continue;
      std::string request;
      char buffer[1024];
      while (request.find("\r\n\r\n") == std::string::npos) {
        pollfd readable{connection, POLLIN, 0};
        if (poll(&readable, 1, 2000) <= 0) break;
        ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<size_t>(got));
      }
      std::string path;
      if (request.rfind("GET ", 0) == 0) path = request.substr(4, request.find(' ', 4) - 4);
      RawReply raw;
      bool misbehaves = false;
      {
        std::lock_guard<std::mutex> hold(lock_);
        paths_.push_back(path);
        lines_.push_back(request.substr(0, request.find("\r\n")));
        auto queued = raw_.find(path);
        if (queued == raw_.end()) queued = raw_.find(path.substr(0, path.find('?')));
        if (queued != raw_.end() && !queued->second.empty()) {
          misbehaves = true;
          raw = queued->second.front();
          if (queued->second.size() > 1) queued->second.erase(queued->second.begin());
        }
      }
      ++requests_;
      if (misbehaves) {
        senders_.emplace_back([this, connection, raw] { SendRaw(connection, raw); });
        continue;
      }
      auto found = bodies_.find(path);
      if (found == bodies_.end()) found = bodies_.find(path.substr(0, path.find('?')));
      std::string reply = found != bodies_.end()
                              ? "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + found->second
                              : std::string("HTTP/1.0 404 Not Found\r\n\r\n");
      send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
      close(connection);
    }
  }

  // Sleeps up to ms in short steps; false once the service stops.
  bool Pause(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
      if (stop_) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !stop_;
  }

  // Sends all of text unless the peer goes or the service stops; false then.
  bool SendAll(int connection, const char* text, size_t size) {
    timeval patience{0, 100 * 1000};
    setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    while (size > 0 && !stop_) {
      const ssize_t sent = send(connection, text, size, MSG_NOSIGNAL);
      if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
      if (sent <= 0) return false;
      text += sent;
      size -= static_cast<size_t>(sent);
    }
    return size == 0;
  }

  void SendRaw(int connection, const RawReply& reply) {
    const size_t atOnce = std::min(reply.sentAtOnce, reply.text.size());
    bool open = SendAll(connection, reply.text.data(), atOnce);
    for (size_t i = atOnce; open && i < reply.text.size(); ++i)
      open = Pause(reply.byteEveryMs) && SendAll(connection, reply.text.data() + i, 1);
    if (open && reply.holdOpen)
      while (Pause(50)) {
      }
    close(connection);
  }

  std::map<std::string, std::string> bodies_;
  std::map<std::string, std::vector<RawReply>> raw_;
  mutable std::mutex lock_;
  std::vector<std::string> paths_;
  std::vector<std::string> lines_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  std::thread thread_;
  std::vector<std::thread> senders_;  // only the serving thread adds to it
};

// True in the sanitizer build, whose programs run several times slower.
inline bool SanitizerBuild() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  return false;
#endif
}

// A port on 127.0.0.1 that was free a moment ago, for the socket type (SOCK_STREAM, SOCK_DGRAM).
inline int FreeLoopbackPort(int type) {
  int s = socket(AF_INET, type, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  return ntohs(address.sin_port);
}

// A host:port on 127.0.0.1 where nothing listens.
inline std::string UnreachableHost() { return "127.0.0.1:" + std::to_string(FreeLoopbackPort(SOCK_STREAM)); }

// The real client program, beside the test program in the build's bin/ folder.
inline std::string ClientProgram() { return ProgramFolder() + "qxr"; }

// Files of the build's bin/ folder linked (or else copied) into folder.
inline void InstallFiles(const std::string& folder, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const std::string from = ProgramFolder() + name, to = folder + "/" + name;
    if (access(to.c_str(), F_OK) == 0 || link(from.c_str(), to.c_str()) == 0) continue;
    std::error_code ignored;
    std::filesystem::copy_file(from, to, ignored);
  }
}

// The client program and the libraries it loads, linked (or else copied) into folder: the
// program works in its own folder, so its settings, chat log and tunes are those of folder.
// Returns the program's path there.
inline std::string InstallClient(const std::string& folder) {
  InstallFiles(folder, {"qxr", "libqxrnet.so", "libqxrsound.so", "libqxracm.so"});
  return folder + "/qxr";
}

// The test's own environment with SDL's headless drivers, for a program to be started.
inline std::map<std::string, std::string> HeadlessEnvironment() {
  std::map<std::string, std::string> variables;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const size_t equals = entry.find('=');
    if (equals != std::string::npos) variables[entry.substr(0, equals)] = entry.substr(equals + 1);
  }
  variables["SDL_VIDEODRIVER"] = "dummy";
  variables["SDL_AUDIODRIVER"] = "dummy";
  return variables;
}

// A program's arguments and environment as execve takes them, made before fork: between fork
// and exec only async-signal-safe calls may run, as other threads of the test (a stand-in
// service) may hold locks.
class ChildCommand {
 public:
  ChildCommand(std::string program, const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& variables)
      : program_(std::move(program)), arguments_(arguments) {
    for (const auto& [name, value] : variables) entries_.push_back(name + "=" + value);
    for (std::string& entry : entries_) envp_.push_back(entry.data());
    envp_.push_back(nullptr);
    argv_.push_back(program_.data());
    for (std::string& a : arguments_) argv_.push_back(a.data());
    argv_.push_back(nullptr);
  }
  ChildCommand(const ChildCommand&) = delete;
  ChildCommand& operator=(const ChildCommand&) = delete;

  // Only async-signal-safe calls: for the child between fork and exec.
  [[noreturn]] void Exec() {
    execve(program_.c_str(), argv_.data(), envp_.data());
    _exit(127);
  }

 private:
  std::string program_;
  std::vector<std::string> arguments_, entries_;
  std::vector<char*> argv_, envp_;
};

struct ClientRun {
  int exitCode = -1;     // -1 when it had to be killed or did not exit normally
  bool timedOut = false;
  std::string errors;    // what it wrote on standard error (headless message boxes)
  std::string output;    // what it wrote on standard output, when it was kept (the music player's reports)
};

// Starts program headless in folder with the input script, the extra environment and the
// arguments, without waiting for it; its standard error goes to folder/stderr.txt, and its
// standard output to folder/stdout.txt with keepOutput (else nowhere). fast sets
// QXR_FAST=1 (the clock advanced by the flips, no waiting); without it the program runs in real
// time.
inline pid_t StartClientProgram(std::string program, const std::string& folder, const std::string& script,
                                const std::vector<std::string>& arguments = {},
                                const std::map<std::string, std::string>& environment = {}, bool fast = true,
                                bool keepOutput = false) {
  std::string scriptPath = folder + "/input_script.txt";
  WriteText(scriptPath, script);
  std::string errorsPath = folder + "/stderr.txt";
  std::string outputPath = folder + "/stdout.txt";

  std::map<std::string, std::string> variables = HeadlessEnvironment();
  if (fast) variables["QXR_FAST"] = "1";
  else variables.erase("QXR_FAST");
  variables["QXR_INPUT_SCRIPT"] = scriptPath;
  for (const auto& [name, value] : environment) variables[name] = value;
  ChildCommand command(program, arguments, variables);

  pid_t child = fork();
  if (child == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    int errors = open(errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (errors >= 0) dup2(errors, 2);
    int nothing = open("/dev/null", O_RDWR);
    if (nothing >= 0) {
      dup2(nothing, 0);
      dup2(nothing, 1);
    }
    if (keepOutput) {
      int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (output >= 0) dup2(output, 1);
    }
    command.Exec();
  }
  return child;
}

// Waits for a program started by StartClientProgram to end; kills it after timeoutSeconds.
inline ClientRun WaitClientProgram(pid_t child, const std::string& folder, int timeoutSeconds = 60) {
  ClientRun run;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  int status = 0;
  for (;;) {
    pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      run.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!run.timedOut && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  run.errors = ReadText(folder + "/stderr.txt");
  run.output = ReadText(folder + "/stdout.txt");
  return run;
}

// Runs program headless and fast, started in folder, with the input script, the extra
// environment and the arguments; kills it after timeoutSeconds. keepOutput as StartClientProgram.
inline ClientRun RunClientProgram(std::string program, const std::string& folder, const std::string& script,
                                  const std::vector<std::string>& arguments = {},
                                  const std::map<std::string, std::string>& environment = {},
                                  int timeoutSeconds = 60, bool keepOutput = false) {
  return WaitClientProgram(
      StartClientProgram(std::move(program), folder, script, arguments, environment, true, keepOutput), folder,
      timeoutSeconds);
}

// The real client program installed in folder and run there as RunClientProgram does.
inline ClientRun RunClient(const std::string& folder, const std::string& script,
                           const std::vector<std::string>& arguments = {},
                           const std::map<std::string, std::string>& environment = {}, int timeoutSeconds = 60) {
  return RunClientProgram(InstallClient(folder), folder, script, arguments, environment, timeoutSeconds);
}

}  // namespace clienttest
