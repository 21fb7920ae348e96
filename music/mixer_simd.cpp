// The mixer's wide loops, AVX2 (and AVX-512 where the processor has it): cubic frames at given
// positions, the positions of a stretch without wraps, the final clip. Every lane does the
// operations of the plain loops in the same order and precision (no fused multiply-add), so
// the results are the same to the last bit.
#include "music/mixer_simd.h"

#include "music/mixer_loop_seam.h"

#if defined(__x86_64__) || defined(__i386__)

// GCC 12's AVX-512 intrinsics start from an undefined vector that it then reports as (maybe)
// uninitialised: a false alarm of the compiler's own header.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

#define QXR_AVX2 __attribute__((target("avx2")))
#define QXR_AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512dq,avx512vl")))

namespace {

// The widest loops this processor runs, read once as the program starts. QXR_MIXER_NO_AVX512
// set to anything but "" or "0" keeps the mixer to AVX2 as on a processor without AVX-512 (the
// AVX2 loops can then be tried, and timed, on a machine that has it).
MixerLoops ProcessorLoops() {
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("avx2")) return MixerLoops::Plain;
  const char* knob = std::getenv("QXR_MIXER_NO_AVX512");
  const bool refused = knob && knob[0] != '\0' && std::strcmp(knob, "0") != 0;
  const bool avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                      __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl");
  return avx512 && !refused ? MixerLoops::Avx512 : MixerLoops::Avx2;
}

const MixerLoops processorLoops = ProcessorLoops();
MixerLoops loopsInUse = processorLoops;

bool HasAvx512() { return loopsInUse == MixerLoops::Avx512; }

}  // namespace

bool MixerHasAvx2() { return loopsInUse != MixerLoops::Plain; }
bool MixerHasAvx512() { return HasAvx512(); }

MixerLoops LimitMixerLoops(MixerLoops widest) {
  loopsInUse = std::min(widest, processorLoops);
  return loopsInUse;
}

namespace {

// The cubic through ym, y0, y1, y2 at t, as 0.5 (2 y0 + (y1 - ym) t + (...) t t + (...) t t t).
QXR_AVX2 inline __m256 Cubic8(__m256 ym, __m256 y0, __m256 y1, __m256 y2, __m256 t) {
  const __m256 two = _mm256_set1_ps(2.0f), three = _mm256_set1_ps(3.0f), four = _mm256_set1_ps(4.0f),
               five = _mm256_set1_ps(5.0f), half = _mm256_set1_ps(0.5f);
  const __m256 linear = _mm256_add_ps(_mm256_mul_ps(two, y0), _mm256_mul_ps(_mm256_sub_ps(y1, ym), t));
  const __m256 square = _mm256_sub_ps(
      _mm256_add_ps(_mm256_sub_ps(_mm256_mul_ps(two, ym), _mm256_mul_ps(five, y0)), _mm256_mul_ps(four, y1)), y2);
  const __m256 cube = _mm256_add_ps(
      _mm256_sub_ps(_mm256_sub_ps(_mm256_mul_ps(three, y0), ym), _mm256_mul_ps(three, y1)), y2);
  const __m256 sum = _mm256_add_ps(_mm256_add_ps(linear, _mm256_mul_ps(_mm256_mul_ps(square, t), t)),
                                   _mm256_mul_ps(_mm256_mul_ps(_mm256_mul_ps(cube, t), t), t));
  return _mm256_mul_ps(half, sum);
}

// The four neighbours d[i - 1 .. i + 2] of two frames, as floats: the first frame's in the low
// half, the second's in the high half.
QXR_AVX2 inline __m256 NeighboursOfTwo(const int16_t* d, int first, int second) {
  const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + first - 1));
  const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + second - 1));
  return _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(_mm_unpacklo_epi64(a, b)));
}

// left and right += values times the pan factors, in the lanes that mask selects (all of them
// when whole).
QXR_AVX2 inline void AddPanned(__m256d values, __m256i mask, bool whole, const PanFactors& pan, __m256d leftMul,
                               __m256d rightMul, double* left, double* right) {
  if (whole) {
    if (pan.toLeft) _mm256_storeu_pd(left, _mm256_add_pd(_mm256_loadu_pd(left), _mm256_mul_pd(values, leftMul)));
    if (pan.toRight) _mm256_storeu_pd(right, _mm256_add_pd(_mm256_loadu_pd(right), _mm256_mul_pd(values, rightMul)));
    return;
  }
  if (pan.toLeft) {
    const __m256d sum = _mm256_add_pd(_mm256_maskload_pd(left, mask), _mm256_mul_pd(values, leftMul));
    _mm256_maskstore_pd(left, mask, sum);
  }
  if (pan.toRight) {
    const __m256d sum = _mm256_add_pd(_mm256_maskload_pd(right, mask), _mm256_mul_pd(values, rightMul));
    _mm256_maskstore_pd(right, mask, sum);
  }
}

// The loop's numbers as vectors, for NeighbourIndex.
struct LoopLimits {
  __m256d length, loopStart, loopLength, loopEnd, readEnd;
};

// The low half of each 64-bit lane of a mask, as four 32-bit lanes.
QXR_AVX2 inline __m128i NarrowMask(__m256d mask) {
  return _mm256_castsi256_si128(
      _mm256_permutevar8x32_epi32(_mm256_castpd_si256(mask), _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6)));
}

// For four positions p: the index of the neighbour at p + offset as the loop maps it (as
// mixer_detail::Neighbour does, lane by lane), or, where `direct` is set, trunc(p) + offset.
// valid gets all ones in the lanes that have such a neighbour.
template <int Loop>
QXR_AVX2 inline __m128i NeighbourIndex(const LoopLimits& l, __m256d p, double offset, __m256d direct,
                                       __m128i& valid) {
  const __m256d q = _mm256_add_pd(p, _mm256_set1_pd(offset));
  __m256d w = q;
  if (Loop == LoopForward) {
    const __m256d pastEnd = _mm256_add_pd(l.loopStart, _mm256_sub_pd(q, l.length));
    w = _mm256_blendv_pd(q, pastEnd, _mm256_cmp_pd(q, l.length, _CMP_GT_OQ));
    w = _mm256_blendv_pd(w, _mm256_sub_pd(q, l.loopLength), _mm256_cmp_pd(q, l.loopEnd, _CMP_GT_OQ));
  } else if (Loop == LoopNone) {
    w = _mm256_blendv_pd(q, _mm256_set1_pd(-1.0), _mm256_cmp_pd(q, l.length, _CMP_GT_OQ));
  }
  const __m256d inside = _mm256_and_pd(_mm256_cmp_pd(w, _mm256_setzero_pd(), _CMP_GE_OQ),
                                       _mm256_cmp_pd(w, l.readEnd, _CMP_LT_OQ));
  const __m128i directLanes = NarrowMask(direct);
  valid = _mm_or_si128(NarrowMask(inside), directLanes);
  const __m128i mapped = _mm256_cvttpd_epi32(_mm256_and_pd(w, inside));
  const __m128i straight = _mm_add_epi32(_mm256_cvttpd_epi32(p), _mm_set1_epi32(static_cast<int>(offset)));
  return _mm_blendv_epi8(mapped, straight, directLanes);
}

