// The pickups (25 kinds of four frames), the golden pickup, and the two team flags.
#include <array>
#include <cmath>

#include "assets/art/palette.h"
#include "assets/art/picture_set.h"

namespace {

constexpr int PickupKinds = 25;
enum PickupKind {
  Gem, Coin, Key, Apple, Cherries, Star, Heart, Potion, Cup, Diamond, Ring, CrownItem, Mushroom,
  Bell, Cake, Candy, Battery, Disk, MoneyBag, Watch, Bottle, Lolly, IceCream, Egg, Banana
};

// A sparkle that walks round the item, one corner per frame.
void Sparkle(Canvas& c, int frame) {
  const int xs[] = {2, 13, 13, 2}, ys[] = {2, 2, 13, 13};
  int x = xs[frame], y = ys[frame];
  c.Set(x, y, pal::White);
  c.Set(x - 1, y, pal::Cream);
  c.Set(x + 1, y, pal::Cream);
  c.Set(x, y - 1, pal::Cream);
  c.Set(x, y + 1, pal::Cream);
}

void DrawItem(Canvas& c, int kind, int f) {
  switch (kind) {
    case Gem:
      for (int i = 0; i < 6; ++i) c.Line(8 - i, 3 + i, 8 + i, 3 + i, i < 2 ? pal::Cyan : pal::Teal2);
      for (int i = 0; i < 6; ++i) c.Line(3 + i, 9 + i / 2 + i / 3, 13 - i, 9 + i / 2 + i / 3, pal::Teal1);
      c.Line(6, 5, 8, 5, pal::White);
      break;
    case Coin: {
      int width = std::array<int, 4>{5, 3, 1, 3}[f];  // spinning
      c.Ellipse(8, 8, width, 6, pal::Yellow);
      c.Ellipse(8, 8, std::max(0, width - 2), 4, pal::Orange2);
      if (width > 2) c.Line(8, 5, 8, 11, pal::Cream);
      break;
    }
    case Key:
      c.Ring(5, 8, 3, pal::Yellow);
      c.Fill(8, 7, 7, 2, pal::Yellow);
      c.Fill(12, 9, 1, 3, pal::Yellow);
      c.Fill(14, 9, 1, 2, pal::Yellow);
      break;
    case Apple:
      c.Disc(8, 9, 5, pal::Red2);
      c.Disc(6, 7, 1, pal::Red3);
      c.Line(8, 4, 9, 2, pal::Brown2);
      c.Ellipse(11, 3, 2, 1, pal::Green3);
      break;
    case Cherries:
      c.Disc(5, 11, 3, pal::Red2);
      c.Disc(11, 12, 3, pal::Red2);
      c.Set(4, 10, pal::Pink);
      c.Set(10, 11, pal::Pink);
      c.Line(5, 8, 9, 2, pal::Green2);
      c.Line(11, 9, 9, 2, pal::Green2);
      break;
    case Star:
      for (int i = 0; i < 5; ++i) {
        double a = -1.5708 + i * 2 * 3.14159265 / 5 + f * 0.2;
        c.Line(8, 8, 8 + static_cast<int>(std::lround(7 * std::cos(a))), 8 + static_cast<int>(std::lround(7 * std::sin(a))), pal::Yellow);
      }
      c.Disc(8, 8, 3, pal::Yellow);
      c.Set(7, 7, pal::Cream);
      break;
    case Heart: {
      int beat = f == 1 ? 1 : 0;
      c.Disc(5, 6, 3 + beat, pal::Red3);
      c.Disc(11, 6, 3 + beat, pal::Red3);
      for (int i = 0; i < 7; ++i) c.Line(2 + i - beat, 8 + i, 14 - i + beat, 8 + i, pal::Red3);
      c.Set(4, 5, pal::White);
      break;
    }
    case Potion:
      c.Fill(6, 2, 4, 3, pal::Tan);
      c.Disc(8, 10, 5, pal::Grey4);
      c.Ellipse(8, 11, 4, 3, pal::Purple2);
      c.Set(9 + f % 2, 9, pal::Lilac);
      c.Set(6, 8, pal::White);
      break;
    case Cup:
      c.Fill(4, 2, 9, 7, pal::Yellow);
      c.Ring(3, 5, 2, pal::Orange2);
      c.Ring(13, 5, 2, pal::Orange2);
      c.Fill(7, 9, 3, 3, pal::Orange2);
      c.Fill(4, 12, 9, 2, pal::Yellow);
      c.Line(5, 3, 5, 7, pal::Cream);
      break;
    case Diamond:
      for (int i = 0; i < 7; ++i) {
        c.Line(8 - i, 2 + i, 8 + i, 2 + i, i < 3 ? pal::White : pal::Sky);
        c.Line(8 - i, 14 - i, 8 + i, 14 - i, pal::Blue3);
      }
      break;
    case Ring:
      c.Ring(8, 10, 4, pal::Yellow);
      c.Ring(8, 10, 3, pal::Orange2);
      c.Disc(8, 4, 2, pal::Red3);
      c.Set(7, 3, pal::White);
      break;
    case CrownItem:
      c.Fill(3, 8, 11, 5, pal::Yellow);
      for (int i = 0; i < 3; ++i) c.Line(3 + i * 5, 8, 3 + i * 5, 3, pal::Yellow);
      c.Set(8, 10, pal::Red3);
      c.Set(5, 10, pal::Blue3);
      c.Set(11, 10, pal::Green3);
      break;
    case Mushroom:
      c.Ellipse(8, 7, 6, 4, pal::Red2);
      c.Disc(6, 6, 1, pal::White);
      c.Disc(10, 5, 1, pal::White);
      c.Fill(6, 10, 5, 5, pal::Cream);
      break;
    case Bell:
      c.Ellipse(8, 8, 5, 5, pal::Yellow);
      c.Fill(3, 8, 11, 5, pal::Yellow);
      c.Fill(2, 12, 13, 1, pal::Orange2);
      c.Disc(8 + (f % 2 ? 1 : -1), 14, 1, pal::Orange2);
      c.Line(6, 5, 6, 10, pal::Cream);
      break;
    case Cake:
      c.Fill(2, 8, 12, 6, pal::Tan);
      c.Fill(2, 8, 12, 2, pal::Pink);
      c.Fill(7, 4, 2, 4, pal::White);
      c.Set(7 + f % 2, 3, pal::Yellow);
      c.Set(8, 2, pal::Orange2);
      break;
    case Candy:
      c.Ellipse(8, 8, 4, 3, pal::Pink);
      c.Line(4, 8, 9, 6, pal::White);
      for (int i = 0; i < 3; ++i) {
        c.Line(1, 5 + i * 2, 4, 8, pal::Pink);
        c.Line(15, 5 + i * 2, 12, 8, pal::Pink);
      }
      break;
    case Battery:
      c.Fill(4, 3, 8, 12, pal::Grey2);
      c.Fill(6, 1, 4, 2, pal::Grey3);
      for (int i = 0; i <= f; ++i) c.Fill(5, 12 - i * 3, 6, 2, pal::Green3);
      break;
    case Disk:
      c.Fill(2, 2, 12, 12, pal::Blue2);
      c.Fill(5, 2, 6, 4, pal::Grey4);
      c.Fill(4, 9, 8, 5, pal::White);
      c.Line(5, 11, 10, 11, pal::Grey3);
      break;
    case MoneyBag:
      c.Disc(8, 10, 5, pal::Tan);
      c.Fill(6, 3, 4, 3, pal::Tan);
      c.Line(5, 5, 10, 5, pal::Brown2);
      c.Line(8, 7, 8, 13, pal::Green2);
      c.Line(6, 8, 10, 8, pal::Green2);
      c.Line(6, 12, 10, 12, pal::Green2);
      break;
    case Watch: {
      c.Fill(6, 1, 4, 14, pal::Brown2);
      c.Disc(8, 8, 5, pal::Grey4);
      c.Disc(8, 8, 4, pal::White);
      int dx[] = {0, 3, 0, -3}, dy[] = {-3, 0, 3, 0};
      c.Line(8, 8, 8 + dx[f], 8 + dy[f], pal::Ink);
      break;
    }
    case Bottle:
      c.Fill(6, 1, 4, 4, pal::Green1);
      c.Fill(4, 5, 8, 10, pal::Green2);
      c.Fill(5, 8, 6, 4, pal::Cream);
      c.Line(5, 6, 5, 13, pal::Green3);
      break;
    case Lolly:
      c.Line(8, 9, 8, 15, pal::White);
      c.Disc(8, 6, 5, pal::Red3);
      c.Ring(8, 6, 3, pal::Cream);
      c.Set(8, 6, pal::Yellow);
      break;
    case IceCream:
      for (int i = 0; i < 8; ++i) c.Line(5 + i / 2, 7 + i, 11 - i / 2, 7 + i, pal::Tan);
      c.Disc(8, 5, 4, pal::Pink);
      c.Disc(6, 4, 1, pal::White);
      c.Set(9, 1, pal::Red2);
      break;
    case Egg:
      c.Ellipse(8, 9, 5, 6, pal::Cream);
      c.Line(3, 9, 13, 9, pal::Blue3);
      c.Line(3, 11, 13, 11, pal::Pink);
      c.Set(6, 6, pal::White);
      break;
    default:  // banana
      for (int i = 0; i < 10; ++i) c.Fill(3 + i, 11 - (i - 5) * (i - 5) / 4, 2, 3, pal::Yellow);
      c.Set(3, 9, pal::Brown2);
      c.Set(13, 6, pal::Brown2);
      break;
  }
}

Canvas PickupFrame(int kind, int frame) {
  Canvas item(16, 16);
  DrawItem(item, kind, frame);
  item.Outline(pal::Ink);
  Canvas c(16, 16);
  int bob = std::array<int, 4>{0, -1, 0, 1}[frame];  // every pickup floats up and down a little
  c.Blit(item, 0, bob);
  Sparkle(c, frame);
  return c;
}

}  // namespace

