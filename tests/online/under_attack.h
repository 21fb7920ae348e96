// The frame of the attack tests: a real host (attacked_host.h) with two honest players beside it
// (honest_pair.h), and the one way their service under an attack is judged. Each attack runs
// after a quiet spell on the same machine; what the honest players waited for meanwhile must
// stay within bounds that a host the attack holds up far exceeds; where the attack is on the
// places, a newcomer must get in; and afterwards the host's memory is back near where it was.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "tests/client/client_test_support.h"
#include "tests/client/process_figures.h"
#include "tests/net/attacks.h"
#include "tests/net/honest_pair.h"
#include "tests/net/net_harness.h"
#include "tests/net/protocol_client.h"
#include "tests/online/attacked_host.h"

namespace attacktest {

using Clock = std::chrono::steady_clock;
using protocol::ProtocolClient;

// What honest players may wait under an attack. On a quiet machine they wait about 100 ms for a
// states broadcast and about 20 ms for a line under every attack; a host an attack holds up
// makes them wait seconds. Two figures of each wait are held to bounds (honest_pair.h):
// - the host's own processor time within it, at most StatesGapMs and ChatRoundTripMs (three
//   times that in the sanitizer build, which runs the host several times slower): an attack
//   that keeps the host busy is caught at once, however busy the machine;
// - its clock time less the host's and the players' waits for a processor, at most four times
//   that (eight in the sanitizer build) beyond what they waited in a quiet spell just before the
//   attack: an attack that holds the host up without keeping it busy is caught too, while a
//   machine busy with other work leaves room enough.
constexpr int StatesGapMs = 500;
constexpr int ChatRoundTripMs = 250;
inline int Slack() { return clienttest::SanitizerBuild() ? 3 : 1; }
inline int UnwaitedTimes() { return clienttest::SanitizerBuild() ? 8 : 4; }
inline int GapLimitMs() { return UnwaitedTimes() * StatesGapMs; }
inline int ChatLimitMs() { return UnwaitedTimes() * ChatRoundTripMs; }
constexpr long MemoryMarginKb = 5 * 1024;
constexpr int QuietMs = 5000;
// A newcomer gets in within this long during an attack on the places (a connection that never
// joins holds its place for a few seconds).
inline int NewcomerWithinMs() { return clienttest::SanitizerBuild() ? 20000 : 10000; }

inline int MsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// A newcomer that keeps trying to get in (a refusal, a lost attempt or a closed connection
// starts it over) until it is welcomed and has joined.
class Newcomer {
 public:
  explicit Newcomer(int port) : port_(port) {}
  void Step() {
    if (joined_) return client_.Pump();
    if (!trying_ || (client_.Got().welcomes == 0 && MsSince(since_) > 3000) || client_.Got().full > 0 ||
        client_.Got().attemptFailed > 0 || client_.Got().disconnected > 0 || client_.Got().lost > 0) {
      ++attempts_;
      trying_ = client_.StartConnect(port_);
      since_ = Clock::now();
      return;
    }
    client_.Pump();
    if (client_.Got().welcomes > 0) {
      client_.Join("Newcomer", 3);
      joined_ = true;
    }
  }
  bool Joined() const { return joined_; }
  const ProtocolClient& Client() const { return client_; }
  int Attempts() const { return attempts_; }