// d[index] in the lanes where valid is set, 0 elsewhere, as floats. Each lane gathers the
// 32-bit word that ends with its entry; at index 0 that word would start before the data, so
// that lane takes d[0] by itself.
QXR_AVX2 inline __m256 Gather16(const int16_t* d, __m256i index, __m256i valid) {
  const __m256i atStart = _mm256_cmpeq_epi32(index, _mm256_setzero_si256());
  const __m256i words = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int*>(d - 1),
                                                    index, _mm256_andnot_si256(atStart, valid), 2);
  const __m256i first = _mm256_and_si256(_mm256_set1_epi32(d[0]), _mm256_and_si256(atStart, valid));
  return _mm256_cvtepi32_ps(_mm256_or_si256(_mm256_srai_epi32(words, 16), first));
}

template <int Loop>
QXR_AVX2 double CubicAtPositions(const mixer_detail::SampleView& s, const double* positions, int frames,
                                 double gain, const PanFactors& pan, double* left, double* right) {
  const int16_t* d = s.data;
  const __m256d gains = _mm256_set1_pd(gain), one = _mm256_set1_pd(1.0), two = _mm256_set1_pd(2.0);
  const __m256d directEnd = _mm256_set1_pd(s.directEnd);
  const __m256d leftMul = _mm256_set1_pd(pan.leftMul), rightMul = _mm256_set1_pd(pan.rightMul);
  const __m256i lanes = _mm256_setr_epi64x(0, 1, 2, 3);
  const LoopLimits limits{_mm256_set1_pd(s.length), _mm256_set1_pd(s.loopStart), _mm256_set1_pd(s.loopLength),
                          _mm256_set1_pd(s.loopEnd), _mm256_set1_pd(s.last + 1.0)};
  alignas(32) double values[8];
  alignas(32) double tail[8];
  for (int k = 0; k < frames; k += 8) {
    // The last eight positions may run past the end: they repeat the last one and are not added.
    const double* at = positions + k;
    if (k + 8 > frames) {
      for (int j = 0; j < 8; ++j) tail[j] = positions[k + j < frames ? k + j : frames - 1];
      at = tail;
    }
    const __m256i count = _mm256_set1_epi64x(frames - k);
    const __m256i maskLow = _mm256_cmpgt_epi64(count, lanes);
    const __m256i maskHigh = _mm256_cmpgt_epi64(count, _mm256_add_epi64(lanes, _mm256_set1_epi64x(4)));
    const __m256d pLow = _mm256_loadu_pd(at), pHigh = _mm256_loadu_pd(at + 4);

    // Every position at least 1, its neighbour two on inside the data: all neighbours read
    // directly. Otherwise each frame reads its neighbours by the loop's rules.
    const __m256d directLow = _mm256_and_pd(_mm256_cmp_pd(pLow, one, _CMP_GE_OQ),
                                            _mm256_cmp_pd(_mm256_add_pd(pLow, two), directEnd, _CMP_LE_OQ));
    const __m256d directHigh = _mm256_and_pd(_mm256_cmp_pd(pHigh, one, _CMP_GE_OQ),
                                             _mm256_cmp_pd(_mm256_add_pd(pHigh, two), directEnd, _CMP_LE_OQ));
    const __m128i iLow = _mm256_cvttpd_epi32(pLow), iHigh = _mm256_cvttpd_epi32(pHigh);
    const __m128 tLow = _mm256_cvtpd_ps(_mm256_sub_pd(pLow, _mm256_cvtepi32_pd(iLow)));
    const __m128 tHigh = _mm256_cvtpd_ps(_mm256_sub_pd(pHigh, _mm256_cvtepi32_pd(iHigh)));
    const __m256 t = _mm256_set_m128(tHigh, tLow);
    alignas(16) int index[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(index), iLow);
    _mm_store_si128(reinterpret_cast<__m128i*>(index + 4), iHigh);
    __m256 ym, y0, y1, y2;
    const __m256i i = _mm256_set_m128i(iHigh, iLow);
    const int base = std::min(index[0], index[7]);
    const __m256i rel = _mm256_sub_epi32(i, _mm256_set1_epi32(base));
    const bool allDirect = _mm256_movemask_pd(_mm256_and_pd(directLow, directHigh)) == 15;
    if (allDirect && base + 6 <= s.last &&
        _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpgt_epi32(rel, _mm256_set1_epi32(4)),
                                             _mm256_cmpgt_epi32(_mm256_setzero_si256(), rel))) == 0) {
      // All eight frames within five entries (a step up to about a half): their neighbours
      // all lie in one window of eight entries.
      const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + base - 1));
      const __m256 window = _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(raw));
      const __m256i one32 = _mm256_set1_epi32(1);
      ym = _mm256_permutevar8x32_ps(window, rel);
      y0 = _mm256_permutevar8x32_ps(window, _mm256_add_epi32(rel, one32));
      y1 = _mm256_permutevar8x32_ps(window, _mm256_add_epi32(rel, _mm256_set1_epi32(2)));
      y2 = _mm256_permutevar8x32_ps(window, _mm256_add_epi32(rel, _mm256_set1_epi32(3)));
    } else if (allDirect) {
      // Frames 0..3 in the low halves, 4..7 in the high halves; then each vector is turned so
      // that it holds one neighbour of all eight frames.
      const __m256 r0 = NeighboursOfTwo(d, index[0], index[4]), r1 = NeighboursOfTwo(d, index[1], index[5]);
      const __m256 r2 = NeighboursOfTwo(d, index[2], index[6]), r3 = NeighboursOfTwo(d, index[3], index[7]);
      const __m256 t0 = _mm256_unpacklo_ps(r0, r1), t1 = _mm256_unpackhi_ps(r0, r1);
      const __m256 t2 = _mm256_unpacklo_ps(r2, r3), t3 = _mm256_unpackhi_ps(r2, r3);
      ym = _mm256_shuffle_ps(t0, t2, 0x44), y0 = _mm256_shuffle_ps(t0, t2, 0xEE);
      y1 = _mm256_shuffle_ps(t1, t3, 0x44), y2 = _mm256_shuffle_ps(t1, t3, 0xEE);
    } else {
      // Near the loop's end and the sample's start: each neighbour as the loop maps it.
      __m256 around[3];
      static const double offsets[3] = {-1.0, 1.0, 2.0};
      for (int n = 0; n < 3; ++n) {
        __m128i validLow, validHigh;
        const __m128i low = NeighbourIndex<Loop>(limits, pLow, offsets[n], directLow, validLow);
        const __m128i high = NeighbourIndex<Loop>(limits, pHigh, offsets[n], directHigh, validHigh);
        around[n] = Gather16(d, _mm256_set_m128i(high, low), _mm256_set_m128i(validHigh, validLow));
      }
      ym = around[0], y1 = around[1], y2 = around[2];
      y0 = Gather16(d, i, _mm256_set1_epi32(-1));
    }
    const __m256 r = Cubic8(ym, y0, y1, y2, t);
    const __m256d vLow = _mm256_mul_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(r)), gains);
    const __m256d vHigh = _mm256_mul_pd(_mm256_cvtps_pd(_mm256_extractf128_ps(r, 1)), gains);
    const bool whole = k + 8 <= frames;
    AddPanned(vLow, maskLow, whole, pan, leftMul, rightMul, left + k, right + k);
    AddPanned(vHigh, maskHigh, whole, pan, leftMul, rightMul, left + k + 4, right + k + 4);
    if (k + 8 >= frames) {
      _mm256_store_pd(values, vLow);
      _mm256_store_pd(values + 4, vHigh);
    }
  }
  return values[(frames - 1) & 7];
}

