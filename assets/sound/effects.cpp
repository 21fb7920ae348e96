// The four effects, made from square, triangle and noise voices with pitch sweeps and envelopes.
#include <algorithm>
#include <cmath>

#include "assets/sound/ogg_encoder.h"
#include "assets/sound/sound_set.h"
#include "assets/sound/synth.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr float EffectPeak = 0.7f;  // headroom for the encoder's ripple

int Frames(double seconds) { return static_cast<int>(seconds * EffectRate); }

// Band-limited enough for short effects: a square softened by a little of its own sine.
double Square(double phase, double duty) {
  double p = phase - std::floor(phase);
  double square = p < duty ? 1.0 : -1.0;
  return 0.75 * square + 0.25 * std::sin(2 * Pi * p);
}

constexpr uint32_t NoiseSeed = 0x2545F491u;

// A quick fade at both ends so no effect clicks.
void Declick(std::vector<float>& samples) {
  int ramp = std::min<int>(Frames(0.004), static_cast<int>(samples.size()) / 2);
  for (int i = 0; i < ramp; ++i) {
    float g = static_cast<float>(i) / ramp;
    samples[i] *= g;
    samples[samples.size() - 1 - i] *= g;
  }
}

// Scales to a fixed peak, so every effect is as loud as the others and none clips.
void Normalise(std::vector<float>& samples, float peak) {
  float highest = 0;
  for (float s : samples) highest = std::max(highest, std::fabs(s));
  if (highest <= 0) return;
  for (float& s : samples) s *= peak / highest;
}

}  // namespace

std::vector<float> JumpEffect() {
  // A short rising chirp; the game replays it at changing rates through a jump and a fall.
  int n = Frames(0.14);
  std::vector<float> out(n);
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / n;
    double pitch = 320 * std::pow(2.6, t);
    phase += pitch / EffectRate;
    double envelope = std::min(1.0, t * 30) * (1 - t) * (1 - t * 0.5);
    out[i] = static_cast<float>(0.45 * envelope * Square(phase, 0.3));
  }
  Declick(out);
  Normalise(out, EffectPeak);
  return out;
}

std::vector<float> CollectEffect() {
  // Two bright notes a fourth apart, the second ringing out with a little shimmer.
  int n = Frames(0.32);
  std::vector<float> out(n);
  double phase = 0, phase2 = 0;
  int split = Frames(0.07);
  for (int i = 0; i < n; ++i) {
    double seconds = static_cast<double>(i) / EffectRate;
    bool second = i >= split;
    double pitch = second ? 1318.5 : 987.8;
    pitch *= 1 + 0.006 * std::sin(2 * Pi * 9 * seconds);
    phase += pitch / EffectRate;
    phase2 += 2 * pitch / EffectRate;
    double local = second ? static_cast<double>(i - split) / (n - split) : static_cast<double>(i) / split;
    double envelope = second ? std::exp(-4.5 * local) : 0.8 + 0.2 * (1 - local);
    double voice = 0.6 * Square(phase, 0.5) + 0.25 * Triangle(phase2);
    out[i] = static_cast<float>(0.4 * envelope * voice);
  }
  Declick(out);
  Normalise(out, EffectPeak);
  return out;
}

std::vector<float> DieEffect() {
  // A wobbling fall in pitch with a buzz of noise: the hero's sad end.
  int n = Frames(0.75);
  std::vector<float> out(n);
  Noise noise(NoiseSeed);
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / n;
    double seconds = static_cast<double>(i) / EffectRate;
    double pitch = 660 * std::pow(0.12, t) * (1 + 0.08 * std::sin(2 * Pi * 11 * seconds));
    phase += pitch / EffectRate;
    double envelope = std::min(1.0, t * 60) * (1 - t);
    double voice = 0.8 * Square(phase, 0.5) + 0.2 * noise.Next() * (1 - t);
    out[i] = static_cast<float>(0.42 * envelope * voice);
  }
  Declick(out);
  Normalise(out, EffectPeak);
  return out;
}

std::vector<float> ArrowEffect() {
  // A whoosh: noise through a band that sweeps up and back down, swelling in and out.
  int n = Frames(0.42);
  std::vector<float> out(n);
  Noise noise(NoiseSeed);
  double low = 0, band = 0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / n;
    double centre = 600 + 2600 * std::sin(Pi * std::pow(t, 0.7));
    double f = 2 * std::sin(Pi * centre / EffectRate);
    double q = 0.35;
    double input = noise.Next();
    low += f * band;
    double high = input - low - q * band;
    band += f * high;
    double envelope = std::sin(Pi * std::pow(t, 0.6));
    out[i] = static_cast<float>(0.9 * envelope * envelope * band);
  }
  Declick(out);
  Normalise(out, EffectPeak);
  return out;
}

std::vector<SoundFile> GenerateSounds() {
  return {
      {"sounds/arrow.ogg", EncodeOgg(ArrowEffect(), EffectRate)},
      {"sounds/Collect.ogg", EncodeOgg(CollectEffect(), EffectRate)},
      {"sounds/Die.ogg", EncodeOgg(DieEffect(), EffectRate)},
      {"sounds/jump.ogg", EncodeOgg(JumpEffect(), EffectRate)},
  };
}
