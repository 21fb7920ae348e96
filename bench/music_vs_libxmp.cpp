// Benchmark: real module files rendered by our player and by libxmp in the same run, cubic
// interpolation at 44,100 Hz stereo, and the speed ratio per file (ours / libxmp's).
//
// Usage: bench_music_vs_libxmp [seconds of music per run, default 120] [module files...]
// Without files it renders the MOD files of freedroid-data and the XM file of ceferino-data;
// files that are absent are skipped with a message. Speeds count seconds of music rendered per
// second of this thread's processor time, best of several runs taken in turn.
#include <xmp.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "music/mod_song.h"
#include "music/music_module.h"
#include "music/xm_song.h"
#include "platform/stream.h"

namespace {

constexpr int Rate = 44100;
constexpr int RefillFrames = 735;  // what the game's 60 Hz refill asks for
constexpr int Runs = 5;

const char* const DefaultFiles[] = {
    "/usr/share/games/freedroid/sound/AnarchyMenu1.mod",
    "/usr/share/games/freedroid/sound/The_Last_V8.mod",
    "/usr/share/games/freedroid/sound/android-commando_hiscore.mod",
    "/usr/share/games/freedroid/sound/dreamfish-green_beret.mod",
    "/usr/share/games/freedroid/sound/dreamfish-sanxion.mod",
    "/usr/share/games/freedroid/sound/dreamfish-uridium2_loader.mod",
    "/usr/share/games/freedroid/sound/kollaps-tron.mod",
    "/usr/share/games/freedroid/sound/starpaws.mod",
    "/usr/share/games/ceferino/music/menu.xm",
};

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

bool EndsWithXm(const std::string& name) {
  if (name.size() < 2) return false;
  const std::string tail = name.substr(name.size() - 2);
  return (tail[0] == 'x' || tail[0] == 'X') && (tail[1] == 'm' || tail[1] == 'M');
}

std::shared_ptr<Tunemix_Player> LoadOurs(const std::string& name, const std::vector<uint8_t>& file) {
  if (EndsWithXm(name)) return LoadXMFromMemory(file.data(), file.size());
  return LoadMODFromMemory(file.data(), file.size());
}

// Seconds of this thread's time to render `frames` frames through our player, looping.
double TimeOurs(Tunemix_Player& song, long long frames) {
  song.SetInfo(InfoInterpolation, 2);
  song.SetInfo(InfoRate, Rate);
  song.SetInfo(InfoLoop, 1);
  song.playing = 1;
  std::vector<int16_t> buffer(2 * RefillFrames);
  long checksum = 0;
  const double start = ThreadSeconds();
  for (long long done = 0; done < frames; done += RefillFrames) {
    song.FillBuffer(buffer.data(), static_cast<int>(buffer.size() * sizeof(int16_t)));
    checksum += buffer[done % buffer.size()];
  }
  const double seconds = ThreadSeconds() - start;
  if (checksum == 0x7FFFFFFF) std::puts("");  // keeps the output in use
  return seconds;
}

// The same through libxmp; a negative result when it cannot play the file.
double TimeLibxmp(const std::vector<uint8_t>& file, long long frames) {
  xmp_context context = xmp_create_context();
  if (xmp_load_module_from_memory(context, file.data(), static_cast<long>(file.size())) != 0) {
    xmp_free_context(context);
    return -1.0;
  }
  double seconds = -1.0;
  if (xmp_start_player(context, Rate, 0) == 0) {
    xmp_set_player(context, XMP_PLAYER_INTERP, XMP_INTERP_SPLINE);
    std::vector<int16_t> buffer(2 * RefillFrames);
    long checksum = 0;
    const double start = ThreadSeconds();
    for (long long done = 0; done < frames; done += RefillFrames) {
      xmp_play_buffer(context, buffer.data(), static_cast<int>(buffer.size() * sizeof(int16_t)), 0);
      checksum += buffer[done % buffer.size()];
    }
    seconds = ThreadSeconds() - start;
    if (checksum == 0x7FFFFFFF) std::puts("");
    xmp_end_player(context);
  }
  xmp_release_module(context);
  xmp_free_context(context);
  return seconds;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  InitMusicModule();
  double musicSeconds = 120.0;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (i == 1 && std::atof(argv[i]) > 0.0) {
      musicSeconds = std::atof(argv[i]);
    } else {
      files.emplace_back(argv[i]);
    }
  }
  if (files.empty()) files.assign(std::begin(DefaultFiles), std::end(DefaultFiles));
  const long long frames = static_cast<long long>(musicSeconds * Rate);

  std::printf("%.0f s of music per run, cubic interpolation, %d Hz stereo, best of %d runs\n",
              musicSeconds, Rate, Runs);
  std::printf("%-32s %14s %14s %8s\n", "file", "ours (x real)", "libxmp (x real)", "ratio");
  int rendered = 0, slower = 0;
  for (const std::string& path : files) {
    const std::vector<uint8_t> file = ReadAll(path);
    if (file.empty()) {
      std::printf("%-32s skipped: the file is absent (install freedroid-data and ceferino-data)\n",
                  BaseName(path).c_str());
      continue;
    }
    auto song = LoadOurs(path, file);
    if (!song) {
      std::printf("%-32s skipped: our loader refuses it\n", BaseName(path).c_str());
      continue;
    }
    double ours = 1e300, theirs = 1e300;
    for (int run = 0; run < Runs; ++run) {
      ours = std::min(ours, TimeOurs(*song, frames));
      const double t = TimeLibxmp(file, frames);
      if (t < 0) break;
      theirs = std::min(theirs, t);
    }
    if (theirs >= 1e300) {
      std::printf("%-32s skipped: libxmp cannot play it\n", BaseName(path).c_str());
      continue;
    }
    const double oursSpeed = musicSeconds / ours, theirSpeed = musicSeconds / theirs;
    const double ratio = oursSpeed / theirSpeed;
    std::printf("%-32s %14.0f %14.0f %8.2f\n", BaseName(path).c_str(), oursSpeed, theirSpeed, ratio);
    ++rendered;
    if (ratio < 1.0) ++slower;
  }
  std::printf("%d files rendered, %d slower than libxmp\n", rendered, slower);
  return 0;
}