// Cubic8 on sixteen lanes.
QXR_AVX512 inline __m512 Cubic16(__m512 ym, __m512 y0, __m512 y1, __m512 y2, __m512 t) {
  const __m512 two = _mm512_set1_ps(2.0f), three = _mm512_set1_ps(3.0f), four = _mm512_set1_ps(4.0f),
               five = _mm512_set1_ps(5.0f), half = _mm512_set1_ps(0.5f);
  const __m512 linear = _mm512_add_ps(_mm512_mul_ps(two, y0), _mm512_mul_ps(_mm512_sub_ps(y1, ym), t));
  const __m512 square = _mm512_sub_ps(
      _mm512_add_ps(_mm512_sub_ps(_mm512_mul_ps(two, ym), _mm512_mul_ps(five, y0)), _mm512_mul_ps(four, y1)), y2);
  const __m512 cube = _mm512_add_ps(
      _mm512_sub_ps(_mm512_sub_ps(_mm512_mul_ps(three, y0), ym), _mm512_mul_ps(three, y1)), y2);
  const __m512 sum = _mm512_add_ps(_mm512_add_ps(linear, _mm512_mul_ps(_mm512_mul_ps(square, t), t)),
                                   _mm512_mul_ps(_mm512_mul_ps(_mm512_mul_ps(cube, t), t), t));
  return _mm512_mul_ps(half, sum);
}

// Sixteen values of frames times gain, added to left and right through the pan; last gets the
// last value.
QXR_AVX512 inline void AddSixteenValues(__m512 r, double gain, const PanFactors& pan, double* left, double* right,
                                        double& last) {
  const __m512d gains = _mm512_set1_pd(gain);
  const __m512d vA = _mm512_mul_pd(_mm512_cvtps_pd(_mm512_castps512_ps256(r)), gains);
  const __m512d vB = _mm512_mul_pd(_mm512_cvtps_pd(_mm512_extractf32x8_ps(r, 1)), gains);
  if (pan.toLeft) {
    const __m512d m = _mm512_set1_pd(pan.leftMul);
    _mm512_storeu_pd(left, _mm512_add_pd(_mm512_loadu_pd(left), _mm512_mul_pd(vA, m)));
    _mm512_storeu_pd(left + 8, _mm512_add_pd(_mm512_loadu_pd(left + 8), _mm512_mul_pd(vB, m)));
  }
  if (pan.toRight) {
    const __m512d m = _mm512_set1_pd(pan.rightMul);
    _mm512_storeu_pd(right, _mm512_add_pd(_mm512_loadu_pd(right), _mm512_mul_pd(vA, m)));
    _mm512_storeu_pd(right + 8, _mm512_add_pd(_mm512_loadu_pd(right + 8), _mm512_mul_pd(vB, m)));
  }
  alignas(64) double values[8];
  _mm512_store_pd(values, vB);
  last = values[7];
}

// The cubic values of sixteen frames at positions pA, pB (their indices iA, iB) from their
// neighbours, times gain, added to left and right through the pan; last gets the last value.
QXR_AVX512 inline void AddCubicSixteen(__m512d pA, __m512d pB, __m256i iA, __m256i iB, __m512 ym, __m512 y0,
                                       __m512 y1, __m512 y2, double gain, const PanFactors& pan, double* left,
                                       double* right, double& last) {
  const __m256 tA = _mm512_cvtpd_ps(_mm512_sub_pd(pA, _mm512_cvtepi32_pd(iA)));
  const __m256 tB = _mm512_cvtpd_ps(_mm512_sub_pd(pB, _mm512_cvtepi32_pd(iB)));
  const __m512 t = _mm512_insertf32x8(_mm512_castps256_ps512(tA), tB, 1);
  AddSixteenValues(Cubic16(ym, y0, y1, y2, t), gain, pan, left, right, last);
}

// The window of 32 entries d[base - 1 .. base + 30] as floats, low and high sixteen. Entries
// past the sample's last one are not read (they load as 0 and no frame uses them).
QXR_AVX512 inline void LoadWindow32(const mixer_detail::SampleView& s, int base, __m512& low, __m512& high) {
  const int available = s.last - base + 2;  // entries from d[base - 1] to d[last]
  const __mmask32 mask = available >= 32 ? 0xFFFFFFFFu : (1u << available) - 1;
  const __m512i raw = _mm512_maskz_loadu_epi16(mask, s.data + base - 1);
  low = _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm512_castsi512_si256(raw)));
  high = _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm512_extracti64x4_epi64(raw, 1)));
}

// The farthest a frame's index may lie from the group's base for all its neighbours to lie in
// the window of 32 entries.
constexpr int WindowReach = 28;

