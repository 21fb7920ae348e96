// libFuzzer target: packets from the host through the client dispatcher of a client joined in
// slot 3, with five other players named.
#include <string>

#include "net/dispatcher.h"
#include "net/host_rules.h"
#include "net/messages.h"
#include "tests/fuzz/fuzz_packets.h"
#include "tests/net/fed_packets.h"
#include "tests/net/game_in_process.h"
#include "tests/net/message_bytes.h"
#include "world/records.h"

namespace {

constexpr int OwnSlot = 3;
std::vector<uint8_t> NameTable;

// Back to the lounge with the players as named, so that every input starts alike.
void RestoreGame() {
  Disconnected = 0;
  if (Game.room != LoungeRoom || Game.gameMode != 0 || Game.spectating || Game.inGame) ResetGame();
  ClientReceives(NameTable);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  game_in_process::StartUp();
  game_in_process::JoinedInLounge(OwnSlot);
  std::string table;
  for (int slot : {0, 1, 2, 4, 5}) table += "0" + std::to_string(slot) + "Player " + std::to_string(slot) + "0" + std::to_string(slot);
  NameTable = MessageBytes(MsgNameTable{table});
  RestoreGame();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const FuzzPacket& packet : SplitFuzzInput(data, size)) {
    ClientReceives(packet.bytes);
    if (Disconnected) break;  // the dispatcher stops at its own leave
  }
  RestoreGame();
  return 0;
}
