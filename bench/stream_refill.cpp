// Benchmark: one 60 Hz refill of each kind of stream tune (what the output stream asks for
// every frame: a 60th of a second of the tune at its own rate and format), and the first
// second of play (the whole ring filled at Play, then sixty refills) for short and tiny tunes,
// a tagged MP3 and a file of noise named ".mp3".
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "music/loader_registry.h"
#include "music/music_module.h"
#include "tests/music/stream_test_support.h"

namespace {

using namespace stream_files;

constexpr int RingBytes = 44100;  // the game's ring

// The tune files, written once into a scratch folder that goes with the program.
const stream_test::TempFolder& Folder() {
  static stream_test::TempFolder folder;
  return folder;
}

std::vector<uint8_t> Noise(size_t bytes) {
  std::vector<uint8_t> noise(bytes);
  uint32_t state = 2463534242u;
  for (uint8_t& byte : noise) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    byte = static_cast<uint8_t>(state >> 24);
  }
  return noise;
}

// An MP3 of 20 seconds behind an ID3v2 tag of 100 KB.
std::vector<uint8_t> TaggedMp3() {
  constexpr size_t body = 100000;
  std::vector<uint8_t> file = {'I', 'D', '3', 3, 0, 0};
  for (int shift = 21; shift >= 0; shift -= 7) file.push_back(static_cast<uint8_t>((body >> shift) & 0x7F));
  file.resize(file.size() + body, 0x55);
  const std::vector<uint8_t> tone = ToneMp3(440, 44100, 20 * 44100, 2);
  file.insert(file.end(), tone.begin(), tone.end());
  return file;
}

// The path of a tune file by its kind, made on first use.
std::string TunePath(const std::string& kind) {
  static std::map<std::string, std::string> made;
  auto found = made.find(kind);
  if (found != made.end()) return found->second;
  std::vector<uint8_t> bytes;
  std::string name = kind;
  if (kind == "wav_stereo") bytes = ToneWav(440, 44100, 20 * 44100, 2), name += ".wav";
  if (kind == "wav_short") bytes = ToneWav(440, 8000, 4000, 1, 8), name += ".wav";
  if (kind == "ogg_stereo") bytes = ToneOgg(440, 44100, 20 * 44100, 2), name += ".ogg";
  if (kind == "ogg_short") bytes = ToneOgg(440, 44100, 2000, 2), name += ".ogg";
  if (kind == "wav_tiny") bytes = ToneWav(440, 44100, 1, 1, 8), name += ".wav";
  if (kind == "ogg_tiny") bytes = ToneOgg(440, 44100, 64, 2), name += ".ogg";
  if (kind == "mp3_stereo") bytes = ToneMp3(440, 44100, 20 * 44100, 2), name += ".mp3";
  if (kind == "mp3_tagged") bytes = TaggedMp3(), name += ".mp3";
  if (kind == "mp3_noise") bytes = Noise(16 << 20), name += ".mp3";
  return made[kind] = Folder().Write(name, bytes);
}

// The tune as the game opens it.
MusicPtr OpenTune(const std::string& kind) {
  InitMusicModule();
  MusicPtr music = LoadMusic(TunePath(kind));
  if (!music) return nullptr;
  music->SetInfo(InfoInterpolation, 2);
  music->SetInfo(InfoRate, 44100);
  music->SetInfo(InfoLoop, 1);
  music->playing = 1;
  return music;
}

// The bytes of a 60th of a second of the music, whole frames.
int RefillBytes(const TMusic& music) {
  const int frame = BytesPerFrame(music.format);
  return music.rate / 60 * frame;
}

// Refills of a 60th of a second of the tune, one after another, looping over the tune.
void BM_Refill(benchmark::State& state, const std::string& kind) {
  MusicPtr music = OpenTune(kind);
  if (!music) return state.SkipWithError("the tune did not load");
  std::vector<uint8_t> buffer(RingBytes);
  music->FillBuffer(buffer.data(), RingBytes);
  const int bytes = RefillBytes(*music);
  for (auto _ : state) {
    music->FillBuffer(buffer.data(), bytes);
    benchmark::DoNotOptimize(buffer.data());
  }
}

// The first second of play: the tune opened afresh, the whole ring filled as Play does, then
// sixty refills. Counter "per_refill" is the time of one of those calls on average.
void BM_FirstSecond(benchmark::State& state, const std::string& kind) {
  std::vector<uint8_t> buffer(RingBytes);
  for (auto _ : state) {
    state.PauseTiming();
    MusicPtr music = OpenTune(kind);
    if (!music) return state.SkipWithError("the tune did not load");
    const int bytes = RefillBytes(*music);
    state.ResumeTiming();
    music->FillBuffer(buffer.data(), RingBytes);
    for (int refill = 0; refill < 60; ++refill) {
      music->FillBuffer(buffer.data(), bytes);
      benchmark::DoNotOptimize(buffer.data());
    }
    state.PauseTiming();
    music.reset();  // closing an MP3 prints its step; not part of the play
    state.ResumeTiming();
  }
  state.counters["per_refill"] = benchmark::Counter(61, benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Refill, wav_stereo, std::string("wav_stereo"));
BENCHMARK_CAPTURE(BM_Refill, wav_short_8khz, std::string("wav_short"));
BENCHMARK_CAPTURE(BM_Refill, ogg_stereo, std::string("ogg_stereo"));
BENCHMARK_CAPTURE(BM_Refill, ogg_short, std::string("ogg_short"));
BENCHMARK_CAPTURE(BM_Refill, mp3_stereo, std::string("mp3_stereo"));
BENCHMARK_CAPTURE(BM_FirstSecond, wav_short_8khz, std::string("wav_short"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstSecond, ogg_short, std::string("ogg_short"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstSecond, wav_one_frame, std::string("wav_tiny"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstSecond, ogg_64_frames, std::string("ogg_tiny"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstSecond, mp3_stereo, std::string("mp3_stereo"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstSecond, mp3_tagged, std::string("mp3_tagged"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstSecond, mp3_noise_16mb, std::string("mp3_noise"))->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
