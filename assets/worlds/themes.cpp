// The fifteen region looks.
#include "assets/worlds/themes.h"

#include <array>

namespace {
using namespace tile;

std::array<Theme, ThemeCount> MakeThemes() {
  std::array<Theme, ThemeCount> t;
  t[ThemeTown] = {ThemeTown, Brick, Stone, Wood, Brick, {BackSky, BackBrick}, {Barrel, Crate, Sign, Fence},
                  {Lamp}, {Window, Poster, Window}, Spikes, false, {0, 1, 2, 3}};
  t[ThemeSewers] = {ThemeSewers, Moss, Moss, Pipe, Moss, {BackBrick, Pipes}, {Barrel, Mushroom, Bones},
                    {Chain, Cobweb}, {Pipes, Vine}, Acid, true, {4, 5, 6}};
  t[ThemeSuburbs] = {ThemeSuburbs, Wood, Earth, Wood, Wood, {BackSky, BackLeaves}, {Bush, Flower, Fence, Grass},
                     {Lamp}, {Window, Curtain}, Spikes, false, {0, 7, 8, 9}};
  t[ThemeWoods] = {ThemeWoods, Leaves, Earth, Wood, Earth, {BackSky, BackLeaves}, {Bush, Mushroom, Flower, Grass},
                   {Vine}, {Vine}, Thorns, false, {7, 8, 10, 11}};
  t[ThemeBeach] = {ThemeBeach, Sand, Sand, Wood, Sand, {BackSky, BackWater}, {Shell, PalmTrunk, Crate, Barrel},
                   {}, {}, Water, false, {10, 12, 13}};
  t[ThemeDesert] = {ThemeDesert, Sand, Sand, Stone, Sand, {BackSky, BackSand}, {Cactus, Bones, Skull},
                    {}, {}, Spikes, false, {12, 13, 14}};
  t[ThemeFactory] = {ThemeFactory, Metal, Metal, Metal, Metal, {BackMetal, Pipes}, {Machine, Barrel, Crate},
                     {Chain, Lamp}, {Pipes, Sign}, Saw, true, {15, 16, 17}};
  t[ThemeLab] = {ThemeLab, Glass, Metal, Glass, Glass, {BackTech, BackMetal}, {Beaker, Computer, Machine},
                 {Lamp}, {Computer, Poster}, Acid, true, {16, 17, 18}};
  t[ThemeCaves] = {ThemeCaves, Rock, Rock, Rock, Rock, {BackCave}, {Mushroom, Bones, Skull, Coins},
                   {Cobweb}, {Vine}, Lava, true, {14, 19, 20}};
  t[ThemeHills] = {ThemeHills, Earth, Earth, Wood, Earth, {BackSky, BackLeaves}, {Bush, Flower, Grass, Fence},
                   {}, {}, Thorns, false, {8, 9, 11}};
  t[ThemeCastle] = {ThemeCastle, Castle, Stone, Stone, Stone, {BackCastle, BackStone}, {Barrel, Skull, Candle},
                    {Chain, Cobweb}, {Torch, Window, Flag}, Spikes, true, {19, 20, 21}};
  t[ThemeIce] = {ThemeIce, Ice, Ice, Ice, Ice, {BackCave, BackStars}, {Skull, Bones},
                 {Cobweb}, {Star}, Water, true, {21, 22}};
  t[ThemeHaunted] = {ThemeHaunted, Castle, Wood, Wood, Wood, {BackWood, BackCastle}, {Candle, Skull, Barrel},
                     {Cobweb, Chain}, {Curtain, Window, Poster}, Fire, true, {20, 22, 23}};
  t[ThemeSky] = {ThemeSky, Cloud, Cloud, Cloud, Cloud, {BackSky}, {Flag},
                 {}, {Star}, Sparks, false, {22, 23, 24}};
  t[ThemeSpace] = {ThemeSpace, Tech, Tech, Tech, Tech, {BackStars, BackTech}, {Computer, Machine, Rocket},
                   {Lamp}, {Planet, Star, Moon}, Laser, false, {18, 23, 24}};
  return t;
}
}  // namespace

const Theme& ThemeOf(ThemeId id) {
  static const std::array<Theme, ThemeCount> themes = MakeThemes();
  return themes[id < ThemeCount ? id : ThemeTown];
}