Canvas PickupsPicture() {
  std::vector<Canvas> cells;
  for (int kind = 0; kind < PickupKinds; ++kind)
    for (int f = 0; f < 4; ++f) cells.push_back(PickupFrame(kind, f));
  return AssembleStrip(cells, 16, 16, 16);
}

Canvas GoldenPickupPicture() {
  // A little golden hero, turning on the spot.
  std::vector<Canvas> cells;
  for (int f = 0; f < 4; ++f) {
    Canvas c(10, 16);
    Colour gold = pal::Yellow, deep = pal::Orange2, shine = pal::Cream;
    int w = std::array<int, 4>{3, 2, 1, 2}[f];
    c.Ellipse(5, 4, w, 3, gold);
    c.Fill(5 - w, 8, 2 * w + 1, 5, gold);
    c.Fill(5 - w, 13, 1, 2, deep);
    c.Fill(5 + w, 13, 1, 2, deep);
    if (f == 0) c.Set(3, 4, pal::Ink);
    if (f == 2) c.Set(7, 4, pal::Ink);
    c.Set(f == 3 ? 5 + w / 2 : 5 - w / 2, 3, shine);  // the light catches the side turned to it
    c.Set(f == 3 ? 6 : 4, 9, shine);
    c.Outline(Shade(deep, 60));
    cells.push_back(c);
  }
  return AssembleStrip(cells, 10, 16, 4);
}

