// Messages about the session: chat, welcome, join, name table, leave, ping and the administrator.
#include "net/message_fields.h"
#include "net/messages.h"

using namespace message_fields;

void WriteMessage(const MsgChat& m) {
  Begin(MsgChat::type);
  NetWriteString(m.text);
}

bool ReadMessage(MsgChat& m) {
  m.text = NetReadString();
  return Complete();
}

void WriteMessage(const MsgWelcome& m) {
  Begin(MsgWelcome::type);
  NetWriteByte(m.slot);
  NetWriteIntString(m.hostTime);
  NetWriteShort(m.version);
}

bool ReadMessage(MsgWelcome& m) {
  m.slot = NetReadByte();
  m.hostTime = NetReadIntString();
  m.version = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgWelcomeRequest& m) {
  Begin(MsgWelcomeRequest::type);
  NetWriteIntString(m.value);
}

bool ReadMessage(MsgWelcomeRequest& m) {
  m.value = NetReadIntString();
  return Complete();
}

void WriteMessage(const MsgJoin& m) {
  Begin(MsgJoin::type);
  NetWriteString(m.nameAndSlot);
  NetWriteShort(m.skin);
}

bool ReadMessage(MsgJoin& m) {
  m.nameAndSlot = NetReadString();
  m.skin = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgNameTable& m) {
  Begin(MsgNameTable::type);
  NetWriteString(m.table);
}

bool ReadMessage(MsgNameTable& m) {
  m.table = NetReadString();
  return Complete();
}

void WriteMessage(const MsgLeave& m) {
  Begin(MsgLeave::type);
  NetWriteByte(m.slot);
}

bool ReadMessage(MsgLeave& m) {
  m.slot = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgPing& m) {
  Begin(MsgPing::type);
  NetWriteByte(m.slot);
  NetWriteShort(m.ping);
}

bool ReadMessage(MsgPing& m) {
  m.slot = NetReadByte();
  m.ping = NetReadShort();
  return Complete();
}

void WriteMessage(const MsgAdmin& m) {
  Begin(MsgAdmin::type);
  NetWriteByte(m.slot);
}

bool ReadMessage(MsgAdmin& m) {
  m.slot = NetReadByte();
  return Complete();
}

void WriteMessage(const MsgAdminHandOver& m) {
  Begin(MsgAdminHandOver::type);
  NetWriteByte(m.slot);
}

bool ReadMessage(MsgAdminHandOver& m) {
  m.slot = NetReadByte();
  return Complete();
}
