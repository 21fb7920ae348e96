// Entering a room: the old room's sprites go, the new room is decoded and peopled, the game
// modes' arrival rules run and, online, the room's live state is asked for.
#include "world/enter_room.h"

#include <string>

#include "platform/clock.h"
#include "world/dedicated.h"
#include "world/enemies.h"
#include "world/enemy_contact.h"
#include "world/exits_death.h"
#include "world/pickups.h"
#include "world/records.h"
#include "world/room_tiles.h"
#include "world/rope.h"
#include "world/team_rules.h"
#include "world/text_utils.h"
#include "world/world_files.h"
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/host_rules.h"
#include "net/messages.h"

int ShownRoom = 0;

namespace {

bool InLobby(int room) { return room == BriefingRoom || room == TeamRoom || room == LoungeRoom; }

void SpawnRoomHazards() {
  for (int row = 0; row < RoomRows; ++row) {
    for (int column = 0; column < RoomColumns; ++column) {
      int tile = TileGrid[column][row];
      if (!IsHazardTile(tile)) continue;
      Pickk hazard;
      hazard.sprite = sprite::Create(TilesImage, 0, 0);
      hazard.sprite->ResetHandle();
      hazard.sprite->SetFrame(float(tile));
      hazard.sprite->SetPosition(float(column * 16), float(row * 16 + PlayfieldTop));
      RoomHazards.push_back(hazard);
    }
  }
}

// The lounge gives the hero back its slot colour and a fresh team choice.
void EnterLounge() {
  PlayerType& p = Players[MySlot];
  p.team = TeamNone;
  p.colourR = PlayerColourR[MySlot];
  p.colourG = PlayerColourG[MySlot];
  p.colourB = PlayerColourB[MySlot];
  if (p.sprite) p.sprite->SetColour(float(p.colourR), float(p.colourG), float(p.colourB));
  if (Game.singlePlayer) return;
  if (Hosting) AssignTeams();
  else SendMyTeam();
}

void EnterLobbyRoom(int room) {
  ResetPlayerMotion();
  if (const SpriteRef& hero = Players[MySlot].sprite) hero->SetPosition(float(StartPlaceX(MySlot, 32)), 352);
  Moved = 1;
  if (!Hosting && !Game.singlePlayer) {
    WriteMessage(MsgGameModeRequest{MySlot});
    NetSend(-1);
  }
  // During a round the team room's side walls open, leading to the two teams' sides.
  if (room == TeamRoom && Game.inGame) {
    for (int row = 12; row <= 14; ++row) {
      for (int column : {0, RoomColumns - 1}) {
        TileGrid[column][row] = 0;
        CellGrid[column][row] = CellEmpty;
      }
    }
  }
}

int ChainTarget(int index) { return index >= 0 && index < 6 ? ChainTargets[index] : 0; }

// The arrival rules of the discovery, race and chain-race modes.
void ApplyArrivalRules(int room) {
  int mode = Game.gameMode;
  PlayerType& p = Players[MySlot];
  if (mode >= 40 && mode <= 49 && (mode - 39) * 10 <= p.percent) Game.goalReached = 1;
  if (mode >= 20 && mode <= 28 && room == RaceGoalRoom(mode)) Game.goalReached = 1;
  if (mode >= 50 && mode <= 59 && ChainTarget(Game.chainIndex) == room) {
    WriteMessage(MsgChat{std::to_string(MySlot) + ": Made it to " + RoomNames[room]});
    NetSendChat();
    Game.chainIndex += 1;
    int next = ChainTarget(Game.chainIndex);
    if (next == 0) Game.goalReached = 1;
    else if (ValidRoom(next)) AddChatLine(">>> GOTO ROOM >>>" + RoomNames[next], 1);
  }
}

void RequestRoomState(int room) {
  if (!Hosting) {
    Game.awaitingRoomState = 1;
    RoomStateWait = 1;
    WriteMessage(MsgEnterRoom{MySlot, room});
    NetSend(-1);
    return;
  }
  for (int slot = 1; slot < MaxPlayers; ++slot) {
    if (Slots[slot].name.empty() || Slots[slot].room != room) continue;
    AskForRoomState(0, room, slot);
    RoomStateAsked = 1;
    Game.awaitingRoomState = 1;
    RoomStateWait = 1;
    return;
  }
  RoomStateWait = 0;
  Game.awaitingRoomState = 0;
  SpawnRoomPickups();
}

}  // namespace

