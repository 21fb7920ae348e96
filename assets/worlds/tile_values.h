// The tile values the worlds use, by material and look; the tiles picture draws each frame so.
//
// A tile value is a frame of "pictures/tiles.png" and picks the cell's collision class:
//   1..159 solid, 160..223 stairs (even rises to the right, odd to the left), 224..303 platform,
//   304..351 deadly (animated), 352..399 decoration (background, walked through),
//   400..415 belt carrying left, 416..431 belt carrying right (drawn +32, +64, +96 as they run).
#pragma once

namespace tile {

constexpr int Empty = 0;

// Sixteen materials; each has solid blocks, a pair of stairs and a platform.
enum Material {
  Brick,    // red town brick
  Stone,    // grey castle stone
  Earth,    // brown earth, grass on top
  Sand,     // yellow desert sand
  Metal,    // riveted steel plate
  Wood,     // planks
  Rock,     // dark cave rock
  Ice,      // pale blue ice
  Tech,     // space-station panels, lights
  Cloud,    // white puffy cloud
  Moss,     // green mossy sewer brick
  Leaves,   // dense hedge / tree leaves
  Glass,    // laboratory glass and chrome
  Castle,   // dark purple castle stone
  Gold,     // gold bricks and coins
  Pipe,     // green pipes
  MaterialCount
};

// Solid blocks: 8 per material from 1 + 8 * material.
constexpr int SolidFill(int m) { return 1 + 8 * m; }     // plain inside block
constexpr int SolidTop(int m) { return 2 + 8 * m; }      // block with its lit top surface
constexpr int SolidAlt(int m) { return 3 + 8 * m; }      // cracked or patterned variant
constexpr int SolidEdge(int m) { return 4 + 8 * m; }     // trim: outlined block for borders
// Stairs: 160 + 2 * material rises to the right, the odd value after it to the left.
constexpr int StairsRight(int m) { return 160 + 2 * m; }
constexpr int StairsLeft(int m) { return 161 + 2 * m; }
// Platforms (stood on, jumped through from below): left end, middle, right end, single.
constexpr int PlatformLeft(int m) { return 224 + 4 * m; }
constexpr int PlatformMid(int m) { return 225 + 4 * m; }
constexpr int PlatformRight(int m) { return 226 + 4 * m; }
constexpr int PlatformSingle(int m) { return 227 + 4 * m; }

// Deadly tiles.
constexpr int Spikes = 304;      // spikes pointing up, on a floor
constexpr int SpikesDown = 305;  // spikes hanging from a ceiling
constexpr int Fire = 306;
constexpr int Water = 307;       // deep water surface
constexpr int Lava = 308;
constexpr int Acid = 309;        // green bubbling liquid
constexpr int Sparks = 310;      // electric sparks
constexpr int Saw = 311;         // spinning saw blade
constexpr int Thorns = 312;      // thorn bush
constexpr int Laser = 313;       // red laser beam across a cell

// Decoration, drawn behind the heroes; the walls behind a room are the dark backdrops.
constexpr int BackBrick = 352;   // dark brick wall behind
constexpr int BackStone = 353;
constexpr int BackWood = 354;
constexpr int BackMetal = 355;
constexpr int BackCave = 356;
constexpr int BackTech = 357;
constexpr int BackStars = 358;   // night sky with stars
constexpr int BackWater = 359;   // deep water behind
constexpr int Window = 360;
constexpr int Lamp = 361;
constexpr int Chain = 362;
constexpr int Vine = 363;
constexpr int Cobweb = 364;
constexpr int Barrel = 365;
constexpr int Crate = 366;
constexpr int Torch = 367;
constexpr int Bars = 368;        // jail bars
constexpr int Bush = 369;
constexpr int Flower = 370;
constexpr int Cactus = 371;
constexpr int PalmTrunk = 372;
constexpr int PalmLeaves = 373;
constexpr int Bottles = 374;     // a shelf of bottles
constexpr int Telly = 375;       // a television
constexpr int Computer = 376;
constexpr int Sign = 377;
constexpr int Skull = 378;
constexpr int Mushroom = 379;
constexpr int Coins = 380;       // a pile of coins
constexpr int Machine = 381;     // humming machinery
constexpr int Beaker = 382;
constexpr int Star = 383;        // a bright star
constexpr int Planet = 384;
constexpr int Rocket = 385;      // part of a rocket
constexpr int Grass = 386;       // grass tufts on a floor
constexpr int Fence = 387;
constexpr int Curtain = 388;
constexpr int Poster = 389;
constexpr int Pipes = 390;       // pipes running behind
constexpr int Moon = 391;
constexpr int BackCastle = 392;
constexpr int BackSand = 393;    // dunes far behind
constexpr int BackLeaves = 394;  // forest behind
constexpr int BackSky = 395;     // pale day sky with a cloud
constexpr int Candle = 396;
constexpr int Bones = 397;
constexpr int Shell = 398;       // sea shell on a beach
constexpr int Flag = 399;

// Belts: the middle piece of a belt; the ends are the value before and after it.
constexpr int BeltLeft = 401;   // 400 left end, 401 middle, 402 right end
constexpr int BeltRight = 417;  // 416 left end, 417 middle, 418 right end

}  // namespace tile
