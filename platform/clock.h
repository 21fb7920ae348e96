// Time and chance: the millisecond clock, sleeping, date and time texts, random numbers.
#pragma once

#include <string>

// Milliseconds since program start as a wrapping 32-bit value. Compare two readings by
// their difference (MsSince), never by < or >.
int MilliSecs();
inline int MsSince(int earlier, int now) { return static_cast<int>(static_cast<unsigned>(now) - static_cast<unsigned>(earlier)); }
// The reading ms after time, wrapping as the clock does (times from other machines may lie
// anywhere in the range).
inline int MsAfter(int time, int ms) { return static_cast<int>(static_cast<unsigned>(time) + static_cast<unsigned>(ms)); }
void Delay(int ms);
// For tests of time limits: while held, every reading of MilliSecs is the held value, so a
// check against a limit sees exactly the age a test set up; ReleaseClock lets it run again.
void HoldClock(int reading);
void ReleaseClock();
// Headless fast mode (QXR_FAST=1, read once): the clock advances exactly 1000/60 ms per flip
// (50 ms per 3 flips) and Delay adds its milliseconds; neither ever sleeps.
bool FastClock();
void AdvanceFastClock();       // Flip calls this once per frame in fast mode

std::string CurrentDate();     // "09 Dec 2026"
std::string CurrentTime();     // "04:28:58"
std::string FormatLocalTime(const char* strftimeFormat);

void SeedRnd(int seed);
int Rand(int low, int high);   // integer in low..high inclusive (either order)
float Rnd(float low, float high);  // real in low..high
