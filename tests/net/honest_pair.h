// Two honest players for the attack tests and benchmark: they walk and report their states every
// 50 ms as the real client does, Alice says a line a second (a quick typist) while chat is
// measured, and they keep what they saw: the longest wait for a states broadcast and the slowest
// line to reach Bob.
#pragma once

#include <algorithm>
#include <chrono>
#include <map>
#include <string>

#include "tests/net/protocol_client.h"

namespace net_harness {

class HonestPair {
 public:
  using Clock = std::chrono::steady_clock;

  protocol::ProtocolClient alice, bob;

  // One step of play; the caller paces the steps (every 5 ms or so).
  void Step() {
    // A busy machine may hold this thread up too: that is no gap of the host's making.
    longestStallMs_ = std::max(longestStallMs_, MsSince(lastStep_));
    lastStep_ = Clock::now();
    if (MsSince(lastMove_) >= 50) {
      ++moves_;
      alice.MoveTo(64 + (moves_ * 3) % 200, 352);
      bob.MoveTo(448 - (moves_ * 5) % 240, 352);
      lastMove_ = Clock::now();
    }
    if (measuringChat_ && MsSince(lastChat_) >= 1000) {
      const std::string text = "line " + std::to_string(++chatsSent_);
      alice.Chat(text);
      unseen_[text] = Clock::now();
      lastChat_ = Clock::now();
    }
    alice.Pump();
    bob.Pump();
    for (; bobRead_ < bob.Got().chats.size(); ++bobRead_) TakeLine(bob.Got().chats[bobRead_]);
  }

  // From now on: the longest states gap and the slowest line are measured afresh, and Alice
  // says her lines (measure) or keeps quiet.
  void StartMeasuring(bool measure = true) {
    for (protocol::ProtocolClient* c : {&alice, &bob}) {
      c->Got().largestStatesGapMs = 0;
      c->Got().lastStatesAtMs = protocol::LibraryTime();
    }
    slowestChatMs_ = 0;
    longestStallMs_ = 0;
    lastStep_ = Clock::now();
    measuringChat_ = measure;
  }
  void StopChatting() { measuringChat_ = false; }

  int LongestGapMs() const { return std::max(alice.Got().largestStatesGapMs, bob.Got().largestStatesGapMs); }
  int SlowestChatMs() const { return slowestChatMs_; }
  // The longest time between two steps: how long the players themselves were held up.
  int LongestStallMs() const { return longestStallMs_; }
  int ChatsSent() const { return chatsSent_; }
  // Lines Alice said that Bob has not seen yet.
  int ChatsUnseen() const { return static_cast<int>(unseen_.size()); }

 private:
  static int MsSince(Clock::time_point start) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
  }
  void TakeLine(const std::string& line) {
    for (auto it = unseen_.begin(); it != unseen_.end(); ++it) {
      const std::string& text = it->first;
      if (line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0) {
        slowestChatMs_ = std::max(slowestChatMs_, MsSince(it->second));
        unseen_.erase(it);
        return;
      }
    }
  }

  int moves_ = 0, chatsSent_ = 0, slowestChatMs_ = 0, longestStallMs_ = 0;
  bool measuringChat_ = false;
  Clock::time_point lastMove_ = Clock::now(), lastChat_ = Clock::now(), lastStep_ = Clock::now();
  std::map<std::string, Clock::time_point> unseen_;
  size_t bobRead_ = 0;
};

}  // namespace net_harness
