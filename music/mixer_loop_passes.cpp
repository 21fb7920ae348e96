// The positions of a short forward loop from the passes kept, added up where none serves.
#include "music/mixer_loop_passes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>

#include "music/mixer_simd.h"

using namespace mixer_detail;

namespace {

constexpr int LongestPass = 1024;        // positions of one pass kept at most
constexpr size_t KeptPositions = 8192;   // of all passes of a step together (64 KB)
constexpr size_t KeptPasses = 64;          // fits the notes in StepPasses::lastServed
constexpr int Spare = 8;                 // SteadyPositionsAvx2 writes up to seven past its limit

// The bottom of p's binade: p with its fraction bits cleared.
double BinadeBottom(double p) {
  return std::bit_cast<double>(std::bit_cast<uint64_t>(p) & 0x7FF0000000000000ULL);
}

void Forget(StepPasses& kept) {
  kept.passes.clear();
  kept.playing = -1;
  std::fill(std::begin(kept.lastServed), std::end(kept.lastServed), -1);
}

size_t PositionsUsed(const StepPasses& kept) {
  if (kept.passes.empty()) return 0;
  const LoopPass& last = kept.passes.back();
  return static_cast<size_t>(last.first + last.count);
}

// Keeps the passes only while the loop and step are those they were made for.
void MadeFor(StepPasses& kept, const SampleView& s, double step) {
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
  // A multiple of half the unit (the divisions by powers of two are exact).
  const double half = 0.5 * kept.unit;
  kept.evenMoves = std::floor(step / half) * half == step;
  kept.partsPerUnit = std::size(kept.lastServed) / step;
}

// The passes kept for the step, made afresh in the longest unused set when there are none.
StepPasses& PassesOfStep(LoopPasses& all, const SampleView& s, double step) {
  StepPasses* chosen = &all.steps[0];
  for (StepPasses& kept : all.steps) {
    if (kept.data == s.data && kept.loopStart == s.loopStart && kept.loopLength == s.loopLength && kept.step == step) {
      chosen = &kept;
      break;
    }
    if (kept.lastUse < chosen->lastUse) chosen = &kept;
  }
  chosen->lastUse = ++all.uses;
  MadeFor(*chosen, s, step);
  return *chosen;
}

// Whether a kept pass serves an entry.
bool Serves(const StepPasses& kept, const LoopPass& pass, double entry) {
  // Exact: both entries are multiples of the unit, and below the loop's end.
  const double move = entry - pass.entry;
  if (move == 0.0) return true;
  if (!(move > pass.lowestMove && move < pass.highestMove)) return false;
  return !kept.evenMoves || (static_cast<int64_t>(move / kept.unit) & 1) == 0;
}

// Where the pass that served the last entry near this one is noted.
int8_t& LastServedNear(StepPasses& kept, double entry) {
  const double part = (entry - kept.loopStart) * kept.partsPerUnit;
  const int parts = static_cast<int>(std::size(kept.lastServed));
  return kept.lastServed[part >= 0.0 && part < parts ? static_cast<int>(part) : parts - 1];
}

// The kept pass that serves an entry, or -1. Entries come round in much the same places, each
// served by the same few passes: the last one to serve near the entry is tried first.
int ServingPass(StepPasses& kept, double entry, int8_t& lastServed) {
  const int count = static_cast<int>(kept.passes.size());
  if (lastServed >= 0 && lastServed < count && Serves(kept, kept.passes[lastServed], entry)) return lastServed;
  for (int k = 0; k < count; ++k) {
    if (Serves(kept, kept.passes[k], entry)) {
      lastServed = static_cast<int8_t>(k);
      return k;
    }
  }
  return -1;
}

// Adds up the pass from entry and keeps it; -1 when it is too long to keep.
int KeepPass(StepPasses& kept, const SampleView& s, double entry, double step) {
  if (kept.tooLong) return -1;
  if (kept.passes.size() >= KeptPasses || PositionsUsed(kept) + LongestPass + Spare > KeptPositions) Forget(kept);
  const size_t first = PositionsUsed(kept);
  if (kept.positions.size() < first + LongestPass + Spare) kept.positions.resize(first + LongestPass + Spare);
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

int LoopPassPositions(LoopPasses& all, const SampleView& s, double& position, double step, int limit, double* out) {
  StepPasses& kept = PassesOfStep(all, s, step);
  const double end = s.loopEnd;
  double p = position;
  // A pass left unfinished goes on only from where it stopped.
  if (kept.playing >= 0 && p != kept.resumeAt) kept.playing = -1;
  int n = 0;
  while (n < limit) {
    if (kept.playing >= 0) {
      const LoopPass& pass = kept.passes[kept.playing];
      const double* t = kept.positions.data() + pass.first;
      const int take = std::min(pass.count - kept.next, limit - n);
      MovedPositionsAvx2(t + kept.next, take, kept.move, out + n);
      n += take;
      kept.next += take;
      if (kept.next < pass.count) {
        p = t[kept.next] + kept.move;
        kept.resumeAt = p;
        break;
      }
      kept.playing = -1;
      p = (t[pass.count - 1] + kept.move) + step;
      continue;
    }
    if (p > end) {
      // The wrap, as a frame makes it.
      const double entry = p - s.loopLength;
      if (!(entry >= 0.0 && entry <= end)) break;
      p = entry;
      int8_t& lastServed = LastServedNear(kept, entry);
      int k = ServingPass(kept, entry, lastServed);
      if (k < 0) {
        k = KeepPass(kept, s, entry, step);
        lastServed = static_cast<int8_t>(k);
      }
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
