// The cubic coefficients of a short forward loop's places, made once for each sample and loop.
#include "music/mixer_loop_seam.h"

#include <algorithm>

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

// Makes the table for the view's loop, unless it is made for it already.
void MakeFor(LoopSeamTable& table, const SampleView& s) {
  const int start = static_cast<int>(s.loopStart), length = static_cast<int>(s.loopLength);
  if (table.data == s.data && table.last == s.last && table.loopStart == start && table.loopLength == length) {
    return;
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
  // The value each place reads, from place -1 to two past the last.
  std::vector<float> value(static_cast<size_t>(table.places + 3));
  for (int x = -1; x < table.places + 2; ++x) value[x + 1] = PlaceValue(s, x);
  // The frame just after a wrap at the loop's start reads the entry before the start directly
  // (nothing before the data's start).
  const float beforeStart = start >= 1 ? s.data[start - 1] : 0.0f;
  for (int x = 0; x < table.places; ++x) {
    const float ym = x == end ? beforeStart : value[x];
    const float y0 = value[x + 1], y1 = value[x + 2], y2 = value[x + 3];
    table.twiceY0[x] = 2.0f * y0;
    table.slope[x] = y1 - ym;
    table.square[x] = 2.0f * ym - 5.0f * y0 + 4.0f * y1 - y2;
    table.cube[x] = 3.0f * y0 - ym - 3.0f * y1 + y2;
  }
}

}  // namespace

const LoopSeamTable* LoopSeamOf(LoopSeamTables& tables, const std::shared_ptr<Tunemix_Sample>& sample) {
  if (!sample || sample->loopType != LoopForward || sample->data.empty()) return nullptr;
  const SampleView s = ViewOf(*sample);
  if (!HasTable(s)) return nullptr;
  // The sample's own, or the longest unused place once there are enough.
  constexpr size_t Kept = 64;
  LoopSeamTables::Kept* chosen = nullptr;
  for (LoopSeamTables::Kept& kept : tables.kept) {
    if (kept.sample == sample) {
      chosen = &kept;
      break;
    }
  }
  if (!chosen) {
    if (tables.kept.size() < Kept) {
      chosen = &tables.kept.emplace_back();
    } else {
      chosen = &*std::min_element(tables.kept.begin(), tables.kept.end(),
                                  [](const auto& a, const auto& b) { return a.lastUse < b.lastUse; });
    }
    chosen->sample = sample;
    chosen->table.data = nullptr;
  }
  chosen->lastUse = ++tables.uses;
  MakeFor(chosen->table, s);
  return &chosen->table;
}
