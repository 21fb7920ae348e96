// Benchmark: how many times faster than real time the mixer renders a generated 8-channel
// XM and a 4-channel MOD with cubic interpolation at 44,100 Hz (counter "x_realtime").
#include <benchmark/benchmark.h>

#include <cmath>

#include "music/mod_song.h"
#include "music/music_module.h"
#include "music/xm_song.h"
#include "music/module_builder.h"

using namespace module_builder;

namespace {

constexpr int Rate = 44100;

std::vector<int16_t> Tone(int frames, double cycles, double amplitude) {
  std::vector<int16_t> wave(frames);
  for (int i = 0; i < frames; ++i) {
    const double phase = 2 * 3.14159265358979 * cycles * i / frames;
    wave[i] = static_cast<int16_t>(amplitude * (0.7 * std::sin(phase) + 0.3 * std::sin(3 * phase)));
  }
  return wave;
}

std::vector<uint8_t> GeneratedXm() {
  XmBuilder xm;
  xm.channels = 8;
  xm.orders = {0, 1, 2, 3};
  for (int i = 0; i < 4; ++i) {
    XmInstrumentSpec ins;
    XmSampleSpec s;
    s.data = Tone(2000 + 500 * i, 8 + i, 12000);
    s.sixteenBit = i % 2 == 0;
    s.loopType = i == 3 ? 2 : 1;
    s.loopStart = 0;
    s.loopLength = static_cast<uint32_t>(s.data.size() * (s.sixteenBit ? 2 : 1));
    ins.samples = {s};
    ins.envelope = {{0, 64}, {20, 40}, {60, 50}};
    ins.volumeType = 3;
    ins.sustainPoint = 3;
    ins.fadeout = 400;
    xm.instruments.push_back(ins);
  }
  for (int p = 0; p < 4; ++p) {
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < 8; ++c) {
        XmCell& cell = xm.Cell(p, r, c);
        if ((r + c) % 4 == 0) cell = {37 + (r * 7 + c * 5 + p * 3) % 36, 1 + c % 4, 0x30 + c * 4, 0, 0};
        else if ((r + c) % 4 == 2) cell = {0, 0, 0, 4, 0x46};
        else if (c == 7 && r % 8 == 3) cell = {97, 0, 0, 0, 0};
      }
    }
  }
  return xm.Build();
}

std::vector<uint8_t> GeneratedMod() {
  ModBuilder mod;
  for (int i = 0; i < 4; ++i) {
    ModSampleSpec s;
    const auto wave = Tone(3000 + 400 * i, 10 + i, 100);
    s.data.assign(wave.begin(), wave.end());
    s.loopStartWords = 0;
    s.loopLengthWords = static_cast<int>(s.data.size() / 2);
    s.volume = 48 + 4 * i;
    mod.samples.push_back(s);
  }
  mod.orders = {0, 1, 2, 3};
  for (int p = 0; p < 4; ++p) {
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < 4; ++c) {
        if ((r + c) % 4 == 0) mod.Cell(p, r, c) = {36 + (r * 5 + c * 7 + p) % 36, 1 + c, 0, 0};
        else if ((r + c) % 4 == 2) mod.Cell(p, r, c) = {0, 0, 0xA, 0x01};
      }
    }
  }
  return mod.Build();
}

void RenderSong(benchmark::State& state, Tunemix_Player& song) {
  song.SetInfo(InfoInterpolation, 2);
  song.SetInfo(InfoRate, Rate);
  song.SetInfo(InfoLoop, 1);
  song.playing = 1;
  std::vector<int16_t> buffer(2 * 735);  // one 60 Hz refill
  long long frames = 0;
  for (auto _ : state) {
    song.FillBuffer(buffer.data(), static_cast<int>(buffer.size() * 2));
    benchmark::DoNotOptimize(buffer.data());
    frames += 735;
  }
  state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(frames) / Rate, benchmark::Counter::kIsRate);
}

void BM_MixXm8Channels(benchmark::State& state) {
  InitMusicModule();
  const auto file = GeneratedXm();
  auto song = LoadXMFromMemory(file.data(), file.size());
  if (!song) return state.SkipWithError("the generated XM did not load");
  RenderSong(state, *song);
}
BENCHMARK(BM_MixXm8Channels);

void BM_MixMod4Channels(benchmark::State& state) {
  InitMusicModule();
  const auto file = GeneratedMod();
  auto song = LoadMODFromMemory(file.data(), file.size());
  if (!song) return state.SkipWithError("the generated MOD did not load");
  RenderSong(state, *song);
}
BENCHMARK(BM_MixMod4Channels);

}  // namespace

BENCHMARK_MAIN();
