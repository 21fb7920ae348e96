// Times one full frame drawn headless: 512 room tiles of 16x16, 60 tinted, translucent sprites
// of 32x32 through the draw list, 80 characters of 16x16 text, then the flip.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/graphics.h"
#include "world/sprite.h"

namespace {

// An animation strip of frames with some transparent pixels, as the game's pictures have.
Image Strip(int size, int frames) {
  Image image = CreateImage(size, size, frames);
  std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
  for (int f = 0; f < frames; ++f) {
    for (int i = 0; i < size * size; ++i)
      pixels[i] = (i + f) % 5 == 0 ? 0 : 0xFF000000u | static_cast<uint32_t>(f * 2654435761u + i * 40503u);
    WriteImagePixels(image, f, pixels.data());
  }
  return image;
}

void DrawFrame(benchmark::State& state) {
  if (!Graphics(640, 480)) {
    state.SkipWithError("no video device");
    return;
  }
  Image tiles = Strip(16, 528);
  Image enemies = Strip(32, 288);
  Image font = Strip(16, 96);
  sprite::RemoveAll();
  for (int i = 0; i < 60; ++i) {
    SpriteRef s = sprite::Create(enemies, i % 3, 0);
    s->ResetHandle();
    s->SetPosition(static_cast<float>((i * 83) % 600), static_cast<float>(144 + (i * 37) % 240));
    s->SetFrame(static_cast<float>(i * 4));
    s->SetColour(static_cast<float>(255 - i * 3), static_cast<float>(100 + i), 200);
    s->SetAlpha(0.4f + i * 0.01f);
    s->mirrored = i % 2;
  }
  const std::string lines[] = {"Items collected     Time", "ROOM OF A THOUSAND DOORS", "Score 0123 Lives 9 ",
                               "Player 1 joined the game"};
  for (auto _ : state) {
    Cls();
    SetScale(1, 1);
    SetAlpha(1);
    SetBlend(BlendAlpha);
    SetRotation(0);
    SetColor(255, 255, 255);
    for (int row = 0; row < 16; ++row)
      for (int column = 0; column < 32; ++column)
        DrawImage(tiles, static_cast<float>(16 * column), static_cast<float>(144 + 16 * row), (row * 32 + column) % 528);
    sprite::DrawAll();
    int y = 405;
    for (const std::string& line : lines) {  // 4 lines of 20..24 characters: 80 drawn (spaces too)
      SetScale(1, 1);
      SetAlpha(1);
      SetBlend(BlendAlpha);
      SetRotation(0);
      SetColor(255, 255, 0);
      for (size_t i = 0; i < line.size() && i < 20; ++i)
        DrawImage(font, static_cast<float>(16 * i), static_cast<float>(y), line[i] - 32);
      y += 16;
    }
    Flip();
  }
  sprite::RemoveAll();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DrawFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  // Headless, and the flip must not wait for the display's 60 Hz.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("QXR_FAST", "1", 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
