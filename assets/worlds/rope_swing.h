// The cells the swinging rope and a hero hanging from it sweep through, kept clear in rope rooms.
#pragma once

#include <vector>

struct SwingCell {
  int column, row;
};

// Every cell touched by a rope segment, or by a hero hanging from one, over a whole swing.
const std::vector<SwingCell>& RopeSwingCells();
