// The wall materials: their colours and repeating surfaces, shared by every kind of tile.
#include "assets/art/picture_set.h"
#include "assets/art/tile_drawing.h"

namespace tiledraw {

namespace {

const std::array<Ramp, Materials> Ramps = {{
    {0x5a2230, 0xa4413a, 0xd8715a},          // brick
    {pal::Grey1, pal::Grey2, pal::Grey3},    // stone
    {pal::Brown1, pal::Brown2, pal::Brown3}, // earth
    {0x9a6a2a, 0xd8b050, 0xf6e090},          // sand
    {0x24345c, 0x4a6a9a, 0x9ab4d8},          // metal
    {0x5a3420, 0x94602e, 0xc89256},          // wood
    {0x241c2a, 0x3e3244, 0x6a5a6a},          // rock
    {0x2a6a9a, 0x7ac8f0, 0xd8f4ff},          // ice
    {pal::Teal1, pal::Teal2, pal::Cyan},     // tech
    {0x98b0d0, 0xdae8f8, pal::White},        // cloud
    {0x24402a, 0x3e6a3a, 0x7aa050},          // moss
    {pal::Green1, pal::Green2, pal::Green3}, // leaves
    {0x3a6a80, 0x9ad0e0, 0xf0ffff},          // glass
    {0x2a1c40, 0x4a3470, 0x7a60a8},          // castle
    {0x8a5a10, 0xe0a820, 0xfff08a},          // gold
    {0x1a5a24, 0x30a040, 0x90e070},          // pipe
}};

}  // namespace

int Noise(int x, int y, int seed, int range) { return static_cast<int>(Hash(x, y, seed) % range); }

const Ramp& MaterialRamp(int material) { return Ramps[material]; }


// The repeating surface of each material.
Colour MaterialTexture(int material, int x, int y) {
  const Ramp& r = Ramps[material];
  switch (material) {
    case tile::Brick:
    case tile::Moss:
    case tile::Gold: {
      int shift = ((y / 4) % 2) * 4;
      if (y % 4 == 3 || (x + shift) % 8 == 7) return Shade(r.dark, 80);
      if (y % 4 == 0) return r.light;
      if (material == tile::Moss && Noise(x, y, 12, 5) == 0) return pal::Green3;
      if (material == tile::Gold && (x + shift) % 8 == 1 && y % 4 == 1) return pal::White;
      return Noise(x, y, 1, 9) == 0 ? Shade(r.mid, 88) : r.mid;
    }
    case tile::Stone:
    case tile::Castle: {
      int bx = (x + (y / 8) * 4) % 8, by = y % 8;
      if (bx == 7 || by == 7) return r.dark;
      if (bx == 0 || by == 0) return r.light;
      return Noise(x, y, 2, 7) == 0 ? Shade(r.mid, 85) : r.mid;
    }
    case tile::Earth: {
      int n = Noise(x, y, 3, 16);
      return n == 0 ? r.light : n < 3 ? r.dark : r.mid;
    }
    case tile::Sand: {
      if ((y + (x / 5) % 2) % 5 == 4) return Shade(r.mid, 85);
      return Noise(x, y, 6, 10) == 0 ? r.light : r.mid;
    }
    case tile::Metal: {
      if (x == 0 || y == 0) return r.light;
      if (x == 15 || y == 15) return r.dark;
      if ((x == 3 || x == 12) && (y == 3 || y == 12)) return pal::Grey4;
      return (x + y) % 11 == 0 ? Shade(r.mid, 112) : r.mid;
    }
    case tile::Wood: {
      if (x % 8 == 7) return r.dark;
      if (x % 8 == 0) return r.light;
      if (y == 5 && x % 8 == 3) return r.dark;  // a knot
      return Noise(x / 8, y, 4, 5) == 0 ? Shade(r.mid, 88) : r.mid;
    }
    case tile::Rock: {
      int n = Noise(x / 2, y / 2, 9, 12);
      return n == 0 ? r.light : n < 5 ? r.dark : r.mid;
    }
    case tile::Ice: {
      if ((x + 2 * y) % 13 == 0) return pal::White;
      return y < 8 ? r.light : r.mid;
    }
    case tile::Tech: {
      if (x == 0 || y == 0) return r.mid;
      if (x == 15 || y == 15) return pal::Ink;
      if (y == 8 && x > 2 && x < 13) return pal::Cyan;
      if (x == 4 && y > 8) return pal::Cyan;
      if (x == 11 && y == 4) return pal::Red3;  // a status light
      return r.dark;
    }
    case tile::Cloud: {
      int bump = (x - 8) * (x - 8) / 16;
      if (y < 2 + bump / 3) return r.light;
      return (y > 12) ? r.dark : r.mid;
    }
    case tile::Leaves: {
      int n = Noise(x / 2, y / 2, 13, 6);
      if ((x + y) % 5 == 0) return r.light;
      return n < 2 ? r.dark : r.mid;
    }
    case tile::Glass: {
      if (x == 0 || x == 15 || y == 0 || y == 15) return pal::Grey4;
      if (x - y == 3 || x - y == 5) return r.light;
      return r.mid;
    }
    default: {  // pipe, running up and down
      if (x < 2 || x > 13) return r.dark;
      if (x == 4 || x == 5) return r.light;
      if (y == 6 || y == 7) return Shade(r.mid, 80);  // a joint
      return r.mid;
    }
  }
}

Canvas Textured(const std::function<Colour(int, int)>& texture) {
  Canvas cell(S, S);
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) cell.Set(x, y, Opaque(texture(x, y)));
  return cell;
}

}  // namespace tiledraw
