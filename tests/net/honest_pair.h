// Two honest players for the attack tests and benchmark: they walk and report their states every
// 50 ms as the real client does, Alice says a line a second (a quick typist) while chat is
// measured, and they keep what they waited for: the states broadcast, and each line to reach Bob.
#pragma once

#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "tests/client/process_figures.h"
#include "tests/net/protocol_client.h"

namespace net_harness {

// How long an honest player waited for something, three ways: by the clock; in the host's own
// processor time meanwhile (all its threads), which an attack that keeps the host busy drives
// up and a busy machine does not; and by the clock less the time the host's main thread and the
// players' thread stood ready to run but waited for a processor, which a busy machine drives up
// far less than the clock and an attack that holds up the host does not lower.
struct Wait {
  int wallMs = 0, hostRanMs = 0, unwaitedMs = 0;
};

class HonestPair {
 public:
  using Clock = std::chrono::steady_clock;

  protocol::ProtocolClient alice, bob;

  // From now on the waits count the processor time and the processor waits of host (a program's
  // process id); without it those figures stay 0 and the unwaited time is the clock's.
  void WatchHost(pid_t host) { host_ = host; }

  // One step of play; the caller paces the steps (every 5 ms or so).
  void Step() {
    if (MsSince(lastMove_) >= 50) {
      ++moves_;
      alice.MoveTo(64 + (moves_ * 3) % 200, 352);
      bob.MoveTo(448 - (moves_ * 5) % 240, 352);
      lastMove_ = Clock::now();
    }
    if (measuringChat_ && MsSince(lastChat_) >= 1000) {
      const std::string text = "line " + std::to_string(++chatsSent_);
      alice.Chat(text);
      unseen_[text] = Now();
      lastChat_ = Clock::now();
    }
    alice.Pump();
    bob.Pump();
    const Moment now = Now();
    for (protocol::ProtocolClient* c : {&alice, &bob}) {
      Moment& last = c == &alice ? aliceStates_ : bobStates_;
      int& seen = c == &alice ? aliceBroadcasts_ : bobBroadcasts_;
      if (c->Got().statesBroadcasts != seen) {
        seen = c->Got().statesBroadcasts;
        last = now;
      }
      // A wait still running counts too: a host that stops for good shows a growing gap.
      KeepLongest(longestGap_, Between(last, now));
    }
    for (; bobRead_ < bob.Got().chats.size(); ++bobRead_) TakeLine(bob.Got().chats[bobRead_], now);
  }

  // From now on: the longest states gap and the slowest line are measured afresh, and Alice
  // says her lines (measure) or keeps quiet.
  void StartMeasuring(bool measure = true) {
    const Moment now = Now();
    aliceStates_ = bobStates_ = now;
    longestGap_ = slowestChat_ = Wait{};
    measuringChat_ = measure;
  }
  void StopChatting() { measuringChat_ = false; }

  // The longest wait for a states broadcast of either player, and the slowest line to reach Bob:
  // each figure the largest any wait had.
  Wait LongestGap() const { return longestGap_; }
  Wait SlowestChat() const { return slowestChat_; }
  int LongestGapMs() const { return longestGap_.wallMs; }
  int SlowestChatMs() const { return slowestChat_.wallMs; }
  int ChatsSent() const { return chatsSent_; }
  // Lines Alice said that Bob has not seen yet.
  int ChatsUnseen() const { return static_cast<int>(unseen_.size()); }

 private:
  // A moment: the clock, the host's processor time so far, and the processor waits of the
  // host's main thread and of this thread so far.
  struct Moment {
    Clock::time_point at = Clock::now();
    long long hostRanMs = 0, waitedMs = 0;
  };
  Moment Now() const {
    Moment m;
    m.waitedMs = clienttest::OwnThreadTimes().waitedMs;
    if (host_ > 0) {
      m.hostRanMs = clienttest::CpuMs(host_);
      m.waitedMs += clienttest::MainThreadTimes(host_).waitedMs;
    }
    return m;
  }
  static Wait Between(const Moment& then, const Moment& now) {
    const long long wall = std::chrono::duration_cast<std::chrono::milliseconds>(now.at - then.at).count();
    return {static_cast<int>(wall), static_cast<int>(now.hostRanMs - then.hostRanMs),
            static_cast<int>(std::max<long long>(0, wall - (now.waitedMs - then.waitedMs)))};
  }
  static void KeepLongest(Wait& longest, const Wait& wait) {
    longest.wallMs = std::max(longest.wallMs, wait.wallMs);
    longest.hostRanMs = std::max(longest.hostRanMs, wait.hostRanMs);
    longest.unwaitedMs = std::max(longest.unwaitedMs, wait.unwaitedMs);
  }
  static int MsSince(Clock::time_point start) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
  }
  void TakeLine(const std::string& line, const Moment& now) {
    for (auto it = unseen_.begin(); it != unseen_.end(); ++it) {
      const std::string& text = it->first;
      if (line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0) {
        KeepLongest(slowestChat_, Between(it->second, now));
        unseen_.erase(it);
        return;
      }
    }
  }

  pid_t host_ = -1;
  int moves_ = 0, chatsSent_ = 0;
  bool measuringChat_ = false;
  Clock::time_point lastMove_ = Clock::now(), lastChat_ = Clock::now();
  Moment aliceStates_, bobStates_;
  int aliceBroadcasts_ = 0, bobBroadcasts_ = 0;
  Wait longestGap_, slowestChat_;
  std::map<std::string, Moment> unseen_;
  size_t bobRead_ = 0;
};

}  // namespace net_harness
