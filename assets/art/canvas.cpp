// Drawing on a picture: pixels, rectangles, lines, discs, outlines and strips of cells.
#include "assets/art/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace {
int Channel(Colour c, int shift) { return static_cast<int>((c >> shift) & 255); }
}  // namespace

Colour Shade(Colour c, int percent) {
  auto scale = [percent](int v) { return std::clamp(v * percent / 100, 0, 255); };
  return Rgb(scale(Channel(c, 16)), scale(Channel(c, 8)), scale(Channel(c, 0)));
}

Colour Mix(Colour a, Colour b, int weightOfB) {
  auto mix = [weightOfB](int x, int y) { return (x * (256 - weightOfB) + y * weightOfB) / 256; };
  return Rgb(mix(Channel(a, 16), Channel(b, 16)), mix(Channel(a, 8), Channel(b, 8)), mix(Channel(a, 0), Channel(b, 0)));
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Colour Canvas::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Transparent;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::Set(int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::Fill(int x, int y, int w, int h, Colour c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Set(i, j, c);
}

void Canvas::Frame(int x, int y, int w, int h, Colour c) {
  Fill(x, y, w, 1, c);
  Fill(x, y + h - 1, w, 1, c);
  Fill(x, y, 1, h, c);
  Fill(x + w - 1, y, 1, h, c);
}

void Canvas::Line(int x1, int y1, int x2, int y2, Colour c) {
  int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  while (true) {
    Set(x1, y1, c);
    if (x1 == x2 && y1 == y2) break;
    int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      error += dx;
      y1 += sy;
    }
  }
}

void Canvas::Disc(int cx, int cy, int radius, Colour c) { Ellipse(cx, cy, radius, radius, c); }

void Canvas::Ellipse(int cx, int cy, int rx, int ry, Colour c) {
  if (rx <= 0 || ry <= 0) {
    Set(cx, cy, c);
    return;
  }
  for (int y = -ry; y <= ry; ++y)
    for (int x = -rx; x <= rx; ++x)
      if (x * x * ry * ry + y * y * rx * rx <= rx * rx * ry * ry + (rx * ry)) Set(cx + x, cy + y, c);
}

void Canvas::Ring(int cx, int cy, int radius, Colour c) {
  int outer = radius * radius + radius, inner = (radius - 1) * (radius - 1) + (radius - 1);
  for (int y = -radius; y <= radius; ++y)
    for (int x = -radius; x <= radius; ++x) {
      int d = x * x + y * y;
      if (d <= outer && d > inner) Set(cx + x, cy + y, c);
    }
}

void Canvas::Blit(const Canvas& picture, int x, int y, bool mirrored, bool opaqueOnly) {
  for (int j = 0; j < picture.Height(); ++j)
    for (int i = 0; i < picture.Width(); ++i) {
      Colour c = picture.Get(mirrored ? picture.Width() - 1 - i : i, j);
      if (c != Transparent || !opaqueOnly) Set(x + i, y + j, c);
    }
}

void Canvas::BlitScaled(const Canvas& picture, int x, int y, int factor) {
  for (int j = 0; j < picture.Height(); ++j)
    for (int i = 0; i < picture.Width(); ++i) {
      Colour c = picture.Get(i, j);
      if (c != Transparent) Fill(x + i * factor, y + j * factor, factor, factor, c);
    }
}

void Canvas::Outline(Colour c) {
  Canvas before = *this;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      if (before.Get(x, y) != Transparent) continue;
      if (before.Get(x - 1, y) || before.Get(x + 1, y) || before.Get(x, y - 1) || before.Get(x, y + 1)) Set(x, y, c);
    }
}

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

Canvas Embolden(const Canvas& mask) {
  Canvas bold = mask;
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 1; x < mask.Width(); ++x)
      if (mask.Get(x - 1, y) != Transparent && mask.Get(x, y) == Transparent) bold.Set(x, y, mask.Get(x - 1, y));
  return bold;
}

Canvas AssembleStrip(const std::vector<Canvas>& cells, int cellWidth, int cellHeight, int columns) {
  int rows = (static_cast<int>(cells.size()) + columns - 1) / columns;
  Canvas strip(cellWidth * columns, cellHeight * rows);
  for (size_t i = 0; i < cells.size(); ++i)
    strip.Blit(cells[i], static_cast<int>(i % columns) * cellWidth, static_cast<int>(i / columns) * cellHeight);
  return strip;
}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
  uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}
