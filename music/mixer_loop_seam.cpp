// The cubic coefficients of a short forward loop's places, made once for each sample and loop.
#include "music/mixer_loop_seam.h"

using namespace mixer_detail;

namespace {

bool HasTable(const SampleView& s) {
  return s.loopLength >= 4 && s.loopEnd <= s.length && s.loopEnd <= LoopSeamMaxEnd;
}

// The entry that place x reads, as a frame's neighbour: before the loop's end the data as the
// loop maps a neighbour there, from the end on the same one loop length earlier.
float PlaceValue(const SampleView& s, int x) {
  const int end = static_cast<int>(s.loopEnd);
  const double q = x < end ? x + 0.5 : x - s.loopLength + 0.5;
  return Neighbour<LoopForward>(s, q);
}

}  // namespace

const LoopSeamTable* LoopSeamFor(LoopSeamTable& table, const SampleView& s) {
  if (!HasTable(s)) return nullptr;
  const int start = static_cast<int>(s.loopStart), length = static_cast<int>(s.loopLength);
  if (table.data == s.data && table.last == s.last && table.loopStart == start && table.loopLength == length) {
    return &table;
  }
  table.data = s.data;
  table.last = s.last;
  table.loopStart = start;
  table.loopLength = length;
  const int end = start + length;
  // A frame just after a wrap lies one loop length on; the farthest is just before the end.
  table.places = end + length;
  const size_t size = static_cast<size_t>(table.places + LoopSeamWindow);
  for (auto* column : {&table.twiceY0, &table.slope, &table.square, &table.cube}) column->assign(size, 0.0f);
  // The frame just after a wrap at the loop's start reads the entry before the start directly
  // (nothing before the data's start).
  const float beforeStart = start >= 1 ? s.data[start - 1] : 0.0f;
  for (int x = 0; x < table.places; ++x) {
    const float ym = x == end ? beforeStart : PlaceValue(s, x - 1);
    const float y0 = PlaceValue(s, x), y1 = PlaceValue(s, x + 1), y2 = PlaceValue(s, x + 2);
    table.twiceY0[x] = 2.0f * y0;
    table.slope[x] = y1 - ym;
    table.square[x] = 2.0f * ym - 5.0f * y0 + 4.0f * y1 - y2;
    table.cube[x] = 3.0f * y0 - ym - 3.0f * y1 + y2;
  }
  return &table;
}
