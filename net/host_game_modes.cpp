// The host as referee: new games, the count-down and round start, tags, timed ends, teams, winners.
#include <string>

#include "net/chat_window.h"
#include "net/envelope.h"
#include "net/host_internal.h"
#include "net/host_rules.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "platform/clock.h"
#include "world/dedicated.h"
#include "world/enter_room.h"
#include "world/exits_death.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/team_rules.h"
#include "world/text_utils.h"
#include "world/world_files.h"

namespace {

constexpr int CountDownMs = 10000;
constexpr int TimedStepMs = 5 * 60 * 1000;
constexpr int TagMode = 30, GoldenMode = 31, ChaseMode = 32, CaptureFlagMode = 80;
constexpr int TagRoom = 27;
constexpr int TagGraceMs = 5000, ChaseGraceMs = 10000;
constexpr int NoChoice = 255;           // a tag or chase round that starts with nobody to choose
constexpr int MaxChoosingPasses = 1000; // after this many passes the first player taking part is chosen
const char* const NoWinner = "no winner";

bool HostingClient() { return Hosting && !Dedicated; }
bool ChainRace(int mode) { return mode >= 50 && mode <= 59; }
bool TeamMode(int mode) { return mode >= 60; }
bool Named(int slot) { return !Slots[slot].name.empty(); }
bool TakingPart(int slot) { return Named(slot) && Slots[slot].room != LoungeRoom; }

// Modes whose winner is found by the winning player's own client.
bool ClaimedByPlayers(int mode) {
  return (mode >= 1 && mode <= 9) || (mode >= 20 && mode <= 28) || mode == GoldenMode || (mode >= 33 && mode <= 37) ||
         (mode >= 40 && mode <= 59) || mode == CaptureFlagMode || mode == 81;
}

// The administrator of the dedicated server; the hosting client's players have no such role.
bool FromAdministrator() { return Dedicated && AdminSlot >= 0 && SenderSlot() == AdminSlot; }

void SetAllPickups(Byte present) {
  for (int i = 0; i <= LastPickup; ++i) Pickups[i].present = present;
}

void SendGameMode() {
  WriteMessage(MsgGameMode{.gameMode = HostMode, .roundStart = RoundStartTime, .running = RoundRunning});
}

void SendChainRooms() {
  MsgChainRooms rooms;
  for (int i = 0; i < 5; ++i) rooms.rooms[i] = ChainTargets[i];
  WriteMessage(rooms);
  NetSend(-1);
}

void MarkTagged(int slot) {
  Slots[slot].tagged = 1;
  if (HostingClient()) SetPlayerTeamColour(slot, TeamTagged);
}

bool Touching(int i, int j) {
  return RectsOverlap(Slots[i].x + 2, Slots[i].y, 16, 32, Slots[j].x + 2, Slots[j].y, 16, 32) == 1;
}

void NewGame() {
  MsgStartGame start;
  if (!ReadMessage(start) || !FromAdministrator() || !OfferedMode(start.gameMode)) return;
  const int mode = start.gameMode;
  HostMode = static_cast<Byte>(mode);
  Game.gameMode = static_cast<Byte>(mode);
  ModeSetTime = NetTime();
  RoundStartTime = MsAfter(ModeSetTime, CountDownMs);
  RoundRunning = 0;
  if constexpr (Dedicated) {
    PickChainTargets();
    SelectWorld(mode);
  }
  SetAllPickups(1);
  SendGameMode();
  NetSend(-1);
  if (ChainRace(mode)) SendChainRooms();
  Game.roundTime = RoundStartTime;
  Moved = 1;
  BluePickupCount = 0;
  RedPickupCount = 0;
  // Nobody is tagged in a new game: the server's reset keeps the flags of the last round, and
  // a flag left over would mark its player in every team table of the next.
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    Slots[slot].tagged = 0;
    SetPlayerTeamColour(slot, TeamNone);
  }
  Game.statusText.clear();
  Game.menuPage = 0;
  Game.goalReached = 0;
}

void GameModeRequest() {
  MsgGameModeRequest request;
  if (!ReadMessage(request) || !SpeaksForSender(request.slot)) return;
  SendGameMode();
  NetSend(request.slot);
}

