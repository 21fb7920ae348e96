// The host's admission of players: new connections, joining, own states, pings and leaving.
#include <string>

#include "net/envelope.h"
#include "net/host_internal.h"
#include "net/host_rules.h"
#include "net/messages.h"
#include "net/netlib_binding.h"
#include "platform/clock.h"
#include "world/dedicated.h"
#include "world/exits_death.h"
#include "world/records.h"
#include "world/team_rules.h"
#ifndef QXR_DEDICATED
#include "client/sound_effects.h"
#endif

namespace {

constexpr int NameLength = 8;
constexpr int OffScreen = 999;

// On the hosting client slot 0 is the host's own player; the server gives out every slot.
int FirstFreeSlot() {
  for (int slot = Dedicated ? 0 : 1; slot < MaxPlayers; ++slot) {
    if (Slots[slot].netId == -1) return slot;
  }
  return -1;
}

void Welcome(int slot, RN_PlayerId id) {
  WriteMessage(MsgWelcome{.slot = slot, .hostTime = NetTime(), .version = ProtocolVersion});
  NetSendTo(id);
}

// The slot number written after the 8-character name of a join; -1 when there is none.
int JoinedSlot(const std::string& nameAndSlot) {
  if (nameAndSlot.size() <= NameLength || nameAndSlot.size() > NameLength + 2) return -1;
  int slot = 0;
  for (size_t i = NameLength; i < nameAndSlot.size(); ++i) {
    const char c = nameAndSlot[i];
    if (c < '0' || c > '9') return -1;
    slot = slot * 10 + (c - '0');
  }
  return ValidSlot(slot) ? slot : -1;
}

std::string TwoDigits(int value) {
  std::string text = std::to_string(value);
  return text.size() == 2 ? text : "0" + text;
}

void SendNameTable() {
  MsgNameTable table;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (Slots[slot].name.empty()) continue;
    table.table += TwoDigits(slot) + Slots[slot].name + TwoDigits(Slots[slot].skin);
  }
  WriteMessage(table);
  NetSend(-1);
}

void SendTeamTableTo(int slot) {
  MsgTeamTable table;
  for (int s = 0; s < MaxPlayers; ++s) {
    if (!Slots[s].name.empty()) table.entries.push_back({.slot = s, .team = Slots[s].team});
  }
  WriteMessage(table);
  NetSend(slot);
}

// The hosting client draws every joined player with the picture of its skin.
void MakePlayerSprite(int slot, int skin) {
  if constexpr (!Dedicated) {
    PlayerType& player = Players[slot];
    if (player.sprite) player.sprite->Remove();
    player.skin = skin;
    player.sprite = sprite::Create(Skins[skin], 0, 0);
    player.sprite->SetColour(static_cast<float>(player.colourR), static_cast<float>(player.colourG),
                             static_cast<float>(player.colourB));
    player.sprite->ResetHandle();
    player.sprite->SetPosition(OffScreen, OffScreen);
  } else {
    (void)slot;
    (void)skin;
  }
}

void PlayLogon() {
#ifndef QXR_DEDICATED
  PlayLogonSound();
#endif
}

// A free slot given to connection id, which waits in the lounge to join. It starts in no team
// and untagged, whatever the slot's last player was.
void GiveSlot(int slot, RN_PlayerId id) {
  PlayersDetails& d = Slots[slot];
  d.netId = id;
  d.name.clear();
  d.lastSeen = MilliSecs();
  d.x = StartPlaceX(slot, 32);
  d.y = 352;
  d.room = LoungeRoom;
  d.team = TeamNone;
  d.tagged = 0;
  Players[slot].team = TeamNone;
  CountConnections();
  Welcome(slot, id);
}

}  // namespace

void HostAdmit() {
  const RN_PlayerId id = NetLib.CreatePlayerIDFromPacket(CurrentPacket);
  const int slot = FirstFreeSlot();
  if (slot < 0) {
    // Nobody could ever join through it: close it rather than keep it waiting.
    NetLib.ServerCloseConnection(NetInterface, id);
    return;
  }
  GiveSlot(slot, id);
}

void HostWelcomeRequest() {
  MsgWelcomeRequest request;
  ReadMessage(request);  // its value is not used
  // Only a connection without a slot may ask, and it gets one slot at most.
  if (SenderSlot() >= 0) return;
  const int slot = FirstFreeSlot();
  if (slot < 0) return;
  GiveSlot(slot, NetLib.PacketGetplayerID(CurrentPacket));
  PlayLogon();
}

void HostJoin() {
  MsgJoin join;
  if (!ReadMessage(join)) return;
  const int slot = JoinedSlot(join.nameAndSlot);
  if (!SpeaksForSender(slot) || !TakeAllowance(AllowancesOf(slot).tables, MilliSecs())) return;
  const std::string name = join.nameAndSlot.substr(0, NameLength);
  const int skin = join.skin < 0 || join.skin > SkinCount ? 0 : join.skin;

  Slots[slot].name = name;
  Players[slot].name = name;
  MakePlayerSprite(slot, skin);
  Slots[slot].x = Slots[slot].y = Slots[slot].room = OffScreen;
  Slots[slot].skin = skin;
  Players[slot].skin = skin;
  Slots[slot].lastSeen = MilliSecs();

  SendNameTable();
  SendTeamTableTo(slot);
  if (AdminSlot == -1) AppointAdmin(-1);
}

void HostOwnState() {
  MsgPlayerState state;
  if (!ReadMessage(state) || !SpeaksForSender(state.slot) || !ValidRoom(state.room)) return;
  PlayersDetails& d = Slots[state.slot];
  d.x = state.x;
  d.y = state.y;
  d.frame = state.mirrored;
  d.room = state.room;
  d.score = state.score;
  d.lives = static_cast<Byte>(state.lives);
  d.following = static_cast<Byte>(state.following);
  d.percent = static_cast<Byte>(state.percent);
  d.lastSeen = MilliSecs();
}

void HostPing() {
  MsgPing ping;
  if (!ReadMessage(ping) || !SpeaksForSender(ping.slot)) return;
  Slots[ping.slot].lastSeen = MilliSecs();
  Slots[ping.slot].ping = ping.ping < 0 ? 0 : ping.ping;
}

void HostLeave() {
  MsgLeave leave;
  if (!ReadMessage(leave) || !SpeaksForSender(leave.slot)) return;
  PlayerLeft(leave.slot);
}
