// Times the client's start-up to its first title-screen frame, headless, in fresh processes.
//
// Each run forks a child that runs the real start-up sequence (both questions answered "n" by
// an input script) and one pass of the title loop, then reports back through a pipe; the
// parent measures from the fork to that report. Prints the fastest, median and slowest run.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/client_main.h"
#include "client/title_screen.h"
#include "platform/stream.h"

namespace {

constexpr int Runs = 15;

double OneRun(const std::string& folder) {
  int report[2];
  if (pipe(report) != 0) return -1;
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    close(report[0]);
    if (chdir(folder.c_str()) != 0) _exit(2);
    char program[] = "qxr";
    char* argv[] = {program, nullptr};
    RunClientStartup(1, argv);
    TitleScreenPass();
    char done = 1;
    if (write(report[1], &done, 1) != 1) _exit(3);
    _exit(0);
  }
  close(report[1]);
  char done = 0;
  bool reported = read(report[0], &done, 1) == 1;
  auto end = std::chrono::steady_clock::now();
  close(report[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!reported) return -1;
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("QXR_FAST", "1", 1);
  char pattern[] = "/tmp/qxr-startup-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  std::string folder = pattern;
  std::string script = folder + "/answers.txt";
  {
    StreamPtr file = WriteFile(script);
    if (!file) return 1;
    WriteLine(*file, "1 type n");
    WriteLine(*file, "2 key 13");
    WriteLine(*file, "3 type n");
    WriteLine(*file, "4 key 13");
  }
  setenv("QXR_INPUT_SCRIPT", script.c_str(), 1);

  std::vector<double> times;
  for (int i = 0; i < Runs; ++i) {
    double ms = OneRun(folder);
    if (ms < 0) {
      std::fprintf(stderr, "start-up run %d failed\n", i + 1);
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("client start-up to the first title frame, headless, %d runs: fastest %.1f ms, median %.1f ms, "
              "slowest %.1f ms (goal: under 300 ms)\n",
              Runs, times.front(), times[times.size() / 2], times.back());
  std::string cleanup = "rm -rf '" + folder + "'";
  return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
