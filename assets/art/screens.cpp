// The 640 x 480 backgrounds: title, menu (hero selection), loading and server browser.
//
// Each leaves the places where the game draws its own texts dark and plain, so they stay readable:
// the title's bottom line, the menu's column of options and the carousel row, the browser's list.
#include <cmath>

#include "assets/art/font_glyphs.h"
#include "assets/art/palette.h"
#include "assets/art/picture_set.h"
#include "assets/worlds/tile_values.h"

namespace {

constexpr int W = 640, H = 480;

void VerticalGradient(Canvas& c, int y0, int y1, Colour top, Colour bottom) {
  for (int y = y0; y < y1; ++y) c.Fill(0, y, W, 1, Mix(top, bottom, (y - y0) * 256 / std::max(1, y1 - y0)));
}

void Stars(Canvas& c, int y0, int y1, int count, int seed) {
  for (int i = 0; i < count; ++i) {
    int x = Hash(i, seed) % W, y = y0 + Hash(i, seed, 1) % (y1 - y0);
    int kind = Hash(i, seed, 2) % 10;
    Colour colour = kind < 6 ? pal::Grey3 : kind < 9 ? pal::Grey4 : pal::White;
    c.Set(x, y, colour);
    if (kind == 9) {
      c.Set(x - 1, y, pal::Grey3);
      c.Set(x + 1, y, pal::Grey3);
      c.Set(x, y - 1, pal::Grey3);
      c.Set(x, y + 1, pal::Grey3);
    }
  }
}

// Rolling hills as silhouettes.
void Hills(Canvas& c, int base, int height, double wavelength, double phase, Colour colour) {
  for (int x = 0; x < W; ++x) {
    double h = std::sin(x / wavelength + phase) * 0.6 + std::sin(x / (wavelength * 0.37) + phase * 2) * 0.4;
    int top = base - static_cast<int>((h * 0.5 + 0.5) * height);
    c.Fill(x, top, 1, H - top, colour);
  }
}

// The letter shapes of a text as a mask (1 = ink), advance pixels per character, eight rows.
Canvas TextMask(const std::string& text, int advance) {
  Canvas mask(static_cast<int>(text.size()) * advance, GlyphHeight);
  for (size_t i = 0; i < text.size(); ++i)
    for (int gy = 0; gy < GlyphHeight; ++gy)
      for (int gx = 0; gx < GlyphWidth; ++gx)
        if (GlyphInk(static_cast<unsigned char>(text[i]), gx, gy)) mask.Set(static_cast<int>(i) * advance + gx, gy, 1);
  return mask;
}

struct Lettering {
  bool bold = false;  // strokes two pixels wide before rounding (diagonals stay solid)
  int smoothing = 0;  // times the shapes are doubled and rounded
  int pixel = 1;      // then each pixel becomes a square of this size
  Colour top, bottom; // the face's colour, from its top to its bottom
  int depth = 0;      // extrusion down and to the right
  Colour side = pal::Ink;
  Colour edge = pal::Ink;
};

int LetteringScale(const Lettering& style) { return (1 << style.smoothing) * style.pixel; }
int Advance(const Lettering& style) { return style.bold ? 7 : 6; }
int LettersWidth(const std::string& text, const Lettering& style) {
  return (static_cast<int>(text.size()) * Advance(style) - 1) * LetteringScale(style);
}

// Draws a text from the font's letter shapes: rounded, shaded, extruded and outlined.
void Letters(Canvas& c, const std::string& text, int x, int y, const Lettering& style) {
  Canvas mask = TextMask(text, Advance(style));
  if (style.bold) mask = Embolden(mask);
  for (int i = 0; i < style.smoothing; ++i) mask = DoubleSmooth(mask);
  int p = style.pixel, pad = style.depth + 2;
  int height = mask.Height() * p;
  Canvas letters(mask.Width() * p + 2 * pad, height + 2 * pad);
  auto face = [&](int mx, int my) { return mask.Get(mx, my) != 0; };
  for (int d = style.depth; d >= 1; --d)
    for (int my = 0; my < mask.Height(); ++my)
      for (int mx = 0; mx < mask.Width(); ++mx)
        if (face(mx, my)) letters.Fill(pad + mx * p + d, pad + my * p + d, p, p, Shade(style.side, 100 - 40 * d / std::max(1, style.depth)));
  for (int my = 0; my < mask.Height(); ++my)
    for (int mx = 0; mx < mask.Width(); ++mx) {
      if (!face(mx, my)) continue;
      Colour colour = Mix(style.top, style.bottom, my * p * 256 / std::max(1, height));
      if (!face(mx, my - 1) && !face(mx - 1, my - 1) && !face(mx + 1, my - 1))
        colour = Mix(colour, pal::White, 140);  // light on the flat upper edges
      letters.Fill(pad + mx * p, pad + my * p, p, p, colour);
    }
  letters.Outline(style.edge);
  if (style.pixel >= 3 || style.smoothing > 0) letters.Outline(style.edge);
  c.Blit(letters, x - pad, y - pad);
}

void CentredLetters(Canvas& c, const std::string& text, int y, const Lettering& style) {
  Letters(c, text, (W - LettersWidth(text, style)) / 2, y, style);
}

Lettering Plain(int pixel, Colour top, Colour bottom) {
  Lettering style;
  style.pixel = pixel;
  style.top = top;
  style.bottom = bottom;
  style.depth = pixel > 1 ? 1 : 0;
  return style;
}

// One cell of a strip picture, cut as the game cuts it.
Canvas Cell(const Canvas& strip, int cellWidth, int cellHeight, int index) {
  int columns = strip.Width() / cellWidth;
  Canvas cell(cellWidth, cellHeight);
  int left = (index % columns) * cellWidth, top = (index / columns) * cellHeight;
  for (int y = 0; y < cellHeight; ++y)
    for (int x = 0; x < cellWidth; ++x) cell.Set(x, y, strip.Get(left + x, top + y));
  return cell;
}

// A strip of ground made of the game's own tiles, grass on top.
void Ground(Canvas& c, const Canvas& tilesPicture, int top, int rows) {
  for (int x = 0; x < W; x += 16) {
    c.Blit(Cell(tilesPicture, 16, 16, tile::SolidTop(tile::Earth)), x, top);
    for (int r = 1; r < rows; ++r) c.Blit(Cell(tilesPicture, 16, 16, tile::SolidFill(tile::Earth)), x, top + 16 * r);
  }
}

// A dark panel with a bevelled frame, for the places where the game writes.
void Panel(Canvas& c, int x, int y, int w, int h) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) c.Set(i, j, Mix(c.Get(i, j), pal::Night, 215));
  c.Frame(x, y, w, h, pal::Grey2);
  c.Frame(x + 1, y + 1, w - 2, h - 2, pal::Ink);
  c.Fill(x + 2, y + 2, w - 4, 1, pal::Dusk);
}

