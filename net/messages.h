// The game's messages: one record per message type and form, written and read field by field.
//
// WriteMessage begins the message in OutStream (envelope byte, type byte, fields in order);
// the caller then sends it with the mode the message travels by. ReadMessage reads the
// fields that follow the type byte from InStream; it returns false when the packet ended
// before the message did (the fields past the end read as 0 or "", lists keep only their
// whole entries), so a short or hostile packet gives defined values.
//
// Some types have two forms that differ by direction; the record says which.
// Times are host time in ms (NetTime) and travel as istr.
#pragma once

#include <array>
#include <string>
#include <vector>

inline constexpr int ProtocolVersion = 13;
inline constexpr int PickupListEnd = 9999;      // ends every list of pickup indices
inline constexpr int MaxStatesEntries = 16;     // a states broadcast lists at most the 16 slots
inline constexpr int MaxPickupListEntries = 1100;

// 1, both ways, chat mode: a chat line.
struct MsgChat {
  static constexpr int type = 1;
  std::string text;
  bool operator==(const MsgChat&) const = default;
};

// One player's entry in MsgPlayerStates.
struct PlayerStateEntry {
  int slot = 0;       // u8
  int x = 0, y = 0;   // s16
  int mirrored = 0;   // s16: the sprite's facing flag
  int room = 0;       // s16
  int score = 0;      // s16
  int lives = 0;      // u8
  int following = 0;  // u8, 99 = nobody
  int percent = 0;    // u8
  int ping = 0;       // s16
  bool operator==(const PlayerStateEntry&) const = default;
};

// 2, host to all, unreliable: every named player's state. The count is written as the
// number of entries (at most MaxStatesEntries are written).
struct MsgPlayerStates {
  static constexpr int type = 2;
  int count = 0;                          // as read; a count above 16 reads no entries
  std::vector<PlayerStateEntry> entries;
  bool operator==(const MsgPlayerStates&) const = default;
};

// 5, client to host, unreliable (reliable on request): the client's own state.
struct MsgPlayerState {
  static constexpr int type = 5;
  int slot = 0;                           // u8
  int x = 0, y = 0, mirrored = 0, room = 0, score = 0;  // s16
  int lives = 0, following = 0, percent = 0;            // u8
  bool operator==(const MsgPlayerState&) const = default;
};

// 6, host to client, reply mode: the slot given, the host time, the protocol version.
struct MsgWelcome {
  static constexpr int type = 6;
  int slot = 0;       // u8
  int hostTime = 0;   // istr
  int version = ProtocolVersion;  // s16
  bool operator==(const MsgWelcome&) const = default;
};

// 6, client to host: asks for a welcome; the value is not used.
struct MsgWelcomeRequest {
  static constexpr int type = 6;
  int value = 0;      // istr
  bool operator==(const MsgWelcomeRequest&) const = default;
};

// 7, client to host: the 8-character name followed by the slot in decimal, and the skin.
struct MsgJoin {
  static constexpr int type = 7;
  std::string nameAndSlot;  // str
  int skin = 0;             // s16
  bool operator==(const MsgJoin&) const = default;
};

// 8, host to all: 12 characters per named slot: slot (2 digits), name (8), skin (2 digits).
struct MsgNameTable {
  static constexpr int type = 8;
  std::string table;
  bool operator==(const MsgNameTable&) const = default;
};

// 10, client to host: a pickup collected, and by whom.
struct MsgPickupTaken {
  static constexpr int type = 10;
  int room = 0, pickupIndex = 0;  // s16
  int collector = 0;              // u8
  bool operator==(const MsgPickupTaken&) const = default;
};

// 10, host to the players concerned: a pickup is gone.
struct MsgPickupForward {
  static constexpr int type = 10;
  int room = 0, pickupIndex = 0;  // s16
  bool operator==(const MsgPickupForward&) const = default;
};

// 11, both ways: a player leaves.
struct MsgLeave {
  static constexpr int type = 11;
  int slot = 0;  // u8
  bool operator==(const MsgLeave&) const = default;
};

// 12, client to host: a room just entered.
struct MsgEnterRoom {
  static constexpr int type = 12;
  int slot = 0;  // u8
  int room = 0;  // s16
  bool operator==(const MsgEnterRoom&) const = default;
};

// 13, host to one client: report this room's state for the requester.
struct MsgRoomQuery {
  static constexpr int type = 13;
  int requester = 0;  // u8
  int room = 0;       // s16
  bool operator==(const MsgRoomQuery&) const = default;
};

// One enemy of a room state.
struct RoomEnemyState {
  int x = 0, y = 0;   // s16
  int moveDir = 0;    // u8
  bool operator==(const RoomEnemyState&) const = default;
};

