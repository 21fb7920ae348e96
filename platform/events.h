// Timers and event hooks: timer ticks are delivered on the main thread while input is polled.
//
// A timer of n Hz counts ticks on the platform's millisecond clock (the fast clock in
// QXR_FAST mode, so a 60 Hz timer ticks once per flip there). Whenever input is polled
// (PollInput, and so every Flip) each timer that is due sends one tick event to every hook;
// ticks missed while nothing polled are merged into that one event.
#pragma once

#include <memory>

constexpr int EventTimerTick = 0x801;

struct Event {
  int id = 0;
  const void* source = nullptr;  // for a tick: the Timer
};

using EventHookFunction = void (*)(const Event& event, void* context);

// Hooks run in descending priority; equal priorities in the order they were added.
void AddHook(EventHookFunction function, void* context, int priority = 0);
void RemoveHook(EventHookFunction function, void* context);

class Timer {
 public:
  explicit Timer(int hertz);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  int Hertz() const { return hertz_; }

 private:
  friend void DispatchTimerTicks();
  int hertz_;
  int lastMs_;             // clock at the last look
  long long owedMs_ = 0;   // milliseconds times hertz not yet paid out as ticks
};

// A timer that ticks hertz times a second until it is destroyed (hertz below 1 counts as 1).
std::unique_ptr<Timer> CreateTimer(int hertz);
void StopTimer(std::unique_ptr<Timer>& timer);  // nothing when there is none

// Sends the tick of every due timer to the hooks; PollInput calls it.
void DispatchTimerTicks();
