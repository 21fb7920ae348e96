// What the two fuzz targets of the host step share (the hosting client's and the dedicated
// server's, each built with its own core): five connections admitted, four of them joined and
// standing in rooms, the input's packets from them or from strangers, a running round of any
// offered mode when the input asks for one, then one frame of the host step; every input starts
// from the same game.
#pragma once

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
#include "tests/net/fed_packets.h"
#include "tests/net/message_bytes.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/world_files.h"

namespace host_fuzzing {

// Library ids of the connections: four joined, one connected without joining, one that holds
// no slot, and the unassigned id.
inline constexpr RN_PlayerId Senders[8] = {101, 102, 103, 104, 105, 106, 0, 101};

struct Saved {
  std::array<PlayersDetails, MaxPlayers> slots;
  int adminSlot = -1;
  std::string worldName;
};
inline Saved Start;

inline int SlotOf(RN_PlayerId id) {
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (Slots[slot].netId == id) return slot;
  }
  return -1;
}

inline void AdmitPlayers() {
  const int rooms[4] = {LoungeRoom, SinglePlayerRoom, SinglePlayerRoom, 5};
  for (int i = 0; i < 5; ++i) HostReceives({18}, Senders[i]);
  for (int i = 0; i < 4; ++i) {
    const int slot = SlotOf(Senders[i]);
    HostReceives(MessageBytes(MsgJoin{.nameAndSlot = "Player " + std::to_string(i) + std::to_string(slot), .skin = i}),
                 Senders[i]);
    HostReceives(MessageBytes(MsgPlayerState{.slot = slot, .x = 100 + 20 * i, .y = 352, .room = rooms[i]}),
                 Senders[i]);
  }
  std::copy(std::begin(Slots), std::end(Slots), Start.slots.begin());
  Start.adminSlot = AdminSlot;
  Start.worldName = WorldName;
}

// Back to no game, the first world and the players as admitted.
inline void RestoreGame() {
  if (HostMode != 0 || RoundStartTime != 0 || Game.room != LoungeRoom || Game.spectating) ResetGame();
  if (WorldName != Start.worldName) SelectWorld(0);
  const int now = MilliSecs();
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    Slots[slot] = Start.slots[slot];
    Slots[slot].lastSeen = now;
    Players[slot].name = Slots[slot].name;
  }
  AdminSlot = Start.adminSlot;
  CountConnections();
}

// A first byte of 128 + an offered mode sets that round running, its grace time and end passed.
inline void SetRound(uint8_t choice) {
  if (choice < 128 || !OfferedMode(choice - 128)) return;
  HostMode = static_cast<Byte>(choice - 128);
  Game.gameMode = HostMode;
  RoundStartTime = NetTime();
  RoundRunning = 1;
  RoundClock = MilliSecs() - 20000;
  RoundEndTime = NetTime() - 1;
}

inline void RunInput(const uint8_t* data, size_t size) {
  if (size == 0) return;
  SetRound(data[0]);
  for (const FuzzPacket& packet : SplitFuzzInput(data + 1, size - 1)) HostReceives(packet.bytes, Senders[packet.sender]);
  NextStateTime = MilliSecs() - 1;
  HostNetUpdate();
  RestoreGame();
}

}  // namespace host_fuzzing
