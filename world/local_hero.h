// The local player's record and sprite, for the rules that act on the own hero only.
#pragma once

#include "world/records.h"

// The own record when this machine has a player with a sprite; null on the server (MySlot 255)
// or before the player's sprite exists.
inline PlayerType* LocalHero() {
  if (!ValidSlot(MySlot) || !Players[MySlot].sprite) return nullptr;
  return &Players[MySlot];
}

// y mod 16 of a sprite coordinate is taken on the integer part: positions stay on whole pixels.
inline int RowOffset(float y) { return static_cast<int>(y) % 16; }
