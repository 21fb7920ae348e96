// Room exits, the team-room joins, the room-entry state, motion reset, dying and respawn.
#include "world/exits_death.h"

#include <cmath>

#include "platform/input.h"
#include "world/dedicated.h"
#include "world/enter_room.h"
#include "world/local_hero.h"
#include "world/movement.h"
#include "world/team_rules.h"
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/messages.h"
#ifndef QXR_DEDICATED
#include "client/sound_effects.h"
#endif

namespace {
constexpr int DeadSteps = 25;         // the hero lies dead while the count is at most this
constexpr int RespawnBlinkSteps = 100;
constexpr int EndlessLivesMode = 35;
constexpr int CaptureFlagMode = 80, TowerMode = 81;
constexpr int TeamModesFrom = 60;
constexpr int StartRoom = SinglePlayerRoom;

bool WorldMode(int mode) { return (mode >= 33 && mode <= 37) || mode == TowerMode; }

void Place(PlayerType& hero, float x, float y) { hero.sprite->SetPosition(x, y); }

// Leaving the team room at the right edge joins blue, at the left edge red; the hero then
// starts in the mode's first room for its team.
void JoinTeam(PlayerType& hero, int team) {
  if (team == TeamBlue)
    WriteMessage(MsgJoinBlue{.slot = MySlot});
  else
    WriteMessage(MsgJoinRed{.slot = MySlot});
  NetSend(-1);
  ResetPlayerMotion();
  int mode = Game.gameMode;
  if (mode == CaptureFlagMode) {
    if (team == TeamBlue) {
      Game.room = 81;
      Place(hero, StartPlaceX(MySlot, 336), 256);
    } else {
      Game.room = 160;
      Place(hero, StartPlaceX(MySlot, 300), 160);
    }
  } else {
    Game.room = StartRoom;
    Place(hero, StartPlaceX(MySlot, 32), 352);
    if (mode == TowerMode) {
      Game.room = 1;
      Place(hero, team == TeamBlue ? 480 : 32, 352);
    }
  }
  EnterRoom();
  SetPlayerTeamColour(MySlot, team);
  hero.team = team;
  if (Hosting) Slots[0].team = team;
  SaveEntryState();
}

void SideStep(PlayerType& hero) {
  if (hero.walkDir == 2) hero.sprite->x += 16;
  if (hero.walkDir == 1) hero.sprite->x -= 16;
}
}  // namespace

void RoomExitCheck() {
  PlayerType* hero = LocalHero();
  // A dying hero lies where it fell; it does not leave the room.
  if (!hero || Game.dying) return;
  sprite& s = *hero->sprite;
  bool teamRoomOpen = Game.room == TeamRoom && Game.gameMode >= TeamModesFrom;
  if (s.y < 148) {
    if (RoomExits[0] == 0) return;
    int m = static_cast<int>(std::fmod(s.y, 16.0f));
    Game.room = RoomExits[0];
    EnterRoom();
    s.y = hero->jumping ? 368 - (16 - m) : 352;
    SideStep(*hero);
    SaveEntryState();
  } else if (s.x > 494 && hero->walkDir == 2) {
    if (RoomExits[1] == 0) return;
    if (teamRoomOpen) {
      JoinTeam(*hero, TeamBlue);
      return;
    }
    Game.room = RoomExits[1];
    EnterRoom();
    s.x = 8;
    if (hero->onStairs) s.y += hero->stairKind == CellStairsRight ? -8 : 8;
    SaveEntryState();
  } else if (s.y > 369) {
    if (RoomExits[2] == 0) return;
    Game.room = RoomExits[2];
    EnterRoom();
    s.y = 148;
    hero->jumping = 0;
    SideStep(*hero);
    SaveEntryState();
  } else if (s.x <= 4 && hero->walkDir == 1) {
    if (RoomExits[3] == 0) return;
    if (teamRoomOpen) {
      JoinTeam(*hero, TeamRed);
      return;
    }
    Game.room = RoomExits[3];
    EnterRoom();
    s.x = 492;
    if (hero->onStairs) {
      SnapToGrid();
      s.y += hero->stairKind == CellStairsLeft ? -8 : 8;
    }
    SaveEntryState();
  }
}