// 14, client to host: the state of a room the sender is in.
struct MsgRoomState {
  static constexpr int type = 14;
  int requester = 0;                      // u8
  int room = 0;                           // s16
  int time = 0;                           // istr: the sender's NetTime
  int swingPos = 0, swingStep = 0;        // s16: the rope
  int arrowCount1 = 0, arrowCount2 = 0;   // s16
  std::vector<RoomEnemyState> enemies;    // u8 count (at most 255 written), then the entries
  bool operator==(const MsgRoomState&) const = default;
};

// 14, host to the requester: the same fields, then the room's present pickups.
struct MsgRoomStateRelayed : MsgRoomState {
  std::vector<int> pickups;               // s16 each, then PickupListEnd
  bool operator==(const MsgRoomStateRelayed&) const = default;
};

// 15, host to client, reply mode: the game in progress.
struct MsgGameState {
  static constexpr int type = 15;
  int hostTime = 0;        // istr
  int gameMode = 0;        // u8
  int roundStart = 0;      // istr
  int roundEnd = 0;        // istr
  bool operator==(const MsgGameState&) const = default;
};

// 17, client to host: start this game mode.
struct MsgStartGame {
  static constexpr int type = 17;
  int gameMode = 0;  // u8
  bool operator==(const MsgStartGame&) const = default;
};

// 18, client to host: asks to join the announced game.
struct MsgGameStateRequest {
  static constexpr int type = 18;
  bool operator==(const MsgGameStateRequest&) const = default;
};

// 19, host to all: the round starts. Only modes 30 and 32 carry a slot.
struct MsgRoundStart {
  static constexpr int type = 19;
  int gameMode = 0;  // not sent: says whether the slot is
  int slot = 0;      // u8: mode 30 the tagged slot, mode 32 the slot to catch
  bool operator==(const MsgRoundStart&) const = default;
};
inline bool RoundStartCarriesSlot(int gameMode) { return gameMode == 30 || gameMode == 32; }

// 20, host to all or one: the game mode, its start time and whether it runs.
struct MsgGameMode {
  static constexpr int type = 20;
  int gameMode = 0;    // u8
  int roundStart = 0;  // istr
  int running = 0;     // s16: 0 count-down, 1 running
  bool operator==(const MsgGameMode&) const = default;
};

// 21, client to host: asks for the game mode.
struct MsgGameModeRequest {
  static constexpr int type = 21;
  int slot = 0;  // u8
  bool operator==(const MsgGameModeRequest&) const = default;
};

// 22, both ways: end the game.
struct MsgResetGame {
  static constexpr int type = 22;
  bool operator==(const MsgResetGame&) const = default;
};

// 23, both ways: the winner text ("** BLUE WIN **", "** RED WIN **" or a player name).
struct MsgWinner {
  static constexpr int type = 23;
  std::string text;
  bool operator==(const MsgWinner&) const = default;
};

// 24, host to all: a player was tagged.
struct MsgTagged {
  static constexpr int type = 24;
  int slot = 0;  // u8
  bool operator==(const MsgTagged&) const = default;
};

// 25, both ways: a player joins team 2 (blue).
struct MsgJoinBlue {
  static constexpr int type = 25;
  int slot = 0;  // u8
  bool operator==(const MsgJoinBlue&) const = default;
};

// 26, both ways: a player joins team 1 (red).
struct MsgJoinRed {
  static constexpr int type = 26;
  int slot = 0;  // u8
  bool operator==(const MsgJoinRed&) const = default;
};

// One row of MsgTeamTable.
struct TeamTableEntry {
  int slot = 0;  // u8
  int team = 0;  // u8: 0 none, 1 red, 2 blue, 99 marked player
  bool operator==(const TeamTableEntry&) const = default;
};

// 27, host to all or one: the teams.
struct MsgTeamTable {
  static constexpr int type = 27;
  std::vector<TeamTableEntry> entries;  // u8 count (at most 255 written), then the entries
  bool operator==(const MsgTeamTable&) const = default;
};

// 28, host to one client: the game administrator's slot.
struct MsgAdmin {
  static constexpr int type = 28;
  int slot = 0;  // u8
  bool operator==(const MsgAdmin&) const = default;
};

// 28, client to host: hand the administrator role to this slot.
struct MsgAdminHandOver {
  static constexpr int type = 28;
  int slot = 0;  // u8
  bool operator==(const MsgAdminHandOver&) const = default;
};

// 30, host to all: host time and the game mode, every 5 seconds.
struct MsgHeartbeat {
  static constexpr int type = 30;
  int hostTime = 0;    // istr
  int gameMode = 0;    // u8
  int roundStart = 0;  // istr
  int running = 0;     // s16
  bool operator==(const MsgHeartbeat&) const = default;
};

// 31, client to host: the client's average ping.
struct MsgPing {
  static constexpr int type = 31;
  int slot = 0;  // u8
  int ping = 0;  // s16, ms
  bool operator==(const MsgPing&) const = default;
};

// 32, client to host: the client's team.
struct MsgMyTeam {
  static constexpr int type = 32;
  int slot = 0;  // u8
  int team = 0;  // u8
  bool operator==(const MsgMyTeam&) const = default;
};

