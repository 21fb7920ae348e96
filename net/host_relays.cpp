// The host's relays: chat, pickups taken, and the live state of rooms between players.
#include <array>

#include "net/chat_window.h"
#include "net/envelope.h"
#include "net/host_internal.h"
#include "net/host_rules.h"
#include "net/messages.h"
#include "net/room_state.h"
#include "world/dedicated.h"
#include "world/pickups.h"
#include "world/records.h"
#ifndef QXR_DEDICATED
#include "client/sound_effects.h"
#endif

namespace {

bool HostingClient() { return Hosting && !Dedicated; }

// Per requester slot: who was asked for the state of which room (-1: nobody).
struct RoomQuestion {
  int reporter = -1;
  int room = 0;
};
std::array<RoomQuestion, MaxPlayers> Questions;

void SendRoomPickupsTo(int room) {
  NetBeginMessage();
  NetWriteByte(MsgRoomPickups::type);
  WriteRoomPickups(room);
}

// The first joined slot other than the requester that is in room; -1 when there is none.
int FirstOtherPlayerIn(int room, int requester) {
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (slot != requester && !Slots[slot].name.empty() && Slots[slot].room == room) return slot;
  }
  return -1;
}

// The hosting client in the requested room answers for it at once.
void AnswerFromOwnRoom(int requester) {
  WriteMessage(OwnRoomState(requester, Game.room));
  WriteRoomPickups(Game.room);
  NetSend(requester);
}

}  // namespace

void HostChat() {
  MsgChat chat;
  if (!ReadMessage(chat)) return;
  const int sender = SenderSlot();
  const bool systemLine = chat.text.compare(0, SystemChatMark.size(), SystemChatMark) == 0;
  // A player line must be the sender's own; a system line comes only from a player's connection.
  if (sender < 0 || (!systemLine && ChatLineSlot(chat.text) != sender)) return;
  if (HostingClient()) {
    if (systemLine) {
      AddChatLine(chat.text.substr(SystemChatMark.size()), 1);
    } else {
      AddChatLine(chat.text, 0);
    }
  }
#ifndef QXR_DEDICATED
  if (systemLine) PlayLogonSound();
#endif
  WriteMessage(chat);
  NetSendChat();
}

void HostPickupMessage() {
  MsgPickupTaken taken;
  if (!ReadMessage(taken) || !SpeaksForSender(taken.collector)) return;
  HostPickupTaken(taken.room, taken.pickupIndex, taken.collector);
}

void HostEnterRoom() {
  MsgEnterRoom entered;
  if (!ReadMessage(entered) || !SpeaksForSender(entered.slot) || !ValidRoom(entered.room)) return;
  const int requester = entered.slot;
  const int reporter = FirstOtherPlayerIn(entered.room, requester);
  if (reporter == 0 && HostingClient()) {
    if (!Game.spectating) {
      AnswerFromOwnRoom(requester);
      return;
    }
  } else if (reporter >= 0) {
    AskForRoomState(requester, entered.room, reporter);
    return;
  }
  // Nobody can tell: only the pickups still there.
  SendRoomPickupsTo(entered.room);
  NetSendTo(Slots[requester].netId);
}

void AskForRoomState(int requester, int room, int reporter) {
  if (!ValidSlot(requester) || !ValidSlot(reporter)) return;
  Questions[requester] = {reporter, room};
  WriteMessage(MsgRoomQuery{.requester = requester, .room = room});
  NetSend(reporter);
}

bool AnswersRoomQuery(int requester, int room) {
  if (!ValidSlot(requester)) return false;
  RoomQuestion& asked = Questions[requester];
  if (asked.reporter < 0 || asked.reporter != SenderSlot() || asked.room != room) return false;
  asked = RoomQuestion{};
  return true;
}

void HostRoomState() {
  MsgRoomState state;
  if (!ReadMessage(state) || !ValidRoom(state.room) || !AnswersRoomQuery(state.requester, state.room)) return;
  if (!HostingClient() || state.requester != 0) {
    WriteMessage(state);
    WriteRoomPickups(state.room);
    NetSend(state.requester);
    return;
  }
  // The host asked for the room it entered; it may have left it since.
  if (state.room == Game.room && state.requester == MySlot) ApplyRoomState(state);
  RoomStateWait = 0;
  SpawnRoomPickups();
}

void HostNotInRoom() {
  MsgNotInRoom answer;
  if (!ReadMessage(answer) || !AnswersRoomQuery(answer.requester, answer.room)) return;
  if (HostingClient() && answer.requester == 0) {
    RoomStateWait = 0;
    Game.awaitingRoomState = 0;
    SpawnRoomPickups();
    return;
  }
  SendRoomPickupsTo(answer.room);
  NetSend(answer.requester);
}