// The game's name in big rounded gold letters over a smaller cyan "ONLINE".
void Logo(Canvas& c, int y, int pixel) {
  Lettering big;
  big.bold = true;
  big.smoothing = 2;
  big.pixel = pixel;
  big.top = pal::Cream;
  big.bottom = pal::Orange2;
  big.depth = 2 * pixel + 2;
  big.side = pal::Orange1;
  CentredLetters(c, "QXR", y, big);
  Lettering online;
  online.bold = true;
  online.smoothing = 1;
  online.pixel = std::max(1, pixel * 2 / 3);
  online.top = pal::Sky;
  online.bottom = pal::Blue2;
  online.depth = online.pixel + 1;
  online.side = pal::Blue1;
  CentredLetters(c, "ONLINE", y + 7 * LetteringScale(big) + 3 * pixel + 8, online);
}

Canvas NightScene(int seed) {
  Canvas c(W, H);
  VerticalGradient(c, 0, H, 0x0c0a20, 0x2a2050);
  Stars(c, 0, 320, 260, seed);
  c.Disc(566, 62, 24, pal::Cream);
  c.Disc(578, 54, 22, Mix(0x0c0a20, 0x2a2050, 30));
  Hills(c, 360, 90, 70, seed * 0.7, 0x1c1840);
  Hills(c, 390, 70, 45, seed * 1.3, 0x141230);
  return c;
}

}  // namespace

