// Messages about game modes and rounds: game state, start, round start, modes, winners, tags and teams.
#include <algorithm>

#include "net/message_fields.h"
#include "net/messages.h"

using namespace message_fields;

void WriteMessage(const MsgGameState& m) {
  Begin(MsgGameState::type);
  NetWriteIntString(m.hostTime);
  NetWriteByte(m.gameMode);
  NetWriteIntString(m.roundStart);
  NetWriteIntString(m.roundEnd);
}

bool ReadMessage(MsgGameState& m) {
  m.hostTime = NetReadIntString();
  m.gameMode = NetReadByte();
  m.roundStart = NetReadIntString();
  m.roundEnd = NetReadIntString();
  return Complete();
}

void WriteMessage(const MsgStartGame& m) {
  Begin(MsgStartGame::type);
  NetWriteByte(m.gameMode);
}

bool ReadMessage(MsgStartGame& m) {
  m.gameMode = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgGameStateRequest&) { Begin(MsgGameStateRequest::type); }

bool ReadMessage(MsgGameStateRequest&) { return Complete(); }

void WriteMessage(const MsgRoundStart& m) {
  Begin(MsgRoundStart::type);
  if (RoundStartCarriesSlot(m.gameMode)) NetWriteByte(m.slot);
}

bool ReadMessage(MsgRoundStart& m, int gameMode) {
  m.gameMode = gameMode;
  m.slot = RoundStartCarriesSlot(gameMode) ? NetReadByte() : 0;
  return Complete();
}

void WriteMessage(const MsgGameMode& m) {
  Begin(MsgGameMode::type);
  NetWriteByte(m.gameMode);
  NetWriteIntString(m.roundStart);
  NetWriteShort(m.running);
}

bool ReadMessage(MsgGameMode& m) {
  m.gameMode = NetReadByte();
  m.roundStart = NetReadIntString();
  m.running = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgGameModeRequest& m) {
  Begin(MsgGameModeRequest::type);
  NetWriteByte(m.slot);
}

bool ReadMessage(MsgGameModeRequest& m) {
  m.slot = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgResetGame&) { Begin(MsgResetGame::type); }

bool ReadMessage(MsgResetGame&) { return Complete(); }

void WriteMessage(const MsgWinner& m) {
  Begin(MsgWinner::type);
  NetWriteString(m.text);
}

bool ReadMessage(MsgWinner& m) {
  m.text = NetReadString();
  return Complete();
}

void WriteMessage(const MsgTagged& m) {
  Begin(MsgTagged::type);
  NetWriteByte(m.slot);
}

bool ReadMessage(MsgTagged& m) {
  m.slot = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgJoinBlue& m) {
  Begin(MsgJoinBlue::type);
  NetWriteByte(m.slot);
}

bool ReadMessage(MsgJoinBlue& m) {
  m.slot = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgJoinRed& m) {
  Begin(MsgJoinRed::type);
  NetWriteByte(m.slot);
}

bool ReadMessage(MsgJoinRed& m) {
  m.slot = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgTeamTable& m) {
  Begin(MsgTeamTable::type);
  const size_t n = std::min<size_t>(m.entries.size(), 255);
  NetWriteByte(static_cast<int>(n));
  for (size_t i = 0; i < n; ++i) {
    NetWriteByte(m.entries[i].slot);
    NetWriteByte(m.entries[i].team);
  }
}

bool ReadMessage(MsgTeamTable& m) {
  const int n = NetReadByte();
  m.entries.clear();
  for (int i = 0; i < n && !NetReadPastEnd(); ++i) {
    TeamTableEntry e;
    e.slot = NetReadByte();
    e.team = NetReadByte();
    if (NetReadPastEnd()) break;
    m.entries.push_back(e);
  }
  return Complete();
}

void WriteMessage(const MsgHeartbeat& m) {
  Begin(MsgHeartbeat::type);
  NetWriteIntString(m.hostTime);
  NetWriteByte(m.gameMode);
  NetWriteIntString(m.roundStart);
  NetWriteShort(m.running);
}

bool ReadMessage(MsgHeartbeat& m) {
  m.hostTime = NetReadIntString();
  m.gameMode = NetReadByte();
  m.roundStart = NetReadIntString();
  m.running = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgMyTeam& m) {
  Begin(MsgMyTeam::type);
  NetWriteByte(m.slot);
  NetWriteByte(m.team);
}

bool ReadMessage(MsgMyTeam& m) {
  m.slot = NetReadByte();
  m.team = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgChainRooms& m) {
  Begin(MsgChainRooms::type);
  for (int room : m.rooms) NetWriteByte(room);
}

bool ReadMessage(MsgChainRooms& m) {
  for (int& room : m.rooms) room = NetReadByte();
  return Complete();
}
