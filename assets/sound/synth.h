// Voices shared by the synthesised effects and tunes.
#pragma once

#include <cmath>
#include <cstdint>

// A triangle from -1 up to 1 and back over one cycle of phase.
inline double Triangle(double phase) {
  const double p = phase - std::floor(phase);
  return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
}

// Repeatable white noise in -1..1: the same seed gives the same sound every build.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
  }

 private:
  uint32_t state_;
};
