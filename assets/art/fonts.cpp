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
  Canvas mask = Embolden(DoubleSmooth(SmallMask(code)));
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
