// Attacks on the host step of a real dedicated server and of a real hosting client, by joined
// players who flood the chat, forge system lines, send bytes no keyboard types and answer room
// queries with values the game never produces, while two honest players play beside them: the
// honest players keep getting the states broadcast, their chat comes back at once, and what the
// attackers send is cut down or dropped before it reaches anybody's screen or chat log.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/allowance.h"
#include "net/chat_window.h"
#include "tests/net/hosting_process.h"
#include "tests/net/protocol_client.h"
#include "tests/server/server_process.h"
#include "world/enemies.h"
#include "world/rope.h"

namespace {

using protocol::LibraryTime;
using protocol::Mode;
using protocol::ProtocolClient;

constexpr int HomeRoom = 32;
constexpr int StateEveryMs = 100;     // how often the honest players report their state
constexpr int ChatEveryMs = 400;      // and how often one of them says something
constexpr int FloodLinesPerPass = 100; // per flooder and pass of the test's loop (about 5 ms)

// What the honest players must see under attack: states with no gap over LongestStatesGapMs,
// and their chat back within ChatRoundTripMs. A loaded machine stops the host (and this test)
// now and then for longer than that, which is no part of what an attack costs; so what is
// checked is the host's own work meanwhile (the processor time of its main thread, which runs
// the host step: an attack that holds up the step keeps it busy), and the wall-clock time,
// less the waits for a processor, only against ten times the bounds.
constexpr int LongestStatesGapMs = 500;
constexpr int ChatRoundTripMs = 250;

// What the scheduler counts of a thread (its /proc schedstat file): time run and time waited
// for a processor, in ms.
struct ThreadTimes {
  long long ranMs = 0, waitedMs = 0;
};
ThreadTimes TimesOf(const std::string& schedstat) {
  std::ifstream in(schedstat);
  long long ranNs = 0, waitedNs = 0;
  in >> ranNs >> waitedNs;
  return {ranNs / 1000000, waitedNs / 1000000};
}

enum class HostKind { Server, HostingClient };

std::string KindName(const ::testing::TestParamInfo<HostKind>& info) {
  return info.param == HostKind::Server ? "DedicatedServer" : "HostingClient";
}

// The host under attack, a real program in a folder of its own on a free port.
class HostUnderAttack {
 public:
  explicit HostUnderAttack(HostKind kind) : kind_(kind) {
    if (kind == HostKind::HostingClient) {
      hosting_ = std::make_unique<net_harness::HostingProcess>(clienttest::FreeLoopbackPort(SOCK_DGRAM));
      return;
    }
    port_ = clienttest::FreeLoopbackPort(SOCK_DGRAM);
    clienttest::WriteText(folder_.File("server_ip.txt"), "N\r\nUnder attack\r\n\r\n");
    server_ = std::make_unique<servertest::ServerProcess>(
        folder_.Path(), std::vector<std::string>{"/AUTO"},
        std::map<std::string, std::string>{{"QXR_GAME_PORT", std::to_string(port_)}});
    serverUp_ = server_->WaitForOutput("Players Online 0\n");
  }

  bool HostingClient() const { return kind_ == HostKind::HostingClient; }

  // Connects client, trying again while the host is still starting.
  bool Admit(ProtocolClient& client) {
    if (HostingClient()) return hosting_->Admit(client);
    return serverUp_ && client.Connect(port_, "", 10000);
  }

  bool Running() { return HostingClient() ? hosting_->Running() : server_->Running(); }
  // What the scheduler counts of the program's main thread, which runs the host step.
  ThreadTimes MainThreadTimes() const {
    return TimesOf("/proc/" + std::to_string(HostingClient() ? hosting_->Pid() : server_->Pid()) + "/schedstat");
  }
  std::string Errors() const { return HostingClient() ? hosting_->Errors() : server_->Errors(); }
  // The host's chat log (the server's holds only its banner).
  std::string ChatLog() const {
    return HostingClient() ? hosting_->ChatLog() : clienttest::ReadText(folder_.File("Chat.txt"));
  }

