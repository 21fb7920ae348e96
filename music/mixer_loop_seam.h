// The cubic coefficients of every place of a short forward loop, its seam unrolled: the loop's
// entries up to its end, then the loop once more from its start, so that sixteen frames across
// a wrap read their four coefficients from one window each.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "music/mixer_sample_view.h"
#include "music/sample.h"

// Place x stands for the frame at a position p with trunc(p) = x before the loop's end, and
// for the frame just after a wrap with trunc(p) = x - loopLength from the end on. Its four
// floats are those of the cubic through the frame's neighbours, each exact (sums of whole
// numbers): 2 y0, y1 - ym, 2 ym - 5 y0 + 4 y1 - y2 and 3 y0 - ym - 3 y1 + y2.
// A place does not stand for a frame whose position is a whole number within two of the
// loop's end (it reads the entry at the end itself), nor for one so close below a whole number
// that adding 1 or 2 rounds up to the next.
struct LoopSeamTable {
  // What the table was made from; any change makes it again.
  const int16_t* data = nullptr;
  int last = -1, loopStart = 0, loopLength = 0;
  // The coefficients by place, with zeros after the last place so that a window of
  // LoopSeamWindow may start at any place.
  std::vector<float> twiceY0, slope, square, cube;
  int places = 0;
};

// The tables of the samples played lately, for all channels.
struct LoopSeamTables {
  struct Kept {
    std::shared_ptr<const Tunemix_Sample> sample;  // kept alive meanwhile: its data stays where it is
    LoopSeamTable table;
    unsigned lastUse = 0;
  };
  std::vector<Kept> kept;
  unsigned uses = 0;
};

// Loops of at most this many entries up to their end (and at least four long) have a table.
constexpr int LoopSeamMaxEnd = 1024;
constexpr int LoopSeamWindow = 64;

// The table for a sample's forward loop, made again when the sample's loop has changed since;
// Null for a sample without data or a loop that has none (another kind, too long, shorter than
// four entries, or reaching past the sample).
const LoopSeamTable* LoopSeamOf(LoopSeamTables& tables, const std::shared_ptr<Tunemix_Sample>& sample);
