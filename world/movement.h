// The local hero's walking, jumping and falling on the 4-pixel grid, one step per world step.
//
// Every operation acts on Players[MySlot] and its sprite (top-left corner, feet at y + 32).
// The walk steps also cover holding the rope (climbing) and riding an enemy.
#pragma once

constexpr int FallDeathDistance = 80;     // a fall of more than this many pixels kills
constexpr int JumpSteps = 18;

void ReadMovementInput();   // walkDir from Left/Right; Space or Up starts a jump
void WalkStepLeft();
void WalkStepRight();
void JumpStep();            // one step along the jump table; head bump and landing
void FallStep();            // 4 pixels down unless ground or a slope is under the feet
int FloorCollision();       // 1 when the hero stands on ground (also takes over belts)
int HeadBlocked();          // 1 when a solid cell is right above the head (on a row only)
void CheckFallDeath();      // starts dying after a fall of more than 80 pixels
void SnapToGrid();          // aligns the position to the 4-pixel grid
