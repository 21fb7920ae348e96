// The joined client's handling of the host's messages about game modes, rounds, teams and winners.
#include <string>

#include "net/client_internal.h"
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/host_rules.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "platform/clock.h"
#include "world/exits_death.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/team_rules.h"
#include "world/text_utils.h"
#include "world/world_files.h"

namespace {

constexpr int TagMode = 30, ChaseMode = 32;
constexpr int TagRoom = 27;  // the open floor the tag and chase rounds start on
constexpr int TimedMinutesMs = 5 * 60 * 1000;  // each step of a timed mode adds five minutes
constexpr int TaggedR = 255, TaggedG = 192, TaggedB = 255;

bool ChainRace(int mode) { return mode >= 50 && mode <= 59; }
bool TeamMode(int mode) { return mode > 59; }
bool WorldMode(int mode) { return mode >= 33 && mode <= 37; }

void ShowAlreadyStarted() {
  Game.bannerTitle = AlignText("Game has", 32, "C");
  Game.bannerGoal = AlignText("Already Started", 32, "C");
}

void ShowNextChainTarget() {
  const int index = Game.chainIndex >= 0 && Game.chainIndex < 6 ? Game.chainIndex : 5;
  const int room = ChainTargets[index];
  AddChatLine(">>> GOTO ROOM >>>" + (ValidRoom(room) ? RoomNames[room] : std::string()), 1);
}

void SetColour(int slot, int r, int g, int b) {
  PlayerType& player = Players[slot];
  player.colourR = r;
  player.colourG = g;
  player.colourB = b;
  if (player.sprite) player.sprite->SetColour(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
}

void ModeBanner(int mode, int running) {
  if ((mode == TagMode || mode == ChaseMode) && running != 0) ShowAlreadyStarted();
  else SetModeBanner(mode);
}

// Joining the game the host announced: into the briefing or team room before the round, into
// the round's first room after it started.
void GameState() {
  MsgGameState state;
  if (!ReadMessage(state)) return;
  SetGameClock(state.hostTime);
  Game.gameMode = static_cast<Byte>(state.gameMode);
  Game.roundTime = state.roundStart;
  SelectWorld(state.gameMode);
  Moved = 1;
  const int mode = state.gameMode;
  if ((mode == TagMode || mode == ChaseMode) && state.roundEnd != 0) {
    ShowAlreadyStarted();
    Moved = 0;
    return;
  }
  for (int& visits : VisitCounts) visits = 0;
  Players[MySlot].score = 0;
  Players[MySlot].lives = 9;
  Players[MySlot].percent = 0;
  Game.chainIndex = 0;
  if (MsSince(NetTime(), Game.roundTime) / 1000 > 0) {
    Game.room = TeamMode(mode) ? TeamRoom : BriefingRoom;
  } else {
    Game.inGame = 1;
    Game.roundTime = state.roundEnd;
    Game.room = TeamMode(mode) ? TeamRoom : WorldMode(mode) ? 1 : SinglePlayerRoom;
  }
  if (ChainRace(mode)) ShowNextChainTarget();
  PlaceAtRoomStart();
}

void OpenTeamRoomSides() {
  for (int row = 12; row <= 14; ++row) {
    for (int column : {0, RoomColumns - 1}) {
      TileGrid[column][row] = 0;
      CellGrid[column][row] = CellEmpty;
    }
  }
}

void RoundStart() {
  const int mode = Game.gameMode;
  MsgRoundStart start;
  if (!ReadMessage(start, mode)) return;
  SelectWorld(mode);
  if (mode == 0) return;
  if (ChainRace(mode)) ShowNextChainTarget();
  if (TeamMode(mode)) {
    if (Game.room == TeamRoom) OpenTeamRoomSides();
    if (mode >= 70 && mode <= 79) Game.roundTime = MsAfter(NetTime(), (mode - 69) * TimedMinutesMs);
    Game.room = TeamRoom;
    Game.inGame = 1;
    return;
  }
  Game.room = WorldMode(mode) ? 1 : SinglePlayerRoom;
  Game.inGame = 1;
  if (mode == TagMode || mode == ChaseMode) Game.room = TagRoom;
  if ((mode == TagMode || mode == ChaseMode) && ValidSlot(start.slot)) {
    if (mode == TagMode) {
      SetColour(start.slot, TaggedR, TaggedG, TaggedB);
      Game.tagEventTime = start.slot == MySlot ? MilliSecs() : 0;
    } else {
      for (int slot = 0; slot < MaxPlayers; ++slot) SetColour(slot, TaggedR, TaggedG, TaggedB);
      TagTargetSlot = start.slot;
      SetColour(start.slot, PlayerColourR[start.slot], PlayerColourG[start.slot], PlayerColourB[start.slot]);
      Game.tagEventTime = start.slot != MySlot ? MilliSecs() : 0;
    }
  }
  PlaceAtRoomStart();
  Game.inGame = 1;
  if (mode >= 10 && mode <= 19) Game.roundTime = MsAfter(NetTime(), (mode - 9) * TimedMinutesMs);
}

void GameMode() {
  MsgGameMode announced;
  if (!ReadMessage(announced)) return;
  ModeBanner(announced.gameMode, announced.running);
  SelectWorld(announced.gameMode);
}

void Winner() {
  MsgWinner winner;
  if (!ReadMessage(winner)) return;
  const bool teamWin = winner.text == "** BLUE WIN **" || winner.text == "** RED WIN **";
  Game.statusText = AlignText(teamWin ? winner.text : "Last winner was *" + winner.text + "*", 32, "C");
  if (Game.spectating) StopSpectating();
  ResetGame();
}

template <typename Message>
int SlotOf() {
  Message m;
  return ReadMessage(m) && ValidSlot(m.slot) ? m.slot : -1;
}

void TeamTable() {
  MsgTeamTable table;
  ReadMessage(table);
  for (const TeamTableEntry& e : table.entries) {
    if (!ValidSlot(e.slot)) continue;
    if (e.team == TeamTagged) {
      SetPlayerTeamColour(e.slot, TeamTagged);
    } else if (e.team == TeamNone || e.team == TeamRed || e.team == TeamBlue) {
      Players[e.slot].team = e.team;
      SetPlayerTeamColour(e.slot, e.team);
    }
  }
}

void Admin() {
  const int slot = SlotOf<MsgAdmin>();
  if (slot < 0) return;
  IsAdmin = slot == MySlot ? 1 : 0;
  if (IsAdmin) AddChatLine("<<<            YOU ARE THE GAME ADMINISTRATOR                 >>>", 1);
}

void Heartbeat() {
  MsgHeartbeat beat;
  if (!ReadMessage(beat)) return;
  const int ping = NetLib.ClientGetAveragePing(NetInterface);
  SetGameClock(MsAfter(beat.hostTime, ping < 0 ? 0 : ping));
  ModeBanner(beat.gameMode, beat.running);
}

void ChainRooms() {
  MsgChainRooms rooms;
  if (!ReadMessage(rooms)) return;
  for (int i = 0; i < 5; ++i) ChainTargets[i] = rooms.rooms[i];
}

}  // namespace

bool ClientGameModeMessage(int type) {
  int slot = -1;
  switch (type) {
    case MsgGameState::type: GameState(); return true;
    case MsgRoundStart::type: RoundStart(); return true;
    case MsgGameMode::type: GameMode(); return true;
    case MsgResetGame::type: RequestNewGame(); return true;
    case MsgWinner::type: Winner(); return true;
    case MsgTagged::type:
      if ((slot = SlotOf<MsgTagged>()) >= 0) SetColour(slot, TaggedR, TaggedG, TaggedB);
      return true;
    case MsgJoinBlue::type:
      if ((slot = SlotOf<MsgJoinBlue>()) >= 0) {
        SetColour(slot, 192, 192, 255);
        Players[slot].team = TeamBlue;
      }
      return true;
    case MsgJoinRed::type:
      if ((slot = SlotOf<MsgJoinRed>()) >= 0) {
        SetColour(slot, 255, 0, 0);
        Players[slot].team = TeamRed;
      }
      return true;
    case MsgTeamTable::type: TeamTable(); return true;
    case MsgAdmin::type: Admin(); return true;
    case MsgHeartbeat::type: Heartbeat(); return true;
    case MsgChainRooms::type: ChainRooms(); return true;
    default: return false;
  }
}
