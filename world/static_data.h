// The client's static data list: player colours, the jump table and the jump-sound rates.
#pragma once

constexpr int StaticColourValues = 48;    // R, G, B of slots 0..15
constexpr int StaticJumpValues = 72;      // JumpTable rows 0..3, 18 steps each
constexpr int StaticJumpFactorValues = 19;
constexpr int StaticDataCount = StaticColourValues + StaticJumpValues + StaticJumpFactorValues;

// The 139 numbers in the order they are read.
extern const float StaticData[StaticDataCount];

// Fills PlayerColourR/G/B from the first 48 values.
void ReadPlayerColours();
// Fills JumpTable rows 0..3 (row 4 zero) and JumpFactor from the rest.
void ReadMovementTables();
