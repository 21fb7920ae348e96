// The positions of a short forward loop, pass after pass. A pass runs from its entry (the first
// position after a wrap) to the last position before the next wrap. The positions of a pass
// once added up are kept, and serve every later pass whose entry they cover, moved by the
// difference of the entries: each sum of a position and the step then moves by that difference
// too, exactly, so the moved positions are the ones that adding up would give.
//
// Why: a double sum p + step rounds to the unit of its binade. Moving p by a multiple of twice
// that unit moves the exact sum, its rounding and the result alike, as long as the result stays
// strictly inside its binade (or does not move). The entries are multiples of the unit of the
// loop end's binade, the coarsest that any position of a pass has, so every move between
// entries is a multiple of every unit below it. Only in that top binade can a move be an odd
// multiple of the unit; it then changes a rounding only when a sum lies exactly halfway, which
// happens only for steps that are multiples of half that unit: for those, moves must be even.
#pragma once

#include <cstdint>
#include <vector>

#include "music/mixer_sample_view.h"

// One pass kept: its entry, its positions, and the moves of the entry it serves.
struct LoopPass {
  double entry;
  // Every position but the entry stays strictly inside its binade, the last one at or below
  // the loop's end, and the sum after it past the end, for moves strictly between these (and
  // for no move at all).
  double lowestMove, highestMove;
  int first, count;  // its positions in StepPasses::positions
};

// The passes kept for one loop and step.
struct StepPasses {
  // What the passes were made for; any change forgets them. (The positions depend on the
  // loop's place and the step alone, not on the sample's data.)
  double loopStart = -1.0, loopLength = 0.0, step = 0.0;
  double unit = 0.0;       // of the loop end's binade
  bool evenMoves = false;  // moves must be even multiples of the unit
  bool tooLong = false;    // the passes are too long to keep
  std::vector<LoopPass> passes;
  std::vector<double> positions;
  // For entries from the loop start on, in 64 equal parts of one step: the pass that served the
  // last entry in each part (-1 none), tried first.
  int8_t lastServed[64] = {};
  double partsPerUnit = 0.0;
  unsigned forgotten = 0;  // how many times the passes were forgotten
  unsigned lastUse = 0;
};

// The passes of the loops and steps played lately, for all channels: the steps of an arpeggio
// come round again, and channels play the same notes of the same loops.
struct LoopPassCache {
  StepPasses kept[16];
  unsigned uses = 0;
};

// Where a voice is in a kept pass, between two mixes.
struct PassPlayback {
  int kept = -1;           // in LoopPassCache::kept (-1 none)
  unsigned forgotten = 0;  // its count then: the pass is gone once that changes
  int pass = -1, next = 0;
  double move = 0.0;
  double resumeAt = 0.0;   // the position it goes on from
};

// Whether passes serve a forward loop at a step: the loop is at least four entries long and
// ends within the sample, and each pass holds at least two positions.
bool LoopPassesServe(const mixer_detail::SampleView& s, double step);

// A run of a voice's positions: from[k] + move for k below count. From a kept pass (no wrap
// among them), or added up into the caller's buffer (move 0).
struct PositionRun {
  const double* from;
  double move;
  int count;
  bool withinPass;
};

// The next run of positions of a voice on a forward loop that LoopPassesServe, from position on
// (at most limit), wrapped as the loop wraps a frame's position: a kept pass, moved, or
// positions added up into scratch (limit + 7 entries). position becomes the one after the
// run's last, by repeated addition of step (not yet wrapped). A run of none: position is one
// that the loop's wrap alone does not bring inside the loop, and the caller goes on with it
// frame by frame.
PositionRun NextLoopPositions(LoopPassCache& cache, PassPlayback& playback, const mixer_detail::SampleView& s,
                              double& position, double step, int limit, double* scratch);