// Sixteen frames at once where every neighbour is read directly and all of them lie in one
// window of 32 entries (a step up to about 1.8): the operations of Cubic8, lane for lane.
// Returns false, having done nothing, for frames that do not qualify.
QXR_AVX512 inline bool SixteenInWindow(const mixer_detail::SampleView& s, const double* at, double gain,
                                       const PanFactors& pan, double* left, double* right, double& last) {
  const __m512d one = _mm512_set1_pd(1.0), two = _mm512_set1_pd(2.0), end = _mm512_set1_pd(s.directEnd);
  const __m512d pA = _mm512_loadu_pd(at), pB = _mm512_loadu_pd(at + 8);
  const __mmask8 directA = _mm512_cmp_pd_mask(pA, one, _CMP_GE_OQ) &
                           _mm512_cmp_pd_mask(_mm512_add_pd(pA, two), end, _CMP_LE_OQ);
  const __mmask8 directB = _mm512_cmp_pd_mask(pB, one, _CMP_GE_OQ) &
                           _mm512_cmp_pd_mask(_mm512_add_pd(pB, two), end, _CMP_LE_OQ);
  if ((directA & directB) != 0xFF) return false;
  const __m256i iA = _mm512_cvttpd_epi32(pA), iB = _mm512_cvttpd_epi32(pB);
  const int base = std::min(_mm256_extract_epi32(iA, 0), _mm256_extract_epi32(iB, 7));
  const __m512i i = _mm512_inserti64x4(_mm512_castsi256_si512(iA), iB, 1);
  const __m512i rel = _mm512_sub_epi32(i, _mm512_set1_epi32(base));
  if (_mm512_cmpgt_epi32_mask(rel, _mm512_set1_epi32(WindowReach)) != 0 ||
      _mm512_cmplt_epi32_mask(rel, _mm512_setzero_si512()) != 0) {
    return false;
  }
  __m512 low, high;
  LoadWindow32(s, base, low, high);
  const __m512 ym = _mm512_permutex2var_ps(low, rel, high);
  const __m512 y0 = _mm512_permutex2var_ps(low, _mm512_add_epi32(rel, _mm512_set1_epi32(1)), high);
  const __m512 y1 = _mm512_permutex2var_ps(low, _mm512_add_epi32(rel, _mm512_set1_epi32(2)), high);
  const __m512 y2 = _mm512_permutex2var_ps(low, _mm512_add_epi32(rel, _mm512_set1_epi32(3)), high);
  AddCubicSixteen(pA, pB, iA, iB, ym, y0, y1, y2, gain, pan, left, right, last);
  return true;
}

// Eight frames at once, as SixteenInWindow does sixteen, for steps up to about four.
QXR_AVX512 inline bool EightInWindow(const mixer_detail::SampleView& s, const double* at, double gain,
                                     const PanFactors& pan, double* left, double* right, double& last) {
  const __m512d p = _mm512_loadu_pd(at);
  const __mmask8 direct = _mm512_cmp_pd_mask(p, _mm512_set1_pd(1.0), _CMP_GE_OQ) &
                          _mm512_cmp_pd_mask(_mm512_add_pd(p, _mm512_set1_pd(2.0)), _mm512_set1_pd(s.directEnd),
                                             _CMP_LE_OQ);
  if (direct != 0xFF) return false;
  const __m256i i = _mm512_cvttpd_epi32(p);
  const int base = std::min(_mm256_extract_epi32(i, 0), _mm256_extract_epi32(i, 7));
  const __m256i rel = _mm256_sub_epi32(i, _mm256_set1_epi32(base));
  if (_mm256_cmpgt_epi32_mask(rel, _mm256_set1_epi32(WindowReach)) != 0 ||
      _mm256_cmpgt_epi32_mask(_mm256_setzero_si256(), rel) != 0) {
    return false;
  }
  __m512 low, high;
  LoadWindow32(s, base, low, high);
  const __m512i at0 = _mm512_zextsi256_si512(rel);
  auto neighbour = [&](int offset) QXR_AVX512 {
    return _mm512_castps512_ps256(_mm512_permutex2var_ps(low, _mm512_add_epi32(at0, _mm512_set1_epi32(offset)), high));
  };
  const __m256 t = _mm512_cvtpd_ps(_mm512_sub_pd(p, _mm512_cvtepi32_pd(i)));
  const __m256 r = Cubic8(neighbour(0), neighbour(1), neighbour(2), neighbour(3), t);
  const __m512d v = _mm512_mul_pd(_mm512_cvtps_pd(r), _mm512_set1_pd(gain));
  if (pan.toLeft) {
    _mm512_storeu_pd(left, _mm512_add_pd(_mm512_loadu_pd(left), _mm512_mul_pd(v, _mm512_set1_pd(pan.leftMul))));
  }
  if (pan.toRight) {
    _mm512_storeu_pd(right, _mm512_add_pd(_mm512_loadu_pd(right), _mm512_mul_pd(v, _mm512_set1_pd(pan.rightMul))));
  }
  last = _mm512_cvtsd_f64(_mm512_permutexvar_pd(_mm512_set1_epi64(7), v));
  return true;
}

// For eight positions p of a forward loop's frames before its wrap: the index of the neighbour
// at p + offset in the seam (the loop's entries up to its end, then its first entries again:
// entry x is d[x] up to the loop's end and d[x - loopLength - 1] after it), as
// mixer_detail::Neighbour maps that neighbour; where `direct` is set, trunc(p) + offset. valid
// gets the lanes that have such a neighbour.
QXR_AVX512 inline __m256i SeamIndex(const mixer_detail::SampleView& s, __m512d p, __m256i i, __mmask8 direct,
                                    int offset, __mmask8& valid) {
  const __m512d q = _mm512_add_pd(p, _mm512_set1_pd(offset));
  const __mmask8 past = _mm512_cmp_pd_mask(q, _mm512_set1_pd(s.loopEnd), _CMP_GT_OQ);
  const __m512d w = _mm512_mask_sub_pd(q, past, q, _mm512_set1_pd(s.loopLength));
  const __mmask8 inside = _mm512_cmp_pd_mask(w, _mm512_setzero_pd(), _CMP_GE_OQ) &
                          _mm512_cmp_pd_mask(w, _mm512_set1_pd(s.last + 1.0), _CMP_LT_OQ);
  valid = static_cast<__mmask8>(inside | direct);
  const __m256i index = _mm512_cvttpd_epi32(_mm512_maskz_mov_pd(inside, w));
  const __m256i seamed =
      _mm256_mask_add_epi32(index, past, index, _mm256_set1_epi32(static_cast<int>(s.loopLength) + 1));
  return _mm256_mask_blend_epi32(direct, seamed, _mm256_add_epi32(i, _mm256_set1_epi32(offset)));
}

// The seam's 32 entries from `from` (entry x is d[x] up to the loop's end, then
// d[x - loopLength - 1]), as floats, low and high sixteen. Entries past the data load as 0.
QXR_AVX512 inline void LoadSeamWindow(const mixer_detail::SampleView& s, int from, __m512& low, __m512& high) {
  const int loopEnd = static_cast<int>(s.loopEnd), loopStart = static_cast<int>(s.loopStart);
  auto firstEntries = [](int count) {
    return count >= 32 ? 0xFFFFFFFFu : count > 0 ? (1u << count) - 1 : 0u;
  };
  const int upToEnd = std::clamp(loopEnd - from + 1, 0, 32);
  const __mmask32 fromData = firstEntries(upToEnd);
  const __m512i head = _mm512_maskz_loadu_epi16(fromData & firstEntries(s.last - from + 1), s.data + from);
  __m512i window = head;
  if (upToEnd < 32) {
    const __m512i loopHead = _mm512_maskz_loadu_epi16(firstEntries(s.last - loopStart + 1), s.data + loopStart);
    const __m512i shift = _mm512_sub_epi16(
        _mm512_set_epi16(31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8,
                         7, 6, 5, 4, 3, 2, 1, 0),
        _mm512_set1_epi16(static_cast<short>(upToEnd)));
    window = _mm512_mask_permutexvar_epi16(head, ~fromData, shift, loopHead);
    // Loop entries past the data are not valid neighbours: they stay 0.
    window = _mm512_maskz_mov_epi16(fromData | (firstEntries(s.last - loopStart + 1) << upToEnd), window);
  }
  low = _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm512_castsi512_si256(window)));
  high = _mm512_cvtepi32_ps(_mm512_cvtepi16_epi32(_mm512_extracti64x4_epi64(window, 1)));
}