Canvas TitlePicture() {
  Canvas c = NightScene(3);
  Canvas tilesPicture = TilesPicture();
  Logo(c, 30, 4);
  CentredLetters(c, "A MULTIPLAYER PLATFORM ADVENTURE", 238, Plain(2, pal::Grey4, pal::Grey3));
  Ground(c, tilesPicture, 400, 2);
  // Heroes and enemies out on the ground, twice their size.
  auto big = [&c](const Canvas& picture, int x, int y, bool mirrored) {
    Canvas flipped(picture.Width(), picture.Height());
    flipped.Blit(picture, 0, 0, mirrored);
    c.BlitScaled(flipped, x, y, 2);
  };
  const int heroes[] = {0, 7, 12, 23, 31, 44};
  const int heroX[] = {40, 130, 250, 350, 470, 560};
  for (int i = 0; i < 6; ++i) big(Cell(HeroPicture(heroes[i]), 20, 32, i % 4), heroX[i], 336, i % 2 == 0);
  Canvas enemies = Enemies32Picture();
  big(Cell(enemies, 32, 32, 1 * 4 + 1), 56, 150, false);    // a bat up in the sky
  big(Cell(enemies, 32, 32, 14 * 4), 400, 336, false);      // a slime on the ground
  big(Cell(enemies, 32, 32, 45 * 4 + 2), 548, 150, false);  // a ghost
  Canvas pickups = PickupsPicture();
  const int pickupX[] = {95, 200, 305, 420, 520};
  for (int i = 0; i < 5; ++i) big(Cell(pickups, 16, 16, (i * 5 % 25) * 4), pickupX[i], 318 - (i % 2) * 16, false);
  // The bottom line stays dark for the flickering "press space" text.
  c.Fill(0, 432, W, 48, pal::Ink);
  c.Fill(0, 432, W, 1, pal::Grey1);
  return c;
}

Canvas MenuPicture() {
  Canvas c = NightScene(5);
  Canvas tilesPicture = TilesPicture();
  Lettering name = Plain(1, pal::Cream, pal::Orange2);
  name.bold = true;
  name.smoothing = 2;
  name.depth = 3;
  name.side = pal::Orange1;
  CentredLetters(c, "QXR ONLINE", 22, name);
  Panel(c, 78, 86, 404, 160);   // the options at x 90, y 96 .. 236
  Panel(c, 78, 302, 404, 26);   // "F10...Exit"
  Panel(c, 120, 336, 380, 64);  // the hero carousel at y 350
  CentredLetters(c, "CHOOSE YOUR HERO", 264, Plain(2, pal::Cyan, pal::Teal2));
  Ground(c, tilesPicture, 448, 2);
  // A big default hero on the right, waving the game's colours.
  Canvas hero = Cell(HeroPicture(0), 20, 32, 0);
  Canvas big(60, 96);
  big.BlitScaled(hero, 0, 0, 3);
  c.Blit(big, 530, 352);
  Canvas pickups = PickupsPicture();
  for (int i = 0; i < 4; ++i) c.Blit(Cell(pickups, 16, 16, (i * 6 + 1) * 4), 520 + (i % 2) * 60, 150 + i * 45);
  return c;
}

Canvas LoadingPicture() {
  Canvas c = NightScene(7);
  Logo(c, 60, 4);
  CentredLetters(c, "LOADING...", 340, Plain(4, pal::Green3, pal::Green2));
  Ground(c, TilesPicture(), 448, 2);
  return c;
}

Canvas ServerBrowserPicture() {
  Canvas c(W, H);
  VerticalGradient(c, 0, H, 0x101830, 0x1c1038);
  Stars(c, 0, H, 160, 9);
  Panel(c, 20, 10, 600, 336);    // the list of games, rows at y 16 .. 336
  c.Line(376, 14, 376, 340, pal::Grey1);
  CentredLetters(c, "PICK A GAME", 362, Plain(3, pal::Yellow, pal::Orange2));
  Panel(c, 44, 403, 156, 32);    // "Manual IP"
  Panel(c, 460, 403, 132, 32);   // "Refresh"
  return c;
}
