// Attacks on the host step of a real dedicated server and of a real hosting client, by joined
// players who flood the chat, forge system lines, send bytes no keyboard types and answer room
// queries with values the game never produces, while two honest players play beside them: the
// honest players keep getting the states broadcast, their chat comes round at once, and what the
// attackers send is cut down or dropped before it reaches anybody's screen or chat log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "net/allowance.h"
#include "net/chat_window.h"
#include "tests/net/attacks.h"
#include "tests/online/under_attack.h"
#include "world/enemies.h"
#include "world/rope.h"
#include "world/text_utils.h"

namespace attacktest {
namespace {

constexpr int HomeRoom = 32;
constexpr int FloodLinesPerStep = 100;  // per flooder and step of play (about 5 ms)

class HostUnderFlood : public HostUnderAttackTest {
 protected:
  // Every chat line a reader got, of a writer's slot.
  static int LinesOf(const ProtocolClient& reader, int slot) {
    const std::vector<std::string>& chats = reader.Got().chats;
    return static_cast<int>(std::count_if(chats.begin(), chats.end(), [&](const std::string& text) {
      return !IsSystemChatLine(text) && ChatLineSlot(text) == slot;
    }));
  }
  // Plays until both honest players have every joined attacker's own join notice.
  void AwaitJoinNotices() {
    ASSERT_TRUE(PlayUntil(
        [&] {
          for (const ProtocolClient* reader : {&alice_, &bob_}) {
            const std::vector<std::string>& chats = reader->Got().chats;
            for (const std::string& name : attacks::kJoinedAttackers)
              if (std::find(chats.begin(), chats.end(), JoinNotice(AlignText(name, 8, "C"))) == chats.end()) return false;
          }
          return true;
        },
        20000))
        << "the honest players were not told of the attackers' joining";
  }
};

TEST_P(HostUnderFlood, AChatFloodIsCutToAFewLinesWhileTheHonestPlayersPlayAndChatOn) {
  std::vector<int> flooders, seenBefore;
  size_t logBefore = 0;
  const AttackRun flood = Withstand(
      [&] {
        std::unique_ptr<attacks::Attack> attack = attacks::ChatFlood(host_->Port(), FloodLinesPerStep);
        AwaitJoinNotices();
        flooders = attack->Slots();
        for (int slot : flooders) seenBefore.push_back(LinesOf(bob_, slot));
        logBefore = host_->ChatLog().size();
        return attack;
      },
      {.attackMs = 6000});

  // Each flooder gets its burst and a line per interval through at most (fewer when the library
  // cut it off for sending faster than the host takes its packets in); every line arrives
  // printable and no longer than a player can type.
  const int allowed = AllowanceBurst + 1 + flood.ms / AllowanceIntervalMs;
  ASSERT_EQ(flooders.size(), 2u);
  for (size_t i = 0; i < flooders.size(); ++i) {
    const int passed = LinesOf(bob_, flooders[i]) - seenBefore[i];
    EXPECT_LE(passed, allowed) << attacks::kJoinedAttackers[i] << " flooded " << flood.strikes << " lines";
  }
  const std::vector<std::string>& chats = bob_.Got().chats;
  const auto raw = std::find_if(chats.begin(), chats.end(), [](const std::string& text) {
    const bool printable = std::all_of(text.begin(), text.end(), [](char c) { return c >= 32 && c <= 126; });
    return !IsSystemChatLine(text) && (!printable || text.size() > static_cast<size_t>(LongestChatLine));
  });
  EXPECT_EQ(raw, chats.end()) << "passed on raw: " << *raw;
  // The host's log grew by those lines and the honest ones: a few KB.
  const size_t grown = host_->ChatLog().size() - logBefore;
  std::printf("%d lines flooded by each of two players in %d ms; the host's chat log grew by %zu bytes\n", flood.strikes,
              flood.ms, grown);
  if (host_->HostingClient()) {
    const size_t loggedLine = 8 + LongestChatLine + 2;  // name, the line after its slot, CR LF
    EXPECT_LE(grown, (2 * static_cast<size_t>(allowed) + static_cast<size_t>(honest_.ChatsSent())) * loggedLine);
    EXPECT_LE(grown, 5000u);
  } else {
    EXPECT_EQ(grown, 0u) << "the server logs no chat";
  }
}

TEST_P(HostUnderFlood, ForgedSystemLinesAndRoomStatesReachNobody) {
  const std::string mallory = AlignText(attacks::kJoinedAttackers[0], 8, "C");
  const std::vector<std::string> forged{
      SystemChatMark + "<<<            YOU ARE THE GAME ADMINISTRATOR                 >>>",
      SystemChatMark + alice_.Name() + " just left the game",
      JoinNotice(bob_.Name()),
      JoinNotice(mallory),  // again: it was announced when Mallory joined
      SystemChatMark + "Game over, everybody has to leave",
      ChatLineFor(alice_.Slot(), "I am Alice"),
  };
  size_t aliceHad = 0, bobHad = 0;
  Withstand(
      [&] {
        // Mallory stands in the room first: the host asks her for its state when Bob comes in.
        std::unique_ptr<attacks::Attack> attack = attacks::ForgedLines(host_->Port(), forged, HomeRoom);
        AwaitJoinNotices();
        aliceHad = alice_.Got().chats.size();
        bobHad = bob_.Got().chats.size();
        bob_.EnterRoom(HomeRoom);
        return attack;
      },
      {.attackMs = 4000});

  for (ProtocolClient* reader : {&alice_, &bob_}) {
    const std::vector<std::string>& chats = reader->Got().chats;
    for (size_t i = reader == &alice_ ? aliceHad : bobHad; i < chats.size(); ++i) {
      const bool isForged = std::find(forged.begin(), forged.end(), chats[i]) != forged.end();
      EXPECT_FALSE(isForged) << reader->Name() << " got: " << chats[i];
    }
  }
  // Bob gets the state with its rope and arrows within what the game produces.
  PlayUntil([&] { return !bob_.Got().roomStates.empty(); }, 20000);
  ASSERT_EQ(bob_.Got().roomStates.size(), 1u) << "Bob was not given the room's state";
  const MsgRoomStateRelayed& state = bob_.Got().roomStates[0];
  EXPECT_EQ(state.swingPos, RopeSwingLimit);
  EXPECT_EQ(state.swingStep, -RopeSwingStep);
  EXPECT_EQ(state.arrowCount1, LongArrowPeriod - 1);
  EXPECT_EQ(state.arrowCount2, ArrowCount2Start);
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostUnderFlood, ::testing::Values(Target::DedicatedServer, Target::HostingClient),
                         TargetName);

}  // namespace
}  // namespace attacktest
