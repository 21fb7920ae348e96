// The per-channel inner loop of the mixer, specialised by interpolation and loop type.
#include "music/mixer_voice.h"

#include <cmath>
#include <cstdint>

namespace {

enum Interp { Nearest, Linear, Cubic };

struct SampleView {
  const int16_t* data;
  double length, loopStart, loopLength, loopEnd;
  int last;  // highest index that may be read
};

// The neighbour at q: WrapPosition(q, 0) read as data, 0 where there is none.
template <int Loop>
inline float Neighbour(const SampleView& s, double q) {
  double w;
  if (Loop == LoopForward) {
    w = q > s.loopEnd ? q - s.loopLength : q > s.length ? s.loopStart + (q - s.length) : q;
  } else if (Loop == LoopPingPong) {
    w = q;
  } else {
    w = q > s.length ? -1.0 : q;
  }
  if (!(w >= 0.0)) return 0.0f;
  const double index = std::trunc(w);
  return index <= s.last ? static_cast<float>(s.data[static_cast<int>(index)]) : 0.0f;
}

// Applies the loop to p; false when the channel contributes nothing this frame.
template <int Loop>
inline bool WrapForFrame(const SampleView& s, Voice& v, double& p) {
  const double L = s.length, S = s.loopStart, N = s.loopLength, E = s.loopEnd;
  if (Loop == LoopForward) {
    if (p > E) p -= N;
    if (p > L) p = S + (p - L);
    if (p < 0) {
      v.position = 0.0;
      return false;
    }
  } else if (Loop == LoopPingPong) {
    if (v.step > 0) {
      if (p > E) { p = E - (p - E); v.step = -v.step; }
      if (p > L) { p = L - (p - L); v.step = -v.step; }
    } else {
      if (p < S) { p = S + (S - p); v.step = -v.step; }
      if (p < 0) { p = -p; v.step = -v.step; }
    }
  } else if (p > L || p < 0) {
    v.step = 0.0;
    v.position = 0.0;
    return false;
  }
  if (p >= 0.0 && p <= L) return true;

  // A step longer than the loop (a high note on a short loop) or a runaway pitch can leave
  // the sample even after the wrap above; fold into the loop, or stop when that is impossible.
  if (Loop != LoopNone && N > 0 && std::isfinite(p)) {
    if (Loop == LoopForward) {
      p = S + std::fmod(p - S, N);
      if (p < S) p += N;
    } else {
      double u = std::fmod(p - S, 2 * N);
      if (u < 0) u += 2 * N;
      const double speed = std::fabs(v.step);
      if (u <= N) {
        p = S + u;
        v.step = speed;
      } else {
        p = S + 2 * N - u;
        v.step = -speed;
      }
    }
    if (p >= 0.0 && p <= L) return true;
  }
  v.step = 0.0;
  v.position = 0.0;
  return false;
}

template <int Mode, int Loop>
void Mix(Voice& v, const SampleView& s, int frames, float rampStep, double* left, double* right) {
  for (int f = 0; f < frames; ++f) {
    double value = 0.0;
    if (v.step != 0.0) {
      double p = v.position;
      if (!WrapForFrame<Loop>(s, v, p)) continue;
      const int i = static_cast<int>(p);
      if (Mode == Linear) {
        const double y0 = s.data[i];
        const double y1 = Neighbour<Loop>(s, p + 1);
        value = y0 + (y1 - y0) * (p - i);
      } else if (Mode == Cubic) {
        const float ym = Neighbour<Loop>(s, p - 1);
        const float y0 = s.data[i];
        const float y1 = Neighbour<Loop>(s, p + 1);
        const float y2 = Neighbour<Loop>(s, p + 2);
        const float t = static_cast<float>(p - i);
        value = 0.5f * (2.0f * y0 + (y1 - ym) * t + (2.0f * ym - 5.0f * y0 + 4.0f * y1 - y2) * t * t +
                        (3.0f * y0 - ym - 3.0f * y1 + y2) * t * t * t);
      } else {
        value = s.data[i];
      }
      v.position = p + v.step;
      value *= v.gain;
      if (v.fadeIn > 0) {
        value *= 1.0f - rampStep * static_cast<float>(v.fadeIn);
        --v.fadeIn;
      }
    }
    if (v.crossfade > 0) {
      value = v.lastValue + (value - v.lastValue) * (1.0f - rampStep * static_cast<float>(v.crossfade));
      --v.crossfade;
    } else {
      v.lastValue = value;
    }
    if (value == 0.0) continue;
    if (v.pan <= -1.0) {
      left[f] += value;
    } else if (v.pan >= 1.0) {
      right[f] += value;
    } else if (v.pan == 0.0) {
      left[f] += value;
      right[f] += value;
    } else {
      left[f] += value * v.leftGain;
      right[f] += value * v.rightGain;
    }
  }
}

template <int Mode>
void MixLoop(Voice& v, const SampleView& s, int loopType, int frames, float rampStep, double* left,
             double* right) {
  if (loopType == LoopForward) {
    Mix<Mode, LoopForward>(v, s, frames, rampStep, left, right);
  } else if (loopType == LoopPingPong) {
    Mix<Mode, LoopPingPong>(v, s, frames, rampStep, left, right);
  } else {
    Mix<Mode, LoopNone>(v, s, frames, rampStep, left, right);
  }
}

}  // namespace

void MixVoice(Voice& v, const Tunemix_Sample* sample, int interpolation, int frames, float rampStep,
              double* left, double* right) {
  static const int16_t silence[1] = {0};
  SampleView s{silence, 0, 0, 0, 0, 0};
  if (sample && !sample->data.empty()) {
    const int last = static_cast<int>(sample->data.size()) - 1;
    s.data = sample->data.data();
    s.last = sample->length < last ? (sample->length > 0 ? sample->length : 0) : last;
    s.length = s.last;
    s.loopStart = sample->loopStart;
    s.loopLength = sample->loopLength;
    s.loopEnd = s.loopStart + s.loopLength;
  } else {
    sample = nullptr;
  }

  // A silent channel adds nothing once its crossfade is over.
  if ((!sample || v.step == 0.0) && v.crossfade <= 0) {
    if (frames > 0) v.lastValue = 0.0;
    return;
  }
  if (!sample) {
    const double hold = v.step;
    v.step = 0.0;
    Mix<Nearest, LoopNone>(v, s, frames, rampStep, left, right);
    v.step = hold;
    return;
  }
  const int loopType = sample->loopType;
  if (interpolation == 1) {
    MixLoop<Linear>(v, s, loopType, frames, rampStep, left, right);
  } else if (interpolation == 2) {
    MixLoop<Cubic>(v, s, loopType, frames, rampStep, left, right);
  } else {
    MixLoop<Nearest>(v, s, loopType, frames, rampStep, left, right);
  }
}
