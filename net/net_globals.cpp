// The host's own address and the joined client's game clock.
#include "net/net_globals.h"

#include "platform/clock.h"

std::string OwnAddress;
int ClockOffset = 0;

int SetGameClock(int t) {
  ClockOffset = static_cast<int>(static_cast<unsigned>(t) - static_cast<unsigned>(MilliSecs()));
  return 0;
}

int GameClock() { return static_cast<int>(static_cast<unsigned>(ClockOffset) + static_cast<unsigned>(MilliSecs())); }
