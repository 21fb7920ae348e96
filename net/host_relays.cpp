// The host's relays: chat, pickups taken, and the live state of rooms between players.
#include <array>

#include "net/chat_window.h"
#include "net/envelope.h"
#include "net/host_internal.h"
#include "net/host_rules.h"
#include "net/messages.h"
#include "net/room_state.h"
#include "platform/clock.h"
#include "world/dedicated.h"
#include "world/enemies.h"
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
  // Only joined players chat, each as itself; of system lines a client sends only its own
  // join notice, once.
  const int sender = SenderSlot();
  if (sender < 0 || Slots[sender].name.empty()) return;
  SenderAllowances& allowed = AllowancesOf(sender);
  const bool systemLine = IsSystemChatLine(chat.text);
  if (systemLine) {
    if (allowed.announced || chat.text != JoinNotice(Slots[sender].name)) return;
  } else {
    if (ChatLineSlot(chat.text) != sender) return;
    chat.text = PrintableChatLine(chat.text);
  }
  // A flood is dropped here: neither shown, logged nor passed on.
  if (!TakeAllowance(allowed.chat, MilliSecs())) return;
  if (systemLine) allowed.announced = true;
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
  // Beyond its allowance a player asks nobody else: it gets the pickups alone.
  const bool mayAsk = TakeAllowance(AllowancesOf(requester).rooms, MilliSecs());
  const int reporter = mayAsk ? FirstOtherPlayerIn(entered.room, requester) : -1;
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
    // The requester's room may have several arrows: the longer period bounds the counters.
    BoundRoomState(state, LongArrowPeriod);
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
