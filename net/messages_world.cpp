// Messages about players and rooms: states, pickups taken, room entry, room queries and room states.
#include <algorithm>

#include "net/message_fields.h"
#include "net/messages.h"

using namespace message_fields;

namespace {

void WriteStateFields(const PlayerStateEntry& e) {
  NetWriteByte(e.slot);
  NetWriteShort(e.x);
  NetWriteShort(e.y);
  NetWriteShort(e.mirrored);
  NetWriteShort(e.room);
  NetWriteShort(e.score);
  NetWriteByte(e.lives);
  NetWriteByte(e.following);
  NetWriteByte(e.percent);
  NetWriteShort(e.ping);
}

PlayerStateEntry ReadStateFields() {
  PlayerStateEntry e;
  e.slot = NetReadByte();
  e.x = NetReadShort();
  e.y = NetReadShort();
  e.mirrored = NetReadShort();
  e.room = NetReadShort();
  e.score = NetReadShort();
  e.lives = NetReadByte();
  e.following = NetReadByte();
  e.percent = NetReadByte();
  e.ping = NetReadShort();
  return e;
}

void WriteRoomStateFields(const MsgRoomState& m) {
  NetWriteByte(m.requester);
  NetWriteShort(m.room);
  NetWriteIntString(m.time);
  NetWriteShort(m.swingPos);
  NetWriteShort(m.swingStep);
  NetWriteShort(m.arrowCount1);
  NetWriteShort(m.arrowCount2);
  const size_t n = std::min<size_t>(m.enemies.size(), 255);
  NetWriteByte(static_cast<int>(n));
  for (size_t i = 0; i < n; ++i) {
    NetWriteShort(m.enemies[i].x);
    NetWriteShort(m.enemies[i].y);
    NetWriteByte(m.enemies[i].moveDir);
  }
}

void ReadRoomStateFields(MsgRoomState& m) {
  m.requester = NetReadByte();
  m.room = NetReadShort();
  m.time = NetReadIntString();
  m.swingPos = NetReadShort();
  m.swingStep = NetReadShort();
  m.arrowCount1 = NetReadShort();
  m.arrowCount2 = NetReadShort();
  const int n = NetReadByte();
  m.enemies.clear();
  for (int i = 0; i < n && !NetReadPastEnd(); ++i) {
    RoomEnemyState e;
    e.x = NetReadShort();
    e.y = NetReadShort();
    e.moveDir = NetReadByte();
    if (NetReadPastEnd()) break;
    m.enemies.push_back(e);
  }
}

}  // namespace

void WriteMessage(const MsgPlayerStates& m) {
  Begin(MsgPlayerStates::type);
  const size_t n = std::min<size_t>(m.entries.size(), MaxStatesEntries);
  NetWriteByte(static_cast<int>(n));
  for (size_t i = 0; i < n; ++i) WriteStateFields(m.entries[i]);
}

bool ReadMessage(MsgPlayerStates& m) {
  m.count = NetReadByte();
  m.entries.clear();
  if (m.count > MaxStatesEntries) return Complete();
  for (int i = 0; i < m.count && !NetReadPastEnd(); ++i) {
    const PlayerStateEntry e = ReadStateFields();
    if (NetReadPastEnd()) break;
    m.entries.push_back(e);
  }
  return Complete();
}

void WriteMessage(const MsgPlayerState& m) {
  Begin(MsgPlayerState::type);
  NetWriteByte(m.slot);
  NetWriteShort(m.x);
  NetWriteShort(m.y);
  NetWriteShort(m.mirrored);
  NetWriteShort(m.room);
  NetWriteShort(m.score);
  NetWriteByte(m.lives);
  NetWriteByte(m.following);
  NetWriteByte(m.percent);
}

bool ReadMessage(MsgPlayerState& m) {
  m.slot = NetReadByte();
  m.x = NetReadShort();
  m.y = NetReadShort();
  m.mirrored = NetReadShort();
  m.room = NetReadShort();
  m.score = NetReadShort();
  m.lives = NetReadByte();
  m.following = NetReadByte();
  m.percent = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgPickupTaken& m) {
  Begin(MsgPickupTaken::type);
  NetWriteShort(m.room);
  NetWriteShort(m.pickupIndex);
  NetWriteByte(m.collector);
}

bool ReadMessage(MsgPickupTaken& m) {
  m.room = NetReadShort();
  m.pickupIndex = NetReadShort();
  m.collector = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgPickupForward& m) {
  Begin(MsgPickupForward::type);
  NetWriteShort(m.room);
  NetWriteShort(m.pickupIndex);
}

bool ReadMessage(MsgPickupForward& m) {
  m.room = NetReadShort();
  m.pickupIndex = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgEnterRoom& m) {
  Begin(MsgEnterRoom::type);
  NetWriteByte(m.slot);
  NetWriteShort(m.room);
}

bool ReadMessage(MsgEnterRoom& m) {
  m.slot = NetReadByte();
  m.room = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgRoomQuery& m) {
  Begin(MsgRoomQuery::type);
  NetWriteByte(m.requester);
  NetWriteShort(m.room);
}

bool ReadMessage(MsgRoomQuery& m) {
  m.requester = NetReadByte();
  m.room = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgRoomState& m) {
  Begin(MsgRoomState::type);
  WriteRoomStateFields(m);
}

bool ReadMessage(MsgRoomState& m) {
  ReadRoomStateFields(m);
  return Complete();
}

void WriteMessage(const MsgRoomStateRelayed& m) {
  Begin(MsgRoomStateRelayed::type);
  WriteRoomStateFields(m);
  WritePickupList(m.pickups);
}

bool ReadMessage(MsgRoomStateRelayed& m) {
  ReadRoomStateFields(m);
  m.pickups = ReadPickupList();
  return Complete();
}

void WriteMessage(const MsgNotInRoom& m) {
  Begin(MsgNotInRoom::type);
  NetWriteByte(m.requester);
  NetWriteShort(m.room);
}

bool ReadMessage(MsgNotInRoom& m) {
  m.requester = NetReadByte();
  m.room = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgRoomPickups& m) {
  Begin(MsgRoomPickups::type);
  WritePickupList(m.pickups);
}

bool ReadMessage(MsgRoomPickups& m) {
  m.pickups = ReadPickupList();
  return Complete();
}

void WriteMessage(const MsgWaitForRoom&) { Begin(MsgWaitForRoom::type); }

bool ReadMessage(MsgWaitForRoom&) { return Complete(); }

void WritePickupList(const std::vector<int>& pickups) {
  for (int index : pickups) NetWriteShort(index);
  NetWriteShort(PickupListEnd);
}

std::vector<int> ReadPickupList() {
  std::vector<int> pickups;
  while (static_cast<int>(pickups.size()) < MaxPickupListEntries) {
    const int index = NetReadShort();
    if (index == PickupListEnd || NetReadPastEnd()) break;
    pickups.push_back(index);
  }
  return pickups;
}
