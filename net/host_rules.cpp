// Host rule operations: room pickup lists, game resets, winners, players leaving, pickups taken.
#include "net/host_rules.h"

#include "net/chat_window.h"
#include "net/envelope.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "world/dedicated.h"
#include "world/exits_death.h"
#include "world/game_modes.h"
#include "world/pickups.h"
#include "world/records.h"
#include "world/team_rules.h"
#include "world/text_utils.h"

namespace {

constexpr int TeamCollectFirst = 60, TeamCollectLast = 69;
constexpr int TeamCollectStep = 30;  // mode 60 is won by 30 pickups of one team, 61 by 60, ...

bool HostSide() { return Hosting || Dedicated; }

void MakeEveryPickupPresent() {
  for (int i = 0; i <= LastPickup; ++i) Pickups[i].present = 1;
}

// The hosting client's own player is in slot 0 and is never told about its own doings.
bool IsOwnHostSlot(int slot) { return Hosting && !Dedicated && slot == 0; }

void FreeSlot(int slot) {
  WriteMessage(MsgLeave{slot});
  NetSend(-1);
  if (Hosting && !Dedicated) {
    if (Players[slot].sprite) Players[slot].sprite->Hide();
    if (!Players[slot].name.empty()) AddChatLine(Players[slot].name + " just left the game", 1);
  }
  ClearPlayerSlot(slot);
  if (slot == AdminSlot) AppointAdmin(-1);
  CountConnections();
}

void CountTeamPickup(int slot) {
  if (HostMode < TeamCollectFirst || HostMode > TeamCollectLast) return;
  if (Slots[slot].team == TeamBlue) BluePickupCount += 1;
  if (Slots[slot].team == TeamRed) RedPickupCount += 1;
  const int target = (HostMode - TeamCollectFirst + 1) * TeamCollectStep;
  if (BluePickupCount >= target) {
    AnnounceWinner("** BLUE WIN **");
  } else if (RedPickupCount >= target) {
    AnnounceWinner("** RED WIN **");
  }
}

}  // namespace

void WriteRoomPickups(int room) {
  if (ValidRoom(room) && FirstPickupOfRoom[room] != -1) {
    for (int i = FirstPickupOfRoom[room]; i <= LastPickup && Pickups[i].room == room; ++i) {
      if (Pickups[i].present == 1) NetWriteShort(i);
    }
  }
  NetWriteShort(PickupListEnd);
}

void RequestNewGame() {
  if (Hosting || IsAdmin) {
    WriteMessage(MsgResetGame{});
    NetSend(-1);
  }
  ResetGame();
}

void ResetGame() {
  if (Game.spectating) StopSpectating();
  RoundRunning = 0;
  HostMode = 0;
  ModeSetTime = 0;
  RoundStartTime = 0;
  BluePickupCount = 0;
  RedPickupCount = 0;
  Game.tagEventTime = 0;
  MakeEveryPickupPresent();
  if constexpr (!Dedicated) {
    if (Hosting) {
      for (int slot = 0; slot < MaxPlayers; ++slot) {
        SetPlayerTeamColour(slot, TeamNone);
        Slots[slot].tagged = 0;
        Slots[slot].team = TeamNone;
        Players[slot].team = TeamNone;
      }
      AssignTeams();
    } else if (ValidSlot(MySlot)) {
      Players[MySlot].team = TeamNone;
      SendMyTeam();
    }
    Game.inGame = 0;
    Game.bannerTitle.clear();
    Game.gameMode = 0;
    Game.roundTime = 0;
  }
  MakeEveryPickupPresent();
  Game.room = LoungeRoom;
  PlaceAtRoomStart();
}

void AnnounceWinner(const std::string& text) {
  WriteMessage(MsgWinner{text});
  NetSend(-1);
  if (!HostSide()) return;
  Game.inGame = 0;
  if (Hosting && !Dedicated) {
    const bool teamWin = text == "** BLUE WIN **" || text == "** RED WIN **";
    Game.statusText = AlignText(teamWin ? text : "Last winner was *" + text + "*", 32, "C");
    if (Game.spectating) StopSpectating();
  }
  ResetGame();
}

void PlayerLeft(int slot) {
  if (slot != -1) {
    if (!ValidSlot(slot) || IsOwnHostSlot(slot)) return;
    FreeSlot(slot);
    return;
  }
  if (CurrentPacket == nullptr) return;
  const RN_PlayerId sender = NetLib.PacketGetplayerID(CurrentPacket);
  for (int s = 0; s < MaxPlayers; ++s) {
    if (Slots[s].netId != -1 && Slots[s].netId == sender) FreeSlot(s);
  }
}

void HostPickupTaken(int room, int index, int slot) {
  if (!ValidRoom(room) || index < 0 || index > LastPickup || !ValidSlot(slot)) return;
  // A pickup reported again (two players took it in the same moment, or a repeated message)
  // counts for its team once. The hosting player's own pickups are marked taken before they
  // are reported, so they always count.
  const bool counted = Pickups[index].present == 1 || IsOwnHostSlot(slot);
  Pickups[index].present = 0;
  if (Hosting && !Dedicated && (room == Game.room || room == Game.ownRoom)) RemoveRoomPickup(index);
  for (int s = 0; s < MaxPlayers; ++s) {
    if (s == slot || IsOwnHostSlot(s) || Slots[s].name.empty()) continue;
    if (Slots[s].room != room && Slots[s].following != slot) continue;
    WriteMessage(MsgPickupForward{.room = room, .pickupIndex = index});
    NetSend(s);
  }
  if (counted) CountTeamPickup(slot);
}

void CountConnections() {
  int count = 0;
  for (const PlayersDetails& d : Slots) {
    if (d.netId != -1) ++count;
  }
  ConnectionCount = count;
}
