// Termination signals: SIGTERM, SIGINT and SIGHUP become a quit request that loops and prompts see.
#include "platform/termination.h"

#include <atomic>
#include <csignal>

namespace {

// Set from the signal handler, which may run on any thread (the networking library has its own).
std::atomic<bool> Signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the handler may only touch a lock-free flag");

extern "C" void OnTerminationSignal(int) { Signalled.store(true, std::memory_order_relaxed); }

}  // namespace

void QuitOnTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  // Calls under way (a sleep, a web request) go on; the loops look at the flag when they return.
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool QuitSignalled() { return Signalled.load(std::memory_order_relaxed); }
