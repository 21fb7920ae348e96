// The local hero's movement: the keys, the walk steps, the jump arc, falling, landing, the fall death.
#include "world/movement.h"

#include <cmath>

#include "platform/input.h"
#include "world/dedicated.h"
#include "world/enemy_contact.h"
#include "world/local_hero.h"
#include "world/records.h"
#include "world/room_tiles.h"
#include "world/rope.h"
#include "world/stairs_conveyors.h"
#include "client/sound_effects.h"  // declarations only: the server build calls none of it

namespace {

sprite& HeroSprite() { return *Players[MySlot].sprite; }

// Floating-point remainder, as the positions are floats (a negative position gives a
// negative remainder, which matches none of the grid cases).
float Mod(float v, float m) { return std::fmod(v, m); }

bool IsGround(int cellClass) {
  return cellClass == CellSolid || cellClass == CellPlatform || cellClass == CellConveyorRight ||
         cellClass == CellConveyorLeft;
}

void AdvanceWalkFrame(sprite& s) {
  int frame = s.frame + 1;
  s.frame = frame >= 4 ? 0 : frame;
}

}  // namespace

void ReadMovementInput() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  PlayerType& p = *hero;
  sprite& s = HeroSprite();
  if (Game.tagEventTime != 0 || p.jumping) return;
  if (!p.onConveyor) p.walkDir = KeyDown(Key::Left) ? 1 : KeyDown(Key::Right) ? 2 : 0;
  if (p.falling) return;
  if (Game.chatEntryOpen && !KeyDown(Key::Up)) return;
  if (!KeyDown(Key::Space) && !KeyDown(Key::Up)) return;
  int above = TileAt(int(s.x), int(s.y - 16));
  if (above == CellSolid && !p.onRope && !p.riding) return;
  SnapToGrid();
  Moved = 1;
  p.jumping = 1;
  p.onRope = 0;
  p.riding = 0;
  p.ropeGrabDelay = 10;
  p.jumpStep = 0;
  float m = Mod(s.y, 16);
  JumpPhase = 0;
  if (m == 12) JumpPhase = 1;
  if (m == 8) JumpPhase = 2;
  if (m == 4) JumpPhase = 3;
}

void WalkStepLeft() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  PlayerType& p = *hero;
  if (p.onRope) {
    RopeClimbDown();
    return;
  }
  if (p.riding) {
    RideStepLeft();
    return;
  }
  sprite& s = HeroSprite();
  Moved = 1;
  if (CheckStairsLeft()) {
    s.mirrored = 0;
    s.x -= 4;
    AdvanceWalkFrame(s);
    p.walkDir = 1;
  } else if (!p.jumping) {
    p.walkDir = 0;
  }
}

void WalkStepRight() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  PlayerType& p = *hero;
  if (p.onRope) {
    RopeClimbUp();
    return;
  }
  if (p.riding) {
    RideStepRight();
    return;
  }
  sprite& s = HeroSprite();
  Moved = 1;
  if (CheckStairsRight()) {
    s.mirrored = 1;
    s.x += 4;
    Moved = 1;
    p.walkDir = 2;
    AdvanceWalkFrame(s);
  } else if (!p.jumping) {
    p.walkDir = 0;
  }
}

void JumpStep() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  PlayerType& p = *hero;
  if (!p.jumping) return;
  sprite& s = HeroSprite();
  Moved = 1;
  p.onConveyor = 0;
  p.onStairs = 0;
  p.stairKind = 6;
  int step = int(p.jumpStep);
  if (HeadBlocked() && p.jumpStep < 9) {
    p.jumpStep = JumpSteps;  // bumped the head: the jump ends here and the fall takes over
  } else if (step >= 0 && step < JumpSteps && JumpPhase >= 0 && JumpPhase < 4) {
    s.y += float(JumpTable[JumpPhase][step]);
    p.jumpStep += 1;
    Game.fallDistance = -1;
    if constexpr (!Dedicated) {
      if (SfxOn) PlaySfx(JumpSound, 1.0f, JumpFactor[int(p.jumpStep)]);
    }
    if (p.jumpStep > 9 && (FloorCollision() || (Mod(s.y, 16) == 0 && ProbeFloorBelow()))) {
      p.jumping = 0;
      p.jumpStep = 0;
      return;
    }
  } else {
    p.jumpStep = JumpSteps;  // a step or phase outside the table (a restored state): end the jump
  }
  if (p.jumpStep >= JumpSteps) {
    FloorCollision();
    p.jumping = 0;
    p.jumpStep = 0;
  }
}

void FallStep() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  PlayerType& p = *hero;
  if (p.jumping || p.riding || p.onRope) return;
  if (FloorCollision()) {
    CheckFallDeath();
    p.falling = 0;
    Game.fallDistance = -1;
    return;
  }
  if (ProbeFloorBelow()) {
    CheckFallDeath();
    Game.fallDistance = -1;
    p.walkDir = 0;
    return;
  }
  p.falling = 0;
  if (p.onStairs) return;
  if (FloorCollision()) return;
  HeroSprite().y += 4;
  Game.fallDistance += 4;
  p.onStairs = 0;
  p.stairKind = 6;
  p.walkDir = 0;
  p.falling = 1;
  Moved = 1;
}

int FloorCollision() {
  PlayerType* hero = LocalHero();
  if (!hero) return 0;
  PlayerType& p = *hero;
  p.onConveyor = 0;
  if (p.onRope) return 0;
  if (p.onStairs) {
    CheckFallDeath();
    return 1;
  }
  sprite& s = HeroSprite();
  if (Mod(s.y, 16) != 0) return 0;
  int feet = int(s.y + 32);
  int landed = 0;
  int cellClass = TileAt(int(s.x), feet);  // left foot
  if (IsGround(cellClass)) {
    landed = 1;
  } else {
    cellClass = TileAt(int(s.x + 18), feet);  // right foot
    if (IsGround(cellClass)) {
      landed = 1;
    } else if (p.jumpStep >= 16 && p.walkDir == 2) {
      // Late in a rightward jump over a gap: step onto the ground just ahead.
      cellClass = TileAt(int(s.x + 32), feet);
      if (IsGround(cellClass)) {
        WalkStepRight();
        landed = 1;
      }
    }
  }
  ApplyConveyor(cellClass);
  if (landed) CheckFallDeath();
  return landed;
}

int HeadBlocked() {
  if (!LocalHero()) return 0;
  sprite& s = HeroSprite();
  if (Mod(s.y, 16) != 0) return 0;
  int above = int(s.y - 16);
  return (TileAt(int(s.x), above) == CellSolid || TileAt(int(s.x + 16), above) == CellSolid) ? 1 : 0;
}

void CheckFallDeath() {
  if (!LocalHero()) return;
  if (Game.fallDistance == -1 || Game.fallDistance <= FallDeathDistance) return;
  // One landing runs this more than once; the death (and its sound) starts only once.
  if (Game.spectating || Game.dying) return;
  Game.dying = 1;
  if constexpr (!Dedicated) {
    if (SfxOn) PlaySfx(DieSound, -1.0f, 1.0f);
  }
}

void SnapToGrid() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  PlayerType& p = *hero;
  sprite& s = HeroSprite();
  auto snap = [](float& v) {
    float m = Mod(v, 4);
    if (m == 1) v -= 1;
    else if (m == 2) v -= 2;
    else if (m == 3) v += 1;
  };
  if (p.jumpStep == 0) snap(s.y);
  snap(s.x);
}
