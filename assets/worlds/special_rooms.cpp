// The hand-made rooms. Their frames (walls, floor, side doors) are drawn before them; they keep
// the floor row free for heroes placed along it and leave the door columns alone.
#include "assets/worlds/special_rooms.h"

namespace {
using namespace tile;

// Zigzag rungs every two rows from row top down to row 13, alternating between two spans.
void Rungs(RoomCanvas& cv, int top, int a0, int a1, int b0, int b1, int material) {
  bool first = true;
  for (int r = top; r <= 13; r += 2, first = !first) cv.Platform(r, first ? a0 : b0, first ? a1 : b1, material);
}

void FloorDecor(RoomCanvas& cv, int row, std::initializer_list<std::pair<int, int>> items) {
  for (const auto& [column, value] : items) cv.Set(column, row, value);
}
}  // namespace

void DrawStartRoom(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  int m = b.Look().platform;
  // The house on the left: walls and windows behind the heroes, a roof to climb on.
  cv.Fill(2, 8, 11, 14, BackWood);
  for (int c : {3, 6, 9}) cv.Set(c, 10, Window);
  cv.Set(6, 13, Curtain);
  cv.Platform(7, 1, 12, Wood);
  cv.Set(4, 6, SolidFill(Brick));
  cv.Set(4, 5, SolidTop(Brick));
  // A garden of platforms up to the roof.
  cv.Platform(13, 14, 17, m);
  cv.Platform(11, 16, 19, m);
  cv.Platform(9, 12, 15, m);
  cv.Platform(12, 23, 27, m);
  cv.Platform(10, 26, 29, m);
  FloorDecor(cv, 14, {{13, Flower}, {18, Bush}, {21, Flower}, {22, Fence}, {23, Fence}, {28, Bush}});
  FloorDecor(cv, 6, {{8, Flower}, {10, Flag}});
  b.Reserve(1, 1, 30, 15);
}

void DrawArena(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  int m = b.Look().platform;
  cv.Platform(13, 3, 8, m);
  cv.Platform(13, 23, 28, m);
  cv.Platform(11, 7, 12, m);
  cv.Platform(11, 19, 24, m);
  cv.Platform(9, 11, 20, m);
  cv.Platform(7, 3, 8, m);
  cv.Platform(7, 23, 28, m);
  cv.Platform(5, 13, 18, m);
  FloorDecor(cv, 14, {{10, Fence}, {15, Sign}, {21, Fence}});
  FloorDecor(cv, 8, {{15, Flag}});
  for (int c : {5, 26}) cv.Set(c, 3, Poster);
  b.Reserve(1, 1, 30, 15);
}

void DrawDesertIsle(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  // The sea behind, sand underfoot, water pits to jump.
  cv.Fill(1, 9, 30, 14, BackWater);
  cv.Fill(5, 15, 6, 15, Water);
  cv.Fill(23, 15, 24, 15, Water);
  // Blue's shelf on the right with rungs down to the beach.
  cv.Platform(9, 20, 30, Wood);
  cv.Platform(11, 17, 21, Wood);
  cv.Platform(13, 19, 23, Wood);
  // A palm tree beside the flag (the flag stands at columns 13 and 14).
  for (int r = 10; r <= 14; ++r) cv.Set(16, r, PalmTrunk);
  for (int c = 15; c <= 17; ++c) cv.Set(c, 9, PalmLeaves);
  FloorDecor(cv, 14, {{3, Shell}, {10, Shell}, {27, Crate}});
  cv.Set(8, 4, Star);
  b.Reserve(1, 1, 30, 15);
}

void DrawCastleRed(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  int m = b.Look().platform;
  // Red starts on the high shelf; rungs lead down on its left.
  cv.Platform(3, 17, 30, m);
  Rungs(cv, 5, 13, 17, 10, 14, m);
  // The red flag's ledge (the flag stands at columns 27 and 28).
  cv.Platform(9, 21, 30, m);
  for (int c : {4, 8, 24}) cv.Set(c, 6, Torch);
  for (int c : {20, 25}) cv.Set(c, 11, Window);
  FloorDecor(cv, 14, {{4, Barrel}, {6, Candle}, {22, Skull}});
  FloorDecor(cv, 8, {{23, Flag}});
  b.Reserve(1, 1, 30, 15);
}

