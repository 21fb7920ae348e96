// Benchmark: real module files rendered by our player and by libxmp in the same run, cubic
// interpolation at 44,100 Hz stereo, and the speed ratio per file (ours / libxmp's).
//
// Usage: bench_music_vs_libxmp [seconds of music per run, default 120] [module files...]
// Without files it renders the MOD and XM files of the Debian game-data packages that
// scripts/setup.sh installs (freedroid-data, ceferino-data, bomberclone-data, njam-data,
// tecnoballz-data); folders that are absent are skipped with a message. Speeds count seconds of
// music rendered per second of this thread's processor time, best of several runs taken in turn.
// Each file's line ends with a hash of our output for the first run's length from the song's
// start, so that a change to the player can show that it leaves every file's sound as it was.
#include <xmp.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
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

// The folders of the default corpus, with the package that fills each.
struct CorpusFolder {
  const char* path;
  const char* package;
};
const CorpusFolder DefaultFolders[] = {
    {"/usr/share/games/freedroid/sound", "freedroid-data"},
    {"/usr/share/games/ceferino/music", "ceferino-data"},
    {"/usr/share/games/bomberclone/music", "bomberclone-data"},
    {"/usr/share/games/njam/data", "njam-data"},
    {"/usr/share/games/tecnoballz/musics", "tecnoballz-data"},
};

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

bool EndsWith(const std::string& name, const std::string& ending) {
  if (name.size() < ending.size()) return false;
  for (size_t i = 0; i < ending.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[name.size() - ending.size() + i])) != ending[i]) return false;
  }
  return true;
}

// An XM by its name or by its signature (one of tecnoballz-data's ".mod" files is an XM).
bool IsXm(const std::string& name, const std::vector<uint8_t>& file) {
  static const char signature[] = "Extended Module: ";
  const size_t n = sizeof signature - 1;
  return EndsWith(name, ".xm") || (file.size() >= n && std::equal(file.begin(), file.begin() + n, signature));
}

// The MOD and XM files of the default folders, each folder's in name order.
std::vector<std::string> DefaultCorpus() {
  std::vector<std::string> files;
  for (const CorpusFolder& folder : DefaultFolders) {
    if (FileType(folder.path) != 2) {
      std::printf("%-32s skipped: the folder is absent (install %s)\n", folder.path, folder.package);
      continue;
    }
    std::vector<std::string> names = ListDirectory(folder.path);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      if (EndsWith(name, ".mod") || EndsWith(name, ".xm")) files.push_back(std::string(folder.path) + "/" + name);
    }
  }
  return files;
}

std::shared_ptr<Tunemix_Player> LoadOurs(const std::string& name, const std::vector<uint8_t>& file) {
  if (IsXm(name, file)) return LoadXMFromMemory(file.data(), file.size());
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

// FNV-1a over our output for `frames` frames from the song's start, in refills of the game's
// size: the same number for the same sound.
uint64_t HashOurs(const std::string& name, const std::vector<uint8_t>& file, long long frames) {
  auto song = LoadOurs(name, file);
  song->SetInfo(InfoInterpolation, 2);
  song->SetInfo(InfoRate, Rate);
  song->SetInfo(InfoLoop, 1);
  song->playing = 1;
  std::vector<int16_t> buffer(2 * RefillFrames);
  uint64_t hash = 14695981039346656037ULL;
  for (long long done = 0; done < frames; done += RefillFrames) {
    song->FillBuffer(buffer.data(), static_cast<int>(buffer.size() * sizeof(int16_t)));
    for (int16_t sample : buffer) {
      for (int shift : {0, 8}) {
        hash ^= static_cast<uint8_t>(static_cast<uint16_t>(sample) >> shift);
        hash *= 1099511628211ULL;
      }
    }
  }
  return hash;
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
  bool hashOnly = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--hash-only") {
      hashOnly = true;
    } else if (files.empty() && std::atof(argv[i]) > 0.0) {
      musicSeconds = std::atof(argv[i]);
    } else {
      files.emplace_back(argv[i]);
    }
  }
  if (files.empty()) files = DefaultCorpus();
  const long long frames = static_cast<long long>(musicSeconds * Rate);

  if (hashOnly) {
    std::printf("%.0f s of our output per file, cubic interpolation, %d Hz stereo\n", musicSeconds, Rate);
  } else {
    std::printf("%.0f s of music per run, cubic interpolation, %d Hz stereo, best of %d runs\n", musicSeconds, Rate,
                Runs);
    std::printf("%-32s %14s %14s %8s  %s\n", "file", "ours (x real)", "libxmp (x real)", "ratio", "hash of ours");
  }
  int rendered = 0, slower = 0;
  double slowestXm = 1e300;
  for (const std::string& path : files) {
    const std::vector<uint8_t> file = ReadAll(path);
    if (file.empty()) {
      std::printf("%-32s skipped: the file is absent or empty\n", BaseName(path).c_str());
      continue;
    }
    auto song = LoadOurs(path, file);
    if (!song) {
      std::printf("%-32s skipped: our loader refuses it\n", BaseName(path).c_str());
      continue;
    }
    const unsigned long long hash = HashOurs(path, file, frames);
    if (hashOnly) {
      std::printf("%-32s %016llx\n", BaseName(path).c_str(), hash);
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
    std::printf("%-32s %14.0f %14.0f %8.2f  %016llx\n", BaseName(path).c_str(), oursSpeed, theirSpeed, ratio, hash);
    ++rendered;
    if (ratio < 1.0) ++slower;
    if (IsXm(path, file)) slowestXm = std::min(slowestXm, ratio);
  }
  if (!hashOnly) {
    std::printf("%d files rendered, %d slower than libxmp", rendered, slower);
    if (slowestXm < 1e300) std::printf("; the slowest XM at %.2f times libxmp's speed", slowestXm);
    std::printf("\n");
  }
  return 0;
}
