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

// Text in the font's letter shapes, each pixel a square of the given size, with an outline.
void Letters(Canvas& c, const std::string& text, int x, int y, int size, Colour top, Colour bottom, Colour edge) {
  Canvas letters(static_cast<int>(text.size()) * 6 * size + 2 * size, 8 * size + 2 * size);
  for (size_t i = 0; i < text.size(); ++i)
    for (int gy = 0; gy < GlyphHeight; ++gy)
      for (int gx = 0; gx < GlyphWidth; ++gx)
        if (GlyphInk(static_cast<unsigned char>(text[i]), gx, gy)) {
          Colour colour = Mix(top, bottom, gy * 256 / 7);
          letters.Fill(size + static_cast<int>(i) * 6 * size + gx * size, size + gy * size, size, size, colour);
        }
  for (int pass = 0; pass < std::max(1, size / 3); ++pass) letters.Outline(edge);
  c.Blit(letters, x - size, y - size);
}

int LettersWidth(const std::string& text, int size) { return static_cast<int>(text.size()) * 6 * size - size; }

void CentredLetters(Canvas& c, const std::string& text, int y, int size, Colour top, Colour bottom, Colour edge) {
  Letters(c, text, (W - LettersWidth(text, size)) / 2, y, size, top, bottom, edge);
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

void Logo(Canvas& c, int y, int size) {
  CentredLetters(c, "QXR", y, size, pal::Yellow, pal::Orange1, pal::Ink);
  CentredLetters(c, "ONLINE", y + 9 * size + 6, size * 2 / 5, pal::Cyan, pal::Blue2, pal::Ink);
}

Canvas NightScene(int seed) {
  Canvas c(W, H);
  VerticalGradient(c, 0, H, 0x0c0a20, 0x2a2050);
  Stars(c, 0, 320, 260, seed);
  c.Disc(540, 70, 26, pal::Cream);
  c.Disc(552, 62, 24, Mix(0x0c0a20, 0x2a2050, 32));
  Hills(c, 360, 90, 70, seed * 0.7, 0x1c1840);
  Hills(c, 390, 70, 45, seed * 1.3, 0x141230);
  return c;
}

}  // namespace

Canvas TitlePicture() {
  Canvas c = NightScene(3);
  Canvas tilesPicture = TilesPicture();
  Logo(c, 48, 20);
  CentredLetters(c, "A MULTIPLAYER PLATFORM ADVENTURE", 262, 2, pal::Grey4, pal::Grey3, pal::Ink);
  Ground(c, tilesPicture, 400, 2);
  // Heroes and enemies out for a walk along the ground.
  const int heroes[] = {0, 7, 12, 23, 31, 44};
  for (int i = 0; i < 6; ++i) {
    Canvas hero = Cell(HeroPicture(heroes[i]), 20, 32, i % 4);
    c.Blit(hero, 60 + i * 90, 368, i % 2 == 0);
  }
  Canvas enemies = Enemies32Picture();
  c.Blit(Cell(enemies, 32, 32, 1 * 4 + 1), 150, 300);
  c.Blit(Cell(enemies, 32, 32, 0 * 4), 470, 368);
  c.Blit(Cell(enemies, 32, 32, 20 * 4 + 2), 420, 310);
  Canvas pickups = PickupsPicture();
  for (int i = 0; i < 5; ++i) c.Blit(Cell(pickups, 16, 16, (i * 5 % 25) * 4), 120 + i * 100, 340 - (i % 2) * 14);
  // The bottom line stays dark for the flickering "press space" text.
  c.Fill(0, 432, W, 48, pal::Ink);
  c.Fill(0, 432, W, 1, pal::Grey1);
  return c;
}

Canvas MenuPicture() {
  Canvas c = NightScene(5);
  Canvas tilesPicture = TilesPicture();
  CentredLetters(c, "QXR ONLINE", 18, 5, pal::Yellow, pal::Orange1, pal::Ink);
  Panel(c, 78, 86, 404, 160);   // the options at x 90, y 96 .. 236
  Panel(c, 78, 302, 404, 26);   // "F10...Exit"
  Panel(c, 120, 336, 380, 64);  // the hero carousel at y 350
  CentredLetters(c, "CHOOSE YOUR HERO", 262, 2, pal::Cyan, pal::Teal2, pal::Ink);
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
  Logo(c, 90, 16);
  CentredLetters(c, "LOADING...", 330, 4, pal::Green3, pal::Green2, pal::Ink);
  Ground(c, TilesPicture(), 448, 2);
  return c;
}

Canvas ServerBrowserPicture() {
  Canvas c(W, H);
  VerticalGradient(c, 0, H, 0x101830, 0x1c1038);
  Stars(c, 0, H, 160, 9);
  Panel(c, 20, 10, 600, 336);    // the list of games, rows at y 16 .. 336
  c.Line(376, 14, 376, 340, pal::Grey1);
  CentredLetters(c, "PICK A GAME", 362, 3, pal::Yellow, pal::Orange2, pal::Ink);
  Panel(c, 44, 403, 156, 32);    // "Manual IP"
  Panel(c, 460, 403, 132, 32);   // "Refresh"
  return c;
}
