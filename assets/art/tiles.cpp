// The tile picture: 528 cells of 16 x 16 (walls, stairs, platforms, hazards, decoration, belts).
//
// Every frame looks like what the worlds use it for (assets/worlds/tile_values.h names them);
// the values no world uses yet still get a fitting picture of their range.
#include <array>
#include <cmath>
#include <functional>

#include "assets/art/palette.h"
#include "assets/art/picture_set.h"
#include "assets/worlds/tile_values.h"

namespace {

constexpr int S = 16;
constexpr int TileFrames = 528;
constexpr int Materials = tile::MaterialCount;
constexpr int BeltPhaseStep = 32;  // a belt's animation frame n is its value + 32 n

int Noise(int x, int y, int seed, int range) { return static_cast<int>(Hash(x, y, seed) % range); }

const std::array<Ramp, Materials> MaterialRamps = {{
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

// The repeating surface of each material.
Colour MaterialTexture(int material, int x, int y) {
  const Ramp& r = MaterialRamps[material];
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

Canvas MaterialCell(int material, int tone = 100) {
  return Textured([material, tone](int x, int y) { return Shade(MaterialTexture(material, x, y), tone); });
}

// A lit top surface: grass on earth, snow on ice, a light lip on everything else.
void TopSurface(Canvas& cell, int material) {
  const Ramp& r = MaterialRamps[material];
  if (material == tile::Earth || material == tile::Moss) {
    for (int x = 0; x < S; ++x) {
      int depth = 3 + Noise(x, 0, 11, 3);
      for (int y = 0; y < depth; ++y) cell.Set(x, y, y == 0 ? pal::Green3 : pal::Green2);
      cell.Set(x, depth, pal::Green1);
    }
  } else if (material == tile::Ice || material == tile::Cloud) {
    cell.Fill(0, 0, S, 2, pal::White);
    for (int x = 1; x < S; x += 4) cell.Set(x, 2, pal::White);
  } else if (material == tile::Sand) {
    cell.Fill(0, 0, S, 1, pal::Cream);
    cell.Fill(0, 1, S, 1, r.light);
  } else {
    cell.Fill(0, 0, S, 1, Shade(r.light, 125));
    cell.Fill(0, 1, S, 1, r.light);
  }
}

void BottomEdge(Canvas& cell, int material) {
  cell.Fill(0, S - 2, S, 2, Shade(MaterialRamps[material].dark, 70));
  if (material == tile::Ice)
    for (int x = 2; x < S; x += 5) cell.Line(x, S - 2, x, S - 1, pal::White);
}

void SideEdge(Canvas& cell, int material, bool left) {
  const Ramp& r = MaterialRamps[material];
  cell.Fill(left ? 0 : S - 1, 0, 1, S, left ? r.light : Shade(r.dark, 70));
  cell.Fill(left ? 1 : S - 2, 0, 1, S, left ? r.mid : r.dark);
}

// Pieces of a material, from 1 + 8 * material: fill, top, alt, edge, then bottom, left, right, dark.
Canvas SolidTile(int material, int piece) {
  const Ramp& r = MaterialRamps[material];
  Canvas cell = MaterialCell(material);
  switch (piece) {
    case 1: TopSurface(cell, material); break;
    case 2:  // the patterned or cracked variant
      if (material == tile::Metal || material == tile::Tech || material == tile::Gold) {
        for (int y = 3; y < S; y += 8)
          for (int x = 3; x < S; x += 8) {
            cell.Fill(x, y, 2, 2, r.light);
            cell.Set(x + 1, y + 1, r.dark);
          }
        cell.Disc(8, 8, 2, material == tile::Tech ? pal::Green3 : r.light);
      } else if (material == tile::Pipe) {
        cell = Textured([material](int x, int y) { return MaterialTexture(material, y, x); });  // pipe across
      } else {
        cell.Line(3, 0, 7, 6, r.dark);
        cell.Line(7, 6, 5, 11, r.dark);
        cell.Line(7, 6, 12, 9, r.dark);
        cell.Line(12, 9, 14, 15, r.dark);
        cell.Set(8, 6, Shade(r.light, 110));
      }
      break;
    case 3:  // trim: an outlined block for borders
      cell.Frame(0, 0, S, S, pal::Ink);
      cell.Fill(1, 1, S - 2, 1, Shade(r.light, 120));
      cell.Fill(1, 1, 1, S - 2, r.light);
      cell.Fill(1, S - 2, S - 2, 1, r.dark);
      cell.Fill(S - 2, 1, 1, S - 2, r.dark);
      break;
    case 4: BottomEdge(cell, material); break;
    case 5: SideEdge(cell, material, true); break;
    case 6: SideEdge(cell, material, false); break;
    default: cell = MaterialCell(material, 65); break;  // deep inside, in shadow
  }
  return cell;
}

// Extra solid pieces (129..159): studded plates and a column per material.
Canvas ExtraSolidTile(int index) {
  int material = index % Materials;
  const Ramp& r = MaterialRamps[material];
  Canvas cell = MaterialCell(material, index < Materials ? 100 : 120);
  if (index < Materials) {
    for (int y = 0; y < S; ++y) {
      cell.Set(0, y, pal::Ink);
      cell.Set(1, y, r.light);
      cell.Set(14, y, r.dark);
      cell.Set(15, y, pal::Ink);
    }
  } else {
    for (int d = 0; d < 4; ++d) {
      cell.Line(8 - d, 4 + d, 8 + d, 4 + d, pal::Yellow);
      cell.Line(8 - d, 12 - d, 8 + d, 12 - d, pal::Orange2);
    }
  }
  return cell;
}

// Stairs of 4-pixel steps, matching the slope that room entry paints for the cell.
Canvas StairsTile(int material, bool risingRight, int tone) {
  const Ramp& r = MaterialRamps[material];
  Canvas cell(S, S);
  for (int y = 0; y < S; ++y) {
    int from = 12 - 4 * (y / 4);  // where the step of this band begins, for a rise to the right
    for (int x = 0; x < S; ++x) {
      int rx = risingRight ? x : S - 1 - x;
      if (rx < from) continue;
      Colour c = Shade(MaterialTexture(material, x, y), tone);
      if (y % 4 == 0) c = Shade(r.light, tone + 15);  // the tread of each step
      else if (rx == from) c = Shade(r.light, tone);  // its front
      cell.Set(x, y, c);
    }
  }
  return cell;
}

// Platforms: a thin surface on the top rows (the hero stands on row 0), pieces left end, middle,
// right end and single.
Canvas PlatformTile(int material, int piece) {
  const Ramp& r = MaterialRamps[material % Materials];
  Canvas cell(S, S);
  int thickness = material == tile::Cloud ? 7 : 5;
  for (int y = 0; y < thickness; ++y)
    for (int x = 0; x < S; ++x) {
      Colour c = MaterialTexture(material % Materials, x, y + 4);
      if (y == 0) c = Shade(r.light, 120);
      else if (y == thickness - 1) c = r.dark;
      cell.Set(x, y, c);
    }
  switch (material) {
    case tile::Cloud:
      for (int x = 2; x < S; x += 5) cell.Disc(x, thickness, 2, r.mid);
      break;
    case tile::Leaves:
    case tile::Moss:
    case tile::Earth:
      cell.Fill(0, 0, S, 2, pal::Green3);
      for (int x = 1; x < S; x += 5) cell.Line(x, thickness, x + 1, thickness + 3, pal::Green2);
      break;
    case tile::Metal:
    case tile::Tech:
      for (int x = 2; x < S; x += 6) cell.Set(x, 2, pal::Ink);  // girder holes
      break;
    case tile::Wood:
      for (int x = 7; x < S; x += 8) cell.Fill(x, 1, 1, thickness - 1, r.dark);
      break;
    default: break;
  }
  bool leftEnd = piece == 0 || piece == 3, rightEnd = piece == 2 || piece == 3;
  for (int y = 0; y < thickness + 4; ++y) {
    if (leftEnd && cell.Get(0, y)) cell.Set(0, y, y == 0 ? Transparent : pal::Ink);
    if (rightEnd && cell.Get(S - 1, y)) cell.Set(S - 1, y, y == 0 ? Transparent : pal::Ink);
  }
  if (leftEnd || rightEnd) {  // a bracket under the end that holds it
    int x = leftEnd ? 3 : 11;
    cell.Line(x, thickness, x + 2, thickness + 3, pal::Grey2);
  }
  return cell;
}

// Extra platforms (288..303): rope bridge, chain, bone and carpet, four pieces each.
Canvas ExtraPlatformTile(int kind, int piece) {
  Canvas cell(S, S);
  switch (kind) {
    case 0:  // rope bridge
      for (int x = 0; x < S; ++x) {
        cell.Set(x, 0, pal::Tan);
        cell.Fill(x, 1, 1, 3, x % 4 == 3 ? pal::Brown1 : pal::Brown3);
      }
      cell.Line(0, 4, 15, 4, pal::Tan);
      break;
    case 1:  // chain
      for (int x = 0; x < S; x += 4) cell.Frame(x, 0, 4, 4, (x / 4) % 2 ? pal::Grey4 : pal::Grey3);
      cell.Fill(0, 0, S, 1, pal::Grey4);
      break;
    case 2:  // bone
      cell.Fill(0, 0, S, 4, pal::Cream);
      cell.Fill(0, 3, S, 1, pal::Tan);
      break;
    default:  // carpet
      cell.Fill(0, 0, S, 4, 0xb03080);
      cell.Fill(0, 1, S, 1, pal::Yellow);
      for (int x = 1; x < S; x += 4) cell.Set(x, 4, pal::Yellow);
      break;
  }
  if (piece == 0 || piece == 3) cell.Fill(0, 0, 1, 5, Transparent);
  if (piece == 2 || piece == 3) cell.Fill(S - 1, 0, 1, 5, Transparent);
  cell.Outline(pal::Ink);
  return cell;
}

// Deadly tiles: the part that kills lies in the lower twelve rows (ceiling spikes hang from the top).
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
Colour BackdropTexture(int value, int x, int y) {
  switch (value) {
    case tile::BackBrick: {
      int shift = ((y / 4) % 2) * 4;
      return (y % 4 == 3 || (x + shift) % 8 == 7) ? 0x160a0e : 0x2a1418;
    }
    case tile::BackStone: return (x % 8 == 7 || y % 8 == 7) ? 0x121218 : (Noise(x, y, 51, 6) ? 0x1e1e2a : 0x222230);
    case tile::BackWood: return x % 4 == 3 ? 0x140c06 : (y == 9 && x % 4 == 1 ? 0x1c1208 : 0x261a0e);
    case tile::BackMetal: return (x == 0 || y == 0) ? 0x1e2a40 : (x == 15 || y == 15) ? 0x0c1220 : 0x162034;
    case tile::BackCave: return Noise(x / 2, y / 2, 52, 4) ? 0x18121a : 0x201822;
    case tile::BackTech: return (x % 8 == 4 || y % 8 == 4) ? 0x123038 : 0x0a1a1e;
    case tile::BackStars: {
      if (x == 11 && y == 4) return 0x9090c0;
      if (x == 3 && y == 12) return 0x505080;
      return 0x0a0a16;
    }
    case tile::BackWater: return ((x + y / 2) % 8 == 0) ? 0x183462 : 0x0e2248;
    case tile::BackCastle: return (x % 8 == 7 || y % 8 == 7) ? 0x0e0a18 : 0x1a1228;
    case tile::BackSand: return ((x + y) % 4 == 0 && (x * 3 + y) % 7 == 1) ? 0x3a2a1c : 0x2a1e16;
    case tile::BackLeaves: return Noise(x / 2, y / 2, 56, 3) ? 0x0c1e10 : 0x142c18;
    default: return ((x * 5 + y * 3) % 16 == 0) ? 0x1e2e58 : 0x16224a;  // the sky, towards evening
  }
}

bool IsBackdrop(int value) {
  return (value >= tile::BackBrick && value <= tile::BackWater) || value == tile::BackCastle || value == tile::BackSand ||
         value == tile::BackLeaves || value == tile::BackSky;
}

Canvas DecorTile(int value) {
  if (IsBackdrop(value)) {
    return Textured([value](int x, int y) { return BackdropTexture(value, x, y); });
  }
  Canvas c(S, S);
  switch (value) {
    case tile::Window:
      c.Fill(2, 2, 12, 12, pal::Brown2);
      c.Fill(3, 3, 10, 10, pal::Blue1);
      c.Fill(3, 3, 4, 4, pal::Sky);
      c.Fill(8, 3, 5, 4, pal::Blue3);
      c.Fill(7, 3, 1, 10, pal::Brown2);
      c.Fill(3, 7, 10, 1, pal::Brown2);
      break;
    case tile::Lamp:
      c.Line(8, 0, 8, 5, pal::Grey2);
      c.Fill(5, 5, 6, 3, pal::Grey3);
      c.Ellipse(8, 9, 3, 2, pal::Cream);
      c.Ellipse(8, 9, 1, 1, pal::White);
      break;
    case tile::Chain:
      for (int y = 0; y < S; y += 4) c.Frame(6, y, 4, 4, y % 8 ? pal::Grey3 : pal::Grey2);
      break;
    case tile::Vine:
      c.Line(7, 0, 8, 15, pal::Green1);
      for (int y = 1; y < S; y += 4) c.Fill(y % 8 ? 8 : 5, y, 3, 2, pal::Green2);
      break;
    case tile::Cobweb:
      c.Line(0, 0, 15, 15, pal::Grey3);
      c.Line(0, 0, 15, 6, pal::Grey3);
      c.Line(0, 0, 6, 15, pal::Grey3);
      for (int r = 4; r < 16; r += 4) c.Line(r, 0, 0, r, pal::Grey2);
      break;
    case tile::Barrel:
      c.Ellipse(8, 8, 6, 7, pal::Brown2);
      c.Fill(2, 4, 13, 1, pal::Grey2);
      c.Fill(2, 11, 13, 1, pal::Grey2);
      c.Line(5, 2, 5, 14, pal::Brown3);
      break;
    case tile::Crate:
      c.Fill(1, 1, 14, 14, pal::Brown3);
      c.Frame(1, 1, 14, 14, pal::Brown1);
      c.Line(2, 2, 13, 13, pal::Brown2);
      c.Line(13, 2, 2, 13, pal::Brown2);
      break;
    case tile::Torch:
      c.Fill(7, 8, 2, 7, pal::Brown2);
      c.Fill(6, 8, 4, 1, pal::Grey3);
      c.Ellipse(8, 5, 2, 3, pal::Orange2);
      c.Ellipse(8, 6, 1, 2, pal::Yellow);
      break;
    case tile::Bars:
      for (int x = 1; x < S; x += 4) c.Fill(x, 0, 2, 16, x % 8 == 1 ? pal::Grey3 : pal::Grey2);
      c.Fill(0, 3, 16, 1, pal::Grey2);
      c.Fill(0, 12, 16, 1, pal::Grey2);
      break;
    case tile::Bush:
      c.Ellipse(8, 10, 7, 5, pal::Green1);
      c.Disc(5, 8, 3, pal::Green2);
      c.Disc(10, 7, 3, pal::Green2);
      c.Set(9, 6, pal::Green3);
      c.Set(4, 7, pal::Green3);
      break;
    case tile::Flower:
      for (int i = 0; i < 3; ++i) {
        int x = 3 + i * 5;
        c.Line(x, 15, x, 9, pal::Green2);
        c.Disc(x, 8, 2, i == 1 ? pal::Yellow : pal::Pink);
        c.Set(x, 8, i == 1 ? pal::Orange2 : pal::Cream);
      }
      break;
    case tile::Cactus:
      c.Fill(6, 2, 4, 14, pal::Green2);
      c.Fill(7, 2, 1, 14, pal::Green3);
      c.Fill(2, 6, 2, 5, pal::Green2);
      c.Fill(2, 10, 4, 2, pal::Green2);
      c.Fill(12, 4, 2, 5, pal::Green2);
      c.Fill(10, 8, 4, 2, pal::Green2);
      break;
    case tile::PalmTrunk:
      for (int y = 0; y < S; ++y) c.Fill(6 + (y / 8), y, 4, 1, y % 4 == 0 ? pal::Brown1 : pal::Brown3);
      break;
    case tile::PalmLeaves:
      c.Line(8, 8, 0, 12, pal::Green2);
      c.Line(8, 8, 15, 12, pal::Green2);
      c.Line(8, 8, 2, 3, pal::Green3);
      c.Line(8, 8, 14, 3, pal::Green3);
      c.Line(8, 9, 1, 13, pal::Green1);
      c.Line(8, 9, 15, 13, pal::Green1);
      c.Disc(8, 9, 2, pal::Brown2);
      break;
    case tile::Bottles:
      c.Fill(0, 14, 16, 2, pal::Brown2);
      for (int i = 0; i < 4; ++i) {
        Colour glass[] = {pal::Green2, pal::Blue2, pal::Red2, pal::Orange2};
        c.Fill(1 + i * 4, 7, 3, 7, glass[i]);
        c.Fill(2 + i * 4, 4, 1, 3, glass[i]);
        c.Set(1 + i * 4, 8, pal::White);
      }
      break;
    case tile::Telly:
      c.Fill(1, 3, 14, 11, pal::Brown2);
      c.Fill(2, 4, 10, 8, pal::Blue2);
      c.Fill(3, 5, 4, 3, pal::Sky);
      c.Disc(13, 6, 1, pal::Yellow);
      c.Disc(13, 10, 1, pal::Grey3);
      c.Line(5, 2, 3, 0, pal::Grey3);
      c.Line(8, 2, 11, 0, pal::Grey3);
      c.Fill(3, 14, 2, 2, pal::Brown1);
      c.Fill(11, 14, 2, 2, pal::Brown1);
      break;
    case tile::Computer:
      c.Fill(1, 1, 14, 10, pal::Grey3);
      c.Fill(2, 2, 12, 8, pal::Teal1);
      for (int y = 3; y < 9; y += 2) c.Line(3, y, 3 + (y * 5) % 9, y, pal::Green3);
      c.Fill(5, 11, 6, 2, pal::Grey2);
      c.Fill(2, 13, 12, 2, pal::Grey3);
      break;
    case tile::Sign:
      c.Fill(7, 9, 2, 7, pal::Brown1);
      c.Fill(1, 2, 14, 8, pal::Brown3);
      c.Frame(1, 2, 14, 8, pal::Brown1);
      c.Line(3, 5, 12, 5, pal::Brown1);
      c.Line(3, 7, 9, 7, pal::Brown1);
      break;
    case tile::Skull:
      c.Disc(8, 7, 5, pal::Grey4);
      c.Fill(5, 11, 7, 3, pal::Grey4);
      c.Fill(5, 6, 2, 3, pal::Ink);
      c.Fill(10, 6, 2, 3, pal::Ink);
      c.Set(8, 10, pal::Ink);
      for (int x = 6; x < 12; x += 2) c.Set(x, 13, pal::Ink);
      break;
    case tile::Mushroom:
      c.Fill(4, 10, 2, 6, pal::Cream);
      c.Ellipse(5, 9, 4, 2, pal::Red2);
      c.Set(4, 8, pal::White);
      c.Fill(11, 12, 2, 4, pal::Cream);
      c.Ellipse(12, 11, 3, 2, pal::Orange2);
      break;
    case tile::Coins:
      for (int i = 0; i < 4; ++i) c.Ellipse(4 + i * 3 - (i / 3) * 4, 13 - i * 2 + (i / 3) * 2, 3, 1, i % 2 ? pal::Yellow : pal::Orange2);
      c.Ellipse(8, 8, 3, 1, pal::Yellow);
      c.Set(8, 8, pal::Cream);
      break;
    case tile::Machine:
      c.Fill(1, 2, 14, 14, pal::Grey2);
      c.Frame(1, 2, 14, 14, pal::Grey1);
      c.Disc(5, 7, 2, pal::Grey3);
      c.Line(5, 7, 6, 5, pal::Red3);
      c.Fill(9, 5, 4, 2, pal::Green3);
      c.Fill(9, 8, 4, 2, pal::Red3);
      c.Fill(3, 12, 10, 2, pal::Grey1);
      break;
    case tile::Beaker:
      c.Fill(6, 2, 4, 5, pal::Grey4);
      for (int i = 0; i < 8; ++i) c.Fill(6 - i / 2, 7 + i, 4 + i, 1, i < 2 ? pal::Grey4 : pal::Green3);
      c.Set(7, 10, pal::White);
      c.Disc(9, 1, 1, pal::Green3);
      break;
    case tile::Star:
      c.Line(8, 2, 8, 14, pal::Yellow);
      c.Line(2, 8, 14, 8, pal::Yellow);
      c.Line(5, 5, 11, 11, pal::Cream);
      c.Line(11, 5, 5, 11, pal::Cream);
      c.Disc(8, 8, 1, pal::White);
      break;
    case tile::Planet:
      c.Disc(8, 8, 5, pal::Orange2);
      c.Line(1, 10, 15, 6, pal::Cream);
      c.Line(1, 11, 15, 7, pal::Tan);
      c.Set(6, 6, pal::Yellow);
      break;
    case tile::Rocket:
      c.Fill(5, 2, 6, 12, pal::Grey4);
      for (int i = 0; i < 3; ++i) c.Fill(6 + i / 2, 0 + i, 4 - i, 1, pal::Red2);
      c.Disc(8, 6, 1, pal::Blue3);
      c.Fill(2, 10, 3, 5, pal::Red2);
      c.Fill(11, 10, 3, 5, pal::Red2);
      c.Fill(6, 14, 4, 2, pal::Orange2);
      break;
    case tile::Grass:
      for (int x = 1; x < S; x += 2) c.Line(x, 15, x + (x % 4) - 1, 10 + (x * 7) % 4, x % 3 ? pal::Green2 : pal::Green3);
      break;
    case tile::Fence:
      for (int x = 1; x < S; x += 5) {
        c.Fill(x, 3, 3, 13, pal::Tan);
        c.Set(x + 1, 2, pal::Tan);
      }
      c.Fill(0, 6, 16, 2, pal::Brown3);
      c.Fill(0, 12, 16, 2, pal::Brown3);
      break;
    case tile::Curtain:
      for (int x = 0; x < S; ++x) c.Fill(x, 0, 1, 16, x % 4 == 0 ? pal::Red1 : x % 4 == 2 ? pal::Red3 : pal::Red2);
      c.Fill(0, 0, 16, 2, pal::Yellow);
      break;
    case tile::Poster:
      c.Fill(2, 1, 12, 14, pal::Cream);
      c.Disc(8, 6, 3, pal::Red2);
      c.Fill(4, 11, 8, 1, pal::Ink);
      c.Fill(4, 13, 6, 1, pal::Ink);
      break;
    case tile::Pipes:
      c.Fill(0, 3, 16, 4, pal::Grey2);
      c.Fill(0, 4, 16, 1, pal::Grey3);
      c.Fill(0, 10, 16, 3, Shade(pal::Green2, 60));
      c.Fill(0, 10, 16, 1, pal::Green2);
      c.Fill(6, 2, 2, 6, pal::Grey3);
      break;
    case tile::Moon:
      c.Disc(8, 8, 6, pal::Cream);
      c.Disc(11, 6, 5, Transparent);
      break;
    case tile::Candle:
      c.Fill(6, 7, 4, 8, pal::Cream);
      c.Fill(4, 15, 8, 1, pal::Grey3);
      c.Ellipse(8, 4, 1, 2, pal::Yellow);
      c.Set(8, 5, pal::Orange2);
      break;
    case tile::Bones:
      c.Line(2, 13, 13, 9, pal::Grey4);
      c.Line(3, 9, 12, 14, pal::Grey4);
      c.Disc(2, 13, 1, pal::White);
      c.Disc(13, 9, 1, pal::White);
      c.Disc(3, 9, 1, pal::White);
      c.Disc(12, 14, 1, pal::White);
      break;
    case tile::Shell:
      for (int i = 0; i < 5; ++i) c.Line(8, 14, 3 + i * 2, 7 + (i == 0 || i == 4 ? 3 : 0), pal::Pink);
      c.Ellipse(8, 11, 5, 3, pal::Pink);
      for (int i = 0; i < 5; ++i) c.Line(8, 14, 3 + i * 2, 9, pal::Red3);
      break;
    default:  // a pennant flag on a short pole
      c.Fill(3, 1, 1, 15, pal::Grey3);
      for (int i = 0; i < 5; ++i) c.Line(4, 1 + i, 12 - i * 2, 1 + i, pal::Red3);
      break;
  }
  c.Outline(pal::Ink);
  return c;
}

// Belts: four styles of left end, middle, right end and single; the chevrons point the way the
// belt carries and move two pixels per animation phase.
Canvas BeltTile(int style, int piece, bool carriesLeft, int phase) {
  const Ramp belts[] = {{pal::Grey1, pal::Grey2, pal::Yellow},
                        {pal::Red1, pal::Red2, pal::Cream},
                        {pal::Green1, pal::Green2, pal::Green3},
                        {pal::Blue1, pal::Blue2, pal::Sky}};
  const Ramp& r = belts[style];
  Canvas cell(S, S);
  int shift = (carriesLeft ? 2 * phase : -2 * phase) + 64;
  for (int x = 0; x < S; ++x) {
    cell.Set(x, 0, pal::Grey4);
    for (int y = 1; y < 6; ++y) {
      int lean = carriesLeft ? std::abs(y - 3) : -std::abs(y - 3);
      int stripe = ((x + shift + lean) % 8 + 8) % 8;
      cell.Set(x, y, stripe < 2 ? r.light : r.mid);
    }
    cell.Set(x, 6, r.dark);
    cell.Set(x, 7, ((x + shift) % 8) < 4 ? pal::Grey2 : pal::Grey1);
    cell.Fill(x, 8, 1, 5, pal::Grey1);
  }
  for (int rx = 4; rx < S; rx += 8) {  // rollers, turning with the belt
    cell.Disc(rx, 10, 3, pal::Grey3);
    cell.Disc(rx, 10, 1, pal::Grey1);
    int spoke = ((carriesLeft ? -phase : phase) + 8) % 4;
    const int dx[] = {0, 1, 0, -1}, dy[] = {-1, 0, 1, 0};
    cell.Set(rx + 2 * dx[spoke], 10 + 2 * dy[spoke], pal::White);
  }
  bool leftEnd = piece == 0 || piece == 3, rightEnd = piece == 2 || piece == 3;
  if (leftEnd) {
    cell.Fill(0, 0, 1, 13, pal::Ink);
    cell.Set(0, 0, Transparent);
  }
  if (rightEnd) {
    cell.Fill(S - 1, 0, 1, 13, pal::Ink);
    cell.Set(S - 1, 0, Transparent);
  }
  return cell;
}

}  // namespace

Canvas TilesPicture() {
  std::vector<Canvas> cells(TileFrames, Canvas(S, S));
  for (int material = 0; material < Materials; ++material)
    for (int piece = 0; piece < 8; ++piece) cells[tile::SolidFill(material) + piece] = SolidTile(material, piece);
  for (int value = tile::SolidFill(Materials); value < 160; ++value) cells[value] = ExtraSolidTile(value - tile::SolidFill(Materials));
  for (int style = 0; style < 32; ++style) {
    int material = style % Materials, tone = style < Materials ? 100 : 75;
    cells[160 + 2 * style] = StairsTile(material, true, tone);
    cells[161 + 2 * style] = StairsTile(material, false, tone);
  }
  for (int material = 0; material < Materials; ++material)
    for (int piece = 0; piece < 4; ++piece) cells[tile::PlatformLeft(material) + piece] = PlatformTile(material, piece);
  for (int kind = 0; kind < 4; ++kind)
    for (int piece = 0; piece < 4; ++piece) cells[tile::PlatformLeft(Materials) + kind * 4 + piece] = ExtraPlatformTile(kind, piece);
  const int hazardOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};  // spikes, spikes down, fire, water, lava, acid, sparks, saw, thorns, laser
  for (int value = 304; value < 352; ++value) {
    int index = value - 304;
    cells[value] = DeadlyTile(hazardOrder[index % 10], index >= 10 && (index / 10) % 2 == 1);
  }
  for (int value = 352; value < 400; ++value) cells[value] = DecorTile(value);
  for (int phase = 0; phase < 4; ++phase)
    for (int style = 0; style < 4; ++style)
      for (int piece = 0; piece < 4; ++piece) {
        int offset = phase * BeltPhaseStep + style * 4 + piece;
        cells[400 + offset] = BeltTile(style, piece, true, phase);
        cells[416 + offset] = BeltTile(style, piece, false, phase);
      }
  return AssembleStrip(cells, S, S, 32);
}