void GameStateRequest() {
  const int slot = SenderSlot();
  if (HostMode == 0 || slot < 0) return;
  if (ChainRace(Game.gameMode)) SendChainRooms();
  // A joining client takes a non-zero end time in the tag modes as "already started". The
  // end time is only set by timed rounds (and outlives them), so those modes send whether
  // their round runs instead.
  const bool tagModes = HostMode == TagMode || HostMode == ChaseMode;
  WriteMessage(MsgGameState{.hostTime = NetTime(), .gameMode = HostMode, .roundStart = RoundStartTime,
                            .roundEnd = tagModes ? RoundRunning : RoundEndTime});
  NetSendTo(Slots[slot].netId);
}

// Mode 30: one player taking part, drawn at random, starts tagged.
int ChooseTagged() {
  int takingPart = 0;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    Slots[slot].tagged = 0;
    if (TakingPart(slot)) ++takingPart;
  }
  if (takingPart == 0) return NoChoice;
  for (int pass = 0; pass < MaxChoosingPasses; ++pass) {
    for (int slot = 0; slot < MaxPlayers; ++slot) {
      if (TakingPart(slot) && Rand(0, 100) > 90) {
        MarkTagged(slot);
        return slot;
      }
    }
  }
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (TakingPart(slot)) {
      MarkTagged(slot);
      return slot;
    }
  }
  return NoChoice;
}

// Mode 32: everybody taking part chases, but one drawn at random is the one to catch.
int ChooseTarget() {
  int chosen = NoChoice;
  for (int pass = 0; pass < MaxChoosingPasses && chosen == NoChoice; ++pass) {
    bool anybody = false;
    for (int slot = 0; slot < MaxPlayers; ++slot) {
      if (!TakingPart(slot)) continue;
      anybody = true;
      MarkTagged(slot);
      const bool last = pass == MaxChoosingPasses - 1;
      if (chosen == NoChoice && (Rand(0, 100) > 90 || last)) chosen = slot;
    }
    if (!anybody) return NoChoice;
  }
  if (chosen == NoChoice) return NoChoice;
  Slots[chosen].tagged = 0;
  if (HostingClient()) {
    TagTargetSlot = chosen;
    SetPlayerTeamColour(chosen, TeamNone);
  }
  return chosen;
}

void OpenTeamRoomSides() {
  for (int row = 12; row <= 14; ++row) {
    for (int column : {0, RoomColumns - 1}) {
      TileGrid[column][row] = 0;
      CellGrid[column][row] = CellEmpty;
    }
  }
}

// The hosting client's own player goes where the round starts.
void PlaceOwnPlayer() {
  const int mode = Game.gameMode;
  Moved = 1;
  if (mode == TagMode || mode == ChaseMode) {
    Game.room = TagRoom;
    RoundClock = MilliSecs();
    if (Slots[0].tagged) Game.tagEventTime = RoundClock;
    EnterRoom();
  } else if (mode >= 33 && mode <= 37) {
    Game.room = 1;
    PlaceAtRoomStart();
  } else if (TeamMode(mode)) {
    OpenTeamRoomSides();
    if (mode >= 70 && mode <= 79) Game.roundTime = MsAfter(NetTime(), (mode - 69) * TimedStepMs);
  } else {
    Game.room = SinglePlayerRoom;
    PlaceAtRoomStart();
    if (mode >= 10 && mode <= 19) Game.roundTime = MsAfter(NetTime(), (mode - 9) * TimedStepMs);
  }
}