void SaveEntryState() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  SnapToGrid();
  const sprite& s = *hero->sprite;
  Game.entryAlign = JumpPhase;
  Game.entryX = static_cast<int>(s.x);
  Game.entryY = static_cast<int>(s.y);
  Game.entryMirrored = s.mirrored;
  Game.entryJumping = hero->jumping;
  Game.entryJumpStep = static_cast<int>(hero->jumpStep);
  Game.entryWalkDir = hero->walkDir;
  if (PlayReady) SendPlayerState(1);
}

void RestoreEntryState() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  ResetPlayerMotion();
  sprite& s = *hero->sprite;
  JumpPhase = Game.entryAlign;
  s.SetPosition(Game.entryX, Game.entryY);
  hero->jumping = Game.entryJumping;
  s.mirrored = Game.entryMirrored;
  hero->jumpStep = Game.entryJumpStep;
  hero->walkDir = Game.entryWalkDir;
  SnapToGrid();
}

void ResetPlayerMotion() {
  Game.dying = 0;
  Game.respawnBlink = 0;
  PlayerType* hero = LocalHero();
  if (hero) {
    hero->riding = 0;
    hero->carrier.reset();
    hero->onRope = hero->onConveyor = hero->onStairs = hero->jumping = 0;
    hero->stairKind = 6;
    hero->jumpStep = 0;
    hero->falling = 0;
    hero->sprite->mirrored = Game.entryMirrored;
    hero->walkDir = 0;
  }
#ifndef QXR_DEDICATED
  if (SfxOn) FallSoundRate = 1.0f;
#endif
  FlushKeys();
}

void DyingStep() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  if (++Game.dyingSteps <= DeadSteps) return;
  Game.dyingSteps = 0;
  int mode = Game.gameMode;
  if (mode != EndlessLivesMode) --hero->lives;  // a byte: the last life lost wraps to 255
  if (hero->lives == 255) {
    hero->lives = 9;
    if (WorldMode(mode)) {
      Game.room = 1;
    } else if (mode == CaptureFlagMode) {
      if (hero->team == TeamRed) {
        Game.room = 160;
        Place(*hero, StartPlaceX(MySlot, 300), 160);
      }
    } else {
      Game.room = StartRoom;
    }
    Moved = 1;
    PlaceAtRoomStart();
  } else {
    RestoreEntryState();
  }
  Game.respawnBlink = RespawnBlinkSteps;
}

int StartPlaceX(int slot, int firstX) {
  constexpr int LastPlaceX = 480, PlaceWidth = 32;
  const int places = (LastPlaceX - firstX) / PlaceWidth + 1;
  if (places <= 0 || slot < 0) return firstX;
  if (slot < places) return firstX + PlaceWidth * slot;
  return firstX + PlaceWidth / 2 + PlaceWidth * ((slot - places) % places);
}

void PlaceAtRoomStart() {
  if constexpr (Dedicated) return;
  EnterRoom();
  ResetPlayerMotion();
  PlayerType* hero = LocalHero();
  if (!hero) return;
  float x = StartPlaceX(MySlot, 32), y = 352;
  if (Game.room == 1) {
    switch (Game.gameMode) {
      case 33: x = 32, y = 224; break;
      case 35: x = 32, y = 352; break;
      case 37: x = 32, y = 336; break;
      case TowerMode:
        if (hero->team == TeamRed) x = 32, y = 352;
        else if (hero->team == TeamBlue) x = 480, y = 352;
        else x = hero->sprite->x, y = hero->sprite->y;
        break;
      default: break;
    }
  }
  Place(*hero, x, y);
  SaveEntryState();
}