  // Asks the program to end as its user would; true when it ended cleanly.
  bool Stop() {
    if (HostingClient()) {
      const clienttest::ClientRun run = hosting_->Stop();
      return !run.timedOut && run.exitCode == 0;
    }
    server_->Signal(SIGTERM);
    return server_->WaitExit() == 0;
  }

 private:
  HostKind kind_;
  clienttest::ScratchFolder folder_;
  int port_ = 0;
  bool serverUp_ = false;
  std::unique_ptr<servertest::ServerProcess> server_;
  std::unique_ptr<net_harness::HostingProcess> hosting_;
};

class HostUnderFlood : public ::testing::TestWithParam<HostKind> {
 protected:
  void SetUp() override {
    // The host starts before any client: the library's threads must not exist at the fork.
    host_ = std::make_unique<HostUnderAttack>(GetParam());
    int index = 0;
    for (ProtocolClient* c : {&alice_, &bob_, &mallory_, &trudy_}) {
      ASSERT_TRUE(host_->Admit(*c)) << host_->Errors();
      c->Join(std::vector<std::string>{"Alice", "Bob", "Mallory", "Trudy"}[index++]);
    }
    ASSERT_TRUE(PlayUntil(
        [&] {
          for (ProtocolClient* observer : {&alice_, &bob_}) {
            for (ProtocolClient* seen : {&alice_, &bob_, &mallory_, &trudy_}) {
              if (observer->Got().names[seen->Slot()] != seen->Name()) return false;
            }
          }
          return true;
        },
        20000))
        << "the players do not all know each other";
  }

  void TearDown() override {
    if (!host_) return;
    for (ProtocolClient* c : {&alice_, &bob_, &mallory_, &trudy_}) c->Close();
    EXPECT_TRUE(host_->Stop()) << "the host did not end cleanly when asked\n" << host_->Errors();
    const std::string errors = host_->Errors();
    EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
  }

