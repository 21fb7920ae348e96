// Pickups: the world's pickup table, the shown room's pickup and flag sprites, collecting them.
#include "world/pickups.h"

#include "platform/bank.h"
#include "world/dedicated.h"
#include "world/local_hero.h"
#include "world/team_rules.h"
#include "world/text_utils.h"
#include "net/envelope.h"
#include "net/messages.h"
#include "net/host_rules.h"
#ifndef QXR_DEDICATED
#include "client/sound_effects.h"
#endif

int RoomPickupCount = 0;
int RoomPickupsVersion = 0;

namespace {
constexpr int PickupRecordSize = 7;
constexpr int RoomListEnd = 2000;        // an index above this ends a room's pickup list
constexpr int RoomListMax = 50;          // at most this many indices are read from a list
constexpr int CaptureFlagMode = 80;
constexpr int GoldenMode = 31;
constexpr int KeepAllPresentMode = 35;
constexpr int FlagFrames = 7;
constexpr int BlueFlagCode = 2, RedFlagCode = 1;
constexpr int BlueFlagRoom = 81, RedFlagRoom = 160;

// The two flag sprites of the shown room (capture the flag), to tell them from pickups.
SpriteRef BlueFlagSprite, RedFlagSprite;

bool IsFlag(const Pickk& item) {
  return item.sprite && (item.sprite == BlueFlagSprite || item.sprite == RedFlagSprite);
}

int ShownRoomIndex() { return Game.room >= 0 && Game.room < RoomCount ? Game.room : -1; }

SpriteRef PlaceSprite(const Image& image, int frame, float x, float y) {
  SpriteRef s = sprite::Create(image, 0, 0);
  s->ResetHandle();
  s->SetFrame(frame);
  s->SetPosition(x, y);
  return s;
}

void AddFlag(int code, const Image& image, float x, float y) {
  if (code > LastPickup) return;  // a world too small to hold the flag's pickup entry
  SpriteRef s = PlaceSprite(image, 0, x, y);
  (code == BlueFlagCode ? BlueFlagSprite : RedFlagSprite) = s;
  RoomPickups.push_back(Pickk{s, code});
  Pickups[code].present = 1;
}

// One animation step of a pickup that is not being collected.
void Animate(Pickk& item) {
  sprite& s = *item.sprite;
  if (IsFlag(item)) {
    s.SetFrame(s.frame + 1 >= FlagFrames ? 0 : s.frame + 1);
  } else if (AnimTick) {
    // The four frames of the pickup's kind: three steps up, then back to the first.
    s.SetFrame(AnimCounter == 4 ? s.frame - 3 : s.frame + 1);
  }
}

bool WinsAtFirstPickup(int mode) {
  return mode == 31 || mode == 80 || mode == 33 || mode == 34 || mode == 36 || mode == 37 || mode == 81;
}

void ReportPickupTaken(int room, int index) {
  if (Hosting) {
    HostPickupTaken(room, index, 0);
    return;
  }
  WriteMessage(MsgPickupTaken{.room = room, .pickupIndex = index, .collector = MySlot});
  NetSend(-1);
}
}  // namespace

bool PickupPresent(int index) { return index >= 0 && index <= LastPickup && Pickups[index].present; }

void LoadPickups() {
  Bank file = LoadBank("incbin::" + WorldName + "_p.dat");
  for (int& first : FirstPickupOfRoom) first = -1;
  long records = static_cast<long>(BankSize(file)) / PickupRecordSize;
  if (records > MaxPickups) records = MaxPickups;  // the table holds no more
  Byte present = (Game.singlePlayer || Hosting == 1) ? 1 : 0;
  int previousRoom = -1;
  for (int i = 0; i < records; ++i) {
    long at = long(i) * PickupRecordSize;
    PickupType& p = Pickups[i];
    p.room = static_cast<Byte>(PeekByte(file, at));
    // The file is grouped by room; a room met again later keeps its first group's index.
    if (p.room != previousRoom && FirstPickupOfRoom[p.room] == -1) FirstPickupOfRoom[p.room] = i;
    previousRoom = p.room;
    p.x = PeekShort(file, at + 1);
    p.y = PeekShort(file, at + 3);
    p.kind = static_cast<Byte>(PeekShort(file, at + 5) & 255);
    p.present = present;
  }
  for (long i = records; i < MaxPickups; ++i) Pickups[i] = PickupType{};
  LastPickup = static_cast<int>(records) - 1;
}

