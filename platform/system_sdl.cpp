// The rest of the operating system: title, message boxes, window icon, errors, exit hooks.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/png_codec.h"
#include "platform/stream.h"
#include "platform/system.h"
#include "platform/video_internal.h"

namespace {

std::string Title;

// Never destroyed: the hooks run from atexit, after the program's statics may be gone.
std::vector<std::function<void()>>& ExitHooks() {
  static auto* hooks = new std::vector<std::function<void()>>;
  return *hooks;
}

void RunExitHooks() {
  // Last registered runs first; each runs once even if a hook ends the program again.
  auto& hooks = ExitHooks();
  while (!hooks.empty()) {
    auto hook = std::move(hooks.back());
    hooks.pop_back();
    hook();
  }
}

bool IsHeadlessDriver(const char* name) {
  return name && (std::strcmp(name, "dummy") == 0 || std::strcmp(name, "offscreen") == 0);
}

}  // namespace

void AppTitle(const std::string& title) {
  Title = title;
  if (VideoWindow()) SDL_SetWindowTitle(VideoWindow(), title.c_str());
}

const std::string& AppTitleText() { return Title; }

void Notify(const std::string& text) {
  if (VideoWindow() && !Headless()) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, Title.c_str(), text.c_str(), VideoWindow()) == 0)
      return;
  }
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

void* ActiveWindow() {
  SDL_Window* window = VideoWindow();
  return window && SDL_GetKeyboardFocus() == window ? window : nullptr;
}

void SetOwnWindowIcon(int /*styleBits: SDL windows can always be minimised*/) {
  SDL_Window* window = VideoWindow();
  if (!window || !EmbeddedFileExists("pictures/icon.png")) return;
  DecodedPicture picture;
  if (!DecodePng(ReadAll("incbin::pictures/icon.png"), picture)) return;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(picture.argb.data(), picture.width, picture.height, 32,
                                                         picture.width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

void RaiseError(const std::string& message) { throw RuntimeError(message); }

void AtProgramExit(std::function<void()> fn) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    std::atexit(RunExitHooks);
  }
  ExitHooks().push_back(std::move(fn));
}

void EndProgram(int code) {
  std::fflush(stdout);
  std::exit(code);  // runs the exit hooks through atexit
}

bool Headless() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return IsHeadlessDriver(SDL_GetCurrentVideoDriver());
  if (IsHeadlessDriver(std::getenv("SDL_VIDEODRIVER"))) return true;
  return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
}