void StartRound() {
  SetAllPickups(1);
  Game.chainIndex = 0;
  if (ChainRace(HostMode) && ValidRoom(ChainTargets[0])) AddChatLine(">>> GOTO ROOM >>>" + RoomNames[ChainTargets[0]], 1);

  MsgRoundStart start{.gameMode = HostMode};
  if (HostMode == GoldenMode) {
    SetAllPickups(0);
    for (int k = 0; k < 3 && LastPickup >= 1; ++k) Pickups[Rand(1, LastPickup)].present = 1;
  } else if (HostMode == CaptureFlagMode) {
    SetAllPickups(0);
  } else if (HostMode == TagMode) {
    start.slot = ChooseTagged();
  } else if (HostMode == ChaseMode) {
    start.slot = ChooseTarget();
  }
  WriteMessage(start);
  NetSend(-1);
  SendGameMode();
  NetSend(-1);

  if (HostMode >= 10 && HostMode <= 19) RoundEndTime = MsAfter(NetTime(), (HostMode - 9) * TimedStepMs);
  if (Game.gameMode >= 70 && Game.gameMode <= 79) RoundEndTime = MsAfter(NetTime(), (Game.gameMode - 69) * TimedStepMs);
  if (Dedicated) RoundClock = MilliSecs();
  if (HostingClient()) PlaceOwnPlayer();
  RoundRunning = 1;
}

// The players taking part in a tag or chase round, and the tagged among them (in a chase, the
// chasers; the others are the ones to catch).
struct TagCount {
  int takingPart = 0, tagged = 0;
};
TagCount CountTagRound() {
  TagCount count;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (!TakingPart(slot)) continue;
    ++count.takingPart;
    if (Slots[slot].tagged) ++count.tagged;
  }
  return count;
}

// A tag or chase round nobody can win any more: nobody takes part (newcomers cannot join one
// that has started), a chase has nobody left to catch or nobody to do the catching, or every
// tagged player of a tag round has gone while two or more are left untagged. Decided rounds
// keep their rules: a single untagged player left in a tag round still wins it.
bool TagRoundUndecidable() {
  const TagCount count = CountTagRound();
  if (count.takingPart == 0) return true;
  if (HostMode == ChaseMode) return count.tagged == 0 || count.tagged == count.takingPart;
  return count.tagged == 0 && count.takingPart >= 2;
}

void TagCheck() {
  const int takingPart = CountTagRound().takingPart;
  for (int i = 0; i < MaxPlayers; ++i) {
    if (!Slots[i].tagged || !TakingPart(i)) continue;
    for (int j = 0; j < MaxPlayers; ++j) {
      if (j == i || Slots[j].tagged || !Named(j) || Slots[j].room != Slots[i].room || !Touching(i, j)) continue;
      MarkTagged(j);
      WriteMessage(MsgTagged{j});
      NetSend(-1);
    }
  }
  if (CountTagRound().tagged < takingPart - 1) return;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (Named(slot) && !Slots[slot].tagged) {
      AnnounceWinner(Slots[slot].name);
      return;
    }
  }
  AnnounceWinner(NoWinner);
}

void ChaseCheck() {
  for (int i = 0; i < MaxPlayers; ++i) {
    if (!Slots[i].tagged || !TakingPart(i)) continue;
    for (int j = 0; j < MaxPlayers; ++j) {
      if (j == i || Slots[j].tagged || !Named(j) || Slots[j].room != Slots[i].room) continue;
      if (Touching(i, j)) {
        AnnounceWinner(Slots[i].name);
        return;
      }
    }
  }
}

void TimedEnd() {
  int best = -1, winner = 0;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (TakingPart(slot) && Slots[slot].score > best) {
      best = Slots[slot].score;
      winner = slot;
    }
  }
  AnnounceWinner(Slots[winner].name);
}

// Team timed rounds are won by the team whose players collected more, as the HUD's team scores
// show them; a tie goes to blue.
void TeamTimedEnd() {
  int red = 0, blue = 0;
  for (const PlayersDetails& d : Slots) {
    if (d.name.empty()) continue;
    if (d.team == TeamRed) red += d.score;
    if (d.team == TeamBlue) blue += d.score;
  }
  AnnounceWinner(blue >= red ? "** BLUE WIN **" : "** RED WIN **");
}

void Winner() {
  MsgWinner claim;
  const int sender = SenderSlot();
  if (ReadMessage(claim) && HostMode != 0 && RoundRunning && sender >= 0 && ClaimedByPlayers(HostMode)) {
    const bool own = TeamMode(HostMode)
                         ? (claim.text == "** BLUE WIN **" && Slots[sender].team == TeamBlue) ||
                               (claim.text == "** RED WIN **" && Slots[sender].team == TeamRed)
                         : claim.text == Slots[sender].name;
    if (own) AnnounceWinner(claim.text);
  }
  if (HostingClient() && Game.spectating) StopSpectating();
}

