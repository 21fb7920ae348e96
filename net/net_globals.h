// Online-play globals not kept in the shared records: the host's own address, the game port,
// the game clock, and the timers and counters of the host step and the client dispatcher.
#pragma once

#include <string>

// The host's own address as typed at set-up; one space when left blank (automatic).
extern std::string OwnAddress;

// The UDP port games are hosted on: 7002, or QXR_GAME_PORT when set to a port number (so that
// several games can run side by side on one machine).
inline constexpr int DefaultGamePort = 7002;
int GamePortNumber();
// Why QXR_GAME_PORT cannot be used (not decimal digits alone, outside 1..65535, or empty), or ""
// when it is unset or names a port. Both programs refuse to start with a bad one rather than
// play on a port nobody asked for.
std::string GamePortProblem();

// Host network time minus the local millisecond clock; 0 until first set.
extern int ClockOffset;
// Sets ClockOffset from a host time t (ms); returns 0.
int SetGameClock(int t);
// The joined client's estimate of the host's time: ClockOffset + the millisecond clock,
// wrapping as 32-bit values.
int GameClock();

// Clock of the last ping (joined client) or heartbeat (host).
extern int PingTimer;
inline constexpr int PingIntervalMs = 5000;

// Host: the clock after which the next states broadcast is due, and its period.
extern int NextStateTime;
inline constexpr int StateInterval = 40;
// Host: a joined player silent for longer than this is dropped.
inline constexpr int SilenceDropMs = 20000;
// Host: connections that hold a slot (joined or waiting to join).
extern int ConnectionCount;

// Joined client: NetTime when the last states broadcast arrived (0 before the first).
extern int LastStatesTime;

// Host round state besides the shared records' HostMode, RoundStartTime, RoundEndTime and
// RoundRunning: when the mode was set, the clock at round start (the tag checks wait from
// it), and the pickups each team has taken in a team-collect round.
extern int ModeSetTime;
extern int RoundClock;
extern int BluePickupCount, RedPickupCount;
