// The client's game inside a test program: start-up, hosting or joined in the lounge.
#include "tests/net/game_in_process.h"

#include <cstdlib>

#include "assets/embedded_files.h"
#include "client/client_records.h"
#include "client/game_session.h"
#include "client/pictures.h"
#include "net/dispatcher.h"
#include "net/host_rules.h"
#include "net/netlib_binding.h"
#include "platform/graphics.h"
#include "platform/system.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/static_data.h"
#include "world/team_rules.h"

namespace game_in_process {
namespace {

constexpr int MaxConnections = 15;
constexpr int LibraryReserved = 414194, ThreadSleepMs = 1;

// The game as a session starts it: the own player in the lounge, the first world loaded.
void StartSession(int mySlot) {
  MySlot = mySlot;
  Game.singlePlayer = 0;
  PlayerName = mySlot == 0 ? "  Host  " : " Joiner ";
  Players[mySlot].name = PlayerName;
  SfxOn = 0;
  StartGame();
}

}  // namespace

void StartUp() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  RegisterEmbeddedFiles();
  if (!Graphics(640, 480)) RaiseError("no screen");
  AutoMidHandle(false);
  LoadPictures();
  CreateClientRecords();
  FillModeTexts();
  FillRaceRoomTable();
  ReadMovementTables();
  BindNetLibrary();
}

bool HostInLounge(int port) {
  NetInterface = NetLib.GetRakServerInterface();
  if (port != 0 && NetLib.ServerStart(NetInterface, MaxConnections, LibraryReserved, ThreadSleepMs, port) != 0) {
    NetInterface = NetLib.DestroyRakServerInterface(NetInterface);
    return false;
  }
  Hosting = 1;
  HostMode = 0;
  RoundStartTime = 0;
  RoundRunning = 0;
  for (int slot = 0; slot < MaxPlayers; ++slot) ClearPlayerSlot(slot);
  CountConnections();
  StartSession(0);
  Slots[0].name = PlayerName;
  return true;
}

void JoinedInLounge(int mySlot) {
  NetInterface = NetLib.GetRakClientInterface();
  Hosting = 0;
  Disconnected = 0;
  StartSession(mySlot);
}

}  // namespace game_in_process