// Sixteen frames of a forward loop that SixteenInWindow leaves (frames around the loop's end
// and its wrap, or near the sample's start): every neighbour's place in the seam, each lane as
// CubicAtPositions would read it, from at most three windows of 32 seam entries. Returns
// false, having done nothing, for frames that do not qualify (a loop of fewer than four
// entries or reaching past the sample, a position past the loop's end, neighbours too far
// apart).
template <int Loop>
QXR_AVX512 inline bool SixteenAcrossSeam(const mixer_detail::SampleView& s, const double* at, double gain,
                                         const PanFactors& pan, double* left, double* right, double& last) {
  if (Loop != LoopForward || s.loopLength < 4 || s.loopEnd > s.length) return false;
  const __m512d one = _mm512_set1_pd(1.0), two = _mm512_set1_pd(2.0), end = _mm512_set1_pd(s.directEnd);
  const __m512d loopEnd = _mm512_set1_pd(s.loopEnd);
  const __m512d pA = _mm512_loadu_pd(at), pB = _mm512_loadu_pd(at + 8);
  if ((_mm512_cmp_pd_mask(pA, loopEnd, _CMP_LE_OQ) & _mm512_cmp_pd_mask(pB, loopEnd, _CMP_LE_OQ)) != 0xFF) return false;
  const __mmask8 directA = _mm512_cmp_pd_mask(pA, one, _CMP_GE_OQ) &
                           _mm512_cmp_pd_mask(_mm512_add_pd(pA, two), end, _CMP_LE_OQ);
  const __mmask8 directB = _mm512_cmp_pd_mask(pB, one, _CMP_GE_OQ) &
                           _mm512_cmp_pd_mask(_mm512_add_pd(pB, two), end, _CMP_LE_OQ);
  const __m256i iA = _mm512_cvttpd_epi32(pA), iB = _mm512_cvttpd_epi32(pB);
  const __m512i i = _mm512_inserti64x4(_mm512_castsi256_si512(iA), iB, 1);

  // Each neighbour's place in the seam, and the span of each lane's places.
  __m512i seam[3];
  __mmask16 valid[3];
  static const int offsets[3] = {-1, 1, 2};
  __m512i lowest = i, highest = i;
  for (int n = 0; n < 3; ++n) {
    __mmask8 validA, validB;
    const __m256i a = SeamIndex(s, pA, iA, directA, offsets[n], validA);
    const __m256i b = SeamIndex(s, pB, iB, directB, offsets[n], validB);
    seam[n] = _mm512_inserti64x4(_mm512_castsi256_si512(a), b, 1);
    valid[n] = static_cast<__mmask16>(validA | validB << 8);
    lowest = _mm512_mask_min_epi32(lowest, valid[n], lowest, seam[n]);
    highest = _mm512_mask_max_epi32(highest, valid[n], highest, seam[n]);
  }
  // Window after window from the lowest place still wanted, for the lanes it holds whole.
  __m512 ym = _mm512_setzero_ps(), y0 = ym, y1 = ym, y2 = ym;
  __mmask16 pending = 0xFFFF;
  for (int round = 0; round < 3 && pending != 0; ++round) {
    const int from = _mm512_mask_reduce_min_epi32(pending, lowest);
    const __m512i base = _mm512_set1_epi32(from);
    const __mmask16 held = _mm512_mask_cmple_epi32_mask(pending, highest, _mm512_set1_epi32(from + 31));
    if (held == 0) return false;
    __m512 low, high;
    LoadSeamWindow(s, from, low, high);
    ym = _mm512_mask_mov_ps(ym, held, _mm512_maskz_permutex2var_ps(valid[0], low, _mm512_sub_epi32(seam[0], base), high));
    y0 = _mm512_mask_mov_ps(y0, held, _mm512_permutex2var_ps(low, _mm512_sub_epi32(i, base), high));
    y1 = _mm512_mask_mov_ps(y1, held, _mm512_maskz_permutex2var_ps(valid[1], low, _mm512_sub_epi32(seam[1], base), high));
    y2 = _mm512_mask_mov_ps(y2, held, _mm512_maskz_permutex2var_ps(valid[2], low, _mm512_sub_epi32(seam[2], base), high));
    pending = static_cast<__mmask16>(pending & ~held);
  }
  if (pending != 0) return false;

  AddCubicSixteen(pA, pB, iA, iB, ym, y0, y1, y2, gain, pan, left, right, last);
  return true;
}

