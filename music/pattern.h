// Patterns and tracks: a song's note data stored column by column, with one text per row.
#pragma once

#include <memory>
#include <string>
#include <vector>

constexpr int NoteKeyOff = 96;

// One channel of a pattern: the seven values of each row's cell.
class Tunemix_Track {
 public:
  int rowCount = 0;
  std::vector<int> notes;              // 0 none, 1..95 a note, 96 key-off
  std::vector<int> instrumentNumbers;  // 0 none
  std::vector<int> volumes;            // volume-column byte, 0 none
  std::vector<int> effects;
  std::vector<int> params;
  std::vector<int> paramHigh;
  std::vector<int> paramLow;

  static std::shared_ptr<Tunemix_Track> Create(int rowCount);
  // The 13-character text of one cell: note, instrument, volume column, effect.
  std::string RowText(int row) const;
};

class Tunemix_Pattern {
 public:
  int trackCount = 0;
  std::vector<std::shared_ptr<Tunemix_Track>> tracks;
  int rowCount = 0;
  std::vector<std::string> rowTexts;  // rowCount + 1 entries; the last stays empty

  static std::shared_ptr<Tunemix_Pattern> Create(int trackCount, int rowCount);
  void BuildRowTexts();  // every cell's text followed by "|", channel by channel
};
using PatternPtr = std::shared_ptr<Tunemix_Pattern>;
