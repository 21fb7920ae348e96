// Team and score rules: wins, the game administrator, freeing a slot, team tables and colours.
#include "world/team_rules.h"

#include "platform/clock.h"
#include "world/dedicated.h"
#include "world/records.h"
#include "net/envelope.h"
#include "net/host_rules.h"
#include "net/messages.h"

namespace {
constexpr int TeamModesFrom = 60;
constexpr int FreeSlotPosition = 999;

bool Named(int slot) { return !Slots[slot].name.empty(); }
}  // namespace

void AnnouncePlayerWin(int slot) {
  // Alone there is nobody to tell and nothing to win.
  if (!ValidSlot(slot) || (Game.singlePlayer && !Dedicated)) return;
  int mode = (Hosting || Dedicated) ? HostMode : Game.gameMode;
  if (mode < TeamModesFrom) {
    AnnounceWinner(Players[slot].name);
  } else if (Players[slot].team == TeamBlue) {
    AnnounceWinner("** BLUE WIN **");
  } else if (Players[slot].team == TeamRed) {
    AnnounceWinner("** RED WIN **");
  }
}

void AppointAdmin(int slot) {
  if constexpr (!Dedicated) {
    (void)slot;  // a hosting client keeps the chooser itself
  } else {
    AdminSlot = -1;
    if (slot == -1) {
      for (int s = 0; s < MaxPlayers; ++s) {
        if (!Named(s)) continue;
        slot = s;
        break;
      }
    }
    if (!ValidSlot(slot) || !Named(slot)) return;
    AdminSlot = slot;
    WriteMessage(MsgAdmin{.slot = slot});
    NetSend(slot);
  }
}

void ClearPlayerSlot(int slot) {
  if (!ValidSlot(slot)) return;
  PlayersDetails& d = Slots[slot];
  d.netId = -1;
  d.name = "";
  d.room = LoungeRoom;
  d.tagged = 0;
  d.x = FreeSlotPosition;
  d.y = FreeSlotPosition;
  d.following = NoPlayer;
  d.percent = 0;
  d.lastSeen = MilliSecs();
  d.ping = 0;
  // The team goes with the player: whoever is given the slot next starts in none.
  d.team = TeamNone;
  PlayerType& p = Players[slot];
  if (Hosting && !Dedicated && p.sprite) p.sprite->Hide();
  p.name = "";
  p.room = LoungeRoom;
  p.following = NoPlayer;
  p.team = TeamNone;
  SetPlayerTeamColour(slot, TeamNone);
}

void AssignTeams() {
  MsgTeamTable table;
  for (int s = 0; s < MaxPlayers; ++s) {
    if (!Named(s)) continue;
    bool marked = Slots[s].tagged && Slots[s].room != LoungeRoom;
    table.entries.push_back({.slot = s, .team = marked ? TeamTagged : Slots[s].team});
    if (Hosting && !Dedicated) SetPlayerTeamColour(s, marked ? TeamTagged : Players[s].team);
  }
  if (table.entries.empty()) return;
  WriteMessage(table);
  NetSend(-1);
}

void SetPlayerTeamColour(int slot, int code) {
  if (!ValidSlot(slot)) return;
  int r, g, b;
  switch (code) {
    case TeamNone: r = PlayerColourR[slot], g = PlayerColourG[slot], b = PlayerColourB[slot]; break;
    case TeamRed: r = 255, g = 0, b = 0; break;
    case TeamBlue: r = 192, g = 192, b = 255; break;
    case TeamTagged: r = 255, g = 192, b = 255; break;
    default: return;
  }
  PlayerType& p = Players[slot];
  p.colourR = r;
  p.colourG = g;
  p.colourB = b;
  if (!Dedicated && p.sprite) p.sprite->SetColour(r, g, b);
}

void SendMyTeam() {
  if (!ValidSlot(MySlot)) return;
  WriteMessage(MsgMyTeam{.slot = MySlot, .team = Players[MySlot].team});
  NetSend(-1);
}