  // One pass of the test's loop: every attacker does its worst, the honest players walk, say
  // something now and then, and everybody takes in what arrived.
  void Pass() {
    const int now = LibraryTime();
    if (lastPassAt_ >= 0) longestPassMs_ = std::max(longestPassMs_, now - lastPassAt_);
    lastPassAt_ = now;
    if (attack_) attack_();
    if (now - lastStateAt_ >= StateEveryMs) {
      lastStateAt_ = now;
      ++walked_;
      alice_.MoveTo(64 + (walked_ * 3) % 200, 352);
      bob_.MoveTo(448 - (walked_ * 5) % 240, 352);
    }
    if (chatting_ && now - lastChatAt_ >= ChatEveryMs) {
      lastChatAt_ = now;
      ProtocolClient& speaker = (++spoken_ % 2 == 0) ? alice_ : bob_;
      const std::string text = "line " + std::to_string(spoken_);
      speaker.Chat(text);
      said_[ChatLineFor(speaker.Slot(), text)] = Moment();
    }
    for (ProtocolClient* c : {&alice_, &bob_, &mallory_, &trudy_}) c->Pump();
    TakeStatesAndRoundTrips();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  // The library clock, the host's work so far, and how long the host and this test have
  // waited for a processor by then.
  struct Instant {
    int at = 0;
    long long hostRanMs = 0, waitedMs = 0;
  };
  Instant Moment() const {
    const ThreadTimes host = host_->MainThreadTimes();
    return {LibraryTime(), host.ranMs, host.waitedMs + TimesOf("/proc/thread-self/schedstat").waitedMs};
  }
  // What passed since then: the host's work, and the time neither it nor the test waited.
  struct Span {
    int hostRanMs = 0, unwaitedMs = 0;
  };
  static Span Since(const Instant& then, const Instant& now) {
    return {static_cast<int>(now.hostRanMs - then.hostRanMs),
            static_cast<int>(std::max<long long>(0, now.at - then.at - (now.waitedMs - then.waitedMs)))};
  }
  static void KeepLongest(Span& longest, const Span& span) {
    longest.hostRanMs = std::max(longest.hostRanMs, span.hostRanMs);
    longest.unwaitedMs = std::max(longest.unwaitedMs, span.unwaitedMs);
  }

  // The gaps between states broadcasts, and the round trips of the honest lines (a line is
  // back when its writer has it from the host).
  void TakeStatesAndRoundTrips() {
    const Instant now = Moment();
    for (ProtocolClient* c : {&alice_, &bob_}) {
      KeepLongest(longestGap_, Since(lastStates_[c], now));
      if (c->Got().statesBroadcasts != statesSeen_[c]) {
        statesSeen_[c] = c->Got().statesBroadcasts;
        lastStates_[c] = now;
      }
      size_t& seen = chatsSeen_[c];
      const std::vector<std::string>& chats = c->Got().chats;
      for (; seen < chats.size(); ++seen) {
        const auto said = said_.find(chats[seen]);
        if (said == said_.end() || ChatLineSlot(chats[seen]) != c->Slot()) continue;
        roundTrips_.push_back(Since(said->second, now));
        said_.erase(said);
      }
    }
  }

  bool PlayUntil(const std::function<bool()>& done, int timeoutMs) {
    const int end = LibraryTime() + timeoutMs;
    while (!done() && LibraryTime() < end) Pass();
    return done();
  }
  void Play(int ms) {
    PlayUntil([] { return false; }, ms);
  }

  // Plays for ms with the attack running; the honest players' figures are taken over that time.
  void PlayUnderAttack(int ms, std::function<void()> attack) {
    Play(500);
    const Instant start = Moment();
    for (ProtocolClient* c : {&alice_, &bob_}) lastStates_[c] = start;
    longestGap_ = Span{};
    longestPassMs_ = 0;
    roundTrips_.clear();
    said_.clear();
    chatting_ = true;
    attack_ = std::move(attack);
    const int end = LibraryTime() + ms;
    while (LibraryTime() < end) Pass();
    attack_ = nullptr;
    // The last lines said come back too.
    PlayUntil([&] { return said_.empty(); }, 10 * ChatRoundTripMs + 5000);
    chatting_ = false;
    const Instant stop = Moment();
    waitedMs_ = static_cast<int>(stop.waitedMs - start.waitedMs);
    hostRanMs_ = static_cast<int>(stop.hostRanMs - start.hostRanMs);
  }

  // The honest players kept getting the states broadcast and their chat came back at once.
  void ExpectHonestPlayersServed() {
    ASSERT_TRUE(host_->Running()) << host_->Errors();
    std::printf("%s: the host ran %d ms of the attack; waits for a processor %d ms in all\n",
                host_->HostingClient() ? "hosting client" : "server", hostRanMs_, waitedMs_);
    std::printf("  longest states gap %d ms (less waits), the host ran %d ms of it at most; longest pass of the "
                "test's loop %d ms\n", longestGap_.unwaitedMs, longestGap_.hostRanMs, longestPassMs_);
    std::printf("  %zu round trips in ms (less waits / host's work):", roundTrips_.size());
    for (const Span& trip : roundTrips_) std::printf(" %d/%d", trip.unwaitedMs, trip.hostRanMs);
    std::printf("\n");
    // The sanitizer build runs the host several times slower.
    const int slack = clienttest::SanitizerBuild() ? 3 : 1;
    EXPECT_LE(longestGap_.hostRanMs, slack * LongestStatesGapMs) << "the host was kept busy without a states broadcast";
    EXPECT_LE(longestGap_.unwaitedMs, 10 * LongestStatesGapMs) << "the states broadcast stalled";
    ASSERT_GE(roundTrips_.size(), 3u) << "the honest players' lines did not come back";
    EXPECT_TRUE(said_.empty()) << said_.size() << " honest lines never came back";
    std::vector<int> work, unwaited;
    for (const Span& trip : roundTrips_) {
      work.push_back(trip.hostRanMs);
      unwaited.push_back(trip.unwaitedMs);
    }
    std::sort(work.begin(), work.end());
    std::sort(unwaited.begin(), unwaited.end());
    EXPECT_LE(work.back(), slack * ChatRoundTripMs) << "the host was kept busy before passing an honest line on";
    EXPECT_LE(unwaited[unwaited.size() / 2], 10 * ChatRoundTripMs) << "the median round trip";
    for (ProtocolClient* c : {&alice_, &bob_}) EXPECT_TRUE(c->Connected()) << c->Name() << " lost the game";
  }

  // Every chat line the honest players got, of a writer's slot.
  int LinesOf(const ProtocolClient& reader, int slot) const {
    const std::vector<std::string>& chats = reader.Got().chats;
    return static_cast<int>(std::count_if(chats.begin(), chats.end(), [&](const std::string& text) {
      return !IsSystemChatLine(text) && ChatLineSlot(text) == slot;
    }));
  }

  std::unique_ptr<HostUnderAttack> host_;
  ProtocolClient alice_, bob_, mallory_, trudy_;
  std::function<void()> attack_;
  std::map<ProtocolClient*, Instant> lastStates_;
  std::map<ProtocolClient*, int> statesSeen_;
  std::map<ProtocolClient*, size_t> chatsSeen_;
  std::map<std::string, Instant> said_;
  Span longestGap_;
  std::vector<Span> roundTrips_;
  int longestPassMs_ = 0, lastPassAt_ = -1, waitedMs_ = 0, hostRanMs_ = 0;
  int lastStateAt_ = 0, lastChatAt_ = 0, walked_ = 0, spoken_ = 0;
  bool chatting_ = false;
};

TEST_P(HostUnderFlood, AChatFloodIsCutToAFewLinesWhileTheHonestPlayersPlayAndChatOn) {
  const size_t logBefore = host_->ChatLog().size();
  const int mallorySeen = LinesOf(bob_, mallory_.Slot()), trudySeen = LinesOf(bob_, trudy_.Slot());
  // The longest line a client may send, with every byte a keyboard never types in it.
  std::string junk;
  for (int i = 0; junk.size() < 240; ++i) junk += static_cast<char>(i % 3 == 0 ? 1 + i % 31 : 127 + i % 129);
  int sent = 0;
  const int startedAt = LibraryTime();
  PlayUnderAttack(6000, [&] {
    for (int i = 0; i < FloodLinesPerPass; ++i, ++sent) {
      mallory_.Chat("flood " + std::to_string(sent) + junk);
      trudy_.Chat("flood " + std::to_string(sent) + junk);
    }
  });
  const int floodMs = LibraryTime() - startedAt;
  std::printf("%d lines flooded by each of two players in %d ms\n", sent, floodMs);
  ExpectHonestPlayersServed();

  // Each flooder gets its burst and a line per interval through at most (fewer when the library
  // cut it off for sending faster than the host takes its packets in); every line arrives
  // printable and no longer than a player can type.
  const int allowed = AllowanceBurst + 1 + floodMs / AllowanceIntervalMs;
  for (ProtocolClient* flooder : {&mallory_, &trudy_}) {
    const int passed = LinesOf(bob_, flooder->Slot()) - (flooder == &mallory_ ? mallorySeen : trudySeen);
    EXPECT_LE(passed, allowed) << flooder->Name() << " flooded " << sent << " lines";
  }
  const std::vector<std::string>& chats = bob_.Got().chats;
  const auto raw = std::find_if(chats.begin(), chats.end(), [](const std::string& text) {
    const bool printable = std::all_of(text.begin(), text.end(), [](char c) { return c >= 32 && c <= 126; });
    return !IsSystemChatLine(text) && (!printable || text.size() > static_cast<size_t>(LongestChatLine));
  });
  EXPECT_EQ(raw, chats.end()) << "passed on raw: " << *raw;
  // The host's log grew by those lines and the honest ones: a few KB.
  const size_t grown = host_->ChatLog().size() - logBefore;
  std::printf("the host's chat log grew by %zu bytes\n", grown);
  if (host_->HostingClient()) {
    const size_t loggedLine = 8 + LongestChatLine + 2;  // name, the line after its slot, CR LF
    EXPECT_LE(grown, (2 * static_cast<size_t>(allowed) + roundTrips_.size()) * loggedLine);
    EXPECT_LE(grown, 5000u);
  } else {
    EXPECT_EQ(grown, 0u) << "the server logs no chat";
  }
}

TEST_P(HostUnderFlood, ForgedSystemLinesAndRoomStatesReachNobody) {
  const std::vector<std::string> forged{
      SystemChatMark + "<<<            YOU ARE THE GAME ADMINISTRATOR                 >>>",
      SystemChatMark + alice_.Name() + " just left the game",
      JoinNotice(bob_.Name()),
      JoinNotice(mallory_.Name()),  // again: it was announced when Mallory joined
      SystemChatMark + "Game over, everybody has to leave",
      ChatLineFor(alice_.Slot(), "I am Alice"),
  };
  // Mallory stands in the room first: the host asks her for its state when Bob comes in.
  mallory_.AnswerRoomQueries(false);
  mallory_.EnterRoom(HomeRoom);
  ASSERT_TRUE(PlayUntil([&] { return !mallory_.Got().roomPickups.empty(); }, 10000));
  bob_.EnterRoom(HomeRoom);
  ASSERT_TRUE(PlayUntil([&] { return !mallory_.Got().roomQueries.empty(); }, 10000));
  const MsgRoomQuery query = mallory_.Got().roomQueries.back();
  ASSERT_EQ(query.requester, bob_.Slot());

  const size_t aliceHad = alice_.Got().chats.size(), bobHad = bob_.Got().chats.size();
  size_t next = 0;
  PlayUnderAttack(4000, [&] {
    const std::string& line = forged[next++ % forged.size()];
    mallory_.Send(MsgChat{line}, Mode::Chat);
    trudy_.Send(MsgChat{line}, Mode::Chat);
    if (next == 1) {
      MsgRoomState state{.requester = bob_.Slot(), .room = HomeRoom, .time = -2000000000, .swingPos = 32767,
                         .swingStep = 0, .arrowCount1 = 32767, .arrowCount2 = -32767, .enemies = {}};
      state.enemies.assign(4, RoomEnemyState{.x = 32767, .y = -32768, .moveDir = 200});
      mallory_.Send(state);
    }
  });
  ExpectHonestPlayersServed();

  for (ProtocolClient* reader : {&alice_, &bob_}) {
    const std::vector<std::string>& chats = reader->Got().chats;
    for (size_t i = reader == &alice_ ? aliceHad : bobHad; i < chats.size(); ++i) {
      const bool isForged = std::find(forged.begin(), forged.end(), chats[i]) != forged.end();
      EXPECT_FALSE(isForged) << reader->Name() << " got: " << chats[i];
    }
  }
  // Bob gets the state with its rope and arrows within what the game produces.
  ASSERT_EQ(bob_.Got().roomStates.size(), 1u);
  const MsgRoomStateRelayed& state = bob_.Got().roomStates[0];
  EXPECT_EQ(state.swingPos, RopeSwingLimit);
  EXPECT_EQ(state.swingStep, -RopeSwingStep);
  EXPECT_EQ(state.arrowCount1, LongArrowPeriod - 1);
  EXPECT_EQ(state.arrowCount2, ArrowCount2Start);
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostUnderFlood, ::testing::Values(HostKind::Server, HostKind::HostingClient),
                         KindName);

}  // namespace
