// The bitmap fonts: 8 x 8 and 16 x 16 cells, frame = character code - 32, plain and inverse.
//
// Letters are near-white so the text colour (drawn as a tint) shows true; the dark edges stay dark
// under any tint and keep text readable over pictures.
#include "assets/art/font_glyphs.h"
#include "assets/art/palette.h"
#include "assets/art/picture_set.h"

namespace {

constexpr int FontColumns = 16;
constexpr int FontFrames = 96;
constexpr Colour Edge = 0x18141e;

// The glyph as an 8 x 8 ink mask, one column of space on the left.
Canvas SmallMask(int code) {
  Canvas mask(8, 8);
  for (int y = 0; y < GlyphHeight; ++y)
    for (int x = 0; x < GlyphWidth; ++x)
      if (GlyphInk(code, x, y)) mask.Set(x + 1, y, 1);
  return mask;
}

// Doubles a mask, rounding off diagonal steps (the EPX rule) so big letters are not blocky.
Canvas DoubleSmooth(const Canvas& mask) {
  Canvas big(mask.Width() * 2, mask.Height() * 2);
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) {
      Colour p = mask.Get(x, y), a = mask.Get(x, y - 1), b = mask.Get(x + 1, y), c = mask.Get(x - 1, y),
             d = mask.Get(x, y + 1);
      big.Set(2 * x, 2 * y, (c == a && c != d && a != b) ? a : p);
      big.Set(2 * x + 1, 2 * y, (a == b && a != c && b != d) ? b : p);
      big.Set(2 * x, 2 * y + 1, (d == c && d != b && c != a) ? c : p);
      big.Set(2 * x + 1, 2 * y + 1, (b == d && b != a && d != c) ? d : p);
    }
  return big;
}

// Near-white, a little cooler towards the bottom of the cell.
Colour InkShade(int y, int height) {
  int t = y * 256 / height;
  return Mix(0xffffff, 0xb4bccc, t * t / 256);
}

Canvas SmallGlyph(int code, bool inverse) {
  Canvas mask = SmallMask(code);
  Canvas cell(8, 8);
  if (inverse) {
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) cell.Set(x, y, mask.Get(x, y) ? Edge : InkShade(y, 10));
    return cell;
  }
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      if (mask.Get(x, y))
        cell.Set(x, y, InkShade(y, 10));
      else if (mask.Get(x - 1, y - 1) || mask.Get(x - 1, y))
        cell.Set(x, y, Edge);  // a shadow to the right and below
    }
  return cell;
}

Canvas BigGlyph(int code, bool inverse) {
  Canvas mask = DoubleSmooth(SmallMask(code));
  Canvas cell(16, 16);
  if (inverse) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) cell.Set(x, y, mask.Get(x, y) ? Edge : InkShade(y, 20));
    for (int x = 0; x < 16; ++x) cell.Set(x, 15, Shade(InkShade(15, 20), 80));  // a lower rim between lines
    return cell;
  }
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      if (mask.Get(x, y)) {
        cell.Set(x, y, InkShade(y, 16));
        continue;
      }
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) near = mask.Get(x + dx, y + dy) != 0;
      if (near || mask.Get(x - 2, y - 2)) cell.Set(x, y, Edge);  // outline plus a short drop shadow
    }
  return cell;
}

}  // namespace

Canvas FontPicture(bool big, bool inverse) {
  std::vector<Canvas> cells;
  for (int frame = 0; frame < FontFrames; ++frame)
    cells.push_back(big ? BigGlyph(frame + 32, inverse) : SmallGlyph(frame + 32, inverse));
  int size = big ? 16 : 8;
  return AssembleStrip(cells, size, size, FontColumns);
}
