// Benchmark: the host's cost of broadcasting a 259-byte states message to 15 clients (clients in a child process).
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <thread>
#include <vector>

#include "net/netlib_binding.h"

namespace {

constexpr int kClients = 15;
constexpr int kStatesBytes = 259;  // envelope, type, count and 16 entries of 16 bytes
RN_Interface* Server = nullptr;

// The child: 15 clients that drain what they get until the server closes.
[[noreturn]] void RunClients(int port) {
  BindNetLibrary();
  std::vector<RN_Interface*> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.push_back(NetLib.GetRakClientInterface());
    NetLib.ClientConnect(clients.back(), "127.0.0.1", port, 0, 414194, 1);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  int closed = 0;
  while (closed < kClients && std::chrono::steady_clock::now() < deadline) {
    for (RN_Interface* c : clients) {
      while (RN_Packet* p = NetLib.ClientReceive(c)) {
        const int first = NetLib.PacketGetData(p)[0];
        if (first == RN_ID_DISCONNECTION_NOTIFICATION || first == RN_ID_CONNECTION_LOST) ++closed;
        NetLib.ClientDeallocatePacket(c, p);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  for (RN_Interface* c : clients) NetLib.DestroyRakClientInterface(c);
  _exit(0);
}

RN_BitStream* StatesMessage() {
  RN_BitStream* s = NetLib.BitStreamCreate1(kStatesBytes);
  NetLib.BitStreamWriteUnsignedChar(s, 64);
  NetLib.BitStreamWriteUnsignedChar(s, 2);
  NetLib.BitStreamWriteUnsignedChar(s, 16);
  for (int slot = 0; slot < 16; ++slot) {
    NetLib.BitStreamWriteUnsignedChar(s, slot);
    for (int i = 0; i < 5; ++i) NetLib.BitStreamWriteShort(s, slot * 32 + i);
    for (int i = 0; i < 3; ++i) NetLib.BitStreamWriteUnsignedChar(s, 9);
    NetLib.BitStreamWriteShort(s, 20);
  }
  return s;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void Broadcast(RN_BitStream* states) {
  NetLib.ServerSend2(Server, states, 3, 1, 1, NetLib.GetUNASSIGNEDPLAYERID(), 1);
}

// The program thread's share: one broadcast call.
void BM_BroadcastStatesCall(benchmark::State& state) {
  RN_BitStream* states = StatesMessage();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    Broadcast(states);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    // Keep the rate near the game's so that socket buffers do not fill.
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  NetLib.BitStreamDestroy(states);
}
BENCHMARK(BM_BroadcastStatesCall)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

// The host process with 15 idle connections: the library's upkeep alone, per 40 ms.
void BM_IdleUpkeep(benchmark::State& state) {
  const double cpuBefore = ProcessCpuSeconds();
  for (auto _ : state) std::this_thread::sleep_for(std::chrono::milliseconds(40));
  const double cpuPerPeriod = (ProcessCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());
  state.counters["host_cpu_us_per_period"] = cpuPerPeriod * 1e6;
  state.counters["core_percent"] = cpuPerPeriod / 0.040 * 100.0;
}
BENCHMARK(BM_IdleUpkeep)->UseRealTime()->Unit(benchmark::kMicrosecond)->Iterations(50);

// The whole host process (program and service threads) at 25 broadcasts a second:
// CPU time per 40 ms period, and its share of one core.
void BM_BroadcastStatesAt25Hz(benchmark::State& state) {
  RN_BitStream* states = StatesMessage();
  const double cpuBefore = ProcessCpuSeconds();
  auto next = std::chrono::steady_clock::now();
  for (auto _ : state) {
    Broadcast(states);
    next += std::chrono::milliseconds(40);
    std::this_thread::sleep_until(next);
  }
  const double cpuPerPeriod = (ProcessCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations());
  state.counters["host_cpu_us_per_period"] = cpuPerPeriod * 1e6;
  state.counters["core_percent"] = cpuPerPeriod / 0.040 * 100.0;
  NetLib.BitStreamDestroy(states);
}
BENCHMARK(BM_BroadcastStatesAt25Hz)->UseRealTime()->Unit(benchmark::kMicrosecond)->Iterations(100);

}  // namespace

int main(int argc, char** argv) {
  int ports[2];
  if (pipe(ports) != 0) return 1;
  const pid_t child = fork();
  if (child == 0) {
    int port = 0;
    if (read(ports[0], &port, sizeof port) != sizeof port) _exit(1);
    RunClients(port);
  }
  BindNetLibrary();
  Server = NetLib.GetRakServerInterface();
  int port = 27500;
  while (NetLib.ServerStart(Server, kClients, 414194, 1, port) != 0) ++port;
  if (write(ports[1], &port, sizeof port) != sizeof port) return 1;
  for (int admitted = 0; admitted < kClients;) {
    if (RN_Packet* p = NetLib.ServerReceive(Server)) {
      admitted += NetLib.PacketGetData(p)[0] == RN_ID_NEW_INCOMING_CONNECTION;
      NetLib.ServerDeallocatePacket(Server, p);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Server = NetLib.DestroyRakServerInterface(Server);
  waitpid(child, nullptr, 0);
  return 0;
}
