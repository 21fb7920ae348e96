// What the mixer reads of a sample: its data and loop as numbers, the neighbours of a position
// by the loop's rules, and the three interpolations.
#pragma once

#include <cstdint>

#include "music/sample.h"

namespace mixer_detail {

enum Interp { Nearest, Linear, Cubic };

struct SampleView {
  const int16_t* data;
  double length, loopStart, loopLength, loopEnd;
  int last;  // highest index that may be read
  // Up to here every neighbour q of a position reads d[trunc(q)] directly: below the loop
  // end and the sample end, nothing wraps.
  double directEnd;
};

// The view of a sample that has data.
inline SampleView ViewOf(const Tunemix_Sample& sample) {
  SampleView s;
  const int last = static_cast<int>(sample.data.size()) - 1;
  s.data = sample.data.data();
  s.last = sample.length < last ? (sample.length > 0 ? sample.length : 0) : last;
  s.length = s.last;
  s.loopStart = sample.loopStart;
  s.loopLength = sample.loopLength;
  s.loopEnd = s.loopStart + s.loopLength;
  // A forward loop of length 0 maps nothing before the sample's end: every position up to
  // it reads and plays as it is.
  const bool wraps = sample.loopType == LoopForward && s.loopLength > 0;
  s.directEnd = wraps ? (s.loopEnd < s.length ? s.loopEnd : s.length) : s.length;
  return s;
}

// The neighbour at q: WrapPosition(q, 0) read as data, 0 where there is none.
template <int Loop>
[[gnu::always_inline]] inline float Neighbour(const SampleView& s, double q) {
  double w;
  if (Loop == LoopForward) {
    w = q > s.loopEnd ? q - s.loopLength : q > s.length ? s.loopStart + (q - s.length) : q;
  } else if (Loop == LoopPingPong) {
    w = q;
  } else {
    w = q > s.length ? -1.0 : q;
  }
  // w below last + 1 truncates to an index of the data.
  if (!(w >= 0.0) || !(w < s.last + 1.0)) return 0.0f;
  return static_cast<float>(s.data[static_cast<int>(w)]);
}

// The cubic through four neighbouring values (ym before y0, y1 and y2 after it), t past y0.
[[gnu::always_inline]] inline float CubicAt(float ym, float y0, float y1, float y2, float t) {
  return 0.5f * (2.0f * y0 + (y1 - ym) * t + (2.0f * ym - 5.0f * y0 + 4.0f * y1 - y2) * t * t +
                 (3.0f * y0 - ym - 3.0f * y1 + y2) * t * t * t);
}

// The sample's value at p, which lies inside the data.
template <int Mode, int Loop>
[[gnu::always_inline]] inline double Interpolate(const SampleView& s, double p) {
  const int i = static_cast<int>(p);
  const bool direct = p >= 1.0 && p + 2.0 <= s.directEnd;
  if (Mode == Linear) {
    const double y0 = s.data[i];
    const double y1 = direct ? s.data[i + 1] : Neighbour<Loop>(s, p + 1);
    return y0 + (y1 - y0) * (p - i);
  }
  if (Mode == Cubic) {
    float ym, y1, y2;
    if (direct) {
      ym = s.data[i - 1], y1 = s.data[i + 1], y2 = s.data[i + 2];
    } else {
      ym = Neighbour<Loop>(s, p - 1), y1 = Neighbour<Loop>(s, p + 1), y2 = Neighbour<Loop>(s, p + 2);
    }
    const float y0 = s.data[i];
    const float t = static_cast<float>(p - i);
    return CubicAt(ym, y0, y1, y2, t);
  }
  return s.data[i];
}

// Interpolate for a position whose neighbours all lie inside the data unwrapped.
template <int Mode>
[[gnu::always_inline]] inline double InterpolateDirect(const SampleView& s, double p) {
  const int i = static_cast<int>(p);
  if (Mode == Linear) {
    const double y0 = s.data[i];
    const double y1 = s.data[i + 1];
    return y0 + (y1 - y0) * (p - i);
  }
  if (Mode == Cubic) {
    const float ym = s.data[i - 1], y0 = s.data[i], y1 = s.data[i + 1], y2 = s.data[i + 2];
    const float t = static_cast<float>(p - i);
    return CubicAt(ym, y0, y1, y2, t);
  }
  return s.data[i];
}

}  // namespace mixer_detail