void DrawCornerShop(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  cv.Fill(3, 5, 28, 14, BackWood);
  cv.Block(11, 14, 18, 14, Wood);  // the counter
  for (int r : {11, 8}) {
    cv.Platform(r, 4, 9, Wood);
    cv.Platform(r, 21, 27, Wood);
    for (int c = 4; c <= 9; c += 2) cv.Set(c, r - 1, Bottles);
    for (int c = 21; c <= 27; c += 3) cv.Set(c, r - 1, Bottles);
  }
  cv.Platform(13, 8, 10, Wood);
  cv.Platform(13, 20, 22, Wood);
  cv.Set(14, 12, Sign);
  cv.Set(15, 12, Coins);
  cv.Set(15, 5, Lamp);
  cv.Set(2, 9, Window);
  cv.Set(29, 9, Window);
  b.Reserve(1, 1, 30, 15);
}

void DrawGenerator(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  // The generator: humming machinery on a plinth, stairs up both sides.
  cv.Fill(13, 8, 18, 10, Machine);
  cv.Block(12, 11, 19, 11, Metal);
  cv.Stairs(7, 15, 4, 1, Metal);
  cv.Stairs(24, 15, 4, -1, Metal);
  cv.Fill(15, 7, 16, 7, Sparks);
  cv.Belt(15, 3, 6, 1);
  cv.Belt(15, 25, 28, -1);
  cv.Platform(8, 5, 9, Metal);
  cv.Platform(8, 22, 26, Metal);
  for (int c : {3, 28}) cv.Set(c, 4, Lamp);
  cv.Set(14, 5, Pipes), cv.Set(17, 5, Pipes);
  b.Reserve(1, 1, 30, 15);
}

void DrawMoneyBags(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  cv.Fill(2, 2, 29, 14, BackStone);
  // Piles of gold to climb, shelves of coins above.
  cv.Block(6, 14, 9, 14, Gold);
  cv.Block(14, 14, 17, 14, Gold);
  cv.Block(22, 14, 25, 14, Gold);
  for (int r = 12, i = 0; r >= 6; r -= 2, ++i) {
    cv.Platform(r, i % 2 ? 3 : 8, i % 2 ? 12 : 14, Gold);
    cv.Platform(r, i % 2 ? 19 : 17, i % 2 ? 28 : 23, Gold);
  }
  for (int c = 3; c <= 28; c += 5) cv.Set(c, 4, Coins);
  cv.Set(15, 3, Lamp);
  b.Reserve(1, 1, 30, 15);
}

void DrawRocketRoom(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  // The rocket stands in the middle on its pad, a gantry of rungs beside it.
  for (int r = 3; r <= 13; ++r) cv.Fill(15, r, 16, r, Rocket);
  cv.Fill(14, 12, 14, 13, Rocket);
  cv.Fill(17, 12, 17, 13, Rocket);
  cv.Set(15, 2, Star);
  cv.Block(13, 14, 18, 14, Metal);
  Rungs(cv, 5, 9, 13, 6, 10, Metal);
  Rungs(cv, 5, 18, 22, 21, 25, Metal);
  cv.Set(3, 6, Computer), cv.Set(4, 6, Computer);
  cv.Platform(7, 2, 5, Glass);
  cv.Set(27, 12, Machine), cv.Set(28, 12, Machine);
  b.Reserve(1, 1, 30, 15);
}

