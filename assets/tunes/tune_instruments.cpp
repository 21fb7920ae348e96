// The tunes' instruments, synthesised: pulse and triangle cycles, and three one-shot drums.
#include <cmath>
#include <cstdint>

#include "assets/sound/synth.h"
#include "assets/tunes/tune_score.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int Cycle = 32;
constexpr double PlayRate = 8363.0;  // frames a second at note 48

std::vector<float> Pulse(double duty) {
  std::vector<float> wave(Cycle);
  for (int i = 0; i < Cycle; ++i) wave[i] = i < duty * Cycle ? 0.8f : -0.8f;
  return wave;
}

std::vector<float> TriangleCycle() {
  std::vector<float> wave(Cycle);
  for (int i = 0; i < Cycle; ++i) wave[i] = static_cast<float>(Triangle(static_cast<double>(i) / Cycle));
  return wave;
}

constexpr uint32_t NoiseSeed = 0x1234567u;

// A drum of the given length: each frame from the time in seconds.
template <typename Sound>
std::vector<float> Drum(double seconds, Sound sound) {
  std::vector<float> wave(static_cast<size_t>(seconds * PlayRate));
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = static_cast<float>(sound(i / PlayRate));
  return wave;
}

}  // namespace

TuneWave InstrumentWave(TuneInstrument instrument) {
  switch (instrument) {
    case Lead: return {Pulse(0.25), true};
    case Bass: return {TriangleCycle(), true};
    case Chords: return {Pulse(0.5), true};
    case Kick: {
      // A sine falling from 170 to 45 Hz.
      double phase = 0;
      return {Drum(0.18, [&phase](double t) {
        phase += (45 + 125 * std::exp(-t / 0.03)) / PlayRate;
        return 0.95 * std::sin(2 * Pi * phase) * std::exp(-t / 0.07);
      })};
    }
    case Snare: {
      Noise noise(NoiseSeed);
      return {Drum(0.16, [&noise](double t) {
        return (0.6 * noise.Next() * std::exp(-t / 0.045) + 0.4 * std::sin(2 * Pi * 190 * t) * std::exp(-t / 0.03));
      })};
    }
    case HiHat: {
      Noise noise(NoiseSeed);
      double previous = 0;
      return {Drum(0.05, [&noise, &previous](double t) {
        const double n = noise.Next(), high = n - previous;  // the difference keeps the hiss
        previous = n;
        return 0.45 * high * std::exp(-t / 0.012);
      })};
    }
  }
  return {};
}
