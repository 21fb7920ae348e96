// The rope's swing, followed through every phase with its step table, as cells of the room.
#include "assets/worlds/rope_swing.h"

#include <cstdlib>

namespace {
// The rope's step table: the pixels each segment lies right of and below the one above it;
// row k of the table is used by segment k - (54 - |swing phase|).
int HorizontalStep(int k) {
  static const int tail[20] = {1, 2, 2, 1, 1, 2, 1, 1, 2, 2, 3, 2, 3, 2, 3, 3, 3, 3, 3, 3};  // 66..85
  if (k < 32) return 0;
  if (k < 44) return 1;
  if (k < 66) return 2;
  return k < 86 ? tail[k - 66] : 0;
}
int VerticalStep(int k) {
  static const int tail[13] = {4, 6, 6, 4, 6, 4, 6, 4, 6, 4, 4, 4, 6};  // 48..60
  if (k < 48) return 6;
  if (k < 61) return tail[k - 48];
  return k < 86 ? 4 : 0;
}

std::vector<SwingCell> Sweep() {
  bool hit[16][32] = {};
  auto mark = [&](int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        int c = x / 16, r = (y - 144) / 16;
        if (x >= 0 && y >= 144 && c < 32 && r < 16) hit[r][c] = true;
      }
  };
  for (int pos = -54; pos <= 54; pos += 2)
    for (int sign : {-1, 1}) {
      int x = 256, y = 144;
      for (int i = 0; i < 32; ++i) {
        int k = i + 54 - std::abs(pos);
        x += sign * 2 * HorizontalStep(k);
        y += VerticalStep(k);
        mark(x, y, x + 3, y + 3);
        mark(x - 10, y - 16, x + 9, y + 15);  // a hero holding this segment
      }
    }
  std::vector<SwingCell> cells;
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 32; ++c)
      if (hit[r][c]) cells.push_back({c, r});
  return cells;
}
}  // namespace

const std::vector<SwingCell>& RopeSwingCells() {
  static const std::vector<SwingCell> cells = Sweep();
  return cells;
}
