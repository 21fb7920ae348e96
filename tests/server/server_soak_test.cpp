// The soak test of online play: a real dedicated server and fifteen players that join, walk,
// chat, enter rooms, take pickups, leave and come back at random, three of them at a time rogues
// that send garbage and forgeries. The server must stay up, keep every honest player's states
// coming, free every slot its player left, keep its memory flat, and stop cleanly on SIGTERM.
//
// Memory: the server's resident memory at the end may exceed its memory after the first minute
// by a few percent at most. In the first minute the administrator plays a game in every world,
// whose embedded data the server then touches for the first time. In the sanitizer build the
// server runs without the allocator's quarantine, so freed memory is reused there too.
//
// Two minutes in the suite; longer by hand, e.g. an hour:
//   QXR_SOAK_SECONDS=3600 build/bin/test_server --gtest_filter='ServerSoak.*'
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/net/net_harness.h"
#include "tests/net/protocol_client.h"
#include "tests/server/server_process.h"
#include "tests/server/soak_player.h"

namespace servertest {
namespace {

using protocol::ProtocolClient;
using soak::Ms;
using soak::SoakPlayer;

constexpr int Players = 15;
constexpr int StepMs = 50;
constexpr Ms MinuteMs = 60000;
constexpr int NamesSettleMs = 3000;   // a join's name table reaches everybody within this
constexpr Ms QuietEndMs = 30000;      // nobody vanishes in the last 30 s: every slot is free at the end
constexpr int RssGrowthPercent = 5;
constexpr Ms WarmUpEndsBeforeMinuteMs = 15000;  // the last warm-up game has settled by the minute
constexpr unsigned Seed = 20240613;

int SoakSeconds() {
  const char* value = std::getenv("QXR_SOAK_SECONDS");
  const int seconds = value ? std::atoi(value) : 0;
  return seconds > 0 ? seconds : 120;
}

// Every honest player knows every other honest player by the name it joined with.
void CheckNames(const std::vector<std::unique_ptr<SoakPlayer>>& players, soak::Shared& shared, Ms now) {
  for (const auto& observer : players) {
    if (!observer->HonestFor(now, NamesSettleMs)) continue;
    for (const auto& seen : players) {
      if (seen == observer || !seen->HonestFor(now, NamesSettleMs)) continue;
      const std::string& name = observer->Got().names[static_cast<size_t>(seen->Slot())];
      if (name == seen->Name()) continue;
      shared.faults.Add(now, "slot " + std::to_string(observer->Slot()) + " sees slot " + std::to_string(seen->Slot()) +
                                 " named \"" + name + "\", not \"" + seen->Name() + "\"");
    }
  }
}

struct Memory {
  long atMinuteKb = 0, atEndKb = 0, highestKb = 0;
  long reportedKb = 0;  // shown whenever it grows by more than 1 %
};

void PrintFigures(const std::vector<std::unique_ptr<SoakPlayer>>& players, Ms soakMs, const Memory& memory,
                  Ms longestLoopMs) {
  std::printf("Soak of %lld s (%s build), seed %u\n", static_cast<long long>(soakMs / 1000),
              SanitizerBuild() ? "sanitizer, server without quarantine" : "normal", Seed);
  std::printf("player sessions(honest/rogue) states longest-gap-ms(ended at s) refused(full/other) wait-to-join-ms "
              "vanished chats rooms pickups games hostile\n");
  int states = 0, longestGap = 0;
  for (size_t i = 0; i < players.size(); ++i) {
    const soak::PlayerFigures& f = players[i]->Figures();
    std::printf("%6zu %9d/%-5d %6d %9d (%4lld) %10d/%-8d %15d %8d %5d %5d %7d %5d %7d\n", i, f.honestSessions,
                f.rogueSessions, f.statesReceived, f.longestGapMs, static_cast<long long>(f.longestGapEndedAt / 1000),
                f.refusedFull, f.refusedOther,
                f.longestWaitToJoinMs, f.vanished, f.chats,
                f.roomsEntered, f.pickupsTaken, f.gamesStarted, f.hostileSent);
    states += f.statesReceived;
    longestGap = std::max(longestGap, f.longestGapMs);
  }
  std::printf("states received in all: %d; longest gap: %d ms; longest pass of the test's own loop: %lld ms\n",
              states, longestGap, static_cast<long long>(longestLoopMs));
  std::printf("server RSS: %ld KB after the first minute, %ld KB at the end, %ld KB at most since the minute\n",
              memory.atMinuteKb, memory.atEndKb, memory.highestKb);
  std::fflush(stdout);
}

// Fifteen new players join the emptied server: each gets a slot of its own, all see all of
// them and nobody else, and a sixteenth connection is refused.
void ExpectAFreshRoundOfFifteen(ServerProcess& server, int port) {
  std::vector<std::unique_ptr<ProtocolClient>> fresh;
  for (int i = 0; i < Players; ++i) {
    fresh.push_back(std::make_unique<ProtocolClient>());
    ASSERT_TRUE(fresh.back()->StartConnect(port));
  }
  const auto pumpUntil = [&](const std::function<bool()>& done, int timeoutMs) {
    return fresh[0]->PumpUntil(
        [&] {
          for (auto& client : fresh) client->Pump();
          return done();
        },
        timeoutMs);
  };
  ASSERT_TRUE(pumpUntil([&] { return std::all_of(fresh.begin(), fresh.end(), [](auto& c) { return c->Got().welcomes > 0; }); },
                        60000))
      << "not every one of fifteen new players was welcomed";
  std::set<int> slots;
  for (int i = 0; i < Players; ++i) {
    slots.insert(fresh[static_cast<size_t>(i)]->Slot());
    fresh[static_cast<size_t>(i)]->Join("Fresh" + std::to_string(i));
  }
  EXPECT_EQ(slots.size(), static_cast<size_t>(Players)) << "a slot was given out twice";
  const auto everybodySeen = [&] {
    for (auto& observer : fresh) {
      for (auto& seen : fresh) {
        if (observer->Got().statesOfSlot[static_cast<size_t>(seen->Slot())] == 0) return false;
      }
    }
    return true;
  };
  EXPECT_TRUE(pumpUntil(everybodySeen, 60000)) << "the new players do not all see each other";
  for (int slot = 0; slot < 16; ++slot) {
    if (slots.count(slot)) continue;
    EXPECT_EQ(fresh[0]->Got().statesOfSlot[static_cast<size_t>(slot)], 0) << "slot " << slot << " is a ghost";
    EXPECT_EQ(fresh[0]->Got().names[static_cast<size_t>(slot)], "") << "slot " << slot << " is a ghost";
  }
  EXPECT_TRUE(server.WaitForLastLine("Players Online 15")) << server.LastLine();

  ProtocolClient sixteenth;
  EXPECT_FALSE(sixteenth.Connect(port)) << "a sixteenth player was welcomed";
}

TEST(ServerSoak, FifteenPlayersComeAndGoWhileRoguesSendGarbageAndTheServerHoldsUp) {
  const Ms soakMs = SoakSeconds() * Ms{1000};
  const Ms minuteMark = std::min(MinuteMs, soakMs / 2);
  ScratchFolder folder;
  WriteText(folder.File("server_ip.txt"), "N\r\nSoak\r\n\r\n");
  const int port = FreeLoopbackPort(SOCK_DGRAM);
  // The server starts before any player: the library's threads must not exist at the fork.
  ServerProcess server(folder.Path(), {"/AUTO"}, MeasuredEnvironment(port));
  ASSERT_TRUE(server.WaitForOutput("Players Online 0\n")) << server.Errors();

  net_harness::BindLibrary();
  soak::Shared shared;
  shared.port = port;
  shared.random.seed(Seed);
  shared.lastVanishAt = soakMs - QuietEndMs;
  // The sanitizer build runs several times slower, beside the rest of the suite.
  if (SanitizerBuild()) shared.gapLimitMs = 5000;
  shared.warmUpUntil = minuteMark - WarmUpEndsBeforeMinuteMs;
  std::vector<std::unique_ptr<SoakPlayer>> players;
  for (int i = 0; i < Players; ++i) players.push_back(std::make_unique<SoakPlayer>(i, shared));

  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  };
  Memory memory;
  Ms nextStep = 0, nextSecond = 1000, longestLoopMs = 0, loopStart = 0;
  bool serverUp = true;
  for (Ms now = 0; now < soakMs && serverUp; now = elapsed()) {
    longestLoopMs = std::max(longestLoopMs, now - loopStart);
    shared.NoteOwnPass(loopStart, now);
    loopStart = now;
    for (auto& player : players) player->Pump(now);
    if (now >= nextStep) {
      for (auto& player : players) player->Act(now);
      nextStep = std::max(nextStep + StepMs, now);
    }
    if (now >= nextSecond) {
      serverUp = server.Running();
      const long rss = server.ResidentKb();
      if (rss > memory.reportedKb + memory.reportedKb / 100) {
        std::printf("server RSS %ld KB at %lld s\n", rss, static_cast<long long>(now / 1000));
        memory.reportedKb = rss;
      }
      if (now >= minuteMark) {
        if (memory.atMinuteKb == 0) memory.atMinuteKb = rss;
        memory.highestKb = std::max(memory.highestKb, rss);
      }
      CheckNames(players, shared, now);
      nextSecond += 1000;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_TRUE(server.Running()) << "the server ended during the soak (" << server.Ending() << ")\n" << server.Errors();
  memory.atEndKb = server.ResidentKb();
  for (auto& player : players) player->LeaveForGood(elapsed());
  PrintFigures(players, soakMs, memory, longestLoopMs);

  EXPECT_EQ(shared.faults.Count(), 0) << shared.faults.Text();
  for (size_t i = 0; i < players.size(); ++i) {
    const soak::PlayerFigures& f = players[i]->Figures();
    EXPECT_GT(f.honestSessions, 0) << "player " << i << " never played honestly";
    EXPECT_GT(f.statesReceived, 0) << "player " << i;
    EXPECT_LE(f.longestGapMs, shared.gapLimitMs) << "player " << i;
  }
  EXPECT_GT(memory.atMinuteKb, 0);
  EXPECT_LE(memory.atEndKb * 100, memory.atMinuteKb * (100 + RssGrowthPercent))
      << "the server's memory grew from " << memory.atMinuteKb << " KB to " << memory.atEndKb << " KB";

  // Everybody has gone: every slot is free, and fifteen newcomers find fifteen slots.
  EXPECT_TRUE(server.WaitForLastLine("Players Online 0")) << server.LastLine();
  ExpectAFreshRoundOfFifteen(server, port);

  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(), 0) << server.Errors();
  EXPECT_EQ(server.Errors().find("Sanitizer"), std::string::npos) << server.Errors();
  EXPECT_EQ(server.Errors().find("runtime error"), std::string::npos) << server.Errors();
  // The server shows no chat and logs none: its chat log holds only its banner.
  const std::string chatLog = ReadText(folder.File("Chat.txt"));
  EXPECT_EQ(std::count(chatLog.begin(), chatLog.end(), '\n'), 1) << chatLog.substr(0, 500);
}

}  // namespace
}  // namespace servertest