// Up to sixteen frames (count, at least 1) of a short forward loop from its seam table,
// wherever they lie in the loop and across one wrap, their places at most 63 apart: Cubic16's
// operations on the table's exact coefficients, lane for lane. A frame after the wrap takes the
// place one loop length on. The positions are at[k] + move; WithinPass: they lie within one
// pass, without a wrap (otherwise move is 0 and not added). Returns false, having done nothing,
// for frames that do not qualify (a place that does not stand for its frame, two wraps, places
// too far apart).
template <bool WithinPass>
[[gnu::always_inline]] QXR_AVX512 inline bool FramesFromSeam(const LoopSeamTable& seam, const double* at, double move,
                                                             int count, double gain, const PanFactors& pan,
                                                             double* left, double* right, double& last) {
  // Lanes past count repeat the last frame's position, and add nothing.
  const __mmask16 lanes = static_cast<__mmask16>((1u << count) - 1);
  const __mmask8 lanesA = static_cast<__mmask8>(lanes), lanesB = static_cast<__mmask8>(lanes >> 8);
  const __m512d lastPosition = _mm512_set1_pd(at[count - 1]);
  __m512d pA = _mm512_mask_loadu_pd(lastPosition, lanesA, at);
  __m512d pB = _mm512_mask_loadu_pd(lastPosition, lanesB, at + 8);
  if (WithinPass) {
    pA = _mm512_add_pd(pA, _mm512_set1_pd(move));
    pB = _mm512_add_pd(pB, _mm512_set1_pd(move));
  }
  const __m256i iA = _mm512_cvttpd_epi32(pA), iB = _mm512_cvttpd_epi32(pB);
  const __m512d fA = _mm512_sub_pd(pA, _mm512_cvtepi32_pd(iA)), fB = _mm512_sub_pd(pB, _mm512_cvtepi32_pd(iB));
  // Whole positions within two of the end, and positions just below a whole number.
  const __m512d zero = _mm512_setzero_pd(), nearlyWhole = _mm512_set1_pd(1.0 - 0x1p-20);
  const __m256i nearEnd = _mm256_set1_epi32(seam.loopStart + seam.loopLength - 2);
  const __mmask8 oddA = (_mm512_cmp_pd_mask(fA, zero, _CMP_EQ_OQ) & _mm256_cmpge_epi32_mask(iA, nearEnd)) |
                        _mm512_cmp_pd_mask(fA, nearlyWhole, _CMP_GT_OQ);
  const __mmask8 oddB = (_mm512_cmp_pd_mask(fB, zero, _CMP_EQ_OQ) & _mm256_cmpge_epi32_mask(iB, nearEnd)) |
                        _mm512_cmp_pd_mask(fB, nearlyWhole, _CMP_GT_OQ);
  if ((oddA | oddB) != 0) return false;
  __m512i place = _mm512_inserti64x4(_mm512_castsi256_si512(iA), iB, 1);
  if (!WithinPass) {
    // A wrap: a position below the one before it.
    const __m512i rawA = _mm512_castpd_si512(pA), rawB = _mm512_castpd_si512(pB);
    const __m512d beforeA = _mm512_castsi512_pd(_mm512_alignr_epi64(rawA, rawA, 7));
    const __m512d beforeB = _mm512_castsi512_pd(_mm512_alignr_epi64(rawB, rawA, 7));
    const unsigned wraps = (_mm512_cmp_pd_mask(pA, beforeA, _CMP_LT_OQ) & 0xFEu) |
                           static_cast<unsigned>(_mm512_cmp_pd_mask(pB, beforeB, _CMP_LT_OQ)) << 8;
    if ((wraps & (wraps - 1)) != 0) return false;
    const __mmask16 afterWrap = static_cast<__mmask16>(wraps != 0 ? ~(wraps - 1) : 0u);
    place = _mm512_mask_add_epi32(place, afterWrap, place, _mm512_set1_epi32(seam.loopLength));
  }
  // The places rise from the first frame's.
  const int base = _mm_cvtsi128_si32(_mm512_castsi512_si128(place));
  if (static_cast<unsigned>(base) >= static_cast<unsigned>(seam.places)) return false;
  const __m512i rel = _mm512_sub_epi32(place, _mm512_set1_epi32(base));
  if (_mm512_cmpgt_epu32_mask(rel, _mm512_set1_epi32(LoopSeamWindow - 1)) != 0) return false;
  // Each coefficient from a window of 32 places, or of 64 where the frames reach that far.
  const __mmask16 upper = _mm512_cmpgt_epu32_mask(rel, _mm512_set1_epi32(31));
  auto coefficient = [&](const std::vector<float>& column) QXR_AVX512 {
    const float* window = column.data() + base;
    const __m512 near = _mm512_permutex2var_ps(_mm512_loadu_ps(window), rel, _mm512_loadu_ps(window + 16));
    if (upper == 0) return near;
    const __m512 far = _mm512_permutex2var_ps(_mm512_loadu_ps(window + 32), rel, _mm512_loadu_ps(window + 48));
    return _mm512_mask_blend_ps(upper, near, far);
  };
  const __m512 twiceY0 = coefficient(seam.twiceY0), slope = coefficient(seam.slope);
  const __m512 square = coefficient(seam.square), cube = coefficient(seam.cube);
  const __m512 t = _mm512_insertf32x8(_mm512_castps256_ps512(_mm512_cvtpd_ps(fA)), _mm512_cvtpd_ps(fB), 1);
  const __m512 linear = _mm512_add_ps(twiceY0, _mm512_mul_ps(slope, t));
  const __m512 sum = _mm512_add_ps(_mm512_add_ps(linear, _mm512_mul_ps(_mm512_mul_ps(square, t), t)),
                                   _mm512_mul_ps(_mm512_mul_ps(_mm512_mul_ps(cube, t), t), t));
  const __m512 r = _mm512_mul_ps(_mm512_set1_ps(0.5f), sum);

  const __m512d gains = _mm512_set1_pd(gain);
  const __m512d vA = _mm512_mul_pd(_mm512_cvtps_pd(_mm512_castps512_ps256(r)), gains);
  const __m512d vB = _mm512_mul_pd(_mm512_cvtps_pd(_mm512_extractf32x8_ps(r, 1)), gains);
  auto add = [&](double* side, double factor) QXR_AVX512 {
    // Times 1 changes nothing (the centre, hard left and right).
    const __m512d m = _mm512_set1_pd(factor);
    const __m512d a = factor == 1.0 ? vA : _mm512_mul_pd(vA, m), b = factor == 1.0 ? vB : _mm512_mul_pd(vB, m);
    _mm512_mask_storeu_pd(side, lanesA, _mm512_add_pd(_mm512_maskz_loadu_pd(lanesA, side), a));
    _mm512_mask_storeu_pd(side + 8, lanesB, _mm512_add_pd(_mm512_maskz_loadu_pd(lanesB, side + 8), b));
  };
  if (pan.toLeft) add(left, pan.leftMul);
  if (pan.toRight) add(right, pan.rightMul);
  // The lanes past count hold the last frame's value too.
  alignas(64) double values[8];
  _mm512_store_pd(values, vB);
  last = values[7];
  return true;
}

// CubicAtPositions, sixteen or eight frames at a time where they qualify.
template <int Loop>
QXR_AVX512 double CubicAtPositionsWide(const mixer_detail::SampleView& s, const LoopSeamTable* seam,
                                       const double* positions, int frames, double gain, const PanFactors& pan,
                                       double* left, double* right) {
  double last = 0.0;
  int k = 0;
  while (k < frames) {
    const int count = std::min(16, frames - k);
    if (seam && FramesFromSeam<false>(*seam, positions + k, 0.0, count, gain, pan, left + k, right + k, last)) {
      k += count;
      continue;
    }
    if (k + 16 <= frames && (SixteenInWindow(s, positions + k, gain, pan, left + k, right + k, last) ||
                             SixteenAcrossSeam<Loop>(s, positions + k, gain, pan, left + k, right + k, last))) {
      k += 16;
      continue;
    }
    if (k + 8 <= frames && EightInWindow(s, positions + k, gain, pan, left + k, right + k, last)) {
      k += 8;
      continue;
    }
    const int n = std::min(8, frames - k);
    last = CubicAtPositions<Loop>(s, positions + k, n, gain, pan, left + k, right + k);
    k += n;
  }
  return last;
}

}  // namespace

