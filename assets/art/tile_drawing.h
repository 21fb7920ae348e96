// Inside the tile picture's drawing: the materials the walls are made of, and the parts of the
// picture that are drawn in files of their own (hazards, decoration, belts).
#pragma once

#include <array>
#include <functional>

#include "assets/art/palette.h"
#include "assets/worlds/tile_values.h"

namespace tiledraw {

constexpr int S = 16;  // a tile's size
constexpr int Materials = tile::MaterialCount;

int Noise(int x, int y, int seed, int range);
// The light, middle and dark shades of each material of tile_values.h.
const Ramp& MaterialRamp(int material);
// The repeating surface of a material at pixel (x, y) of a tile.
Colour MaterialTexture(int material, int x, int y);
// A full tile painted pixel by pixel.
Canvas Textured(const std::function<Colour(int, int)>& texture);

// Deadly tiles by hazard (0 spikes up, 1 spikes down, 2 fire, 3 water, 4 lava, 5 acid, 6 sparks,
// 7 saw, 8 thorns, 9 laser); alt gives the second colouring.
Canvas DeadlyTile(int hazard, bool alt);
// Decoration 352..399: the back walls and the objects of tile_values.h.
Canvas DecorTile(int value);
// A belt piece (0 left end, 1 middle, 2 right end, 3 single) of style 0..3 at animation phase 0..3.
Canvas BeltTile(int style, int piece, bool carriesLeft, int phase);

}  // namespace tiledraw
