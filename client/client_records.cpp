// The shared records as the client's start-up makes them: players with their colours and sprites, slots, tables.
#include "client/client_records.h"

#include "platform/bank.h"
#include "platform/clock.h"
#include "world/dedicated.h"
#include "world/records.h"
#include "world/static_data.h"

namespace {

void LoadRopeTable() {
  Bank table = LoadBank("incbin::pictures/rope.bin");
  if (!table) return;  // the zeroed table stays
  if (BankSize(table) < 256) ResizeBank(table, 256);
  RopeTable = table;
}

}  // namespace

void CreateClientRecords() {
  LoadRopeTable();
  RoomStateDeadline = MilliSecs();
  Game = GameVars();
  for (ChatMessagesType& line : ChatLines) line = ChatMessagesType();

  ReadPlayerColours();
  int now = MilliSecs();
  LastStepTime = now;
  LastSendTime = now;
  for (PlayersDetails& slot : Slots) {
    slot = PlayersDetails();
    slot.netId = -1;
    slot.room = LoungeRoom;
    slot.x = 999;
    slot.y = 999;
    slot.following = NoPlayer;
    slot.lastSeen = now;
  }
  for (int i = 0; i < MaxPlayers; ++i) {
    PlayerType& player = Players[i];
    if (player.sprite) player.sprite->Remove();
    player = PlayerType();
    player.colourR = PlayerColourR[i];
    player.colourG = PlayerColourG[i];
    player.colourB = PlayerColourB[i];
    if constexpr (Dedicated) continue;  // the server draws nobody
    player.sprite = sprite::Create(Skins[0], 0, 0);
    player.sprite->ResetHandle();
    player.sprite->SetPosition(999, 999);
    player.sprite->SetColour(static_cast<float>(player.colourR), static_cast<float>(player.colourG),
                             static_cast<float>(player.colourB));
  }
  SfxOn = 1;
}

