// The small single pictures: the waiting icon, the mouse pointer, the rope segment, the window icon.
#include <cmath>

#include "assets/art/palette.h"
#include "assets/art/picture_set.h"

Canvas WaitingIconPicture() {
  // Twelve dots in a ring; the bright one goes round, trailing a fading tail.
  std::vector<Canvas> cells;
  for (int f = 0; f < 12; ++f) {
    Canvas c(32, 32);
    for (int d = 0; d < 12; ++d) {
      double a = d * 2 * 3.14159265 / 12 - 1.5708;
      int x = 16 + static_cast<int>(std::lround(11 * std::cos(a))), y = 16 + static_cast<int>(std::lround(11 * std::sin(a)));
      int age = (f - d + 12) % 12;
      Colour colour = age == 0 ? pal::White : age < 4 ? Mix(pal::Green3, pal::Green1, age * 64) : pal::Dusk;
      c.Disc(x, y, age == 0 ? 3 : 2, colour);
    }
    cells.push_back(c);
  }
  return AssembleStrip(cells, 32, 32, 12);
}

Canvas MousePicture() {
  Canvas c(12, 18);
  for (int y = 0; y < 13; ++y) c.Fill(0, y, y * 2 / 3 + 1, 1, pal::White);
  c.Fill(3, 11, 3, 6, pal::White);
  c.Fill(1, 1, 1, 9, pal::Sky);
  c.Outline(pal::Ink);
  return c;
}

Canvas RopePicture() {
  // A twisted rope piece; the rope is 32 of these placed about 6 pixels apart.
  Canvas c(4, 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 4; ++x) c.Set(x, y, ((x + y) % 4 < 2) ? pal::Tan : pal::Brown3);
  c.Set(0, 0, pal::Brown2);
  c.Set(3, 6, pal::Brown2);
  return c;
}

Canvas WindowIconPicture() {
  // The default hero's face on a rounded tile.
  Canvas c(32, 32);
  c.Disc(16, 16, 15, pal::Blue2);
  c.Disc(16, 16, 13, pal::Blue1);
  c.Disc(16, 17, 9, pal::SkinLight);
  c.Fill(7, 7, 18, 5, pal::Red2);
  c.Fill(3, 10, 8, 3, pal::Red1);
  c.Fill(10, 14, 4, 5, pal::White);
  c.Fill(10, 15, 2, 3, pal::Ink);
  c.Line(10, 22, 15, 22, pal::SkinDark);
  return c;
}