int RaceGoalRoom(int mode) {
  switch (mode) {
    case 20: return 1;
    case 21: return 81;
    case 22: return 120;
    case 23: return 255;
    case 24: return 79;
    case 25: return 133;
    case 26: return 38;
    case 27: return 159;
    case 28: return 212;
    default: return 0;
  }
}

int DiscoveryShare() {
  int visited = 0;
  for (int room = 1; room <= DiscoveryRoomCount; ++room)
    if (VisitCounts[room] != 0) ++visited;
  return int(double(visited) / DiscoveryRoomCount * 100);
}

void ClearRoomSprites() {
  for (Pickk& pickup : RoomPickups)
    if (pickup.sprite) pickup.sprite->Remove();
  RoomPickups.clear();
  ++RoomPickupsVersion;
  for (EnemyPickk& enemy : RoomEnemies)
    if (enemy.sprite) enemy.sprite->Remove();
  RoomEnemies.clear();
  for (Pickk& hazard : RoomHazards)
    if (hazard.sprite) hazard.sprite->Remove();
  RoomHazards.clear();
  RemoveRope();
  for (PlayerType& player : Players)
    if (player.sprite) player.sprite->Hide();
}

void EnterRoom() {
  if constexpr (Dedicated) {
    return;  // the server shows no room
  } else {
    // A room number from a door past 255, the network or a followed player may be anything:
    // only 1..255 name a record of the world, so any other number keeps the room shown.
    if (!ValidRoom(Game.room)) {
      Game.room = ValidRoom(ShownRoom) ? ShownRoom : SinglePlayerRoom;
      if (ValidRoom(ShownRoom)) return;
    }
    if (!ValidSlot(MySlot)) return;
    int room = Game.room;
    long base = RoomRecordBase(room);
    PlayerType& p = Players[MySlot];

    RoomStateDeadline = MsAfter(MilliSecs(), RoomStateWaitMs);
    AnimTick = AnimCountdown = AnimCounter = AnimPhase = 0;
    p.onRope = 0;
    p.ropeSegment = 0;
    ArrowCount1 = ArrowCount1Start;
    ArrowCount2 = ArrowCount2Start;
    Moved = 1;

    ClearRoomSprites();
    if (p.sprite) p.sprite->Show();
    ShownRoom = room;

    ClearCollisionMask();
    if (room == LoungeRoom) EnterLounge();

    Game.ropeRoom = 0;
    if (PeekByte(WorldBank, base + RoomRopeFlagOffset) == 'Y') {
      Game.ropeRoom = 1;
      SpawnRope();
    }

    DecodeRoomTiles(room);
    SpawnRoomHazards();
    for (int i = 0; i < 4; ++i) RoomExits[i] = Byte(PeekByte(WorldBank, base + RoomExitsOffset + i));
    std::string title(RoomNameLength, ' ');
    for (int i = 0; i < RoomNameLength; ++i) title[i] = char(PeekByte(WorldBank, base + RoomNameOffset + i));
    RoomTitle = AlignText(title, RoomNameLength, "C");

    SpawnRoomEnemies();
    Game.awaitingRoomState = 0;

    if (InLobby(room)) {
      EnterLobbyRoom(room);
      return;
    }
    if (!Game.spectating) {
      VisitCounts[room] += 1;
      p.percent = Byte(DiscoveryShare());
    }
    if (Game.singlePlayer) {
      SpawnRoomPickups();
      return;
    }
    if (!Game.spectating) ApplyArrivalRules(room);
    if (Game.goalReached == 1) {
      AnnouncePlayerWin(MySlot);
      Game.goalReached = 0;
      return;
    }
    RequestRoomState(room);
  }
}
