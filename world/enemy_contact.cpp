// Enemy sprites of the shown room: spawning, pixel-exact contact, riding, the exit door, deadly tiles.
#include "world/enemy_contact.h"

#include "platform/graphics.h"
#include "world/enemies.h"
#include "world/enter_room.h"
#include "world/exits_death.h"
#include "world/local_hero.h"
#include "world/movement.h"
#include "world/pickups.h"
#include "world/team_rules.h"
#include "world/text_utils.h"
#ifndef QXR_DEDICATED
#include "client/sound_effects.h"
#endif

namespace {
constexpr int TallKind = 70, BigKind = 71;
constexpr int WinningDoorRoom = 20;

// The picture and first frame of an enemy kind.
void KindPicture(int kind, Image& image, int& frame) {
  image = Enemy32Image;
  frame = kind * 4;
  if (kind == TallKind) {
    image = Enemy32x64Image;
    frame = 0;
  } else if (kind == BigKind) {
    image = Enemy64Image;
    frame = 0;
  } else if (kind == RiddenKind) {
    frame = 280;
  } else if (kind == ArrowKindI || kind == ArrowKindJ) {
    frame = 284;
  } else if (kind == DoorKind) {
    image = DoorImage;
    frame = 0;
  }
}

void StartDying() {
  Game.dying = 1;
#ifndef QXR_DEDICATED
  if (SfxOn) PlaySfx(DieSound, -1.0f, 1.0f);
#endif
}

bool Touches(const sprite& hero, const sprite& enemy) {
  return ImagesCollide(Skins[0], static_cast<int>(hero.x), static_cast<int>(hero.y), hero.frame, enemy.image,
                       static_cast<int>(enemy.x), static_cast<int>(enemy.y), enemy.frame);
}

// Where the door of a room puts the hero in the next one.
void DoorArrival(int room, float& x, float& y) {
  x = 32;
  y = 352;
  if (room == 5) {
    y = 176;
  } else if (room == 6) {
    x = 448;
    y = 208;
  } else if (room == 13 || room == 18 || room == 20) {
    x = 480;
  }
}

// Four frames per enemy, one every stepDelayReload world steps.
void AnimateEnemy(EnemyPickk& e) {
  if (--e.stepDelay > 0) return;
  e.stepDelay = e.stepDelayReload;
  sprite& s = *e.sprite;
  if (++e.animCount == 4) {
    s.SetFrame(s.frame - 3);
    e.animCount = 0;
  } else {
    s.SetFrame(s.frame + 1);
  }
}

bool CarrierInRoom(const SpriteRef& carrier) {
  if (!carrier) return false;
  for (const EnemyPickk& e : RoomEnemies)
    if (e.sprite == carrier) return true;
  return false;
}

void EndRide(PlayerType& hero) {
  hero.riding = 0;
  hero.carrier.reset();
  SnapToGrid();
}
}  // namespace

void SpawnRoomEnemies() {
  ArrowTimer = 0;
  for (int i = 0; i <= LastEnemy; ++i) {
    const EnemyType& enemy = Enemies[i];
    if (enemy.room != Game.room) continue;
    Image image;
    int frame = 0;
    KindPicture(enemy.kind, image, frame);
    EnemyPickk e;
    e.enemyIndex = i;
    e.sprite = sprite::Create(image, 0, 0);
    e.sprite->ResetHandle();
    e.sprite->SetFrame(frame);
    e.sprite->SetPosition(enemy.x, enemy.y + PlayfieldTop);
    e.sprite->SetColour(enemy.colourR, enemy.colourG, enemy.colourB);
    e.sprite->mirrored = (enemy.facing == 3 || enemy.facing == 0) ? 1 : 0;
    e.kind = enemy.kind;
    e.moveDir = enemy.facing;
    e.stepDelayReload = e.stepDelay = enemy.speed / 2;
    e.animCount = 0;
    if (e.kind == ArrowKindI || e.kind == ArrowKindJ) {
      e.sprite->Hide();
      ArrowTimer = ArrowTimer == 0 ? ArrowPeriod : LongArrowPeriod;
    }
    RoomEnemies.push_back(e);
  }
  if (ArrowTimer == 0) ArrowTimer = ArrowPeriod;
}

void EnemyCollisions() {
  PlayerType* hero = LocalHero();
  for (auto it = RoomEnemies.begin(); it != RoomEnemies.end(); ++it) {
    EnemyPickk& e = *it;
    if (!e.sprite) continue;
    sprite& s = *e.sprite;
    if (hero && !s.hidden && !Game.spectating) {
      sprite& h = *hero->sprite;
      if (e.kind == RiddenKind) {
        // Only a hero above the carrier gets on; it never kills.
        if (Touches(h, s) && h.y + 20 < s.y) {
          hero->riding = 1;
          hero->carrier = e.sprite;
          hero->jumping = hero->falling = hero->onStairs = hero->onRope = hero->onConveyor = 0;
          hero->jumpStep = 0;
        }
      } else if (e.kind == DoorKind) {
        // The door opens once the room's pickups are all taken; a dying hero cannot use it,
        // and the last room has no next room to lead to.
        if (RoomPickupCount <= 0 && !Game.dying && Touches(h, s)) {
          if (Game.room == WinningDoorRoom) {
            AnnouncePlayerWin(MySlot);
            return;
          }
          if (ValidRoom(Game.room + 1)) {
            ++Game.room;
            EnterRoom();
            ResetPlayerMotion();
            float x, y;
            DoorArrival(Game.room, x, y);
            hero->sprite->SetPosition(x, y);
            SaveEntryState();
            return;  // the room's enemy list has been replaced
          }
        }
      } else if (Game.respawnBlink == 0 && Game.cheatMode == 0 && !Game.dying && Touches(h, s)) {
        StartDying();
        return;
      }
    }
    if (e.kind != DoorKind || RoomPickupCount == 0) AnimateEnemy(e);
  }
}

void CheckHazardTouch() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  int hx = static_cast<int>(hero->sprite->x + 2), hy = static_cast<int>(hero->sprite->y + 2);
  for (const Pickk& hazard : RoomHazards) {
    if (!hazard.sprite) continue;
    if (RectsOverlap(hx, hy, 16, 30, static_cast<int>(hazard.sprite->x), static_cast<int>(hazard.sprite->y + 4), 16,
                     12)) {
      StartDying();
      return;
    }
  }
}

void RideCarrier() {
  PlayerType* hero = LocalHero();
  if (!hero || !hero->riding) return;
  // A carrier left behind in another room carries nobody.
  if (!CarrierInRoom(hero->carrier)) {
    hero->riding = 0;
    hero->carrier.reset();
    return;
  }
  hero->sprite->y = hero->carrier->y - 32;
  Moved = 1;
}

void RideStepLeft() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  sprite& s = *hero->sprite;
  s.mirrored = 0;
  s.x -= 4;
  s.SetFrame(s.frame + 1 >= 4 ? 0 : s.frame + 1);
  Game.fallDistance = -1;
  Moved = 1;
  if (!hero->carrier || s.x < hero->carrier->x - 14) EndRide(*hero);
}

void RideStepRight() {
  PlayerType* hero = LocalHero();
  if (!hero) return;
  sprite& s = *hero->sprite;
  s.mirrored = 1;
  s.x += 4;
  s.SetFrame(s.frame + 1 >= 4 ? 0 : s.frame + 1);
  Game.fallDistance = -1;
  Moved = 1;
  if (!hero->carrier || s.x > hero->carrier->x + 32) EndRide(*hero);
}
