// The millisecond clock (real or advanced by flips), sleeping, date and time texts, random numbers.
#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <utility>

namespace {

const auto ProgramStart = std::chrono::steady_clock::now();

// Fast mode: whole flips and slept milliseconds; 1000/60 per flip is kept exact by
// multiplying the flip count rather than adding a rounded step.
int64_t FastFlips = 0;
int64_t FastSleptMs = 0;

std::atomic<bool> ClockHeld{false};
std::atomic<int> HeldReading{0};

uint64_t RandomState = 0x2545F4914F6CDD1DULL;

uint64_t NextRandom() {
  // xorshift64*: small, fast and fully determined by the seed.
  RandomState ^= RandomState >> 12;
  RandomState ^= RandomState << 25;
  RandomState ^= RandomState >> 27;
  return RandomState * 0x2545F4914F6CDD1DULL;
}

}  // namespace

bool FastClock() {
  static const bool fast = [] {
    const char* value = std::getenv("QXR_FAST");
    return value && std::strcmp(value, "1") == 0;
  }();
  return fast;
}

void AdvanceFastClock() { ++FastFlips; }

void HoldClock(int reading) {
  HeldReading = reading;
  ClockHeld = true;
}

void ReleaseClock() { ClockHeld = false; }

int MilliSecs() {
  if (ClockHeld) return HeldReading;
  int64_t ms;
  if (FastClock()) {
    ms = FastFlips * 1000 / 60 + FastSleptMs;
  } else {
    ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - ProgramStart)
             .count();
  }
  return static_cast<int>(static_cast<uint32_t>(ms));
}

void Delay(int ms) {
  if (ms <= 0) return;
  if (FastClock()) {
    // A sleep still lets time pass, so loops that wait on the clock end; it just costs nothing.
    FastSleptMs += ms;
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string FormatLocalTime(const char* strftimeFormat) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[128];
  size_t length = std::strftime(text, sizeof text, strftimeFormat, &local);
  return std::string(text, length);
}

std::string CurrentDate() { return FormatLocalTime("%d %b %Y"); }
std::string CurrentTime() { return FormatLocalTime("%H:%M:%S"); }

void SeedRnd(int seed) {
  // Spread the seed so that nearby seeds give unrelated sequences; never let the state be 0.
  uint64_t z = static_cast<uint64_t>(static_cast<uint32_t>(seed)) + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  RandomState = z ? z : 0x2545F4914F6CDD1DULL;
}

int Rand(int low, int high) {
  if (low > high) std::swap(low, high);
  uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
  return static_cast<int>(low + static_cast<int64_t>(NextRandom() % span));
}

float Rnd(float low, float high) {
  double unit = static_cast<double>(NextRandom() >> 11) * (1.0 / 9007199254740992.0);  // [0, 1)
  float value = static_cast<float>(low + (high - low) * unit);
  // Rounding to float can land on high itself; keep the result inside [low, high).
  if (value >= high && high > low) value = std::nextafter(high, low);
  return value;
}
