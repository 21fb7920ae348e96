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

int GamePortNumber() {
  const char* value = std::getenv("QXR_GAME_PORT");
  if (value == nullptr || *value == '\0') return DefaultGamePort;
  char* end = nullptr;
  long port = std::strtol(value, &end, 10);
  return *end == '\0' && port > 0 && port <= 65535 ? static_cast<int>(port) : DefaultGamePort;
}

int SetGameClock(int t) {
  ClockOffset = static_cast<int>(static_cast<unsigned>(t) - static_cast<unsigned>(MilliSecs()));
  return 0;
}

int GameClock() { return static_cast<int>(static_cast<unsigned>(ClockOffset) + static_cast<unsigned>(MilliSecs())); }
