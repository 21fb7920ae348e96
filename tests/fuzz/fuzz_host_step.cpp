// libFuzzer target: packets from five players (and from strangers) through the host step of a
// hosting client, with a game of any mode running or none; then one frame of the host step.
#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <vector>

#include "net/host_rules.h"
#include "net/host_step.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "platform/clock.h"
#include "tests/fuzz/fuzz_packets.h"
#include "tests/net/game_in_process.h"
#include "tests/net/message_bytes.h"
#include "world/game_modes.h"
#include "world/records.h"

namespace {

using game_in_process::HostReceives;

// Library ids of the connections: slots 1..4 joined, slot 5 connected without joining, one id
// that holds no slot, and the unassigned id.
constexpr RN_PlayerId Senders[8] = {101, 102, 103, 104, 105, 106, 0, 101};
std::array<PlayersDetails, MaxPlayers> JoinedSlots;

void AdmitPlayers() {
  const int rooms[4] = {LoungeRoom, SinglePlayerRoom, SinglePlayerRoom, 5};
  for (int i = 0; i < 5; ++i) HostReceives({18}, Senders[i]);
  for (int i = 0; i < 4; ++i) {
    const int slot = i + 1;
    HostReceives(MessageBytes(MsgJoin{.nameAndSlot = "Player " + std::to_string(slot) + std::to_string(slot), .skin = i}),
                 Senders[i]);
    HostReceives(MessageBytes(MsgPlayerState{.slot = slot, .x = 100 + 20 * i, .y = 352, .room = rooms[i]}), Senders[i]);
  }
  std::copy(std::begin(Slots), std::end(Slots), JoinedSlots.begin());
}

// Back to the lounge with the players as admitted, so that every input starts alike.
void RestoreGame() {
  if (HostMode != 0 || RoundStartTime != 0 || Game.room != LoungeRoom || Game.spectating) ResetGame();
  const int now = MilliSecs();
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    Slots[slot] = JoinedSlots[slot];
    Slots[slot].lastSeen = now;
    Players[slot].name = Slots[slot].name;
  }
  CountConnections();
}

// The first byte may set a running round of an offered mode, its grace time and end passed.
void SetRound(uint8_t choice) {
  if (choice < 128 || !OfferedMode(choice - 128)) return;
  HostMode = static_cast<Byte>(choice - 128);
  Game.gameMode = HostMode;
  RoundStartTime = NetTime();
  RoundRunning = 1;
  RoundClock = MilliSecs() - 20000;
  RoundEndTime = NetTime() - 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  game_in_process::StartUp();
  game_in_process::HostInLounge(0);
  AdmitPlayers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  SetRound(data[0]);
  for (const FuzzPacket& packet : SplitFuzzInput(data + 1, size - 1)) HostReceives(packet.bytes, Senders[packet.sender]);
  NextStateTime = MilliSecs() - 1;
  HostNetUpdate();
  RestoreGame();
  return 0;
}
