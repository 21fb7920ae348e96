// A picture being drawn: 0xRRGGBB pixels where 0 is transparent, with simple drawing tools.
#pragma once

#include <cstdint>
#include <vector>

using Colour = uint32_t;  // 0xRRGGBB; 0 is the transparent mask colour

constexpr Colour Transparent = 0;

// Makes a colour opaque: pure black would be masked, so it becomes the darkest grey.
constexpr Colour Opaque(Colour c) { return (c & 0xFFFFFF) == 0 ? 0x010101 : (c & 0xFFFFFF); }
constexpr Colour Rgb(int r, int g, int b) {
  return Opaque((static_cast<Colour>(r & 255) << 16) | (static_cast<Colour>(g & 255) << 8) | static_cast<Colour>(b & 255));
}
// Scales a colour's brightness by percent (100 = unchanged), clamped, never transparent.
Colour Shade(Colour c, int percent);
// Mixes two colours, weight 0..256 of b.
Colour Mix(Colour a, Colour b, int weightOfB);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Colour fill = Transparent);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<Colour>& Pixels() const { return pixels_; }

  Colour Get(int x, int y) const;  // Transparent outside
  void Set(int x, int y, Colour c);  // ignored outside
  void Fill(int x, int y, int w, int h, Colour c);
  void Frame(int x, int y, int w, int h, Colour c);  // a one-pixel outline
  void Line(int x1, int y1, int x2, int y2, Colour c);
  void Disc(int cx, int cy, int radius, Colour c);
  void Ellipse(int cx, int cy, int rx, int ry, Colour c);  // filled
  void Ring(int cx, int cy, int radius, Colour c);
  // Copies the opaque pixels of a picture (or all, when opaqueOnly is false), optionally mirrored.
  void Blit(const Canvas& picture, int x, int y, bool mirrored = false, bool opaqueOnly = true);
  // Draws every transparent pixel next to an opaque one (4-neighbours) in the outline colour.
  void Outline(Colour c);
  // Copies a picture scaled by whole factors.
  void BlitScaled(const Canvas& picture, int x, int y, int factor);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Colour> pixels_;
};

// Doubles a picture, rounding off diagonal steps (the EPX rule), so enlarged shapes are not blocky.
Canvas DoubleSmooth(const Canvas& picture);

// Widens every shape by a pixel to the right (bold strokes).
Canvas Embolden(const Canvas& picture);

// Cells of equal size in reading order, columns per row; empty cells stay transparent.
Canvas AssembleStrip(const std::vector<Canvas>& cells, int cellWidth, int cellHeight, int columns);

// A small deterministic hash, for textures that must be the same on every build.
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0);
