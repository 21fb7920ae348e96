// Replays QXR_INPUT_SCRIPT: timed input events, screenshots and the close request, one per line.
//
//   <frame> key <vk> | down <vk> | up <vk> | type <text> | mouse <x> <y> [click] | shot <file.png> | close
//   <frame> wait <file>
//
// Frames count page flips from program start; the events of frame N run during the Nth flip.
// "wait" holds the program in that flip until the file exists (at most a minute, and no longer
// once a termination signal came), so that a test can start several programs' scripted play
// at one moment.
// Blank lines and lines starting with # are skipped; so is a line that cannot be read.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/stream.h"
#include "platform/termination.h"
#include "platform/video_internal.h"

namespace {

struct ScriptEvent {
  int frame = 0;
  std::string verb;
  std::string rest;  // everything after the verb and one space
};

std::string LoadedPath;
std::vector<ScriptEvent> Events;
size_t NextEvent = 0;

void LoadScript(const std::string& path) {
  LoadedPath = path;
  Events.clear();
  NextEvent = 0;
  StreamPtr file = ReadFile(path);
  if (!file) {
    std::fprintf(stderr, "input script %s not found\n", path.c_str());
    return;
  }
  while (!file->Eof()) {
    std::string line = ReadLine(*file);
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    ScriptEvent event;
    char* end = nullptr;
    long frame = std::strtol(line.c_str() + start, &end, 10);
    if (end == line.c_str() + start) continue;
    event.frame = static_cast<int>(frame);
    std::string tail(end);
    size_t verbStart = tail.find_first_not_of(" \t");
    if (verbStart == std::string::npos) continue;
    size_t verbEnd = tail.find_first_of(" \t", verbStart);
    event.verb = tail.substr(verbStart, verbEnd - verbStart);
    if (verbEnd != std::string::npos) event.rest = tail.substr(verbEnd + 1);
    Events.push_back(event);
  }
  // Events of one frame run in file order; frames may be written in any order.
  std::stable_sort(Events.begin(), Events.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
}

// The file named after the verb, without trailing blanks.
std::string FileArgument(const ScriptEvent& event) {
  std::string path = event.rest;
  while (!path.empty() && (path.back() == ' ' || path.back() == '\t' || path.back() == '\r')) path.pop_back();
  return path;
}

void Run(const ScriptEvent& event) {
  std::istringstream args(event.rest);
  if (event.verb == "key" || event.verb == "down" || event.verb == "up") {
    int vk = 0;
    if (!(args >> vk)) return;
    if (event.verb == "key") InjectKeyHit(vk);
    else if (event.verb == "down") InjectKeyDown(vk);
    else InjectKeyUp(vk);
  } else if (event.verb == "type") {
    InjectText(event.rest);
  } else if (event.verb == "mouse") {
    int x = 0, y = 0;
    if (!(args >> x >> y)) return;
    InjectMouse(x, y);
    std::string click;
    if (args >> click && click == "click") InjectMouseClick(1);
  } else if (event.verb == "shot") {
    const std::string path = FileArgument(event);
    const auto start = std::chrono::steady_clock::now();
    const bool saved = SaveScreenshot(path);
    ExcuseFromPacing(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (!saved) std::fprintf(stderr, "input script: cannot save %s\n", path.c_str());
  } else if (event.verb == "wait") {
    const std::string path = FileArgument(event);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    struct stat info {};
    // A program told to quit stops holding, so that it can end.
    while (stat(path.c_str(), &info) != 0 && std::chrono::steady_clock::now() < giveUp && !QuitSignalled())
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } else if (event.verb == "close") {
    InjectClose();
  } else {
    std::fprintf(stderr, "input script: unknown event '%s'\n", event.verb.c_str());
  }
}

}  // namespace

void RunInputScript(int flip) {
  const char* path = std::getenv("QXR_INPUT_SCRIPT");
  if (!path || !*path) return;
  if (path != LoadedPath) LoadScript(path);
  while (NextEvent < Events.size() && Events[NextEvent].frame <= flip) Run(Events[NextEvent++]);
}
