// The mixer's wide inner loops, for processors with AVX2 (AVX-512 within them where present),
// chosen at run time. Each gives the same results, to the last bit, as the plain loop it
// stands in for.
#pragma once

#include <cstdint>

#include "music/mixer_sample_view.h"

struct LoopSeamTable;

// Where a channel's value goes: hard left and right feed one side only, any other pan both
// sides through the factors.
struct PanFactors {
  double leftMul, rightMul;
  bool toLeft, toRight;
};

// True when this processor runs the AVX2 loops below (and they are allowed); the AVX-512
// ones within them.
bool MixerHasAvx2();
bool MixerHasAvx512();

// The loops the mixer may use, each wider one including those before it.
enum class MixerLoops { Plain, Avx2, Avx512 };
// Keeps the mixer to loops no wider than `widest` (as on a processor without the wider ones),
// or lets it use all that the processor has again with Avx512; returns the widest in use. The
// tests compare them.
MixerLoops LimitMixerLoops(MixerLoops widest);

// Cubic values of the sample at `frames` positions (at least 1; each inside the data, as the
// loop leaves it), times gain, added to left and right through the pan. Returns the last value.
// seam: the forward loop's table (LoopSeamFor), or Null.
template <int Loop>
double CubicAtPositionsAvx2(const mixer_detail::SampleView& s, const LoopSeamTable* seam, const double* positions,
                            int frames, double gain, const PanFactors& pan, double* left, double* right);

// CubicAtPositionsAvx2 on a forward loop with its table, at the positions from[k] + move for k
// below frames, all within one pass of the loop (no wrap among them). AVX-512 only
// (MixerHasAvx512).
double CubicAtPassAvx512(const mixer_detail::SampleView& s, const LoopSeamTable& seam, const double* from, double move,
                         int frames, double gain, const PanFactors& pan, double* left, double* right);

// The positions from `position` on, by repeated additions of step (the same doubles, computed
// side by side where the rounding allows), as long as they lie in [low, high]: writes them to
// out, at most limit, and returns how many; position becomes the next one. Writes in eights:
// out needs seven entries to spare.
int SteadyPositionsAvx2(double& position, double step, double low, double high, int limit, double* out);

// out[k] = from[k] + move for k below count.
void MovedPositionsAvx2(const double* from, int count, double move, double* out);

// For the positions (all positive): lowest becomes at least bottom - p and highest at most
// 2 bottom - p for each position p, bottom the bottom of p's binade: the moves (strictly between
// them) that keep every position strictly inside its binade.
void BinadeRoomAvx2(const double* positions, int count, double& lowest, double& highest);

// For frames f below `frames` rounded down to a multiple of 4:
// out[2f], out[2f + 1] = left[f], right[f] times master, clipped to -32767..32767 and truncated
// toward zero (NaN gives 0).
void ClipToShortsAvx2(const double* left, const double* right, double master, int frames, int16_t* out);