Canvas FlagPicture(bool blue) {
  // A flag on its pole, waving through seven frames.
  Ramp cloth = blue ? Ramp{pal::Blue1, pal::Blue2, pal::Blue3} : Ramp{pal::Red1, pal::Red2, pal::Red3};
  std::vector<Canvas> cells;
  for (int f = 0; f < 7; ++f) {
    Canvas c(32, 32);
    c.Fill(6, 2, 2, 30, pal::Grey4);
    c.Fill(7, 2, 1, 30, pal::Grey2);
    c.Disc(7, 2, 2, pal::Yellow);
    c.Fill(3, 30, 8, 2, pal::Grey2);
    for (int x = 8; x < 30; ++x) {
      double wave = std::sin((x - 8) * 0.35 - f * 2 * 3.14159265 / 7) * 2.0 * (x - 8) / 22.0;
      int top = 4 + static_cast<int>(std::lround(wave));
      for (int y = top; y < top + 14; ++y) {
        Colour col = wave > 0.7 ? cloth.dark : wave < -0.7 ? cloth.light : cloth.mid;
        c.Set(x, y, col);
      }
    }
    // The emblem: a white star in the middle of the cloth.
    int cx = 18, cy = 11 + static_cast<int>(std::lround(std::sin(10 * 0.35 - f * 2 * 3.14159265 / 7) * 2.0 * 10 / 22.0));
    c.Line(cx - 3, cy, cx + 3, cy, pal::White);
    c.Line(cx, cy - 3, cx, cy + 3, pal::White);
    c.Line(cx - 2, cy - 2, cx + 2, cy + 2, pal::White);
    c.Line(cx + 2, cy - 2, cx - 2, cy + 2, pal::White);
    c.Outline(pal::Ink);
    cells.push_back(c);
  }
  return AssembleStrip(cells, 32, 32, 7);
}