 private:
  int port_;
  ProtocolClient client_;
  bool trying_ = false, joined_ = false;
  int attempts_ = 0;
  Clock::time_point since_ = Clock::now();
};

// How an attack is run.
struct AttackPlan {
  int attackMs = 10000;      // how long it runs
  // With newcomerAfterMs (>= 0), a newcomer starts trying to get in that long after the attack
  // began, when it holds what it can, and the attack goes on until the newcomer has joined or
  // newcomerWithinMs (0: NewcomerWithinMs()) has passed.
  int newcomerAfterMs = -1;
  int newcomerWithinMs = 0;
};

// What came of it.
struct AttackRun {
  std::string name;
  int strikes = 0;
  int ms = 0;  // how long it ran
};

// A wait's figures, for messages.
inline std::string Figures(const net_harness::Wait& wait) {
  return std::to_string(wait.wallMs) + " ms (host ran " + std::to_string(wait.hostRanMs) + ", " +
         std::to_string(wait.unwaitedMs) + " less waits for a processor)";
}

class HostUnderAttackTest : public ::testing::TestWithParam<Target> {
 protected:
  void SetUp() override {
    net_harness::BindLibrary();
    // The host starts before any player: the library's threads must not exist at the fork.
    host_ = std::make_unique<AttackedHost>(GetParam());
    honest_.WatchHost(host_->Pid());
    ASSERT_TRUE(host_->Admit(alice_)) << host_->Errors();
    alice_.Join("Alice", 4);
    ASSERT_TRUE(host_->Admit(bob_)) << host_->Errors();
    bob_.Join("Bob", 7);
    // Until both know each other, and a little more for the host's memory to settle.
    ASSERT_TRUE(PlayUntil(
        [&] { return alice_.Got().names[bob_.Slot()] == bob_.Name() && bob_.Got().names[alice_.Slot()] == alice_.Name(); },
        20000));
    Play(2000);
  }

  void TearDown() override {
    if (!host_) return;
    alice_.Close();
    bob_.Close();
    EXPECT_TRUE(host_->Stop()) << "the host did not end cleanly when asked\n" << host_->Errors();
    const std::string errors = host_->Errors();
    EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
  }

  // One step of play, about 5 ms, with the attack's and the newcomer's turns.
  void Step(attacks::Attack* attack = nullptr, Newcomer* newcomer = nullptr) {
    honest_.Step();
    if (attack != nullptr) attack->Step();
    if (newcomer != nullptr) newcomer->Step();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  void Play(int ms) {
    const auto start = Clock::now();
    while (MsSince(start) < ms) Step();
  }

  bool PlayUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto start = Clock::now();
    while (!done() && MsSince(start) < timeoutMs) Step();
    return done();
  }

