// The real game's world step over the embedded main world, for checking the worlds against the
// game itself: plain pictures, one hero in single play, keys held step by step.
#pragma once

#include <vector>

#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "tests/world/single_player_hero.h"
#include "world/enter_room.h"
#include "world/exits_death.h"
#include "world/records.h"
#include "world/static_data.h"
#include "world/world_files.h"
#include "world/world_step.h"

namespace worldgame {

// Pictures for every sprite a room makes, and the movement tables.
inline void Prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  Skins[0] = FullImage(20, 32, 4);
  Enemy32Image = FullImage(32, 32, 288);
  Enemy64Image = FullImage(64, 64, 4);
  Enemy32x64Image = FullImage(32, 64, 4);
  DoorImage = FullImage(32, 32, 4);
  PickupImage = FullImage(16, 16, 100);
  GoldenImage = FullImage(10, 16, 4);
  FlagBlueImage = FullImage(32, 32, 7);
  FlagRedImage = FullImage(32, 32, 7);
  RopeImage = FullImage(4, 4, 1);
  TilesImage = FullImage(16, 16, 528);
  RopeTable = CreateBank(256);
}

// A fresh single-player hero in the main world, standing at (x, y) of room; enemies do not
// kill (only the movement is compared).
inline void StartIn(int room, float x, float y) {
  Prepare();
  ResetToSinglePlayerHero();
  Game.cheatMode = 1;
  WorldName = "";
  SelectWorld(1);
  Game.room = room;
  EnterRoom();
  Players[0].sprite->SetPosition(x, y);
  SaveEntryState();
  Game.fallDistance = -1;
}

// One world step with the keys held, as the game loop runs it.
inline void Step(bool left, bool right, bool jump) {
  for (int key : {Key::Left, Key::Right, Key::Space}) InjectKeyUp(key);
  if (left) InjectKeyDown(Key::Left);
  if (right) InjectKeyDown(Key::Right);
  if (jump) InjectKeyDown(Key::Space);
  LastStepTime = MilliSecs() - 1000;
  GameStep();
  if (AnimCounter >= 4) AnimCounter = 0;
  if (!Game.dying && !Players[0].falling) Game.fallDistance = -1;
}

inline void Finish() {
  for (int key : {Key::Left, Key::Right, Key::Space}) InjectKeyUp(key);
  FlushKeys();
  ClearRoomSprites();
}

}  // namespace worldgame
