// Timing program: the dedicated server's CPU and memory with 15 players sending their state every
// 50 ms. Starts build/bin's qxr-server headless in a scratch folder on a free port, joins 15
// clients through the networking library, and reads the server's CPU time and resident memory
// from /proc. Usage: bench_server_load [seconds measured, default 30]
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "net/envelope.h"
#include "net/messages.h"
#include "net/netlib_binding.h"
#include "tests/server/server_process.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPlayers = 15;
constexpr int kStateIntervalMs = 50;
constexpr int kWarmUpSeconds = 5;

struct Player {
  RN_Interface* iface = nullptr;
  int slot = -1;
  int x = 0;
};

void Send(RN_Interface* iface, int reliability, int channel) { NetLib.ClientSend2(iface, OutStream, 1, reliability, channel); }

// Reads what the server sent; the welcome gives the slot, which the join then names.
void Drain(Player& player) {
  while (RN_Packet* p = NetLib.ClientReceive(player.iface)) {
    const unsigned char* data = NetLib.PacketGetData(p);
    const int length = NetLib.PacketGetLength(p);
    if (player.slot < 0 && length >= 3 && data[0] == GameMessageId && data[1] == MsgWelcome::type) {
      player.slot = data[2];
      std::string name = "Bench" + std::to_string(player.slot);
      name.resize(8, ' ');
      WriteMessage(MsgJoin{.nameAndSlot = name + std::to_string(player.slot), .skin = player.slot});
      Send(player.iface, 3, 2);
    }
    NetLib.ClientDeallocatePacket(player.iface, p);
  }
}

void SendState(Player& player) {
  if (player.slot < 0) return;
  player.x = (player.x + 2) % 400;
  WriteMessage(MsgPlayerState{.slot = player.slot, .x = 32 + player.x, .y = 352, .mirrored = 0, .room = 32,
                              .score = 0, .lives = 9, .following = 99, .percent = 0});
  Send(player.iface, 1, 1);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  clienttest::ScratchFolder folder;
  const int port = clienttest::FreeLoopbackPort(SOCK_DGRAM);
  servertest::ServerProcess server(folder.Path(), {"/AUTO"}, {{"QXR_GAME_PORT", std::to_string(port)}});
  if (!server.WaitForOutput("Players Online 0")) {
    std::fprintf(stderr, "the server did not start: %s\n", server.Errors().c_str());
    return 1;
  }

  BindNetLibrary();
  std::vector<Player> players(kPlayers);
  for (Player& player : players) {
    player.iface = NetLib.GetRakClientInterface();
    NetLib.ClientConnect(player.iface, "127.0.0.1", port, 0, 414194, 1);
  }

  const auto start = Clock::now();
  const auto measureFrom = start + std::chrono::seconds(kWarmUpSeconds);
  const auto end = measureFrom + std::chrono::seconds(seconds);
  long ticksAtStart = -1;
  auto nextState = start;
  while (Clock::now() < end) {
    for (Player& player : players) Drain(player);
    if (Clock::now() >= nextState) {
      for (Player& player : players) SendState(player);
      nextState += std::chrono::milliseconds(kStateIntervalMs);
    }
    if (ticksAtStart < 0 && Clock::now() >= measureFrom) ticksAtStart = server.CpuTicks();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const long ticks = server.CpuTicks() - ticksAtStart;
  const long residentKb = server.ResidentKb();
  int joined = 0;
  for (const Player& player : players) joined += player.slot >= 0;

  for (Player& player : players) NetLib.DestroyRakClientInterface(player.iface);
  server.Signal(SIGTERM);
  server.WaitExit();

  const double cpuPercent = 100.0 * static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
  std::printf("server with %d of %d players sending states every %d ms, over %d s:\n", joined, kPlayers,
              kStateIntervalMs, seconds);
  std::printf("  CPU      %.2f %% of one core (goal < 1 %%)\n", cpuPercent);
  std::printf("  resident %.1f MB (goal < 30 MB)\n", static_cast<double>(residentKb) / 1024.0);
  return 0;
}