// A player joins a team by leaving the team room at one of its sides, only in a team round.
void JoinTeam(int team) {
  int slot = -1;
  if (team == TeamBlue) {
    MsgJoinBlue join;
    if (ReadMessage(join)) slot = join.slot;
  } else {
    MsgJoinRed join;
    if (ReadMessage(join)) slot = join.slot;
  }
  if (!SpeaksForSender(slot) || !TeamMode(HostMode) || !TakeAllowance(AllowancesOf(slot).tables, MilliSecs())) return;
  Slots[slot].team = team;
  Players[slot].team = team;
  if (team == TeamBlue) WriteMessage(MsgJoinBlue{slot});
  else WriteMessage(MsgJoinRed{slot});
  NetSend(-1);
  if (HostingClient()) SetPlayerTeamColour(slot, team);
}

void MyTeam() {
  MsgMyTeam told;
  if (!ReadMessage(told) || !SpeaksForSender(told.slot)) return;
  const bool known = told.team == TeamNone || told.team == TeamRed || told.team == TeamBlue;
  if (!known || (told.team != TeamNone && !TeamMode(HostMode))) return;
  if (!TakeAllowance(AllowancesOf(told.slot).tables, MilliSecs())) return;
  Slots[told.slot].team = told.team;
  Players[told.slot].team = told.team;
  AssignTeams();
}

void AdminHandOver() {
  MsgAdminHandOver handOver;
  if (!ReadMessage(handOver) || !FromAdministrator()) return;
  // The role goes only to a player who is there to take it.
  if (ValidSlot(handOver.slot) && Named(handOver.slot)) AppointAdmin(handOver.slot);
}

// The administrator ends the game. Its own client has gone back to the lounge; every other
// player is told with the reset a hosting client sends, so nobody stays in a dead round. With
// no game set there is nothing to end and nobody is disturbed.
void ResetRequest() {
  if (!FromAdministrator()) return;
  if (HostMode != 0 || RoundStartTime != 0) {
    const int administrator = SenderSlot();
    for (int slot = 0; slot < MaxPlayers; ++slot) {
      if (slot == administrator || Slots[slot].netId == -1) continue;
      WriteMessage(MsgResetGame{});
      NetSend(slot);
    }
  }
  RequestNewGame();
}

}  // namespace

bool HostGameModeMessage(int type) {
  switch (type) {
    case MsgStartGame::type: NewGame(); return true;
    case MsgGameStateRequest::type: GameStateRequest(); return true;
    case MsgGameModeRequest::type: GameModeRequest(); return true;
    case MsgResetGame::type: ResetRequest(); return true;
    case MsgWinner::type: Winner(); return true;
    case MsgJoinBlue::type: JoinTeam(TeamBlue); return true;
    case MsgJoinRed::type: JoinTeam(TeamRed); return true;
    case MsgAdminHandOver::type: AdminHandOver(); return true;
    case MsgMyTeam::type: MyTeam(); return true;
    default: return false;
  }
}

void HostRoundChecks() {
  if (RoundRunning == 0) {
    if (RoundStartTime > 1 && MsSince(RoundStartTime, NetTime()) > 0) StartRound();
    return;
  }
  const int now = MilliSecs();
  if ((HostMode == TagMode || HostMode == ChaseMode) && TagRoundUndecidable()) {
    AnnounceWinner(NoWinner);
  } else if (HostMode == TagMode && MsSince(RoundClock, now) > TagGraceMs) {
    TagCheck();
  } else if (HostMode == ChaseMode && MsSince(RoundClock, now) > ChaseGraceMs) {
    ChaseCheck();
  } else if (HostMode >= 10 && HostMode <= 19 && MsSince(NetTime(), RoundEndTime) <= 0) {
    TimedEnd();
  } else if (HostMode >= 70 && HostMode <= 79 && MsSince(NetTime(), RoundEndTime) <= 0) {
    TeamTimedEnd();
  }
}
