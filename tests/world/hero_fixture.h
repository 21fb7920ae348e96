// A small single-player game for the tests of the hero's rules: test pictures, the hero's
// sprite, a world built in the test, and world steps driven one at a time.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "tests/world/single_player_hero.h"
#include "tests/world/test_rooms.h"
#include "world/enemies.h"
#include "world/enter_room.h"
#include "world/exits_death.h"
#include "world/pickups.h"
#include "world/records.h"
#include "world/rope.h"
#include "world/static_data.h"
#include "world/world_step.h"

// The rope step tables as "pictures/rope.bin" holds them.
inline void FillRopeTable() {
  RopeTable = CreateBank(256);
  auto h = [](int k, int v) { PokeByte(RopeTable, k, v); };
  auto v = [](int k, int value) { PokeByte(RopeTable, 128 + k, value); };
  for (int k = 32; k <= 43; ++k) h(k, 1);
  for (int k = 44; k <= 65; ++k) h(k, 2);
  const int tail[] = {1, 2, 2, 1, 1, 2, 1, 1, 2, 2, 3, 2, 3, 2, 3, 3, 3, 3, 3, 3};  // entries 66..85
  for (int i = 0; i < 20; ++i) h(66 + i, tail[i]);
  for (int k = 0; k <= 47; ++k) v(k, 6);
  const int vtail[] = {4, 6, 6, 4, 6, 4, 6, 4, 6, 4, 4, 4, 6};  // entries 48..60
  for (int i = 0; i < 13; ++i) v(48 + i, vtail[i]);
  for (int k = 61; k <= 85; ++k) v(k, 4);
}

class HeroTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The hero: 16 x 32 and opaque all over. Enemies: 32 x 32 frames opaque only in their
    // middle 16 x 16, except the carrier and arrow frames (280..287), opaque all over.
    Skins[0] = FullImage(16, 32, 4);
    Enemy32Image = BoxImage(32, 32, 288, 8, 8, 23, 23);
    std::vector<uint32_t> opaque(32 * 32, 0xFFFFFFFFu);
    for (int f = 280; f < 288; ++f) WriteImagePixels(Enemy32Image, f, opaque.data());
    Enemy64Image = FullImage(64, 64, 4);
    Enemy32x64Image = FullImage(32, 64, 4);
    DoorImage = FullImage(32, 32, 4);
    PickupImage = FullImage(16, 16, 100);
    GoldenImage = FullImage(10, 16, 4);
    FlagBlueImage = FullImage(32, 32, 7);
    FlagRedImage = FullImage(32, 32, 7);
    RopeImage = FullImage(4, 4, 1);
    TilesImage = FullImage(16, 16, 528);
  }

  void SetUp() override {
    FillRopeTable();
    ResetToSinglePlayerHero();
  }

  void TearDown() override {
    FlushKeys();
    ClearRoomSprites();
    for (PlayerType& p : Players) {
      if (p.sprite) p.sprite->Remove();
      p.sprite.reset();
    }
  }

  PlayerType& hero() { return Players[0]; }
  sprite& heroSprite() { return *Players[0].sprite; }

  // Selects the world built in world_, enters room at (x, y) and saves that as the entry
  // state, as a game start does.
  void StartIn(int room, float x, float y, int mode = 0) {
    world_.SelectAsMain(1);
    Game.gameMode = static_cast<Byte>(mode);
    Game.room = room;
    heroSprite().SetPosition(x, y);
    EnterRoom();
    SaveEntryState();
    Game.fallDistance = -1;
  }

  // One world step, as the game loop runs it once enough time has passed.
  void Step() {
    LastStepTime = MilliSecs() - 1000;
    GameStep();
    if (AnimCounter >= 4) AnimCounter = 0;  // the game loop's wrap after each frame
    if (!Game.dying && !hero().falling) Game.fallDistance = -1;
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) Step();
  }

  void Hold(int key) { InjectKeyDown(key); }
  void Release(int key) { InjectKeyUp(key); }

  TestWorld world_;
};
