// The positions of a short forward loop from the passes kept, added up where none serves.
#include "music/mixer_loop_passes.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "music/mixer_simd.h"

using namespace mixer_detail;

namespace {

constexpr int LongestPass = 1024;        // positions of one pass kept at most
constexpr size_t KeptPositions = 8192;   // of all passes together (64 KB)
constexpr size_t KeptPasses = 64;
constexpr int Spare = 8;                 // SteadyPositionsAvx2 writes up to seven past its limit

// The bottom of p's binade: p with its fraction bits cleared.
double BinadeBottom(double p) {
  return std::bit_cast<double>(std::bit_cast<uint64_t>(p) & 0x7FF0000000000000ULL);
}

void Forget(LoopPasses& kept) {
  kept.passes.clear();
  kept.playing = -1;
}

size_t PositionsUsed(const LoopPasses& kept) {
  if (kept.passes.empty()) return 0;
  const LoopPass& last = kept.passes.back();
  return static_cast<size_t>(last.first + last.count);
}

// Keeps the passes only while the loop and step are those they were made for.
void MadeFor(LoopPasses& kept, const SampleView& s, double step) {
  if (kept.data == s.data && kept.loopStart == s.loopStart && kept.loopLength == s.loopLength && kept.step == step) {
    return;
  }
  Forget(kept);
  kept.data = s.data;
  kept.loopStart = s.loopStart;
  kept.loopLength = s.loopLength;
  kept.step = step;
  kept.tooLong = false;
  kept.unit = BinadeBottom(s.loopEnd) * 0x1p-52;
  const double rest = std::fmod(step, kept.unit);
  kept.evenMoves = rest == 0.0 || rest == 0.5 * kept.unit;
}

// The kept pass that serves an entry, or -1.
int ServingPass(const LoopPasses& kept, double entry) {
  for (size_t k = 0; k < kept.passes.size(); ++k) {
    const LoopPass& pass = kept.passes[k];
    // Exact: both entries are multiples of the unit, and below the loop's end.
    const double move = entry - pass.entry;
    if (move != 0.0) {
      if (!(move > pass.lowestMove && move < pass.highestMove)) continue;
      if (kept.evenMoves && (static_cast<int64_t>(move / kept.unit) & 1) != 0) continue;
    }
    return static_cast<int>(k);
  }
  return -1;
}

// Adds up the pass from entry and keeps it; -1 when it is too long to keep.
int KeepPass(LoopPasses& kept, const SampleView& s, double entry, double step) {
  if (kept.tooLong) return -1;
  if (kept.passes.size() >= KeptPasses || PositionsUsed(kept) + LongestPass + Spare > KeptPositions) Forget(kept);
  if (kept.positions.size() < KeptPositions) kept.positions.resize(KeptPositions);
  const size_t first = PositionsUsed(kept);
  double* t = kept.positions.data() + first;
  double after = entry;
  const int count = SteadyPositionsAvx2(after, step, 0.0, s.loopEnd, LongestPass, t);
  if (!(after > s.loopEnd)) {
    kept.tooLong = true;
    return -1;
  }
  // Every difference here is exact: each lies between numbers within a factor of two.
  double lowest = s.loopEnd - after, highest = std::nextafter(s.loopEnd - t[count - 1], INFINITY);
  BinadeRoomAvx2(t + 1, count - 1, lowest, highest);
  kept.passes.push_back(LoopPass{entry, lowest, highest, static_cast<int>(first), count});
  return static_cast<int>(kept.passes.size()) - 1;
}

}  // namespace

bool LoopPassesServe(const SampleView& s, double step) {
  return s.loopLength >= 4 && s.loopEnd <= s.length && step > 0.0 && step <= 0.5 * s.loopLength;
}

int LoopPassPositions(LoopPasses& kept, const SampleView& s, double& position, double step, int limit, double* out) {
  MadeFor(kept, s, step);
  const double end = s.loopEnd;
  double p = position;
  int n = 0;
  while (n < limit) {
    if (kept.playing >= 0) {
      const LoopPass& pass = kept.passes[kept.playing];
      const double* t = kept.positions.data() + pass.first;
      if (p != t[kept.next] + kept.move) {
        // The voice has moved elsewhere since.
        kept.playing = -1;
        continue;
      }
      const int take = std::min(pass.count - kept.next, limit - n);
      MovedPositionsAvx2(t + kept.next, take, kept.move, out + n);
      n += take;
      kept.next += take;
      if (kept.next < pass.count) {
        p = t[kept.next] + kept.move;
        break;
      }
      kept.playing = -1;
      p = out[n - 1] + step;
      continue;
    }
    if (p > end) {
      // The wrap, as a frame makes it.
      const double entry = p - s.loopLength;
      if (!(entry >= 0.0 && entry <= end)) break;
      p = entry;
      int k = ServingPass(kept, entry);
      if (k < 0) k = KeepPass(kept, s, entry, step);
      if (k >= 0) {
        kept.playing = k;
        kept.next = 0;
        kept.move = entry - kept.passes[k].entry;
        continue;
      }
    }
    if (!(p >= 0.0 && p <= end)) break;
    n += SteadyPositionsAvx2(p, step, 0.0, end, limit - n, out + n);
  }
  position = p;
  return n;
}