void SpawnRoomPickups() {
  AnimCounter = 0;
  AnimTick = 0;
  AnimCountdown = 0;
  AnimPhase = 0;
  RoomPickupCount = 0;
  // A room state that arrives twice (a retried request) must not show every pickup twice.
  for (Pickk& item : RoomPickups)
    if (item.sprite) item.sprite->Remove();
  RoomPickups.clear();
  ++RoomPickupsVersion;
  BlueFlagSprite.reset();
  RedFlagSprite.reset();
  int room = ShownRoomIndex();
  if (room < 0 || FirstPickupOfRoom[room] == -1) return;
  for (int i = FirstPickupOfRoom[room]; i <= LastPickup; ++i) {
    const PickupType& p = Pickups[i];
    if (p.room != room || !p.present) continue;
    ++RoomPickupCount;
    SpriteRef s = Game.gameMode == GoldenMode ? PlaceSprite(GoldenImage, 0, p.x, p.y + PlayfieldTop)
                                              : PlaceSprite(PickupImage, p.kind * 4, p.x, p.y + PlayfieldTop);
    RoomPickups.push_back(Pickk{s, i});
  }
  if (Game.gameMode == CaptureFlagMode) {
    if (room == BlueFlagRoom) AddFlag(BlueFlagCode, FlagBlueImage, 208, 352);
    if (room == RedFlagRoom) AddFlag(RedFlagCode, FlagRedImage, 432, 256);
  }
}

void CollectPickups() {
  PlayerType* hero = LocalHero();
  // A spectator collects nothing; the pickups still animate.
  bool canTouch = hero && !Game.spectating;
  int hx = 0, hy = 0;
  if (canTouch) {
    hx = static_cast<int>(hero->sprite->x + 2);
    hy = static_cast<int>(hero->sprite->y);
  }
  for (auto it = RoomPickups.begin(); it != RoomPickups.end();) {
    Pickk& item = *it;
    if (!item.sprite || !PickupPresent(item.pickupIndex)) {
      ++it;
      continue;
    }
    bool touched = canTouch && RectsOverlap(hx, hy, 16, 32, static_cast<int>(item.sprite->x),
                                            static_cast<int>(item.sprite->y), 16, 16);
    if (!touched) {
      Animate(item);
      ++it;
      continue;
    }
    if (Game.gameMode == CaptureFlagMode && hero->team == item.pickupIndex) {
      // A team at its own flag (flag codes are the team codes) takes nothing; the rest of the
      // list waits for the next step.
      Animate(item);
      return;
    }
    int index = item.pickupIndex;
    --RoomPickupCount;
    ++hero->score;
#ifndef QXR_DEDICATED
    PlayCollectSound();
#endif
    Pickups[index].present = 0;
    item.sprite->Remove();
    if (item.sprite == BlueFlagSprite) BlueFlagSprite.reset();
    if (item.sprite == RedFlagSprite) RedFlagSprite.reset();
    it = RoomPickups.erase(it);
    if (Game.singlePlayer || Game.gameMode == KeepAllPresentMode) continue;

    int mode = Game.gameMode;
    const int version = RoomPickupsVersion;
    ReportPickupTaken(Game.room, index);
    bool won = (mode >= 1 && mode <= 9 && hero->score >= mode * 30) || WinsAtFirstPickup(mode);
    if (won) AnnouncePlayerWin(MySlot);
    // A win (or the host's bookkeeping ending the round) brings a new room and a new list.
    if (RoomPickupsVersion != version) return;
  }
}

void ReadRoomPickupList() {
  if (Game.gameMode != KeepAllPresentMode) {
    for (int n = 0; n < RoomListMax; ++n) {
      int index = NetReadShort();
      if (index > RoomListEnd || NetReadPastEnd()) break;  // the end mark, or a list cut short
      if (index < 0 || index > LastPickup) continue;  // not a pickup of this world: ignored
      Pickups[index].present = 1;
      AnimCounter = 0;
    }
  }
  SpawnRoomPickups();
}

void RemoveRoomPickup(int index) {
  for (auto it = RoomPickups.begin(); it != RoomPickups.end(); ++it) {
    if (it->pickupIndex != index) continue;
    if (it->sprite) it->sprite->Remove();
    if (!IsFlag(*it)) --RoomPickupCount;
    if (it->sprite == BlueFlagSprite) BlueFlagSprite.reset();
    if (it->sprite == RedFlagSprite) RedFlagSprite.reset();
    RoomPickups.erase(it);
    return;
  }
}

void ClearRoomPickupFlags() {
  if (Game.gameMode == KeepAllPresentMode) return;
  int room = ShownRoomIndex();
  if (room < 0 || FirstPickupOfRoom[room] == -1) return;
  for (int i = FirstPickupOfRoom[room]; i <= LastPickup && Pickups[i].room == room; ++i) Pickups[i].present = 0;
}
