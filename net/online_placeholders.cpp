// Stand-ins for hosting, the server browser, the host step and the client dispatcher until online play is built.
#include <cstdlib>

#include "net/dispatcher.h"
#include "net/host_rules.h"
#include "net/host_step.h"
#include "net/hosting.h"
#include "net/server_browser.h"
#include "platform/system.h"
#include "world/records.h"

void HostSetup() { Notify("Online play is not available yet"); }

int ServerBrowser() {
  Notify("Online play is not available yet");
  return 0;
}

int Disconnected = 0;
int RedScore = 0, BlueScore = 0;

void HostNetUpdate() {}
void ClientNetUpdate() {}
void RequestNewGame() {}

// In single play the own state goes to nobody, a win is never announced and there is no host
// to record a pickup.
void SendPlayerState(int) {}
void AnnounceWinner(const std::string&) {}
void HostPickupTaken(int, int, int) {}

// The chat window scrolls up one line; the new line goes to the bottom (line 13).
void AddChatLine(const std::string& text, int system) {
  for (int i = 0; i < 13; ++i) ChatLines[i] = ChatLines[i + 1];
  if (system) {
    ChatLines[13] = {text, 99};
    return;
  }
  int slot = std::atoi(text.substr(0, 2).c_str());
  if (!ValidSlot(slot)) slot = 0;
  ChatLines[13] = {Players[slot].name + (text.size() > 2 ? text.substr(2) : std::string()), slot};
}