template <int Loop>
double CubicAtPositionsAvx2(const mixer_detail::SampleView& s, const LoopSeamTable* seam, const double* positions,
                            int frames, double gain, const PanFactors& pan, double* left, double* right) {
  if (HasAvx512()) return CubicAtPositionsWide<Loop>(s, seam, positions, frames, gain, pan, left, right);
  return CubicAtPositions<Loop>(s, positions, frames, gain, pan, left, right);
}

namespace {

// MovedPositionsAvx2 eight at a time.
QXR_AVX512 void MovedPositions8(const double* from, int count, double move, double* out) {
  const __m512d by = _mm512_set1_pd(move);
  int k = 0;
  for (; k + 8 <= count; k += 8) _mm512_storeu_pd(out + k, _mm512_add_pd(_mm512_loadu_pd(from + k), by));
  const __mmask8 rest = static_cast<__mmask8>((1u << (count - k)) - 1);
  _mm512_mask_storeu_pd(out + k, rest, _mm512_add_pd(_mm512_maskz_loadu_pd(rest, from + k), by));
}

}  // namespace

QXR_AVX2 void MovedPositionsAvx2(const double* from, int count, double move, double* out) {
  if (HasAvx512()) {
    MovedPositions8(from, count, move, out);
    return;
  }
  const __m256d by = _mm256_set1_pd(move);
  int k = 0;
  for (; k + 4 <= count; k += 4) _mm256_storeu_pd(out + k, _mm256_add_pd(_mm256_loadu_pd(from + k), by));
  for (; k < count; ++k) out[k] = from[k] + move;
}

QXR_AVX512 double CubicAtPassAvx512(const mixer_detail::SampleView& s, const LoopSeamTable& seam, const double* from,
                                    double move, int frames, double gain, const PanFactors& pan, double* left,
                                    double* right) {
  double last = 0.0;
  for (int k = 0; k < frames;) {
    const int count = std::min(16, frames - k);
    if (!FramesFromSeam<true>(seam, from + k, move, count, gain, pan, left + k, right + k, last)) {
      // These frames by the other ways.
      double positions[16 + 8];
      MovedPositions8(from + k, count, move, positions);
      last = CubicAtPositionsWide<LoopForward>(s, nullptr, positions, count, gain, pan, left + k, right + k);
    }
    k += count;
  }
  return last;
}

namespace {

// out[k] = start + k * gridStep for k = 0, 1, ... as long as the position lies in [low, high]
// and below top, at most limit (the start always counts); returns how many. Writes in fours.
QXR_AVX2 int GridPositions(double start, double gridStep, double low, double high, double top, int limit,
                           double* out) {
  const __m256d origin = _mm256_set1_pd(start), step = _mm256_set1_pd(gridStep), four = _mm256_set1_pd(4.0);
  const __m256d lows = _mm256_set1_pd(low), highs = _mm256_set1_pd(high), tops = _mm256_set1_pd(top);
  __m256d k = _mm256_setr_pd(0.0, 1.0, 2.0, 3.0);
  for (int j = 0; j < limit; j += 4) {
    const __m256d p = _mm256_add_pd(origin, _mm256_mul_pd(k, step));
    _mm256_storeu_pd(out + j, p);
    const __m256d inside = _mm256_and_pd(
        _mm256_and_pd(_mm256_cmp_pd(p, lows, _CMP_GE_OQ), _mm256_cmp_pd(p, highs, _CMP_LE_OQ)),
        _mm256_cmp_pd(p, tops, _CMP_LT_OQ));
    // The positions move one way: the first one outside ends them.
    const int outside = ~_mm256_movemask_pd(inside) & (j == 0 ? 14 : 15);
    if (outside != 0) return std::min(j + __builtin_ctz(outside), limit);
    k = _mm256_add_pd(k, four);
  }
  return limit;
}

// GridPositions eight at a time. Writes in eights.
QXR_AVX512 int GridPositions8(double start, double gridStep, double low, double high, double top, int limit,
                              double* out) {
  const __m512d origin = _mm512_set1_pd(start), step = _mm512_set1_pd(gridStep), eight = _mm512_set1_pd(8.0);
  const __m512d lows = _mm512_set1_pd(low), highs = _mm512_set1_pd(high), tops = _mm512_set1_pd(top);
  __m512d k = _mm512_setr_pd(0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0);
  for (int j = 0; j < limit; j += 8) {
    const __m512d p = _mm512_add_pd(origin, _mm512_mul_pd(k, step));
    _mm512_storeu_pd(out + j, p);
    const __mmask8 inside = _mm512_cmp_pd_mask(p, lows, _CMP_GE_OQ) & _mm512_cmp_pd_mask(p, highs, _CMP_LE_OQ) &
                            _mm512_cmp_pd_mask(p, tops, _CMP_LT_OQ);
    // The positions move one way: the first one outside ends them.
    const unsigned outside = ~static_cast<unsigned>(inside) & (j == 0 ? 0xFEu : 0xFFu);
    if (outside != 0) return std::min(j + __builtin_ctz(outside), limit);
    k = _mm512_add_pd(k, eight);
  }
  return limit;
}

using GridFunction = int (*)(double, double, double, double, double, int, double*);

// Within one binade [2^e, 2^(e+1)) every double is a multiple of the same unit, so adding the
// step rounds it to that unit whatever the position: the k-th position after p is then
// p + k * gridStep exactly, and the positions can be computed side by side. When the step lies
// exactly halfway between two multiples of the unit, the sum rounds to the even multiple: from
// an even position on, every addition then adds the same; from an odd one the next addition is
// made alone. A stretch of fewer than shortStretch frames (near the bottom of the sample, or of
// the loop's end) costs less added up one by one, which the processor overlaps with the mixing
// of the frames before.
template <GridFunction Grid>
int SteadyPositionsBy(double& position, double step, double low, double high, int limit, double* out,
                      double shortStretch) {
  double p = position;
  int n = 0;
  const double framesPerUnit = 1.0 / std::fabs(step);
  while (n < limit && p >= low && p <= high) {
    // The binade's bottom keeps only the exponent bits of p; its unit is 2^-52 of that.
    const uint64_t bits = std::bit_cast<uint64_t>(p);
    const double binade = std::bit_cast<double>(bits & 0x7FF0000000000000ULL);
    const double room = step > 0 ? std::min(2.0 * binade, high) - p : p - std::max(binade, low);
    if (room * framesPerUnit < shortStretch) {
      for (int j = 0; j < 8 && n < limit && p >= low && p <= high; ++j) {
        out[n++] = p;
        p += step;
      }
      continue;
    }
    const double unit = binade * 0x1p-52;
    const double gridStep = (p + step) - p;
    if (std::fabs(step - gridStep) == 0.5 * unit && (bits & 1) != 0) {
      out[n++] = p;
      p += step;
      continue;
    }
    // Going down, a unit above the bottom, so that the exact sum never falls below it.
    const double bottom = step > 0 ? low : std::max(low, binade + unit);
    const double top = step > 0 ? 2.0 * binade : INFINITY;
    const int same = Grid(p, gridStep, bottom, high, top, limit - n, out + n);
    n += same;
    p = (p + (same - 1) * gridStep) + step;
  }
  position = p;
  return n;
}

}  // namespace

