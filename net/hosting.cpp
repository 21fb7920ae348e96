// Hosting set-up: the hosting questions, the server side of the library, registration, empty slots.
#include "net/hosting.h"

#include <string>

#include "client/line_editor.h"
#include "client/settings.h"
#include "net/envelope.h"
#include "net/game_list.h"
#include "net/host_rules.h"
#include "net/host_start.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "platform/system.h"
#include "platform/termination.h"
#include "platform/text.h"
#include "world/records.h"
#include "world/team_rules.h"
#include "world/text_utils.h"

namespace {

constexpr int PromptX = 140, PromptY = 180;
constexpr int OwnAddressPromptLength = 20;  // asked, never stored

std::string Ask(const std::string& prompt, const std::string& prefill, int maxLength) {
  EditBuffer = prefill;
  return InputLine(prompt, PromptX, PromptY, maxLength);
}

}  // namespace

void HostSetup() {
  RegisterAnswer = UpperCase(Ask("Register with online game server? (Y/N) ", RegisterAnswer, HostRegisterLength));
  if (RegisterAnswer == "Y") {
    GameDescription = Ask("Game Description :", GameDescription, DescriptionLength);
    OwnAddress = Ask("Your IP (leave blank for automatic) :", "", OwnAddressPromptLength);
  }
  NetInterface = NetLib.GetRakServerInterface();
  HostPassword = TrimText(Ask("Set server password: ", TrimText(HostPassword), HostPasswordLength));
  if (QuitSignalled()) {
    // The program is ending: nothing is saved, hosted or registered.
    NetInterface = NetLib.DestroyRakServerInterface(NetInterface);
    return;
  }
  SaveSettings();
  StartHostInterface();
  RegisterServer();

  Hosting = 1;
  Game.menuPage = 0;
  HostMode = 0;
  RoundStartTime = 0;
  RoundRunning = 0;
  for (int slot = 0; slot < MaxPlayers; ++slot) ClearPlayerSlot(slot);
  CountConnections();
}
