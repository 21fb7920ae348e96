// Benchmarks of the room's drawing and of one world step with the hero walking and jumping.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/graphics.h"
#include "tests/world/test_rooms.h"
#include "world/movement.h"
#include "world/room_tiles.h"

namespace {

// A busy room: solid walls and floor, platforms, stairs, belts, decoration in every cell.
void LoadBusyRoom(TestWorld& world, int room) {
  for (int row = 0; row < 16; ++row)
    for (int column = 0; column < 32; ++column) world.SetTile(room, column, row, 352 + (row * 32 + column) % 48);
  world.FillRow(room, 15, 5);
  world.FillColumn(room, 0, 7, 0, 14);
  world.FillColumn(room, 31, 7, 0, 14);
  world.FillRow(room, 10, TestPlatform, 4, 12);
  world.FillRow(room, 12, TestBeltLeft, 16, 24);
  world.SetTile(room, 27, 14, TestStairsRight);
  world.SelectAsMain();
}

void BM_DrawRoom(benchmark::State& state) {
  Graphics(640, 480);
  TilesImage = CreateImage(16, 16, 528);
  std::vector<uint32_t> pixels(256, 0xFF808080u);
  for (int frame = 1; frame < 528; ++frame) WriteImagePixels(TilesImage, frame, pixels.data());
  ResetWorldState();
  TestWorld world;
  LoadBusyRoom(world, 32);
  MakeHero(64, 352);
  EnterTestRoom(32);
  for (auto _ : state) {
    DrawRoom();
    AnimPhase = (AnimPhase + 1) % 4;
  }
  TilesImage = Image();
}
BENCHMARK(BM_DrawRoom);

void BM_WorldStepWalkingAndJumping(benchmark::State& state) {
  ResetWorldState();
  TestWorld world;
  LoadBusyRoom(world, 32);
  MakeHero(64, 352);
  EnterTestRoom(32);
  int steps = 0;
  for (auto _ : state) {
    // Walk right for a while, then left, jumping now and then.
    int phase = steps++ % 160;
    FlushKeys();
    InjectKeyDown(phase < 80 ? Key::Right : Key::Left);
    if (phase % 40 == 0) InjectKeyDown(Key::Space);
    WorldStep();
  }
  FlushKeys();
}
BENCHMARK(BM_WorldStepWalkingAndJumping);

}  // namespace

BENCHMARK_MAIN();
