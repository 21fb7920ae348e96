// Benchmark: round trip of a small reliable message between a client and a server on loopback.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "net/netlib_binding.h"

namespace {

RN_BitStream* Message(uint8_t tag) {
  RN_BitStream* s = NetLib.BitStreamCreate1(0);
  NetLib.BitStreamWriteUnsignedChar(s, 64);
  NetLib.BitStreamWriteUnsignedChar(s, tag);
  NetLib.BitStreamWriteShort(s, 1234);
  return s;
}

// Spins on receive until a game message arrives; events are dropped.
RN_Packet* Spin(RN_Packet* (*receive)(RN_Interface*), RN_Interface* at) {
  for (;;) {
    RN_Packet* p = receive(at);
    if (p != nullptr) {
      if (NetLib.PacketGetData(p)[0] >= 64) return p;
      NetLib.ServerDeallocatePacket(at, p);
    }
  }
}

RN_Packet* ServerReceive(RN_Interface* at) { return NetLib.ServerReceive(at); }
RN_Packet* ClientReceive(RN_Interface* at) { return NetLib.ClientReceive(at); }

void BM_ReliableRoundTrip(benchmark::State& state) {
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
  RN_BitStream* ping = Message(1);
  RN_BitStream* pong = Message(2);
  for (auto _ : state) {
    NetLib.ClientSend2(client, ping, 1, 3, 2);
    RN_Packet* request = Spin(ServerReceive, server);
    NetLib.ServerSend2(server, pong, 1, 3, 2, NetLib.PacketGetplayerID(request), 0);
    NetLib.ServerDeallocatePacket(server, request);
    RN_Packet* reply = Spin(ClientReceive, client);
    NetLib.ClientDeallocatePacket(client, reply);
  }
  NetLib.BitStreamDestroy(ping);
  NetLib.BitStreamDestroy(pong);
  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server);
}
BENCHMARK(BM_ReliableRoundTrip)->UseRealTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  BindNetLibrary();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
