// The belt tiles: four styles of belt carrying left or right, each in four animation phases.
#include <cmath>

#include "assets/art/picture_set.h"
#include "assets/art/tile_drawing.h"

namespace tiledraw {

Canvas BeltTile(int style, int piece, bool carriesLeft, int phase) {
  const Ramp belts[] = {{pal::Grey1, pal::Grey2, pal::Yellow},
                        {pal::Red1, pal::Red2, pal::Cream},
                        {pal::Green1, pal::Green2, pal::Green3},
                        {pal::Blue1, pal::Blue2, pal::Sky}};
  const Ramp& r = belts[style];
  Canvas cell(S, S);
  int shift = (carriesLeft ? 2 * phase : -2 * phase) + 64;
  for (int x = 0; x < S; ++x) {
    cell.Set(x, 0, pal::Grey4);
    for (int y = 1; y < 6; ++y) {
      int lean = carriesLeft ? std::abs(y - 3) : -std::abs(y - 3);
      int stripe = ((x + shift + lean) % 8 + 8) % 8;
      cell.Set(x, y, stripe < 2 ? r.light : r.mid);
    }
    cell.Set(x, 6, r.dark);
    cell.Set(x, 7, ((x + shift) % 8) < 4 ? pal::Grey2 : pal::Grey1);
    cell.Fill(x, 8, 1, 5, pal::Grey1);
  }
  for (int rx = 4; rx < S; rx += 8) {  // rollers, turning with the belt
    cell.Disc(rx, 10, 3, pal::Grey3);
    cell.Disc(rx, 10, 1, pal::Grey1);
    int spoke = ((carriesLeft ? -phase : phase) + 8) % 4;
    const int dx[] = {0, 1, 0, -1}, dy[] = {-1, 0, 1, 0};
    cell.Set(rx + 2 * dx[spoke], 10 + 2 * dy[spoke], pal::White);
  }
  bool leftEnd = piece == 0 || piece == 3, rightEnd = piece == 2 || piece == 3;
  if (leftEnd) {
    cell.Fill(0, 0, 1, 13, pal::Ink);
    cell.Set(0, 0, Transparent);
  }
  if (rightEnd) {
    cell.Fill(S - 1, 0, 1, 13, pal::Ink);
    cell.Set(S - 1, 0, Transparent);
  }
  return cell;
}

}  // namespace tiledraw
