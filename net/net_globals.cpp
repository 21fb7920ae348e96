// The host's own address, the game port, the joined client's game clock, and the online timers.
#include "net/net_globals.h"

#include <cstdlib>

#include "platform/clock.h"

std::string OwnAddress;
int ClockOffset = 0;
int PingTimer = 0;
int NextStateTime = 0;
int ConnectionCount = 0;
int LastStatesTime = 0;
int ModeSetTime = 0;
int RoundClock = 0;
int BluePickupCount = 0, RedPickupCount = 0;

namespace {

constexpr const char* GamePortVariable = "QXR_GAME_PORT";
constexpr int HighestPort = 65535;

// The port a QXR_GAME_PORT value names: decimal digits only, 1 to 65535; 0 for anything else.
int PortOf(const std::string& value) {
  if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int port = std::stoi(value);
  return port <= HighestPort ? port : 0;
}

}  // namespace

int GamePortNumber() {
  const char* value = std::getenv(GamePortVariable);
  if (value == nullptr) return DefaultGamePort;
  const int port = PortOf(value);
  return port != 0 ? port : DefaultGamePort;
}

std::string GamePortProblem() {
  const char* value = std::getenv(GamePortVariable);
  if (value == nullptr || PortOf(value) != 0) return "";
  return std::string(GamePortVariable) + " must be a port number from 1 to " + std::to_string(HighestPort) +
         ", not \"" + value + "\"";
}

int SetGameClock(int t) {
  ClockOffset = static_cast<int>(static_cast<unsigned>(t) - static_cast<unsigned>(MilliSecs()));
  return 0;
}

int GameClock() { return static_cast<int>(static_cast<unsigned>(ClockOffset) + static_cast<unsigned>(MilliSecs())); }
