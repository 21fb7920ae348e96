// The world step: run from the game loop every frame, it acts only after more than Game.stepMs.
#include "world/world_step.h"

#include "platform/clock.h"
#include "platform/input.h"
#include "world/dedicated.h"
#include "world/enemies.h"
#include "world/enemy_contact.h"
#include "world/exits_death.h"
#include "world/game_modes.h"
#include "world/movement.h"
#include "world/pickups.h"
#include "world/records.h"
#include "world/rope.h"
#include "client/bitmap_text.h"  // declarations only: the server build calls none of it
#include "net/dispatcher.h"

namespace {

constexpr int KeyS = Key::A + ('S' - 'A');

// States sent while moving go unreliably and may be lost (on a lossy link, or dropped by a sender
// that thinks the link busy): once the hero stands still its place goes once more, reliably, or
// the others would show it where the last state that arrived left it until it moves again.
bool StandingStateOwed = false;
constexpr int TagBannerMs = 5000;
constexpr int BulldogBannerMs = 10000;

// The S key starts and stops following another player; Down and Up pick the next or the
// previous one. Their hits are taken every step, so an S typed into the chat line, or an Up
// pressed to jump, never counts later as a spectating key.
void SpectatingKeys() {
  int sHit = KeyHit(KeyS);
  int downHit = KeyHit(Key::Down);
  int upHit = KeyHit(Key::Up);
  PlayerType& p = Players[MySlot];
  if (!Game.chatEntryOpen && sHit && !Game.singlePlayer) {
    if (Game.spectating) {
      StopSpectating();
    } else if (Game.room != BriefingRoom && Game.room != TeamRoom && !p.onRope && !Game.dying &&
               !p.jumping && !p.falling) {
      Game.viewedPlayer = MySlot;
      Game.ownRoom = Game.room;
      SpectateNext();
    }
  }
  if (Game.spectating) {
    if (downHit) SpectateNext();
    if (upHit) SpectatePrevious();
  }
}

}  // namespace

void RespawnBlinkStep() {
  if (Game.respawnBlink == 0) return;
  Game.respawnBlink -= 1;
  const SpriteRef& hero = Players[MySlot].sprite;
  if (!hero) return;
  if (Game.respawnBlink % 5 > 3) hero->Show();
  else hero->Hide();
  if (Game.respawnBlink == 0) hero->Show();
}

void AdvanceAnimationClock() {
  AnimTick = 0;
  AnimCountdown -= 1;
  if (AnimCountdown > 0) return;
  AnimCountdown = 5;
  AnimTick = 1;
  AnimCounter += 1;
  AnimPhase += 1;
  if (AnimPhase >= 4) AnimPhase = 0;
}

void TagBannerStep() {
  if (Game.tagEventTime == 0) return;
  int shown = MsSince(Game.tagEventTime, MilliSecs());
  if (Game.gameMode == 32) {
    if (shown > BulldogBannerMs) {
      Game.tagEventTime = 0;
      return;
    }
    if constexpr (!Dedicated) {
      std::string name = ValidSlot(TagTargetSlot) ? Players[TagTargetSlot].name : std::string();
      DrawBigText("FIRST TO TAG " + name, 90, 272, 0, Rand(192, 255), 0);
    }
    return;
  }
  if (shown > TagBannerMs) {
    Game.tagEventTime = 0;
    return;
  }
  if constexpr (!Dedicated) {
    if (Game.gameMode == 30) DrawBigText("!!!! YOU ARE IT !!!!", 90, 272, 0, Rand(192, 255), 0);
  }
}

void MoveLocalPlayer() {
  PlayerType& p = Players[MySlot];
  if (Game.respawnBlink == 0) p.sprite->Show();
  if (Game.awaitingRoomState) return;
  ReadMovementInput();
  if (!p.falling) {
    if (p.walkDir == 2) WalkStepRight();
    if (p.walkDir == 1) WalkStepLeft();
  }
  JumpStep();
  CatchRope();
  FallStep();
  CheckHazardTouch();
  RoomExitCheck();
}

void GameStep() {
  if constexpr (Dedicated) {
    return;  // the server moves nobody
  } else {
    if (MsSince(LastStepTime, MilliSecs()) <= Game.stepMs) return;
    if (!ValidSlot(MySlot) || !Players[MySlot].sprite) return;
    RespawnBlinkStep();
    AdvanceAnimationClock();
    if (Game.dying) {
      DyingStep();
    } else {
      TagBannerStep();
      SpectatingKeys();
      if (!Game.spectating) MoveLocalPlayer();
    }
    if (!Game.awaitingRoomState) {
      CollectPickups();
      EnemyCollisions();
      UpdateRoomEnemies();
      UpdateRope();
      RideCarrier();
    }
    if (!Game.dying && !Game.singlePlayer && MsSince(LastSendTime, MilliSecs()) > Game.sendIntervalMs) {
      if (Moved) {
        SendPlayerState(0);
        StandingStateOwed = true;
      } else if (StandingStateOwed) {
        SendPlayerState(1);
        StandingStateOwed = false;
      }
    }
    LastStepTime = MilliSecs();
  }
}
