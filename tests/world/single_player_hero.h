// The set-up both the world tests and the world-content tests start from: one hero in single
// play, with plain pictures, the movement tables and a clean game record.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics.h"
#include "platform/input.h"
#include "world/records.h"
#include "world/static_data.h"

// A picture of equal frames, each opaque inside the box (x0, y0)..(x1, y1) and clear elsewhere.
inline Image BoxImage(int width, int height, int frames, int x0, int y0, int x1, int y1) {
  Image image = CreateImage(width, height, frames);
  std::vector<uint32_t> pixels(size_t(width) * height, 0);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) pixels[size_t(y) * width + x] = 0xFFFFFFFFu;
  for (int f = 0; f < frames; ++f) WriteImagePixels(image, f, pixels.data());
  return image;
}
inline Image FullImage(int width, int height, int frames) {
  return BoxImage(width, height, frames, 0, 0, width - 1, height - 1);
}

// Slot 0 becomes a fresh hero (sprite of Skins[0], handle at its top-left corner, off the
// stairs); every other slot is cleared, and the game record starts anew in single play.
inline void ResetToSinglePlayerHero() {
  ReadPlayerColours();
  ReadMovementTables();
  FlushKeys();
  Game = GameVars{};
  Game.singlePlayer = 1;
  Hosting = 0;
  HostMode = 0;
  MySlot = 0;
  SfxOn = 0;
  PlayReady = 0;
  for (PlayerType& p : Players) {
    if (p.sprite) p.sprite->Remove();
    p = PlayerType{};
  }
  Players[0].sprite = sprite::Create(Skins[0], 0, 0);
  Players[0].sprite->ResetHandle();
  Players[0].name = "  HERO  ";
  Players[0].stairKind = 6;
}
