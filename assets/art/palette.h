// The game's colours: one palette that every picture draws from, so the content looks of a piece.
#pragma once

#include "assets/art/canvas.h"

namespace pal {
// Outlines and the darkest opaque shade (pure black is the mask colour).
constexpr Colour Ink = 0x15101c;
constexpr Colour Night = 0x1c1a30;
constexpr Colour Dusk = 0x2b2745;

constexpr Colour Grey1 = 0x3b3a4e;
constexpr Colour Grey2 = 0x5d5e78;
constexpr Colour Grey3 = 0x8e90a8;
constexpr Colour Grey4 = 0xc4c6d6;
constexpr Colour White = 0xf6f6fa;

constexpr Colour Red1 = 0x6e1a2c;
constexpr Colour Red2 = 0xb8323c;
constexpr Colour Red3 = 0xf2604c;
constexpr Colour Pink = 0xff96c4;

constexpr Colour Orange1 = 0x9c4a1a;
constexpr Colour Orange2 = 0xe8862a;
constexpr Colour Yellow = 0xffd04a;
constexpr Colour Cream = 0xfff1a8;

constexpr Colour Green1 = 0x1d4a2e;
constexpr Colour Green2 = 0x34903c;
constexpr Colour Green3 = 0x8ad24c;

constexpr Colour Teal1 = 0x17585e;
constexpr Colour Teal2 = 0x2fa8b0;
constexpr Colour Cyan = 0x8ae8f0;

constexpr Colour Blue1 = 0x1a2658;
constexpr Colour Blue2 = 0x2c5cc0;
constexpr Colour Blue3 = 0x5aa2ff;
constexpr Colour Sky = 0xaee0ff;

constexpr Colour Purple1 = 0x42245e;
constexpr Colour Purple2 = 0x8048b8;
constexpr Colour Lilac = 0xcc9cff;

constexpr Colour Brown1 = 0x45291c;
constexpr Colour Brown2 = 0x7a4828;
constexpr Colour Brown3 = 0xb27a48;
constexpr Colour Tan = 0xe2b888;

constexpr Colour SkinLight = 0xf6cca4;
constexpr Colour SkinMid = 0xd09060;
constexpr Colour SkinDark = 0x8c5a3a;
}  // namespace pal

// A three-tone ramp for shading one material.
struct Ramp {
  Colour dark;
  Colour mid;
  Colour light;
};
