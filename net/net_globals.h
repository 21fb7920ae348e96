// Online-play globals not kept in the shared records: the host's own address and the game clock.
#pragma once

#include <string>

// The host's own address as typed at set-up; one space when left blank (automatic).
extern std::string OwnAddress;

// Host network time minus the local millisecond clock; 0 until first set.
extern int ClockOffset;
// Sets ClockOffset from a host time t (ms); returns 0.
int SetGameClock(int t);
// The joined client's estimate of the host's time: ClockOffset + the millisecond clock,
// wrapping as 32-bit values.
int GameClock();