  // After a quiet spell, makes the attack and runs it while the honest players play, then
  // checks what they waited for, the newcomer (by the plan) and the host's memory once the
  // attack has stopped. makeAttack may play (PlayUntil) while it sets the attack up.
  AttackRun Withstand(const std::function<std::unique_ptr<attacks::Attack>()>& makeAttack, const AttackPlan& plan = {}) {
    const bool withNewcomer = plan.newcomerAfterMs >= 0;
    const int newcomerWithinMs = plan.newcomerWithinMs > 0 ? plan.newcomerWithinMs : NewcomerWithinMs();
    const long memoryBefore = clienttest::ResidentKb(host_->Pid());
    // What the players wait for on this machine just now, without the attack.
    honest_.StartMeasuring();
    Play(QuietMs);
    PlayUntil([&] { return honest_.ChatsUnseen() == 0; }, 10 * ChatLimitMs());
    const net_harness::Wait quietGap = honest_.LongestGap(), quietChat = honest_.SlowestChat();

    std::unique_ptr<attacks::Attack> attack = makeAttack();
    AttackRun run{attack->Name()};
    honest_.StartMeasuring();
    Newcomer newcomer(host_->Port());
    const auto start = Clock::now();
    const auto newcomerTries = [&] { return withNewcomer && MsSince(start) >= plan.newcomerAfterMs; };
    while (MsSince(start) < plan.attackMs ||
           (withNewcomer && !newcomer.Joined() && MsSince(start) < plan.newcomerAfterMs + newcomerWithinMs)) {
      Step(attack.get(), newcomerTries() ? &newcomer : nullptr);
    }
    run.ms = MsSince(start);
    run.strikes = attack->Strikes();
    const int closed = attack->ClosedByHost();
    attack.reset();
    honest_.StopChatting();
    // The last lines come round before the attack is judged.
    PlayUntil([&] { return honest_.ChatsUnseen() == 0; }, 10 * ChatLimitMs());

    if (!host_->Running()) {
      ADD_FAILURE() << run.name << ": the host ended\n" << host_->Errors();
      return run;
    }
    EXPECT_GT(run.strikes, 0) << run.name << ": the attack never struck";
    if (closed >= 0) {
      EXPECT_GT(closed, 0) << run.name << ": the host never closed the attacker's connection";
    }
    ExpectHonestPlayersServed(run.name, quietGap, quietChat);
    if (withNewcomer) {
      EXPECT_TRUE(newcomer.Joined()) << run.name << ": the newcomer never got in (" << newcomer.Attempts() << " attempts)";
      // And the others see it.
      const auto seen = [&] { return newcomer.Joined() && alice_.Got().names[newcomer.Client().Slot()] == newcomer.Client().Name(); };
      PlayUntil(seen, 10000);
      if (newcomer.Joined()) {
        EXPECT_TRUE(seen()) << run.name << ": the others never saw the newcomer";
      }
    }
    // The attacker's connections are closed within seconds; what they held is given back.
    const auto settle = Clock::now();
    long memoryAfter = clienttest::ResidentKb(host_->Pid());
    while (memoryAfter > memoryBefore + MemoryMarginKb && MsSince(settle) < 30000) {
      Play(500);
      memoryAfter = clienttest::ResidentKb(host_->Pid());
    }
    EXPECT_LE(memoryAfter, memoryBefore + MemoryMarginKb)
        << run.name << ": memory went from " << memoryBefore << " KB to " << memoryAfter << " KB";
    std::printf("%s, %d strikes in %d ms: longest states gap %s, slowest line %s; in the quiet spell before: %s and %s; "
                "memory %ld -> %ld KB\n",
                run.name.c_str(), run.strikes, run.ms, Figures(honest_.LongestGap()).c_str(),
                Figures(honest_.SlowestChat()).c_str(), Figures(quietGap).c_str(), Figures(quietChat).c_str(),
                memoryBefore, memoryAfter);
    return run;
  }

  // The honest players kept their connections, got the states broadcast and Bob every line of
  // Alice's, within the bounds (see the top) of what they waited for in the quiet spell.
  void ExpectHonestPlayersServed(const std::string& name, const net_harness::Wait& quietGap,
                                 const net_harness::Wait& quietChat) {
    const net_harness::Wait gap = honest_.LongestGap(), chat = honest_.SlowestChat();
    const std::string figures = "; longest states gap " + Figures(gap) + ", slowest line " + Figures(chat) +
                                "; in the quiet spell " + Figures(quietGap) + " and " + Figures(quietChat);
    for (ProtocolClient* c : {&alice_, &bob_}) EXPECT_TRUE(c->Connected()) << name << ": " << c->Name() << " lost the connection";
    EXPECT_GE(honest_.ChatsSent(), 3) << name << ": too few lines to judge the chat by";
    EXPECT_EQ(honest_.ChatsUnseen(), 0) << name << ": lines of " << honest_.ChatsSent() << " never came round";
    EXPECT_LE(gap.hostRanMs, Slack() * StatesGapMs) << name << ": the host was kept busy without a states broadcast" << figures;
    EXPECT_LE(gap.unwaitedMs, GapLimitMs() + quietGap.unwaitedMs) << name << ": the states broadcast stalled" << figures;
    EXPECT_LE(chat.hostRanMs, Slack() * ChatRoundTripMs) << name << ": the host was kept busy before passing a line on"
                                                         << figures;
    EXPECT_LE(chat.unwaitedMs, ChatLimitMs() + quietChat.unwaitedMs) << name << ": a line was held up" << figures;
  }

  std::unique_ptr<AttackedHost> host_;
  net_harness::HonestPair honest_;
  ProtocolClient& alice_ = honest_.alice;
  ProtocolClient& bob_ = honest_.bob;
};

}  // namespace attacktest
