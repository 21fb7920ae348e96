// The per-channel inner loop of the mixer, specialised by interpolation and loop type.
#include "music/mixer_voice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "music/mixer_sample_view.h"
#include "music/mixer_simd.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using namespace mixer_detail;

// Applies the loop to p; false when the channel contributes nothing this frame.
template <int Loop>
[[gnu::always_inline]] inline bool WrapForFrame(const SampleView& s, Voice& v, double& p) {
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

// How many frames from p on (at most limit) need neither a loop wrap nor a neighbour check:
// every position stays at least 1 and, with its neighbour two frames on, inside the data and
// the loop. The margin covers the rounding of the repeated additions of the step.
template <int Loop>
[[gnu::always_inline]] inline int UncheckedFrames(const SampleView& s, double p, double step, int limit) {
  constexpr double Margin = 0.01, SmallestStep = 0.001;
  double room;
  if (step >= SmallestStep) {
    const double end = Loop == LoopPingPong ? std::min(s.loopEnd, s.length) : s.directEnd;
    if (!(p >= 1.0)) return 0;
    room = (end - 2.0 - Margin - p) / step;
  } else if (Loop == LoopPingPong && step <= -SmallestStep) {
    if (!(p + 2.0 <= s.length)) return 0;
    room = (p - std::max(s.loopStart, 1.0) - Margin) / -step;
  } else {
    return 0;
  }
  if (!(room >= 0.0)) return 0;
  return room + 1.0 < limit ? static_cast<int>(room) + 1 : limit;
}

// Where a channel's value goes: the pan stays put between two ticks. Hard left and right
// feed one side only, the centre both at full level, any other pan both through the gains.
struct PanTarget : PanFactors {
  explicit PanTarget(const Voice& v) : PanFactors{v.leftGain, v.rightGain, true, true} {
    if (v.pan <= -1.0) {
      leftMul = 1.0, toRight = false;
    } else if (v.pan >= 1.0) {
      rightMul = 1.0, toLeft = false;
    } else if (v.pan == 0.0) {
      leftMul = rightMul = 1.0;
      // The caller keeps the right side equal to the left while only centred voices play.
      toRight = !v.leftOnly;
    }
  }
  void Add(double value, double* left, double* right, int f) const {
    if (toLeft) left[f] += value * leftMul;
    if (toRight) right[f] += value * rightMul;
  }
};

#if defined(__SSE2__)
// The cubic values of positions[0..run) (all unchecked) times gain, four frames at a time.
// Each lane does the operations of InterpolateDirect<Cubic> in the same order, so the
// results are the same to the last bit.
void CubicValuesFourAtATime(const SampleView& s, const double* positions, double* values, int run,
                            double gain) {
  const int16_t* d = s.data;
  const __m128 two = _mm_set1_ps(2.0f), three = _mm_set1_ps(3.0f), four = _mm_set1_ps(4.0f),
               five = _mm_set1_ps(5.0f), half = _mm_set1_ps(0.5f);
  const __m128d gains = _mm_set1_pd(gain);
  int k = 0;
  for (; k + 4 <= run; k += 4) {
    const __m128d p01 = _mm_loadu_pd(positions + k), p23 = _mm_loadu_pd(positions + k + 2);
    const __m128i i01 = _mm_cvttpd_epi32(p01), i23 = _mm_cvttpd_epi32(p23);
    const __m128 t = _mm_movelh_ps(_mm_cvtpd_ps(_mm_sub_pd(p01, _mm_cvtepi32_pd(i01))),
                                   _mm_cvtpd_ps(_mm_sub_pd(p23, _mm_cvtepi32_pd(i23))));
    const int a = _mm_cvtsi128_si32(i01), b = _mm_cvtsi128_si32(_mm_shuffle_epi32(i01, 1));
    const int c = _mm_cvtsi128_si32(i23), e = _mm_cvtsi128_si32(_mm_shuffle_epi32(i23, 1));
    // Each frame's four neighbours lie side by side: one 8-byte load a frame, widened to
    // 32 bits, then turned so that each vector holds one neighbour of all four frames.
    auto neighbours = [d](int i) {
      const __m128i four16 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + i - 1));
      return _mm_srai_epi32(_mm_unpacklo_epi16(four16, four16), 16);
    };
    const __m128i na = neighbours(a), nb = neighbours(b), nc = neighbours(c), ne = neighbours(e);
    const __m128i ab01 = _mm_unpacklo_epi32(na, nb), ab23 = _mm_unpackhi_epi32(na, nb);
    const __m128i ce01 = _mm_unpacklo_epi32(nc, ne), ce23 = _mm_unpackhi_epi32(nc, ne);
    const __m128 ym = _mm_cvtepi32_ps(_mm_unpacklo_epi64(ab01, ce01));
    const __m128 y0 = _mm_cvtepi32_ps(_mm_unpackhi_epi64(ab01, ce01));
    const __m128 y1 = _mm_cvtepi32_ps(_mm_unpacklo_epi64(ab23, ce23));
    const __m128 y2 = _mm_cvtepi32_ps(_mm_unpackhi_epi64(ab23, ce23));
    const __m128 linear = _mm_add_ps(_mm_mul_ps(two, y0), _mm_mul_ps(_mm_sub_ps(y1, ym), t));
    const __m128 square = _mm_sub_ps(
        _mm_add_ps(_mm_sub_ps(_mm_mul_ps(two, ym), _mm_mul_ps(five, y0)), _mm_mul_ps(four, y1)), y2);
    const __m128 cube = _mm_add_ps(
        _mm_sub_ps(_mm_sub_ps(_mm_mul_ps(three, y0), ym), _mm_mul_ps(three, y1)), y2);
    const __m128 sum = _mm_add_ps(_mm_add_ps(linear, _mm_mul_ps(_mm_mul_ps(square, t), t)),
                                  _mm_mul_ps(_mm_mul_ps(_mm_mul_ps(cube, t), t), t));
    const __m128 r = _mm_mul_ps(half, sum);
    _mm_storeu_pd(values + k, _mm_mul_pd(_mm_cvtps_pd(r), gains));
    _mm_storeu_pd(values + k + 2, _mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(r, r)), gains));
  }
  for (; k < run; ++k) values[k] = InterpolateDirect<Cubic>(s, positions[k]) * gain;
}
#endif

