// The kept passes of short forward loops against the positions of repeated addition, frame by
// frame: the same doubles, whatever the loop, the step, where the voice starts, how the runs
// are cut, and however many voices and steps share the kept passes.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "music/mixer_loop_passes.h"
#include "music/mixer_simd.h"

namespace {

using mixer_detail::SampleView;

SampleView ForwardLoop(int start, int length, int sampleLength) {
  static const int16_t silence[1] = {0};
  SampleView s{silence, 0, 0, 0, 0, 0, 0};
  s.length = s.last = sampleLength;
  s.loopStart = start;
  s.loopLength = length;
  s.loopEnd = start + length;
  s.directEnd = s.loopEnd;
  return s;
}

// One voice: the kept passes and repeated addition side by side.
struct Voice {
  SampleView loop;
  double step;
  double position;   // as the kept passes leave it
  double reference;  // as repeated addition leaves it
  PassPlayback playback;
};

// The next frame's position by repeated addition, wrapped as a frame wraps it.
double NextByAddition(Voice& v) {
  double p = v.reference;
  if (p > v.loop.loopEnd) p -= v.loop.loopLength;
  v.reference = p + v.step;
  return p;
}

// Plays limit frames of the voice both ways; false (with a message) at the first difference.
bool PlaysAlike(LoopPassCache& cache, Voice& v, int limit, std::string& why) {
  std::vector<double> scratch(limit + 8);
  int done = 0;
  while (done < limit) {
    const PositionRun run = NextLoopPositions(cache, v.playback, v.loop, v.position, v.step, limit - done, scratch.data());
    if (run.count <= 0) {
      why = "no run";
      return false;
    }
    for (int k = 0; k < run.count; ++k) {
      const double mine = run.from[k] + run.move, theirs = NextByAddition(v);
      if (std::bit_cast<uint64_t>(mine) != std::bit_cast<uint64_t>(theirs)) {
        char text[200];
        std::snprintf(text, sizeof text, "frame %d: %.17g instead of %.17g (loop %g+%g, step %.17g)", done + k, mine,
                      theirs, v.loop.loopStart, v.loop.loopLength, v.step);
        why = text;
        return false;
      }
    }
    done += run.count;
    if (std::bit_cast<uint64_t>(v.position) != std::bit_cast<uint64_t>(v.reference)) {
      why = "the next position differs";
      return false;
    }
  }
  return true;
}

// The unit of the loop end's binade.
double EndUnit(const SampleView& s) {
  return std::bit_cast<double>(std::bit_cast<uint64_t>(s.loopEnd) & 0x7FF0000000000000ULL) * 0x1p-52;
}

class MusicLoopPasses : public ::testing::TestWithParam<MixerLoops> {
 protected:
  void SetUp() override {
    if (LimitMixerLoops(GetParam()) != GetParam()) GTEST_SKIP() << "this processor does not have these loops";
  }
  void TearDown() override { LimitMixerLoops(MixerLoops::Avx512); }
};

TEST_P(MusicLoopPasses, PositionsAreThoseOfRepeatedAddition) {
  std::mt19937_64 random(20240607);
  LoopPassCache cache;
  int voices = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    const int start = random() % 3 == 0 ? 0 : static_cast<int>(random() % 40);
    // Loops ending at, just below and just above powers of two, and anywhere.
    const int ends[] = {16, 32, 64, 128, 256, 63, 65, 127, 129};
    int length = 4 + static_cast<int>(random() % 300);
    if (random() % 2 == 0) length = std::max(4, ends[random() % 9] - start);
    Voice v{ForwardLoop(start, length, start + length + static_cast<int>(random() % 3)), 0.0, 0.0, 0.0, {}};
    ASSERT_TRUE(LoopPassesServe(v.loop, 0.25));
    const double unit = EndUnit(v.loop);
    switch (random() % 8) {
      case 6:
      case 7: {
        // A whole fraction of a loop of a power of two, give or take a few units: pass after
        // pass, positions come within a few units of the powers of two, on either side.
        v.loop = ForwardLoop(0, 1 << (4 + random() % 4), (1 << 10));
        const double exact = v.loop.loopLength / static_cast<double>(1 << (1 + random() % 6));
        const double units = static_cast<double>(static_cast<int>(random() % 7) - 3);
        v.step = exact + units * EndUnit(v.loop) * (random() % 2 ? 1.0 : 0.5);
        break;
      }
      case 0:  // a whole number of sixteenths: every sum exact
        v.step = static_cast<double>(1 + random() % 64) / 16.0;
        break;
      case 1:  // halfway between two multiples of the unit: every rounding in the top binade a tie
        v.step = std::floor(std::uniform_real_distribution<double>(0.05, 3.0)(random) / unit) * unit + 0.5 * unit;
        break;
      case 2:  // a multiple of the unit
        v.step = std::floor(std::uniform_real_distribution<double>(0.05, 3.0)(random) / unit) * unit;
        break;
      case 3:  // half the loop, the longest served
        v.step = 0.5 * length;
        break;
      default:
        v.step = std::uniform_real_distribution<double>(0.01, 4.0)(random);
    }
    v.step = std::min(v.step, 0.5 * v.loop.loopLength);
    v.position = v.reference = std::uniform_real_distribution<double>(0.0, v.loop.loopEnd)(random);
    if (random() % 4 == 0) v.position = v.reference = v.loop.loopEnd;
    std::string why;
    // Runs cut anywhere, the voice sometimes sent elsewhere between them: into the loop, or
    // just past its end so that the next pass starts anywhere a pass can.
    for (int piece = 0; piece < 12; ++piece) {
      const int limit = 1 + static_cast<int>(random() % (piece % 2 ? 40 : 30000));
      ASSERT_TRUE(PlaysAlike(cache, v, limit, why)) << why;
      if (random() % 3 == 0) {
        const double end = v.loop.loopEnd;
        v.position = v.reference = random() % 2 ? std::uniform_real_distribution<double>(0.0, end)(random)
                                                : std::nextafter(end + v.step * (random() % 1000) / 1000.0, INFINITY);
      }
    }
    ++voices;
  }
  EXPECT_EQ(voices, 2000);
}