void DrawDrinkingHole(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  cv.Fill(4, 8, 22, 14, BackWood);
  cv.Block(7, 14, 17, 14, Wood);  // the bar
  for (int c = 7; c <= 17; c += 2) cv.Set(c, 11, Bottles);
  cv.Platform(12, 6, 18, Wood);
  cv.Set(12, 9, Lamp);
  cv.Fill(24, 15, 25, 15, Water);  // the drinking hole itself
  cv.Set(20, 14, Barrel), cv.Set(21, 14, Barrel);
  cv.Platform(10, 23, 27, Rock);
  cv.Platform(12, 26, 29, Rock);
  b.Reserve(1, 1, 30, 15);
}

void DrawTellyHill(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  int earth = b.Look().ground;
  // A grassy hill: stairs up to a flat top with its tellies, stairs down the far side.
  cv.Stairs(6, 15, 5, 1, earth);
  cv.Block(11, 10, 20, 14, earth);
  cv.Stairs(25, 15, 5, -1, earth);
  for (int i = 1; i < 5; ++i) {
    cv.Fill(6 + i, 15 - i, 10, 14, SolidFill(earth));
    cv.Fill(21, 15 - i, 25 - i, 14, SolidFill(earth));
  }
  for (int c : {12, 15, 18}) cv.Set(c, 9, Telly);
  cv.Set(16, 8, Pipes);
  cv.Set(16, 7, Flag);
  FloorDecor(cv, 14, {{3, Bush}, {28, Fence}});
  b.Reserve(1, 1, 30, 15);
}

void DrawParlour(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  cv.Fill(2, 2, 29, 14, BackWood);
  for (int c : {2, 3, 28, 29}) cv.Fill(c, 2, c, 12, Curtain);
  cv.Block(11, 14, 20, 14, Wood);  // the stage
  cv.Platform(11, 12, 19, Wood);
  cv.Platform(13, 5, 8, Wood);     // sofas
  cv.Platform(13, 23, 26, Wood);
  cv.Platform(9, 6, 9, Wood);
  cv.Platform(9, 22, 25, Wood);
  for (int c : {8, 15, 23}) cv.Set(c, 1, Chain);
  for (int c : {10, 21}) cv.Set(c, 13, Candle);
  cv.Set(15, 8, Poster), cv.Set(16, 8, Poster);
  b.Reserve(1, 1, 30, 15);
}

void DrawSpaceInvaders(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  // Bunkers to shelter behind and a high walkway; the invaders march above.
  for (int c : {6, 14, 22}) cv.Block(c, 13, c + 2, 14, Tech);
  cv.Platform(10, 3, 8, Tech);
  cv.Platform(10, 23, 28, Tech);
  cv.Platform(12, 10, 12, Tech);
  cv.Platform(12, 18, 20, Tech);
  for (int c : {4, 12, 20, 27}) cv.Set(c, 2, Star);
  cv.Set(16, 1, Planet);
  cv.Set(9, 1, Moon);
  b.Reserve(1, 1, 30, 15);
}

void DrawStartHall(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  int m = b.Look().platform;
  // Heroes line the floor; platforms above give the first jumps.
  cv.Platform(12, 4, 8, m);
  cv.Platform(10, 9, 13, m);
  cv.Platform(12, 18, 22, m);
  cv.Platform(10, 23, 27, m);
  for (int c = 4; c <= 27; c += 6) cv.Set(c, 5, b.Look().wallDecor.empty() ? tile::Lamp : b.Look().wallDecor[0]);
  b.Reserve(1, 1, 30, 15);
}

void DrawWalkway(RoomBuilder& b) {
  RoomCanvas& cv = b.Canvas();
  int m = b.Look().platform;
  // A dry walk along the floor; pipes and ledges above it.
  cv.Fill(1, 1, 30, 3, tile::Pipes);
  cv.Platform(12, 5, 9, m);
  cv.Platform(10, 10, 14, m);
  cv.Platform(12, 19, 23, m);
  cv.Platform(10, 24, 27, m);
  for (int c : {7, 16, 25}) cv.Set(c, 14, tile::Barrel);
  cv.Set(12, 5, tile::Vine), cv.Set(21, 6, tile::Vine);
  b.Reserve(1, 1, 30, 15);
}
