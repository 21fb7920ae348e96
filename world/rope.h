// The swinging rope of rope rooms: its sprites, its swing from RopeTable, catching and climbing.
//
// Every operation does nothing unless Game.ropeRoom is set.
#pragma once

constexpr int RopeSegments = 32;
constexpr int RopeAnchorX = 256, RopeAnchorY = 144;
// The swing position moves by RopeSwingStep (or twice that) a step, one way or the other,
// and turns at RopeSwingLimit either side.
constexpr int RopeSwingLimit = 54, RopeSwingStep = 2;

// Entries of RopeTable: horizontal steps (bytes 0..127) and vertical steps (128..255).
// Indices outside 0..127 give 0, so a swing position from the network cannot read outside.
int RopeHorizontalStep(int k);
int RopeVerticalStep(int k);

void SpawnRope();        // anchor and 32 segments; swing position 22, step -2, limit 54
void RemoveRope();       // removes the anchor and segment sprites (when there are any)
void UpdateRope();       // places the segments (and a hero holding on), advances the swing
void CatchRope();        // grabs the rope when the hero touches a segment and may catch it

// The walk steps while holding the rope: Left climbs down (past the bottom the hero lets go),
// Right climbs up (not past the top).
void RopeClimbDown();
void RopeClimbUp();
