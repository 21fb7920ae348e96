// What the kernel counts of a running program (its /proc files): its memory, the processor time
// of all its threads, and how long one thread ran and how long it waited for a processor.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace clienttest {

// A figure of the program's status file in KB, such as "VmRSS:" (its resident memory) or
// "VmHWM:" (the most it was resident with); 0 once the program has ended.
inline long StatusKb(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + field.size());
  }
  return 0;
}
inline long ResidentKb(pid_t pid) { return StatusKb(pid, "VmRSS:"); }
inline long PeakResidentKb(pid_t pid) { return StatusKb(pid, "VmHWM:"); }

// The user plus system processor time of all the program's threads so far, in clock ticks
// (sysconf(_SC_CLK_TCK) a second); 0 once it has ended.
inline long CpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  const std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The name in parentheses may hold spaces; the fields after it are counted from the third.
  const size_t end = text.rfind(')');
  if (end == std::string::npos) return 0;
  std::istringstream fields(text.substr(end + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::atol(field.c_str());
    if (i == 15) stime = std::atol(field.c_str());
  }
  return utime + stime;
}
inline long long CpuMs(pid_t pid) { return 1000LL * CpuTicks(pid) / sysconf(_SC_CLK_TCK); }

// What the scheduler counts of one thread: the time it ran, and the time it was ready to run
// but waited for a processor (a busy machine's share of its delays), in ms.
struct ThreadTimes {
  long long ranMs = 0, waitedMs = 0;
};
inline ThreadTimes SchedulerTimes(const std::string& schedstat) {
  std::ifstream in(schedstat);
  long long ranNs = 0, waitedNs = 0;
  in >> ranNs >> waitedNs;
  return {ranNs / 1000000, waitedNs / 1000000};
}
// Those of the program's main thread.
inline ThreadTimes MainThreadTimes(pid_t pid) { return SchedulerTimes("/proc/" + std::to_string(pid) + "/schedstat"); }
// Those of the calling thread.
inline ThreadTimes OwnThreadTimes() { return SchedulerTimes("/proc/thread-self/schedstat"); }

}  // namespace clienttest
