// The client's static data list and the readers that fill the colour and movement tables.
#include "world/static_data.h"

#include "world/records.h"

const float StaticData[StaticDataCount] = {
    // Player colours R, G, B of slots 0..15.
    255, 255, 255,  255, 0, 0,      255, 255, 0,    0, 255, 0,
    0, 255, 255,    0, 200, 255,    255, 0, 255,    255, 128, 0,
    255, 200, 150,  0, 128, 255,    128, 200, 255,  255, 255, 255,
    128, 255, 128,  255, 170, 200,  160, 160, 160,  50, 50, 255,
    // Jump table row 0 (taken off from y = 0 mod 16): rises 40, ends where it began.
    -8, -8, -6, -6, -4, -4, -2, -2, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8,
    // Row 1 (y = 12 mod 16): ends 4 lower.
    -8, -6, -6, -6, -4, -2, -2, -2, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8,
    // Row 2 (y = 8 mod 16): ends 8 lower.
    -6, -6, -6, -4, -4, -2, -2, -2, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8,
    // Row 3 (y = 4 mod 16): ends 12 lower.
    -6, -6, -4, -4, -4, -2, -2, 0, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8,
    // Playback rate of the jump sound at each jump step.
    1, 1, 1.2f, 1.2f, 1.4f, 1.4f, 1.8f, 1.8f, 2, 2, 1.8f, 1.8f, 1.4f, 1.4f, 1.2f, 1.2f, 1, 1, 1,
};

void ReadPlayerColours() {
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    PlayerColourR[slot] = static_cast<int>(StaticData[slot * 3]);
    PlayerColourG[slot] = static_cast<int>(StaticData[slot * 3 + 1]);
    PlayerColourB[slot] = static_cast<int>(StaticData[slot * 3 + 2]);
  }
}

void ReadMovementTables() {
  const float* next = StaticData + StaticColourValues;
  for (int row = 0; row < 5; ++row)
    for (int step = 0; step < 18; ++step) JumpTable[row][step] = row < 4 ? static_cast<int>(*next++) : 0;
  for (int i = 0; i < StaticJumpFactorValues; ++i) JumpFactor[i] = *next++;
}
