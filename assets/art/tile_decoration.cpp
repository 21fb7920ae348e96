// The decoration tiles: dark back walls and the objects drawn in front of them.
#include <cmath>

#include "assets/art/picture_set.h"
#include "assets/art/tile_drawing.h"

namespace tiledraw {

namespace {

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

}  // namespace

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

}  // namespace tiledraw
