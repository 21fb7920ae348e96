// Attacks with nothing but packets on a real qxr-server and on a real hosting qxr, with two honest
// players beside: while each attack runs, the honest players keep getting the states broadcast
// without long gaps, their chat comes round quickly, a newcomer can still join, and afterwards
// the host's memory is back near where it was.
#include <gtest/gtest.h>

#include "tests/net/attacks.h"
#include "tests/online/under_attack.h"

namespace attacktest {
namespace {

class HostUnderAttack : public HostUnderAttackTest {};

TEST_P(HostUnderAttack, ReliableCommandsFarOutOfOrder) {
  Withstand([&] { return attacks::OutOfOrderCommands(host_->Port(), 50, true); });
}

TEST_P(HostUnderAttack, ReliableCommandsOutOfOrderWithinReachAgainAndAgain) {
  Withstand([&] { return attacks::OutOfOrderCommands(host_->Port(), 50, true, false); });
}

TEST_P(HostUnderAttack, ReliableCommandsOutOfOrderWithoutHello) {
  Withstand([&] { return attacks::OutOfOrderCommands(host_->Port(), 50, false); });
}

TEST_P(HostUnderAttack, APlayerThatNeverAcknowledgesWhatTheHostSendsIt) {
  // Two hundred requests a second, each answered: the host gives up on the player within seconds.
  Withstand([&] { return attacks::NeverAcknowledges(host_->Port(), 200); });
}

TEST_P(HostUnderAttack, OversizedDatagrams) {
  Withstand([&] { return attacks::OversizedDatagrams(host_->Port(), 300); });
}

TEST_P(HostUnderAttack, ConnectionsThatNeverJoinLeavePlacesForNewcomers) {
  // They all hold a place once the host has let each of them in (a few at a time).
  Withstand([&] { return attacks::SilentJoiners(host_->Port(), 16); }, {.newcomerAfterMs = 4000});
}

TEST_P(HostUnderAttack, ConnectionsThatVanishLeavePlacesForNewcomers) {
  // By then, dead connections would hold every place if nothing closed them.
  Withstand([&] { return attacks::ConnectAndVanish(host_->Port(), 2); }, {.newcomerAfterMs = 9000});
}

TEST_P(HostUnderAttack, ForgedHandshakesLeavePlacesForNewcomers) {
  // By then, they would hold every place for handshakes if the oldest did not give way; the
  // newcomer's first attempts find one (without that, a place comes free now and then, and a
  // newcomer that keeps trying may be lucky, after a while).
  Withstand([&] { return attacks::ForgedHandshakes(host_->Port(), 50); },
            {.newcomerAfterMs = 3000, .newcomerWithinMs = NewcomerWithinMs() / 3});
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostUnderAttack, ::testing::Values(Target::DedicatedServer, Target::HostingClient),
                         TargetName);

}  // namespace
}  // namespace attacktest
