// libFuzzer target: packets from five players (and from strangers) through the host step of a
// hosting client standing in the lounge, with a game of any mode running or none.
#include "tests/fuzz/host_fuzzing.h"
#include "tests/net/game_in_process.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  game_in_process::StartUp();
  game_in_process::HostInLounge(0);
  host_fuzzing::AdmitPlayers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host_fuzzing::RunInput(data, size);
  return 0;
}
