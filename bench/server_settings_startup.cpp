// Timing program: the dedicated server's start-up with an ordinary "server_ip.txt" and with one
// whose title line is 100 MB long. Starts build/bin's qxr-server headless with "/AUTO" in a
// scratch folder for each, and reports the time to its first status line and its peak resident
// memory. Usage: bench_server_settings_startup [megabytes of the long line, default 100]
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/server/server_process.h"

namespace {

// Peak resident memory (VmHWM) of a running process, in KB.
long PeakResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

struct Figures {
  double startMs = -1;
  long peakKb = 0;
};

Figures StartWith(const std::string& settings) {
  clienttest::ScratchFolder folder;
  clienttest::WriteText(folder.File("server_ip.txt"), settings);
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  const auto start = std::chrono::steady_clock::now();
  servertest::ServerProcess server(folder.Path(), {"/AUTO"}, {{"QXR_GAME_PORT", std::to_string(port)}});
  Figures figures;
  if (!server.WaitForOutput("Players Online 0", 120000)) {
    std::fprintf(stderr, "the server did not start: %s\n", server.Errors().c_str());
    return figures;
  }
  figures.startMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  figures.peakKb = PeakResidentKb(server.Pid());
  server.Signal(SIGTERM);
  server.WaitExit();
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const long megabytes = argc > 1 ? std::atol(argv[1]) : 100;
  const Figures ordinary = StartWith("N\r\nA title\r\npassword\r\n");
  const Figures huge = StartWith("N\r\n" + std::string(static_cast<size_t>(megabytes) << 20, 'T') + "\r\npassword\r\n");
  std::printf("server start-up to its first status line, and its peak resident memory:\n");
  std::printf("  ordinary settings file      %8.0f ms  %6.1f MB\n", ordinary.startMs, ordinary.peakKb / 1024.0);
  std::printf("  title line of %4ld MB        %8.0f ms  %6.1f MB  (goal: as the ordinary file)\n", megabytes,
              huge.startMs, huge.peakKb / 1024.0);
  return ordinary.startMs < 0 || huge.startMs < 0 ? 1 : 0;
}