constexpr int MaxDirectRun = 256;

// Mixes run frames that need no checks, in three passes (positions, values, sums) so that
// the frames do not wait on each other.
template <int Mode>
void MixDirectRun(const SampleView& s, Voice& v, const PanTarget& pan, int run, double* left, double* right) {
  double positions[MaxDirectRun];
  double values[MaxDirectRun];
  double p = v.position;
  const double step = v.step, gain = v.gain;
  for (int k = 0; k < run; ++k) {
    positions[k] = p;
    p += step;
  }
#if defined(__SSE2__)
  if (Mode == Cubic) {
    CubicValuesFourAtATime(s, positions, values, run, gain);
  } else
#endif
  {
    for (int k = 0; k < run; ++k) values[k] = InterpolateDirect<Mode>(s, positions[k]) * gain;
  }
  if (pan.toLeft) {
    for (int k = 0; k < run; ++k) left[k] += values[k] * pan.leftMul;
  }
  if (pan.toRight) {
    for (int k = 0; k < run; ++k) right[k] += values[k] * pan.rightMul;
  }
  v.position = p;
  v.lastValue = values[run - 1];
}

// The positions that the loop leaves as they are, for the step's direction.
template <int Loop>
void PositionsKept(const SampleView& s, double step, double& low, double& high) {
  low = 0.0;
  high = s.length;
  if ((Loop == LoopForward && s.loopLength > 0) || (Loop == LoopPingPong && step > 0)) {
    high = std::min(s.loopEnd, s.length);
  } else if (Loop == LoopPingPong) {
    low = std::max(s.loopStart, 0.0);
  }
}

constexpr int Piece = 1024;  // positions gathered at most before they are mixed

// MixSteadyCubicWide on a short forward loop whose passes are kept, with AVX-512 and the loop's
// table: run after run of positions, each mixed as it comes.
void MixKeptPasses(const SampleView& s, Voice& v, const PanTarget& pan, int frames, double* left, double* right) {
  double scratch[Piece + 8];  // the positions are written up to eight at a time
  const bool silent = v.gain == 0.0;
  int f = 0;
  while (f < frames) {
    const PositionRun run =
        NextLoopPositions(*v.passes, *v.playback, s, v.position, v.step, std::min(frames - f, Piece), scratch);
    if (run.count > 0) {
      if (silent) {
        v.lastValue = 0.0;
      } else if (run.withinPass) {
        v.lastValue = CubicAtPassAvx512(s, *v.seam, run.from, run.move, run.count, v.gain, pan, left + f, right + f);
      } else {
        v.lastValue = CubicAtPositionsAvx2<LoopForward>(s, v.seam, run.from, run.count, v.gain, pan, left + f,
                                                        right + f);
      }
      f += run.count;
      continue;
    }
    // A position that the loop's wrap alone does not bring inside: one frame as frame by frame.
    double p = v.position;
    if (WrapForFrame<LoopForward>(s, v, p)) {
      scratch[0] = p;
      v.position = p + v.step;
      v.lastValue =
          silent ? 0.0 : CubicAtPositionsAvx2<LoopForward>(s, v.seam, scratch, 1, v.gain, pan, left + f, right + f);
    }
    ++f;
    if (v.step == 0.0) {
      if (f < frames) v.lastValue = 0.0;
      return;
    }
  }
}

