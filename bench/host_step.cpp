// Times the host step of a hosting client with fifteen players connected over loopback, each
// reporting its state every 50 ms as the real client does, at 60 frames a second in real time.
//
// Prints the CPU time of HostNetUpdate per frame (mean and worst; the players' own work in this
// process is not counted) and what the players received. Goal: under 0.2 ms per frame.
//
// With a flood named, two of the players send that many messages each a frame instead of
// playing: chat lines ("chat"), joins ("join", each answered with the name table to all), room
// entries ("room", each answered by asking another player in the room) or pings ("ping"); the
// figures then show what the flood costs the host step and whether the others still get their
// states every frame or two.
// Usage: bench_host_step [seconds to measure, default 10] [chat|join|room|ping] [messages a frame, default 100]
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/host_step.h"
#include "tests/net/game_in_process.h"
#include "tests/net/protocol_client.h"

namespace {

constexpr int Players = 15;
constexpr int Flooders = 2;
constexpr int Lounge = 180;
constexpr int StateIntervalMs = 50;
constexpr auto FrameTime = std::chrono::microseconds(16667);

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int StartHost() {
  const int first = 30000 + static_cast<int>(getpid() % 20000);
  for (int port = first; port < first + 200; ++port) {
    if (game_in_process::HostInLounge(port)) return port;
  }
  return 0;
}

struct Flood {
  std::string kind;  // "" for none
  int perFrame = 0;
};

void SendFlood(protocol::ProtocolClient& p, const Flood& flood) {
  for (int i = 0; i < flood.perFrame; ++i) {
    if (flood.kind == "chat") p.Chat("flood line " + std::to_string(i));
    else if (flood.kind == "join") p.Send(MsgJoin{.nameAndSlot = p.Name() + std::to_string(p.Slot()), .skin = 1});
    else if (flood.kind == "room") p.Send(MsgEnterRoom{.slot = p.Slot(), .room = Lounge});
    else p.Ping();
  }
}

// One frame of the host: the players report when due (or flood) and take in what came; then the
// host step, timed alone. Returns its CPU time in ms.
double Frame(std::vector<std::unique_ptr<protocol::ProtocolClient>>& players, int frame, bool moving,
             const Flood& flood = {}) {
  const int now = protocol::LibraryTime();
  for (size_t i = 0; i < players.size(); ++i) {
    protocol::ProtocolClient& p = *players[i];
    p.Pump();
    if (moving && !flood.kind.empty() && i >= players.size() - Flooders) {
      SendFlood(p, flood);
      continue;
    }
    // Each player reports every 50 ms, the fifteen spread over the interval.
    const int phase = static_cast<int>(i) * StateIntervalMs / Players;
    if (moving && p.Slot() >= 0 && (now + phase) / StateIntervalMs != (now + phase - 17) / StateIntervalMs) {
      p.MoveTo(32 + (frame * 2 + static_cast<int>(i) * 30) % 440, 352);
    }
  }
  const double cpu0 = ThreadCpuMs();
  HostNetUpdate();
  return ThreadCpuMs() - cpu0;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  Flood flood;
  if (argc > 2) flood = {argv[2], argc > 3 ? std::max(1, std::atoi(argv[3])) : 100};
  if (!flood.kind.empty() && flood.kind != "chat" && flood.kind != "join" && flood.kind != "room" && flood.kind != "ping") {
    std::fprintf(stderr, "unknown flood %s\n", argv[2]);
    return 1;
  }
  game_in_process::StartUp();
  const int port = StartHost();
  if (port == 0) {
    std::fprintf(stderr, "no free port for the host\n");
    return 1;
  }

  std::vector<std::unique_ptr<protocol::ProtocolClient>> players;
  for (int i = 0; i < Players; ++i) {
    players.push_back(std::make_unique<protocol::ProtocolClient>());
    players.back()->StartConnect(port);
  }
  // Frames until every player is welcomed and has joined, then a second to settle.
  auto next = std::chrono::steady_clock::now();
  int frame = 0;
  for (int joined = 0; joined < Players && frame < 600; ++frame) {
    Frame(players, frame, false);
    for (auto& p : players) {
      if (p->Slot() >= 0 && p->Name().empty()) {
        p->Join("Bench" + std::to_string(p->Slot()), p->Slot());
        ++joined;
      }
    }
    std::this_thread::sleep_until(next += FrameTime);
  }
  for (int i = 0; i < 60; ++i, ++frame) {
    Frame(players, frame, true);
    std::this_thread::sleep_until(next += FrameTime);
  }

  const int states0 = players[0]->Got().statesBroadcasts;
  players[0]->Got().largestStatesGapMs = 0;
  std::vector<double> cpu;
  const int frames = seconds * 60;
  for (int i = 0; i < frames; ++i, ++frame) {
    cpu.push_back(Frame(players, frame, true, flood));
    std::this_thread::sleep_until(next += FrameTime);
  }
  double total = 0;
  for (double ms : cpu) total += ms;
  std::sort(cpu.begin(), cpu.end());
  int listed = 0;
  for (int slot = 0; slot < 16; ++slot) listed += players[0]->Got().statesOfSlot[slot] > 0;
  std::printf("Host step, %d players reporting every %d ms, %d frames at 60 a second:\n", Players, StateIntervalMs,
              frames);
  if (!flood.kind.empty()) {
    std::printf("  %d of them instead flooding %d %s messages a frame each (the host handles at most %d a frame)\n",
                Flooders, flood.perFrame, flood.kind.c_str(), HostStepPackets);
  }
  std::printf("  %.4f ms CPU per frame (median %.4f, 99th percentile %.4f, worst %.4f); goal under 0.2 ms\n",
              total / frames, cpu[cpu.size() / 2], cpu[cpu.size() * 99 / 100], cpu.back());
  std::printf("  a player received %.1f states broadcasts a second, listing %d slots; longest gap %d ms\n",
              (players[0]->Got().statesBroadcasts - states0) / static_cast<double>(seconds), listed,
              players[0]->Got().largestStatesGapMs);
  return 0;
}
