// Timers counted on the millisecond clock, and the hook list their tick events go to.
#include "platform/events.h"

#include <algorithm>
#include <vector>

#include "platform/clock.h"

namespace {

struct Hook {
  EventHookFunction function;
  void* context;
  int priority;
};

// Never destroyed: timers and hooks of objects that outlive them at the program's end still
// take themselves off these lists.
std::vector<Hook>& Hooks() {
  static auto* hooks = new std::vector<Hook>;
  return *hooks;
}

std::vector<Timer*>& Timers() {
  static auto* timers = new std::vector<Timer*>;
  return *timers;
}

bool Registered(const Hook& hook) {
  const auto& hooks = Hooks();
  return std::any_of(hooks.begin(), hooks.end(),
                     [&](const Hook& h) { return h.function == hook.function && h.context == hook.context; });
}

void SendToHooks(const Event& event) {
  // A hook may add or remove hooks: walk a copy, and skip those removed meanwhile.
  const std::vector<Hook> snapshot = Hooks();
  for (const Hook& hook : snapshot)
    if (Registered(hook)) hook.function(event, hook.context);
}

}  // namespace

void AddHook(EventHookFunction function, void* context, int priority) {
  auto& hooks = Hooks();
  auto after = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.priority < priority; });
  hooks.insert(after, Hook{function, context, priority});
}

void RemoveHook(EventHookFunction function, void* context) {
  auto& hooks = Hooks();
  hooks.erase(std::remove_if(hooks.begin(), hooks.end(),
                             [&](const Hook& h) { return h.function == function && h.context == context; }),
              hooks.end());
}

Timer::Timer(int hertz) : hertz_(std::max(hertz, 1)), lastMs_(MilliSecs()) { Timers().push_back(this); }

Timer::~Timer() {
  auto& timers = Timers();
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

std::unique_ptr<Timer> CreateTimer(int hertz) { return std::make_unique<Timer>(hertz); }

void StopTimer(std::unique_ptr<Timer>& timer) { timer.reset(); }

void DispatchTimerTicks() {
  const int now = MilliSecs();
  // A hook may stop timers: collect the due ones first, then check each is still running.
  std::vector<Timer*> due;
  for (Timer* timer : Timers()) {
    const int elapsed = MsSince(timer->lastMs_, now);
    if (elapsed <= 0) continue;
    timer->lastMs_ = now;
    timer->owedMs_ += static_cast<long long>(elapsed) * timer->hertz_;
    if (timer->owedMs_ < 1000) continue;
    timer->owedMs_ %= 1000;  // ticks missed meanwhile become this one
    due.push_back(timer);
  }
  for (Timer* timer : due) {
    const auto& timers = Timers();
    if (std::find(timers.begin(), timers.end(), timer) == timers.end()) continue;
    SendToHooks(Event{EventTimerTick, timer});
  }
}
