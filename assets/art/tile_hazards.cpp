// The deadly tiles: spikes, fire, water, lava, acid, sparks, saws, thorns and lasers.
#include <cmath>

#include "assets/art/picture_set.h"
#include "assets/art/tile_drawing.h"

namespace tiledraw {

Canvas DeadlyTile(int hazard, bool alt) {
  Canvas cell(S, S);
  switch (hazard) {
    case 0:    // spikes up
    case 1: {  // spikes down
      bool up = hazard == 0;
      Ramp metal = alt ? Ramp{pal::Orange1, pal::Yellow, pal::Cream} : Ramp{pal::Grey1, pal::Grey3, pal::White};
      for (int s = 0; s < 4; ++s) {
        int cx = s * 4 + 2;
        for (int h = 0; h < 11; ++h) {
          int half = 2 * (11 - h) / 11;
          int y = up ? S - 3 - h : 2 + h;
          for (int x = cx - half; x <= cx + half - (half > 0 ? 1 : 0); ++x) cell.Set(x, y, x < cx ? metal.light : metal.mid);
        }
        cell.Set(cx, up ? S - 14 : 13, pal::White);
      }
      cell.Fill(0, up ? S - 3 : 0, S, 3, metal.dark);
      cell.Fill(0, up ? S - 3 : 2, S, 1, metal.mid);
      break;
    }
    case 2:    // fire
    case 4: {  // lava
      bool lava = hazard == 4;
      Ramp flame = alt ? Ramp{pal::Blue2, pal::Blue3, pal::Cyan} : Ramp{pal::Red2, pal::Orange2, pal::Yellow};
      for (int x = 0; x < S; ++x) {
        int top = lava ? 5 + (x % 8 < 4 ? 0 : 1) : 3 + Noise(x, 0, 31, 5) + (x % 5 == 2 ? -2 : 0);
        for (int y = std::max(1, top); y < S; ++y) {
          int depth = y - top;
          Colour c = lava ? (depth == 0 ? pal::Yellow : Noise(x, y, 33, 4) ? pal::Orange2 : pal::Red2)
                          : (depth < 2 ? flame.dark : depth < 6 ? flame.mid : flame.light);
          if (!lava && y >= S - 3) c = Noise(x, y, 32, 3) ? pal::Red1 : pal::Orange1;  // embers
          cell.Set(x, y, c);
        }
      }
      if (lava) cell.Disc(10, 9, 1, pal::Yellow);
      break;
    }
    case 3:    // water
    case 5: {  // acid
      Ramp liquid = hazard == 3 ? Ramp{pal::Blue1, pal::Blue2, pal::Sky}
                                : alt ? Ramp{pal::Purple1, pal::Purple2, pal::Lilac} : Ramp{pal::Green1, pal::Green2, pal::Green3};
      for (int x = 0; x < S; ++x) {
        int surface = 4 + ((x + 2) % 8 < 4 ? 0 : 1);
        for (int y = surface; y < S; ++y)
          cell.Set(x, y, y == surface ? liquid.light : (y < surface + 3 ? liquid.mid : Shade(liquid.mid, 75)));
      }
      cell.Ring(5, 10, 1, liquid.light);
      cell.Set(11, 8, liquid.light);
      break;
    }
    case 6: {  // sparks
      Colour spark = alt ? pal::Pink : pal::Cyan;
      cell.Fill(0, 12, S, 4, pal::Grey1);
      cell.Fill(0, 12, S, 1, pal::Grey3);
      cell.Fill(1, 13, 3, 2, pal::Yellow);
      cell.Fill(12, 13, 3, 2, pal::Yellow);
      int y = 8;
      for (int x = 0; x < S; x += 2) {
        int next = 4 + Noise(x, alt, 41, 7);
        cell.Line(x, y, x + 2, next, spark);
        cell.Line(x, y + 1, x + 2, next + 1, pal::White);
        y = next;
      }
      break;
    }
    case 7: {  // saw blade, half sunk in its slot
      cell.Fill(0, 13, S, 3, pal::Grey1);
      for (int t = 0; t < 10; ++t) {
        double a = t * 3.14159265 / 5;
        int x = 8 + static_cast<int>(std::lround(7 * std::cos(a))), y = 10 + static_cast<int>(std::lround(7 * std::sin(a)));
        cell.Line(8, 10, x, y, pal::Grey4);
      }
      cell.Disc(8, 10, 5, alt ? pal::Orange2 : pal::Grey3);
      cell.Disc(8, 10, 1, pal::Ink);
      cell.Fill(0, 14, S, 2, pal::Grey1);
      cell.Fill(0, 13, S, 1, pal::Grey2);
      break;
    }
    case 8: {  // thorns
      Colour stem = alt ? pal::Purple2 : pal::Green2;
      for (int x = 0; x < S; ++x) {
        int y = 8 + ((x / 3) % 2) * 2;
        cell.Fill(x, y, 1, S - y, Shade(stem, x % 3 ? 70 : 100));
        if (x % 3 == 1) cell.Set(x, y - 1, pal::Cream);
        if (x % 4 == 2) cell.Set(x, y - 2, pal::Cream);
      }
      for (int x = 2; x < S; x += 5) cell.Line(x, 15, x + 2, 6, stem);
      break;
    }
    default: {  // laser beam between two emitters
      Colour beam = alt ? pal::Green3 : pal::Red3;
      cell.Fill(0, 6, 3, 6, pal::Grey2);
      cell.Fill(13, 6, 3, 6, pal::Grey2);
      cell.Fill(3, 8, 10, 2, beam);
      cell.Fill(3, 7, 10, 1, Shade(beam, 60));
      cell.Fill(3, 10, 10, 1, Shade(beam, 60));
      cell.Fill(3, 8, 10, 1, pal::White);
      break;
    }
  }
  return cell;
}

// Back walls repeat across whole rooms and sit beside the black that shows around every
// platform, stair and object, so they stay dark, low in contrast and seamless.

}  // namespace tiledraw
