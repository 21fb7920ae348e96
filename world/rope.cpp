// The swinging rope: sprites, the swing driven by RopeTable, catching, climbing, letting go.
#include "world/rope.h"

#include <cstdlib>

#include "world/dedicated.h"
#include "world/local_hero.h"
#include "world/movement.h"
#include "world/text_utils.h"

namespace {
constexpr int RopeTableHalf = 128;
constexpr int SpawnSwingPos = 22, SpawnSwingStep = -RopeSwingStep;
constexpr int RopeGrabDelaySteps = 10;

SpriteRef MakeRopeSprite(float x, float y) {
  SpriteRef s = sprite::Create(RopeImage, 0, 0);
  s->ResetHandle();
  s->SetPosition(x, y);
  return s;
}

// The rope moves twice as fast near the vertical: a second step of the swing.
bool SwingsTwice(int pos, int step) {
  return ((step > 0 && (pos > 34 || pos < -38)) || step < 0) && (pos > 38 || pos < -34);
}
}  // namespace

int RopeHorizontalStep(int k) {
  if (k < 0 || k >= RopeTableHalf) return 0;
  return PeekByte(RopeTable, k);
}

int RopeVerticalStep(int k) {
  if (k < 0 || k >= RopeTableHalf) return 0;
  return PeekByte(RopeTable, RopeTableHalf + k);
}

void SpawnRope() {
  if (!Game.ropeRoom) return;
  RemoveRope();
  Rope.anchor = MakeRopeSprite(RopeAnchorX, RopeAnchorY);
  Rope.swingStep = SpawnSwingStep;
  Rope.swingPos = SpawnSwingPos;
  Rope.segmentCount = RopeSegments;
  Rope.swingLimit = RopeSwingLimit;
  for (SpriteRef& segment : Rope.segments) segment = MakeRopeSprite(RopeAnchorX, RopeAnchorY);
}

void RemoveRope() {
  if (Rope.anchor) Rope.anchor->Remove();
  Rope.anchor.reset();
  for (SpriteRef& segment : Rope.segments) {
    if (segment) segment->Remove();
    segment.reset();
  }
}

void UpdateRope() {
  if (Dedicated || !Game.ropeRoom) return;
  PlayerType* hero = LocalHero();
  float x = RopeAnchorX, y = RopeAnchorY;
  int bend = Rope.swingLimit - std::abs(Rope.swingPos);
  for (int i = 0; i < RopeSegments; ++i) {
    int k = i + bend;
    int dx = 2 * RopeHorizontalStep(k);
    x += Rope.swingStep > 0 ? dx : -dx;
    y += RopeVerticalStep(k);
    if (Rope.segments[i]) Rope.segments[i]->SetPosition(x, y);
    if (hero && hero->onRope && hero->ropeSegment == i) {
      hero->sprite->SetPosition(x - 10, y - 16);
      Moved = 1;
    }
  }
  Rope.swingPos += Rope.swingStep;
  if (SwingsTwice(Rope.swingPos, Rope.swingStep)) Rope.swingPos += Rope.swingStep;
  // The swing turns at its limit. Tested as "at or past the limit, moving outward" so that a
  // swing position taken from a room state that is odd or out of range still turns back.
  if ((Rope.swingPos >= Rope.swingLimit && Rope.swingStep > 0) ||
      (Rope.swingPos <= -Rope.swingLimit && Rope.swingStep < 0))
    Rope.swingStep = -Rope.swingStep;
}

void CatchRope() {
  if (!Game.ropeRoom) return;
  PlayerType* hero = LocalHero();
  if (!hero || hero->onRope) return;
  if (hero->ropeGrabDelay > 0) --hero->ropeGrabDelay;  // kept at 0 rather than counting on below it
  if (hero->ropeGrabDelay > 0) return;
  int hx = static_cast<int>(hero->sprite->x + 2), hy = static_cast<int>(hero->sprite->y);
  for (int i = RopeSegments - 1; i >= 0; --i) {
    const SpriteRef& segment = Rope.segments[i];
    if (!segment) continue;
    if (!RectsOverlap(hx, hy, 20, 24, static_cast<int>(segment->x), static_cast<int>(segment->y), 4, 4)) continue;
    hero->onRope = 1;
    hero->ropeSegment = i;
    hero->jumping = 0;
    hero->falling = 0;
    hero->onStairs = 0;
    hero->onConveyor = 0;
    hero->jumpStep = 0;
    hero->riding = 0;
    Moved = 1;
    return;
  }
}

void RopeClimbDown() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  hero->sprite->mirrored = 0;
  Game.fallDistance = -1;
  if (++hero->ropeSegment < RopeSegments) return;
  // Past the bottom segment the hero lets go.
  SnapToGrid();
  Moved = 1;
  hero->jumping = 0;
  hero->onRope = 0;
  hero->riding = 0;
  hero->ropeGrabDelay = RopeGrabDelaySteps;
}

void RopeClimbUp() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  hero->sprite->mirrored = 1;
  Game.fallDistance = -1;
  if (hero->ropeSegment > 0) --hero->ropeSegment;
}
