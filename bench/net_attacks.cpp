// Timing program: what each attack of the tests' attack harness costs the dedicated server, at
// the rates it was seen at, and what two honest players see meanwhile. Starts build/bin's
// qxr-server headless in a scratch folder on a free port, joins two players through the
// networking library (they report their states every 50 ms and chat twice a second), runs each
// attack in turn and prints the server's share of one core (from /proc), the longest wait of the
// honest players for a states broadcast, and the slowest chat line.
// Usage: bench_net_attacks [seconds per attack, default 10]
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/net/attacks.h"
#include "tests/net/honest_pair.h"
#include "tests/net/net_harness.h"
#include "tests/net/protocol_client.h"
#include "tests/server/server_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using protocol::ProtocolClient;

int MsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  clienttest::ScratchFolder folder;
  clienttest::WriteText(folder.File("server_ip.txt"), "N\r\nBench\r\n\r\n");
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  servertest::ServerProcess server(folder.Path(), {"/AUTO"}, {{"QXR_GAME_PORT", std::to_string(port)}});
  if (!server.WaitForOutput("Players Online 0\n", 30000)) {
    std::fprintf(stderr, "the server did not start\n%s", server.Errors().c_str());
    return 1;
  }
  net_harness::BindLibrary();
  net_harness::HonestPair honest;
  if (!honest.alice.Connect(port, "", 10000) || !honest.bob.Connect(port, "", 10000)) {
    std::fprintf(stderr, "the players could not connect\n");
    return 1;
  }
  honest.alice.Join("Alice", 4);
  honest.bob.Join("Bob", 7);

  const std::vector<std::pair<std::string, std::function<std::unique_ptr<attacks::Attack>()>>> runs = {
      {"none", [] { return std::unique_ptr<attacks::Attack>(); }},
      {"out-of-order commands, 50 datagrams/s", [&] { return attacks::OutOfOrderCommands(port, 50, true); }},
      {"out-of-order commands within reach, 50 datagrams/s", [&] { return attacks::OutOfOrderCommands(port, 50, true, false); }},
      {"out-of-order commands before hello, 50 datagrams/s", [&] { return attacks::OutOfOrderCommands(port, 50, false); }},
      {"never acknowledges, 200 requests/s", [&] { return attacks::NeverAcknowledges(port, 200); }},
      {"oversized datagrams, 300/s", [&] { return attacks::OversizedDatagrams(port, 300); }},
      {"16 connections that never join", [&] { return attacks::SilentJoiners(port, 16); }},
      {"connect and vanish, 2/s", [&] { return attacks::ConnectAndVanish(port, 2); }},
      {"forged handshakes, 50/s", [&] { return attacks::ForgedHandshakes(port, 50); }},
  };
  const long ticksPerSecond = sysconf(_SC_CLK_TCK);
  std::printf("%-52s %12s %16s %14s\n", "attack", "server CPU", "longest gap", "slowest chat");
  for (const auto& [name, make] : runs) {
    // A quiet moment between attacks, for what the last one left to go.
    for (auto start = Clock::now(); MsSince(start) < 6000;) {
      honest.Step();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    honest.StartMeasuring();
    std::unique_ptr<attacks::Attack> attack = make();
    const long ticksBefore = server.CpuTicks();
    const auto start = Clock::now();
    while (MsSince(start) < seconds * 1000) {
      honest.Step();
      if (attack) attack->Step();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double cpu = 100.0 * static_cast<double>(server.CpuTicks() - ticksBefore) / ticksPerSecond /
                       (MsSince(start) / 1000.0);
    attack.reset();
    std::printf("%-52s %10.1f %% %13d ms %11d ms\n", name.c_str(), cpu, honest.LongestGapMs(), honest.SlowestChatMs());
    std::fflush(stdout);
    if (!server.Running()) {
      std::fprintf(stderr, "the server ended\n");
      return 1;
    }
  }
  return 0;
}