// 32, host to all: the five target rooms of a chain race.
struct MsgChainRooms {
  static constexpr int type = 32;
  std::array<int, 5> rooms{};  // u8 each
  bool operator==(const MsgChainRooms&) const = default;
};

// 59, client to host: the asked client is not in that room.
struct MsgNotInRoom {
  static constexpr int type = 59;
  int requester = 0;  // u8
  int room = 0;       // s16
  bool operator==(const MsgNotInRoom&) const = default;
};

// 60, host to client: the present pickups of a room nobody else can report.
struct MsgRoomPickups {
  static constexpr int type = 60;
  std::vector<int> pickups;  // s16 each, then PickupListEnd
  bool operator==(const MsgRoomPickups&) const = default;
};

// 61, host to client: wait for the room's state.
struct MsgWaitForRoom {
  static constexpr int type = 61;
  bool operator==(const MsgWaitForRoom&) const = default;
};

void WriteMessage(const MsgChat& m);
void WriteMessage(const MsgPlayerStates& m);
void WriteMessage(const MsgPlayerState& m);
void WriteMessage(const MsgWelcome& m);
void WriteMessage(const MsgWelcomeRequest& m);
void WriteMessage(const MsgJoin& m);
void WriteMessage(const MsgNameTable& m);
void WriteMessage(const MsgPickupTaken& m);
void WriteMessage(const MsgPickupForward& m);
void WriteMessage(const MsgLeave& m);
void WriteMessage(const MsgEnterRoom& m);
void WriteMessage(const MsgRoomQuery& m);
void WriteMessage(const MsgRoomState& m);
void WriteMessage(const MsgRoomStateRelayed& m);
void WriteMessage(const MsgGameState& m);
void WriteMessage(const MsgStartGame& m);
void WriteMessage(const MsgGameStateRequest& m);
void WriteMessage(const MsgRoundStart& m);
void WriteMessage(const MsgGameMode& m);
void WriteMessage(const MsgGameModeRequest& m);
void WriteMessage(const MsgResetGame& m);
void WriteMessage(const MsgWinner& m);
void WriteMessage(const MsgTagged& m);
void WriteMessage(const MsgJoinBlue& m);
void WriteMessage(const MsgJoinRed& m);
void WriteMessage(const MsgTeamTable& m);
void WriteMessage(const MsgAdmin& m);
void WriteMessage(const MsgAdminHandOver& m);
void WriteMessage(const MsgHeartbeat& m);
void WriteMessage(const MsgPing& m);
void WriteMessage(const MsgMyTeam& m);
void WriteMessage(const MsgChainRooms& m);
void WriteMessage(const MsgNotInRoom& m);
void WriteMessage(const MsgRoomPickups& m);
void WriteMessage(const MsgWaitForRoom& m);

bool ReadMessage(MsgChat& m);
bool ReadMessage(MsgPlayerStates& m);
bool ReadMessage(MsgPlayerState& m);
bool ReadMessage(MsgWelcome& m);
bool ReadMessage(MsgWelcomeRequest& m);
bool ReadMessage(MsgJoin& m);
bool ReadMessage(MsgNameTable& m);
bool ReadMessage(MsgPickupTaken& m);
bool ReadMessage(MsgPickupForward& m);
bool ReadMessage(MsgLeave& m);
bool ReadMessage(MsgEnterRoom& m);
bool ReadMessage(MsgRoomQuery& m);
bool ReadMessage(MsgRoomState& m);
bool ReadMessage(MsgRoomStateRelayed& m);
bool ReadMessage(MsgGameState& m);
bool ReadMessage(MsgStartGame& m);
bool ReadMessage(MsgGameStateRequest& m);
bool ReadMessage(MsgRoundStart& m, int gameMode);  // the mode the round starts in
bool ReadMessage(MsgGameMode& m);
bool ReadMessage(MsgGameModeRequest& m);
bool ReadMessage(MsgResetGame& m);
bool ReadMessage(MsgWinner& m);
bool ReadMessage(MsgTagged& m);
bool ReadMessage(MsgJoinBlue& m);
bool ReadMessage(MsgJoinRed& m);
bool ReadMessage(MsgTeamTable& m);
bool ReadMessage(MsgAdmin& m);
bool ReadMessage(MsgAdminHandOver& m);
bool ReadMessage(MsgHeartbeat& m);
bool ReadMessage(MsgPing& m);
bool ReadMessage(MsgMyTeam& m);
bool ReadMessage(MsgChainRooms& m);
bool ReadMessage(MsgNotInRoom& m);
bool ReadMessage(MsgRoomPickups& m);
bool ReadMessage(MsgWaitForRoom& m);

// Appends pickup indices and PickupListEnd to OutStream.
void WritePickupList(const std::vector<int>& pickups);
// Reads pickup indices up to PickupListEnd, the end of the packet, or
// MaxPickupListEntries entries, whichever comes first.
std::vector<int> ReadPickupList();
