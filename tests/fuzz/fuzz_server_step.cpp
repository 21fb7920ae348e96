// libFuzzer target: packets from five players (and from strangers) through the host step of the
// dedicated server, whose first player is the game administrator, with a game of any mode
// running or none.
#include "assets/embedded_files.h"
#include "client/client_records.h"
#include "net/netlib_binding.h"
#include "tests/fuzz/host_fuzzing.h"
#include "world/pickups.h"

namespace {

constexpr int NoSlot = 255;  // the server has no player of its own

// The server's start-up without its window, settings and registration; its interface is made
// but not started, so that nothing goes out of it.
void StartServer() {
  RegisterEmbeddedFiles();
  CreateClientRecords();
  MySlot = NoSlot;
  BindNetLibrary();
  for (int& first : FirstPickupOfRoom) first = -1;
  FillModeTexts();
  FillRaceRoomTable();
  Hosting = 0;
  SelectWorld(0);
  AdminSlot = -1;
  NetInterface = NetLib.GetRakServerInterface();
  LoadPickups();
  CountConnections();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  StartServer();
  host_fuzzing::AdmitPlayers();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  host_fuzzing::RunInput(data, size);
  return 0;
}