// Cubic frames without ramps, widely: the positions first, by the same additions and wraps
// as frame by frame, then the values eight frames at a time.
template <int Loop>
void MixSteadyCubicWide(const SampleView& s, Voice& v, const PanTarget& pan, int frames, double* left,
                        double* right) {
  // The step stays put between two ticks.
  const bool kept = Loop == LoopForward && v.passes && LoopPassesServe(s, v.step);
  // With AVX-512 and the loop's table, a kept pass is mixed straight from its positions;
  // otherwise the positions of a piece are gathered first, and mixed together.
  if (kept && v.seam && MixerHasAvx512()) {
    MixKeptPasses(s, v, pan, frames, left, right);
    return;
  }
  double positions[Piece + 8];  // the positions are written up to eight at a time
  // A channel at gain 0 adds nothing (a zero sum stays +0), but its positions still move on.
  const bool silent = v.gain == 0.0;
  const LoopSeamTable* seam = Loop == LoopForward ? v.seam : nullptr;
  int f = 0;
  while (f < frames) {
    int n = 0;          // positions gathered for frames f, f + 1, ...
    bool skip = false;  // the frame after them contributes nothing
    while (f + n < frames && n < Piece) {
      if (v.step == 0.0) break;
      if (kept) {
        const int room = std::min(frames - f, Piece) - n;
        const PositionRun run = NextLoopPositions(*v.passes, *v.playback, s, v.position, v.step, room, positions + n);
        if (run.withinPass) MovedPositionsAvx2(run.from, run.count, run.move, positions + n);
        n += run.count;
        if (run.count > 0) continue;
      }
      double p = v.position;
      double low, high;
      PositionsKept<Loop>(s, v.step, low, high);
      if (p >= low && p <= high) {
        n += SteadyPositionsAvx2(p, v.step, low, high, std::min(frames - f, Piece) - n, positions + n);
        v.position = p;
        continue;
      }
      if (!WrapForFrame<Loop>(s, v, p)) {
        skip = true;
        break;
      }
      positions[n++] = p;
      v.position = p + v.step;
    }
    if (n > 0) {
      v.lastValue = silent ? 0.0 : CubicAtPositionsAvx2<Loop>(s, seam, positions, n, v.gain, pan, left + f, right + f);
    }
    f += n;
    if (skip) {
      ++f;
    } else if (v.step == 0.0 && f < frames) {
      v.lastValue = 0.0;
      return;
    }
  }
}

template <int Mode, int Loop>
void Mix(Voice& voice, const SampleView& sample, int frames, float rampStep, double* left, double* right) {
  // Local copies: the mix buffers are doubles too, and must not force reloads of the state.
  Voice v = voice;
  const SampleView s = sample;
  const PanTarget pan(v);
  int f = 0;

  // While a ramp runs.
  for (; f < frames && (v.fadeIn > 0 || v.crossfade > 0); ++f) {
    double value = 0.0;
    if (v.step != 0.0) {
      double p = v.position;
      if (!WrapForFrame<Loop>(s, v, p)) continue;
      value = Interpolate<Mode, Loop>(s, p);
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
    pan.Add(value, left, right, f);
  }

  // Without ramps every frame's value becomes the last value.
  if (Mode == Cubic && MixerHasAvx2()) {
    MixSteadyCubicWide<Loop>(s, v, pan, frames - f, left + f, right + f);
    voice = v;
    return;
  }
  // Stretches in which no wrap can happen and every neighbour is read directly are mixed
  // without the checks.
  while (f < frames) {
    if (v.step == 0.0) {
      v.lastValue = 0.0;
      break;
    }
    const int run = UncheckedFrames<Loop>(s, v.position, v.step, std::min(frames - f, MaxDirectRun));
    if (run > 0) {
      MixDirectRun<Mode>(s, v, pan, run, left + f, right + f);
      f += run;
      continue;
    }
    double p = v.position;
    if (WrapForFrame<Loop>(s, v, p)) {
      const double value = Interpolate<Mode, Loop>(s, p) * v.gain;
      v.position = p + v.step;
      v.lastValue = value;
      pan.Add(value, left, right, f);
    }
    ++f;
  }
  voice = v;
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
  SampleView s{silence, 0, 0, 0, 0, 0, 0};
  if (sample && !sample->data.empty()) {
    s = ViewOf(*sample);
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