int SteadyPositionsAvx2(double& position, double step, double low, double high, int limit, double* out) {
  if (HasAvx512()) return SteadyPositionsBy<GridPositions8>(position, step, low, high, limit, out, 8.0);
  return SteadyPositionsBy<GridPositions>(position, step, low, high, limit, out, 24.0);
}

namespace {

// BinadeRoomAvx2 eight at a time, for count rounded down to a multiple of 8; returns how many
// it took.
QXR_AVX512 int BinadeRoom8(const double* positions, int count, double& lowest, double& highest) {
  const __m512i exponent = _mm512_set1_epi64(0x7FF0000000000000LL);
  __m512d low = _mm512_set1_pd(lowest), high = _mm512_set1_pd(highest);
  int k = 0;
  for (; k + 8 <= count; k += 8) {
    const __m512d p = _mm512_loadu_pd(positions + k);
    const __m512d bottom = _mm512_castsi512_pd(_mm512_and_si512(_mm512_castpd_si512(p), exponent));
    low = _mm512_max_pd(low, _mm512_sub_pd(bottom, p));
    high = _mm512_min_pd(high, _mm512_sub_pd(_mm512_add_pd(bottom, bottom), p));
  }
  lowest = _mm512_reduce_max_pd(low);
  highest = _mm512_reduce_min_pd(high);
  return k;
}

}  // namespace

QXR_AVX2 void BinadeRoomAvx2(const double* positions, int count, double& lowest, double& highest) {
  if (HasAvx512()) {
    const int taken = BinadeRoom8(positions, count, lowest, highest);
    positions += taken, count -= taken;
  }
  const __m256d exponent = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FF0000000000000LL));
  __m256d low = _mm256_set1_pd(lowest), high = _mm256_set1_pd(highest);
  int k = 0;
  for (; k + 4 <= count; k += 4) {
    const __m256d p = _mm256_loadu_pd(positions + k);
    const __m256d bottom = _mm256_and_pd(p, exponent);
    low = _mm256_max_pd(low, _mm256_sub_pd(bottom, p));
    high = _mm256_min_pd(high, _mm256_sub_pd(_mm256_add_pd(bottom, bottom), p));
  }
  alignas(32) double lows[4], highs[4];
  _mm256_store_pd(lows, low);
  _mm256_store_pd(highs, high);
  for (int j = 0; j < 4; ++j) {
    lowest = std::max(lowest, lows[j]);
    highest = std::min(highest, highs[j]);
  }
  for (; k < count; ++k) {
    const double p = positions[k];
    const double bottom = std::bit_cast<double>(std::bit_cast<uint64_t>(p) & 0x7FF0000000000000ULL);
    lowest = std::max(lowest, bottom - p);
    highest = std::min(highest, 2.0 * bottom - p);
  }
}

namespace {

// ClipToShortsAvx2 eight frames at a time, for frames rounded down to a multiple of 8.
QXR_AVX512 void ClipToShorts8(const double* left, const double* right, double master, int frames, int16_t* out) {
  const __m512d gain = _mm512_set1_pd(master), high = _mm512_set1_pd(32767.0), low = _mm512_set1_pd(-32767.0);
  auto clip = [&](const double* from) QXR_AVX512 {
    const __m512d x = _mm512_mul_pd(_mm512_loadu_pd(from), gain);
    const __mmask8 ordered = _mm512_cmp_pd_mask(x, x, _CMP_ORD_Q);
    return _mm512_cvttpd_epi32(_mm512_maskz_mov_pd(ordered, _mm512_min_pd(_mm512_max_pd(x, low), high)));
  };
  for (int f = 0; f + 8 <= frames; f += 8) {
    const __m256i l = clip(left + f), r = clip(right + f);
    const __m256i pairs = _mm256_packs_epi32(_mm256_unpacklo_epi32(l, r), _mm256_unpackhi_epi32(l, r));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * f), pairs);
  }
}

}  // namespace

QXR_AVX2 void ClipToShortsAvx2(const double* left, const double* right, double master, int frames,
                               int16_t* out) {
  if (HasAvx512()) {
    const int eights = frames & ~7;
    ClipToShorts8(left, right, master, eights, out);
    left += eights, right += eights, out += 2 * eights, frames -= eights;
  }
  const __m256d gain = _mm256_set1_pd(master), high = _mm256_set1_pd(32767.0), low = _mm256_set1_pd(-32767.0);
  auto clip = [&](const double* from) QXR_AVX2 {
    const __m256d x = _mm256_mul_pd(_mm256_loadu_pd(from), gain);
    const __m256d ordered = _mm256_cmp_pd(x, x, _CMP_ORD_Q);
    const __m256d clipped = _mm256_and_pd(_mm256_min_pd(_mm256_max_pd(x, low), high), ordered);
    return _mm256_cvttpd_epi32(clipped);
  };
  for (int f = 0; f + 4 <= frames; f += 4) {
    const __m128i l = clip(left + f), r = clip(right + f);
    const __m128i pairs = _mm_packs_epi32(_mm_unpacklo_epi32(l, r), _mm_unpackhi_epi32(l, r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * f), pairs);
  }
}

#else

bool MixerHasAvx2() { return false; }
bool MixerHasAvx512() { return false; }
MixerLoops LimitMixerLoops(MixerLoops) { return MixerLoops::Plain; }
int SteadyPositionsAvx2(double&, double, double, double, int, double*) { return 0; }
void MovedPositionsAvx2(const double*, int, double, double*) {}
void BinadeRoomAvx2(const double*, int, double&, double&) {}
template <int Loop>
double CubicAtPositionsAvx2(const mixer_detail::SampleView&, const LoopSeamTable*, const double*, int, double,
                            const PanFactors&, double*, double*) {
  return 0.0;
}
double CubicAtPassAvx512(const mixer_detail::SampleView&, const LoopSeamTable&, const double*, double, int, double,
                         const PanFactors&, double*, double*) {
  return 0.0;
}
void ClipToShortsAvx2(const double*, const double*, double, int, int16_t*) {}

#endif

template double CubicAtPositionsAvx2<LoopNone>(const mixer_detail::SampleView&, const LoopSeamTable*, const double*,
                                               int, double, const PanFactors&, double*, double*);
template double CubicAtPositionsAvx2<LoopForward>(const mixer_detail::SampleView&, const LoopSeamTable*,
                                                  const double*, int, double, const PanFactors&, double*, double*);
template double CubicAtPositionsAvx2<LoopPingPong>(const mixer_detail::SampleView&, const LoopSeamTable*,
                                                   const double*, int, double, const PanFactors&, double*, double*);
