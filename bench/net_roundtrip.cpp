// Benchmark: reliable round trip on loopback through our library and through plain ENet, and their ratio.
//
// Each is measured in several repetitions, interleaved at random with the other's, and the
// medians are compared, so that a moment of load on a shared machine weighs on neither.
#include <benchmark/benchmark.h>
#include <enet/enet.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "net/netlib_binding.h"

namespace {

// Both sides send the same: a reliable-ordered message of the given size on channel 2.
constexpr int kChannel = 2;
constexpr int kReliableOrdered = 3;

std::vector<uint8_t> Payload(int size, uint8_t tag) {
  std::vector<uint8_t> bytes(static_cast<size_t>(size), 7);
  bytes[0] = 64;
  if (size > 1) bytes[1] = tag;
  return bytes;
}

// ---- Through our library: client and server interfaces, driven from this thread ----

// Spins on receive until a game message arrives; events are dropped.
template <typename Receive, typename Free>
RN_Packet* SpinForData(Receive receive, Free free) {
  for (;;) {
    if (RN_Packet* p = receive()) {
      if (NetLib.PacketGetData(p)[0] >= 64) return p;
      free(p);
    }
  }
}

void BM_RoundTripQxrnet(benchmark::State& state) {
  RN_Interface* server = NetLib.GetRakServerInterface();
  int port = 27000;
  while (NetLib.ServerStart(server, 15, 414194, 1, port) != 0) ++port;
  RN_Interface* client = NetLib.GetRakClientInterface();
  NetLib.ClientConnect(client, "127.0.0.1", port, 0, 414194, 1);
  // Wait for both ends to see the connection.
  for (int seen = 0; seen < 2;) {
    if (RN_Packet* p = NetLib.ClientReceive(client)) seen += NetLib.ClientDeallocatePacket(client, p) == nullptr;
    if (RN_Packet* p = NetLib.ServerReceive(server)) seen += NetLib.ServerDeallocatePacket(server, p) == nullptr;
  }
  const auto pingBytes = Payload(static_cast<int>(state.range(0)), 1);
  const auto pongBytes = Payload(static_cast<int>(state.range(0)), 2);
  RN_BitStream* ping = NetLib.BitStreamCreate1(0);
  NetLib.BitStreamWrite(ping, pingBytes.data(), static_cast<int>(pingBytes.size()));
  RN_BitStream* pong = NetLib.BitStreamCreate1(0);
  NetLib.BitStreamWrite(pong, pongBytes.data(), static_cast<int>(pongBytes.size()));
  auto serverReceive = [server] { return NetLib.ServerReceive(server); };
  auto serverFree = [server](RN_Packet* p) { NetLib.ServerDeallocatePacket(server, p); };
  auto clientReceive = [client] { return NetLib.ClientReceive(client); };
  auto clientFree = [client](RN_Packet* p) { NetLib.ClientDeallocatePacket(client, p); };
  for (auto _ : state) {
    NetLib.ClientSend2(client, ping, 1, kReliableOrdered, kChannel);
    RN_Packet* request = SpinForData(serverReceive, serverFree);
    NetLib.ServerSend2(server, pong, 1, kReliableOrdered, kChannel, NetLib.PacketGetplayerID(request), 0);
    serverFree(request);
    clientFree(SpinForData(clientReceive, clientFree));
  }
  NetLib.BitStreamDestroy(ping);
  NetLib.BitStreamDestroy(pong);
  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server);
}
void Configure(benchmark::internal::Benchmark* b) {
  b->Arg(4)->Arg(256)->UseRealTime()->Unit(benchmark::kMicrosecond)->MinTime(0.5)->Repetitions(7);
  b->ReportAggregatesOnly(true);
}
BENCHMARK(BM_RoundTripQxrnet)->Apply(Configure);

// ---- Plain ENet: a client host and a server host, serviced from this thread ----

ENetEvent SpinForEvent(ENetHost* host, ENetEventType type) {
  ENetEvent event;
  for (;;) {
    if (enet_host_service(host, &event, 0) > 0) {
      if (event.type == type) return event;
      if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
    }
  }
}

void SendAndFlush(ENetPeer* peer, const std::vector<uint8_t>& bytes) {
  enet_peer_send(peer, kChannel, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
  enet_host_flush(peer->host);
}

void BM_RoundTripPlainEnet(benchmark::State& state) {
  ENetAddress address{ENET_HOST_ANY, 27400};
  ENetHost* server = nullptr;
  while ((server = enet_host_create(&address, 15, 5, 0, 0)) == nullptr) ++address.port;
  ENetHost* client = enet_host_create(nullptr, 1, 5, 0, 0);
  enet_address_set_host(&address, "127.0.0.1");
  ENetPeer* toServer = enet_host_connect(client, &address, 5, 0);
  // The client's connect event needs the server to answer, so service both in turn.
  bool clientUp = false, serverUp = false;
  while (!clientUp || !serverUp) {
    ENetEvent event;
    if (enet_host_service(client, &event, 0) > 0 && event.type == ENET_EVENT_TYPE_CONNECT) clientUp = true;
    if (enet_host_service(server, &event, 0) > 0 && event.type == ENET_EVENT_TYPE_CONNECT) serverUp = true;
  }
  const auto pingBytes = Payload(static_cast<int>(state.range(0)), 1);
  const auto pongBytes = Payload(static_cast<int>(state.range(0)), 2);
  for (auto _ : state) {
    SendAndFlush(toServer, pingBytes);
    ENetEvent request = SpinForEvent(server, ENET_EVENT_TYPE_RECEIVE);
    SendAndFlush(request.peer, pongBytes);
    enet_packet_destroy(request.packet);
    enet_packet_destroy(SpinForEvent(client, ENET_EVENT_TYPE_RECEIVE).packet);
  }
  enet_peer_disconnect_now(toServer, 0);
  enet_host_destroy(client);
  enet_host_destroy(server);
}
BENCHMARK(BM_RoundTripPlainEnet)->Apply(Configure);

// The console report, and then each size's ratio of our round trip to plain ENet's (of the
// medians, or of single runs when repetitions are turned off).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const std::string& name = run.run_name.function_name;
      (name.find("Qxrnet") != std::string::npos ? ours_ : plain_)[run.run_name.args] = run.GetAdjustedRealTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [size, ours] : ours_) {
      if (plain_.count(size) == 0) continue;
      std::printf("reliable round trip, %s bytes: qxrnet %.1f us, plain ENet %.1f us, ratio %.2f\n", size.c_str(),
                  ours, plain_[size], ours / plain_[size]);
    }
  }

 private:
  std::map<std::string, double> ours_, plain_;
};

}  // namespace

int main(int argc, char** argv) {
  BindNetLibrary();
  enet_initialize();
  std::vector<char*> args(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  enet_deinitialize();
  return 0;
}