// Passes whose entries lie a few units from where a kept pass stops serving: entries that move
// one of its positions onto, just across or just short of a power of two, or its last position
// onto or past the loop's end.
TEST_P(MusicLoopPasses, EntriesAtTheEdgesOfWhatAPassServes) {
  std::mt19937_64 random(4242);
  int probes = 0;
  for (int trial = 0; trial < 300; ++trial) {
    LoopPassCache cache;
    const int start = trial % 2 ? 0 : static_cast<int>(random() % 20);
    const int length = 8 + static_cast<int>(random() % 200);
    Voice v{ForwardLoop(start, length, start + length), 0.0, 0.0, 0.0, {}};
    const double unit = EndUnit(v.loop), end = v.loop.loopEnd;
    v.step = std::min(std::uniform_real_distribution<double>(0.05, 3.0)(random), 0.5 * length);
    if (trial % 3 == 0) v.step = std::floor(v.step / unit) * unit + 0.5 * unit;  // ties in the top binade
    // A first pass from an entry anywhere, kept; its positions by repeated addition.
    const double first = std::nextafter(end + v.step * (random() % 1000) / 1000.0, INFINITY);
    std::vector<double> pass;
    for (double p = first - v.loop.loopLength; p <= end; p += v.step) pass.push_back(p);
    // The moves that bring a position within two units of an edge.
    std::vector<double> moves;
    for (size_t j = 1; j < pass.size(); ++j) {
      const double bottom = std::bit_cast<double>(std::bit_cast<uint64_t>(pass[j]) & 0x7FF0000000000000ULL);
      for (double edge : {bottom - pass[j], 2 * bottom - pass[j], end - pass[j]}) {
        for (int units = -2; units <= 2; ++units) moves.push_back(std::round(edge / unit) * unit + units * unit);
      }
    }
    std::string why;
    for (size_t m = 0; m < moves.size(); m += 1 + random() % 4) {
      v.position = v.reference = first;
      ASSERT_TRUE(PlaysAlike(cache, v, static_cast<int>(pass.size()), why)) << why;
      v.position = v.reference = first + moves[m];
      // Only positions that the wrap brings inside the loop start a pass.
      if (!(v.position > end && v.position - v.loop.loopLength <= end)) continue;
      ASSERT_TRUE(PlaysAlike(cache, v, static_cast<int>(pass.size()) + 2, why)) << why << " first " << std::hexfloat << first << " move " << moves[m] << " step " << v.step;
      ++probes;
    }
  }
  EXPECT_GT(probes, 3000);
}

// Voices taking turns on one cache: more loops and steps than it keeps, an arpeggio's steps
// coming round, and passes too long to keep.
TEST_P(MusicLoopPasses, VoicesSharingTheKeptPassesTakingTurns) {
  std::mt19937_64 random(77);
  LoopPassCache cache;
  std::vector<Voice> voices;
  for (int k = 0; k < 40; ++k) {
    int start = static_cast<int>(random() % 8), length = k % 10 == 9 ? 4000 : 8 + static_cast<int>(random() % 120);
    double step = k % 10 == 9 ? 0.01 : std::uniform_real_distribution<double>(0.1, 2.0)(random);
    if (k % 2 == 1) {
      // The same loop length and step as the voice before, the loop elsewhere.
      const Voice& before = voices.back();
      length = static_cast<int>(before.loop.loopLength);
      start = static_cast<int>(before.loop.loopStart) + 1 + static_cast<int>(random() % 16);
      step = before.step;
    }
    voices.push_back(Voice{ForwardLoop(start, length, start + length), std::min(step, 0.5 * length), 0.0, 0.0, {}});
  }
  std::string why;
  for (int turn = 0; turn < 1000; ++turn) {
    Voice& v = voices[random() % voices.size()];
    if (turn % 7 == 0) v.step *= turn % 2 ? 1.0594630943592953 : 1.0 / 1.0594630943592953;  // an arpeggio
    ASSERT_TRUE(PlaysAlike(cache, v, 1 + static_cast<int>(random() % 2000), why)) << "turn " << turn << ": " << why;
  }
}

INSTANTIATE_TEST_SUITE_P(Loops, MusicLoopPasses, ::testing::Values(MixerLoops::Avx2, MixerLoops::Avx512),
                         [](const auto& info) { return info.param == MixerLoops::Avx2 ? "Avx2" : "Avx512"; });

}  // namespace
