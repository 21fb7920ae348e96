// Attacks with nothing but packets on a real qxr-server and on a real hosting qxr, with two honest
// players beside: while each attack runs, the honest players keep getting the states broadcast
// without long gaps, their chat comes round quickly, a newcomer can still join, and afterwards
// the host's memory is back near where it was.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "tests/client/client_test_support.h"
#include "tests/net/attacks.h"
#include "tests/net/honest_pair.h"
#include "tests/net/hosting_process.h"
#include "tests/net/net_harness.h"
#include "tests/net/protocol_client.h"
#include "tests/server/server_process.h"

namespace {

using protocol::ProtocolClient;
using Clock = std::chrono::steady_clock;

// What honest players may see while an attack runs, beyond what they saw just before it on the
// same machine and the time they were held up themselves. On a quiet machine they see gaps of
// about 100 ms and chat round in about 20 ms under every attack; these bounds leave room for a
// machine busy with other suites (and the sanitizer build runs several times slower), while a
// host the attack holds up leaves gaps and chat delays of seconds.
int GapLimitMs() { return clienttest::SanitizerBuild() ? 4000 : 2000; }
int ChatLimitMs() { return clienttest::SanitizerBuild() ? 2000 : 1000; }
constexpr long MemoryMarginKb = 5 * 1024;
constexpr int AttackMs = 10000;
constexpr int BeforeAttackMs = 5000;
// A newcomer gets in within this long during an attack on the places (a connection that never
// joins holds its place for a few seconds).
int NewcomerWithinMs() { return clienttest::SanitizerBuild() ? 20000 : 10000; }

int MsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

enum class Target { DedicatedServer, HostingClient };

// The host under attack, in a folder of its own on a free port.
class Host {
 public:
  explicit Host(Target target) : port_(clienttest::FreeLoopbackPort(SOCK_DGRAM)) {
    if (target == Target::DedicatedServer) {
      clienttest::WriteText(folder_.File("server_ip.txt"), "N\r\nUnder attack\r\n\r\n");
      server_ = std::make_unique<servertest::ServerProcess>(folder_.Path(), std::vector<std::string>{"/AUTO"},
                                                            servertest::MeasuredEnvironment(port_));
    } else {
      hosting_ = std::make_unique<net_harness::HostingProcess>(port_, "Hosty", "", servertest::MeasuredEnvironment(port_));
    }
  }
  int Port() const { return port_; }
  pid_t Pid() const { return server_ ? server_->Pid() : hosting_->Pid(); }
  bool Running() { return server_ ? server_->Running() : hosting_->Running(); }
  std::string Errors() const { return server_ ? server_->Errors() : hosting_->Errors(); }
  // Connects a player, trying again while the host starts up.
  bool Admit(ProtocolClient& client) {
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline && Running()) {
      if (client.Connect(port_, "", 2000)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

 private:
  clienttest::ScratchFolder folder_;
  int port_;
  std::unique_ptr<servertest::ServerProcess> server_;
  std::unique_ptr<net_harness::HostingProcess> hosting_;
};

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

class HostUnderAttack : public ::testing::TestWithParam<Target> {
 protected:
  void SetUp() override {
    net_harness::BindLibrary();
    // The host starts before any player: the library's threads must not exist at the fork.
    host_ = std::make_unique<Host>(GetParam());
    ASSERT_TRUE(host_->Admit(alice_)) << host_->Errors();
    alice_.Join("Alice", 4);
    ASSERT_TRUE(host_->Admit(bob_)) << host_->Errors();
    bob_.Join("Bob", 7);
    // Until both know each other, and a little more for the host's memory to settle.
    ASSERT_TRUE(PlayUntil([&] { return alice_.Got().names[bob_.Slot()] == bob_.Name(); }, 20000));
    Play(2000);
  }

  void TearDown() override {
    const std::string errors = host_->Errors();
    EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
  }

  // One step of play, about 5 ms, with the attack's and the newcomer's turns.
  void Step(attacks::Attack* attack, Newcomer* newcomer) {
    honest_.Step();
    if (attack != nullptr) attack->Step();
    if (newcomer != nullptr) newcomer->Step();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  void Play(int ms, attacks::Attack* attack = nullptr, Newcomer* newcomer = nullptr) {
    const auto start = Clock::now();
    while (MsSince(start) < ms) Step(attack, newcomer);
  }

  bool PlayUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto start = Clock::now();
    while (!done() && MsSince(start) < timeoutMs) Step(nullptr, nullptr);
    return done();
  }

  // Runs the attack for AttackMs while the honest players play, then checks what they saw and
  // the host's memory once the attack has stopped. With newcomerAfterMs (>= 0), a newcomer starts
  // trying to get in that long after the attack began, when it holds what it can, and the attack
  // goes on until the newcomer has joined or newcomerWithinMs has passed.
  void Withstand(std::unique_ptr<attacks::Attack> attack, int newcomerAfterMs = -1, int newcomerWithinMs = NewcomerWithinMs()) {
    const bool withNewcomer = newcomerAfterMs >= 0;
    const std::string name = attack->Name();
    const long memoryBefore = ResidentKb(host_->Pid());
    // What the players see on this machine just now, without the attack.
    honest_.StartMeasuring();
    Play(BeforeAttackMs);
    PlayUntil([&] { return honest_.ChatsUnseen() == 0; }, 10 * ChatLimitMs());
    const int quietGap = honest_.LongestGapMs(), quietChat = honest_.SlowestChatMs();
    honest_.StartMeasuring();
    Newcomer newcomer(host_->Port());
    const auto start = Clock::now();
    const auto newcomerTries = [&] { return withNewcomer && MsSince(start) >= newcomerAfterMs; };
    while (MsSince(start) < AttackMs ||
           (withNewcomer && !newcomer.Joined() && MsSince(start) < newcomerAfterMs + newcomerWithinMs)) {
      Step(attack.get(), newcomerTries() ? &newcomer : nullptr);
    }
    const int strikes = attack->Strikes();
    const int closed = attack->ClosedByHost();
    attack.reset();
    honest_.StopChatting();
    // The last lines come round before the attack is judged.
    PlayUntil([&] { return honest_.ChatsUnseen() == 0; }, 10 * ChatLimitMs());

    ASSERT_TRUE(host_->Running()) << name << ": the host ended\n" << host_->Errors();
    EXPECT_GT(strikes, 0) << name << ": the attack never struck";
    if (closed >= 0) {
      EXPECT_GT(closed, 0) << name << ": the host never closed the attacker's connection";
    }
    const int stall = honest_.LongestStallMs();
    const std::string quiet = " (before the attack: " + std::to_string(quietGap) + " ms and " + std::to_string(quietChat) +
                              " ms; held up " + std::to_string(stall) + " ms itself)";
    for (ProtocolClient* c : {&alice_, &bob_}) {
      EXPECT_TRUE(c->Connected()) << name << ": " << c->Name() << " lost the connection";
      EXPECT_LT(c->Got().largestStatesGapMs, GapLimitMs() + quietGap + stall)
          << name << ": " << c->Name() << " waited that long for states" << quiet;
    }
    EXPECT_EQ(honest_.ChatsUnseen(), 0) << name << ": chat lines of " << honest_.ChatsSent() << " never came round";
    EXPECT_LT(honest_.SlowestChatMs(), ChatLimitMs() + quietChat + stall) << name << ": the slowest chat line took that long" << quiet;
    if (withNewcomer) {
      EXPECT_TRUE(newcomer.Joined()) << name << ": the newcomer never got in (" << newcomer.Attempts() << " attempts)";
      // And the others see it.
      const auto seen = [&] { return newcomer.Joined() && alice_.Got().names[newcomer.Client().Slot()] == newcomer.Client().Name(); };
      PlayUntil(seen, 10000);
      if (newcomer.Joined()) {
        EXPECT_TRUE(seen()) << name << ": the others never saw the newcomer";
      }
    }
    // The attacker's connections are closed within seconds; what they held is given back.
    const auto settle = Clock::now();
    long memoryAfter = ResidentKb(host_->Pid());
    while (memoryAfter > memoryBefore + MemoryMarginKb && MsSince(settle) < 30000) {
      Play(500);
      memoryAfter = ResidentKb(host_->Pid());
    }
    EXPECT_LE(memoryAfter, memoryBefore + MemoryMarginKb) << name << ": memory went from " << memoryBefore << " KB to "
                                                          << memoryAfter << " KB";
    std::printf("%s: longest states gap %d ms, slowest chat %d ms%s, memory %ld -> %ld KB, %d strikes\n", name.c_str(),
                honest_.LongestGapMs(), honest_.SlowestChatMs(), quiet.c_str(), memoryBefore, memoryAfter, strikes);
  }

  std::unique_ptr<Host> host_;
  net_harness::HonestPair honest_;
  ProtocolClient& alice_ = honest_.alice;
  ProtocolClient& bob_ = honest_.bob;
};

TEST_P(HostUnderAttack, ReliableCommandsFarOutOfOrder) {
  Withstand(attacks::OutOfOrderCommands(host_->Port(), 50, true));
}

TEST_P(HostUnderAttack, ReliableCommandsOutOfOrderWithinReachAgainAndAgain) {
  Withstand(attacks::OutOfOrderCommands(host_->Port(), 50, true, false));
}

TEST_P(HostUnderAttack, ReliableCommandsOutOfOrderWithoutHello) {
  Withstand(attacks::OutOfOrderCommands(host_->Port(), 50, false));
}

TEST_P(HostUnderAttack, APlayerThatNeverAcknowledgesWhatTheHostSendsIt) {
  // Two hundred requests a second, each answered: the host gives up on the player within seconds.
  Withstand(attacks::NeverAcknowledges(host_->Port(), 200));
}

TEST_P(HostUnderAttack, OversizedDatagrams) {
  Withstand(attacks::OversizedDatagrams(host_->Port(), 300));
}

TEST_P(HostUnderAttack, ConnectionsThatNeverJoinLeavePlacesForNewcomers) {
  // They all hold a place once the host has let each of them in (a few at a time).
  Withstand(attacks::SilentJoiners(host_->Port(), 16), 4000);
}

TEST_P(HostUnderAttack, ConnectionsThatVanishLeavePlacesForNewcomers) {
  // By then, dead connections would hold every place if nothing closed them.
  Withstand(attacks::ConnectAndVanish(host_->Port(), 2), 9000);
}

TEST_P(HostUnderAttack, ForgedHandshakesLeavePlacesForNewcomers) {
  // By then, they would hold every place for handshakes if the oldest did not give way; the
  // newcomer's first attempt finds one (without that, a place comes free now and then, and a
  // newcomer that keeps trying may be lucky, after a while).
  Withstand(attacks::ForgedHandshakes(host_->Port(), 50), 3000, NewcomerWithinMs() / 3);
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostUnderAttack, ::testing::Values(Target::DedicatedServer, Target::HostingClient),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           return info.param == Target::DedicatedServer ? "DedicatedServer" : "HostingClient";
                         });

}  // namespace
