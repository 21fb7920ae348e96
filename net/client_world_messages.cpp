// The joined client's handling of the host's messages about players, chat, pickups and rooms.
#include <string>

#include "net/client_internal.h"
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "net/room_state.h"
#include "world/enter_room.h"
#include "world/game_modes.h"
#include "world/pickups.h"
#include "world/records.h"
#include "world/team_rules.h"
#include "world/text_utils.h"
#ifndef QXR_DEDICATED
#include "client/sound_effects.h"
#endif

namespace {

constexpr int WalkFrames = 4;
constexpr int HiddenAboveY = 112;   // a player drawn higher than this is not in the playfield
constexpr int NameTableEntry = 12;  // slot (2 digits), name (8), skin (2 digits)
constexpr int OffScreen = 999;

// The number written as two digits; -1 when they are not two digits.
int TwoDigitNumber(const std::string& text, size_t at) {
  if (at + 2 > text.size()) return -1;
  const char a = text[at], b = text[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
  return (a - '0') * 10 + (b - '0');
}

// While following slot, the view goes where that player goes (back to the own hero in the lounge).
void FollowToRoom(int room) {
  if (!ValidRoom(room) || room == Game.room) return;
  Game.room = room;
  if (room == LoungeRoom) {
    StopSpectating();
    if (Players[MySlot].sprite) Players[MySlot].sprite->Show();
  }
  Moved = 1;
  EnterRoom();
}

void ApplyRemoteState(const PlayerStateEntry& e) {
  PlayerType& player = Players[e.slot];
  player.room = e.room;
  player.score = e.score;
  player.lives = static_cast<Byte>(e.lives);
  player.following = static_cast<Byte>(e.following);
  player.percent = static_cast<Byte>(e.percent);
  player.ping = e.ping;
  if (!player.sprite) return;
  sprite& s = *player.sprite;
  s.SetPosition(static_cast<float>(e.x), static_cast<float>(e.y));
  s.mirrored = e.mirrored;
  if (static_cast<int>(s.x) != player.lastX) s.SetFrame(s.frame + 1 >= WalkFrames ? 0 : s.frame + 1);
  player.lastX = static_cast<int>(e.x);
  if (Game.spectating && Game.viewedPlayer == e.slot) FollowToRoom(e.room);
  if (e.room == Game.room && e.y >= HiddenAboveY) s.Show();
  else s.Hide();
}

void NewSkin(int slot, int skin) {
  PlayerType& player = Players[slot];
  if (player.sprite) player.sprite->Remove();
  player.skin = skin;
  player.sprite = sprite::Create(Skins[skin], 0, 0);
  player.sprite->SetColour(static_cast<float>(player.colourR), static_cast<float>(player.colourG),
                           static_cast<float>(player.colourB));
  player.sprite->ResetHandle();
  player.sprite->SetPosition(OffScreen, OffScreen);
}

}  // namespace

void ClientChat() {
  MsgChat chat;
  if (!ReadMessage(chat)) return;
  if (IsSystemChatLine(chat.text)) {
    AddChatLine(chat.text.substr(SystemChatMark.size()), 1);
#ifndef QXR_DEDICATED
    PlayLogonSound();
#endif
  } else {
    AddChatLine(chat.text, 0);
  }
}

void ClientPlayerStates() {
  MsgPlayerStates states;
  ReadMessage(states);
  if (states.count > MaxStatesEntries) return;
  RedScore = 0;
  BlueScore = 0;
  LastStatesTime = NetTime();
  bool rejoin = false;
  for (const PlayerStateEntry& e : states.entries) {
    if (!ValidSlot(e.slot)) continue;
    if (e.slot == MySlot) {
      if (Players[MySlot].sprite) Players[MySlot].sprite->Show();
      const int ping = NetLib.ClientGetAveragePing(NetInterface);
      Players[MySlot].ping = ping < 0 ? 0 : ping;
    } else {
      if (Players[e.slot].name.empty()) rejoin = true;
      ApplyRemoteState(e);
    }
    if (Players[e.slot].team == TeamRed) RedScore += e.score;
    if (Players[e.slot].team == TeamBlue) BlueScore += e.score;
  }
  // A player the host knows and this client does not: the host's name table is asked for again.
  // The join puts this player off screen at the host, so the own state follows it on the same
  // ordered channel (a player standing still would otherwise stay hidden until it moves).
  if (rejoin) {
    WriteMessage(MsgJoin{.nameAndSlot = PlayerName + std::to_string(MySlot), .skin = SelectedSkin});
    NetSend(-1);
    SendPlayerState(1);
  }
}

void ClientNameTable() {
  MsgNameTable table;
  if (!ReadMessage(table)) return;
  const std::string& text = table.table;
  for (size_t at = 0; at + NameTableEntry <= text.size(); at += NameTableEntry) {
    const int slot = TwoDigitNumber(text, at);
    if (!ValidSlot(slot) || slot == MySlot) continue;
    Players[slot].name = text.substr(at + 2, 8);
    int skin = TwoDigitNumber(text, at + 10);
    if (skin < 0 || skin > SkinCount) skin = 0;
    if (skin != Players[slot].skin) NewSkin(slot, skin);
  }
  Moved = 1;
}

void ClientPickupTaken() {
  MsgPickupForward taken;
  if (!ReadMessage(taken) || !PickupPresent(taken.pickupIndex) || !ValidRoom(taken.room)) return;
  Pickups[taken.pickupIndex].present = 0;
  if (taken.room == Game.room || taken.room == Game.ownRoom) RemoveRoomPickup(taken.pickupIndex);
}

void ClientLeave() {
  MsgLeave leave;
  if (!ReadMessage(leave) || !ValidSlot(leave.slot)) return;
  const int slot = leave.slot;
  if (Players[slot].sprite) Players[slot].sprite->Hide();
  if (!Players[slot].name.empty()) AddChatLine(Players[slot].name + " just left the game", 1);
  ClearPlayerSlot(slot);
  if (slot == MySlot) {
    Disconnected = 1;
  } else if (Game.spectating && Game.viewedPlayer == slot) {
    StopSpectating();
  }
}

void ClientRoomQuery() {
  MsgRoomQuery query;
  if (!ReadMessage(query)) return;
  if (query.room != Game.room) {
    WriteMessage(MsgNotInRoom{.requester = query.requester, .room = query.room});
  } else {
    WriteMessage(OwnRoomState(query.requester, query.room));
  }
  NetSend(-1);
}

void ClientRoomState() {
  MsgRoomState state;
  ReadMessage(state);
  if (state.room == Game.room && state.requester == MySlot && !NetReadPastEnd()) {
    ApplyRoomState(state);
    ClearRoomPickupFlags();
    ReadRoomPickupList();
  }
  RoomStateWait = 0;
  Moved = 1;
}

void ClientRoomPickups() {
  ClearRoomPickupFlags();
  ReadRoomPickupList();
  RoomStateWait = 0;
  Moved = 1;
}
