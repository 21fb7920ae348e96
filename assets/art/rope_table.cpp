// The rope's swing table: per row of the bend, how far each segment steps sideways and down.
#include "assets/art/picture_set.h"

namespace {

void SetRange(std::vector<uint8_t>& table, int base, int first, int last, uint8_t value) {
  for (int i = first; i <= last; ++i) table[base + i] = value;
}

}  // namespace

std::vector<uint8_t> RopeTableBytes() {
  std::vector<uint8_t> table(256, 0);
  constexpr int Horizontal = 0, Vertical = 128;
  // Sideways steps (doubled when used): none while the rope hangs straight, more as it bends.
  SetRange(table, Horizontal, 32, 43, 1);
  SetRange(table, Horizontal, 44, 65, 2);
  const uint8_t bend[] = {1, 2, 2, 1, 1, 2, 1, 1, 2, 2, 3, 2, 3, 2, 3, 3, 3, 3, 3, 3};  // entries 66..85
  for (int i = 0; i < 20; ++i) table[Horizontal + 66 + i] = bend[i];
  // Downward steps: six pixels per segment, four where the bent rope runs more sideways.
  SetRange(table, Vertical, 0, 47, 6);
  const uint8_t drop[] = {4, 6, 6, 4, 6, 4, 6, 4, 6, 4, 4, 4, 6};  // entries 48..60
  for (int i = 0; i < 13; ++i) table[Vertical + 48 + i] = drop[i];
  SetRange(table, Vertical, 61, 85, 4);
  return table;
}
