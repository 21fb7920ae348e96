// The positions of a short forward loop from the passes kept, added up where none serves.
#include "music/mixer_loop_passes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>

#include "music/mixer_simd.h"

using namespace mixer_detail;

namespace {

constexpr int LongestPass = 1024;       // positions of one pass kept at most
constexpr size_t KeptPositions = 8192;  // of all passes of a step together (64 KB)
constexpr size_t KeptPasses = 64;       // fits the notes in StepPasses::lastServed
constexpr int Spare = 8;                // SteadyPositionsAvx2 writes up to seven past its limit

// The bottom of p's binade: p with its fraction bits cleared.
double BinadeBottom(double p) {
  return std::bit_cast<double>(std::bit_cast<uint64_t>(p) & 0x7FF0000000000000ULL);
}

void Forget(StepPasses& kept) {
  kept.passes.clear();
  ++kept.forgotten;
  std::fill(std::begin(kept.lastServed), std::end(kept.lastServed), -1);
}

bool IsFor(const StepPasses& kept, const SampleView& s, double step) {
  return kept.loopStart == s.loopStart && kept.loopLength == s.loopLength && kept.step == step;
}

// Makes the passes those of the loop and step, forgetting any others.
void MakeFor(StepPasses& kept, const SampleView& s, double step) {
  Forget(kept);
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

// The passes kept for the loop and step (the voice's own first), made afresh in the longest
// unused place when there are none.
int PassesFor(LoopPassCache& cache, const PassPlayback& playback, const SampleView& s, double step) {
  const int count = static_cast<int>(std::size(cache.kept));
  int chosen = playback.kept >= 0 && playback.kept < count && IsFor(cache.kept[playback.kept], s, step)
                   ? playback.kept
                   : -1;
  for (int k = 0; chosen < 0 && k < count; ++k) {
    if (IsFor(cache.kept[k], s, step)) chosen = k;
  }
  if (chosen < 0) {
    chosen = 0;
    for (int k = 1; k < count; ++k) {
      if (cache.kept[k].lastUse < cache.kept[chosen].lastUse) chosen = k;
    }
    MakeFor(cache.kept[chosen], s, step);
  }
  cache.kept[chosen].lastUse = ++cache.uses;
  return chosen;
}

size_t PositionsUsed(const StepPasses& kept) {
  if (kept.passes.empty()) return 0;
  const LoopPass& last = kept.passes.back();
  return static_cast<size_t>(last.first + last.count);
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
int ServingPass(const StepPasses& kept, double entry, int8_t& lastServed) {
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

PositionRun NextLoopPositions(LoopPassCache& cache, PassPlayback& playback, const SampleView& s, double& position,
                              double step, int limit, double* scratch) {
  const int which = PassesFor(cache, playback, s, step);
  StepPasses& kept = cache.kept[which];
  const double end = s.loopEnd;
  // A pass left unfinished goes on only from where it stopped, while it is kept.
  if (playback.kept != which || playback.forgotten != kept.forgotten || position != playback.resumeAt) {
    playback.pass = -1;
  }
  playback.kept = which;
  playback.forgotten = kept.forgotten;
  double p = position;
  if (playback.pass < 0 && p > end) {
    // The wrap, as a frame makes it.
    const double entry = p - s.loopLength;
    if (!(entry >= 0.0 && entry <= end)) return PositionRun{scratch, 0.0, 0, false};
    p = entry;
    int8_t& lastServed = LastServedNear(kept, entry);
    int k = ServingPass(kept, entry, lastServed);
    if (k < 0) {
      k = KeepPass(kept, s, entry, step);
      lastServed = static_cast<int8_t>(k);
      // Keeping it may have forgotten the others.
      playback.forgotten = kept.forgotten;
    }
    if (k >= 0) {
      playback.pass = k;
      playback.next = 0;
      playback.move = entry - kept.passes[k].entry;
    }
  }
  if (playback.pass >= 0) {
    const LoopPass& pass = kept.passes[playback.pass];
    const double* t = kept.positions.data() + pass.first;
    const int take = std::min(pass.count - playback.next, limit);
    const PositionRun run{t + playback.next, playback.move, take, true};
    playback.next += take;
    if (playback.next < pass.count) {
      position = playback.resumeAt = t[playback.next] + playback.move;
    } else {
      position = (t[pass.count - 1] + playback.move) + step;
      playback.pass = -1;
    }
    return run;
  }
  if (!(p >= 0.0 && p <= end)) return PositionRun{scratch, 0.0, 0, false};
  const int count = SteadyPositionsAvx2(p, step, 0.0, end, limit, scratch);
  position = p;
  return PositionRun{scratch, 0.0, count, false};
}
