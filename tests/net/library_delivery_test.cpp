// The networking library's delivery over a relay that reorders datagrams: ordering, sequencing, and what never passes.
#include <gtest/gtest.h>

#include "net_harness.h"

using namespace net_harness;

namespace {

// A numbered data packet: 64, channel tag, then the number in two bytes.
std::vector<uint8_t> Numbered(int n) {
  return {64, 0, static_cast<uint8_t>(n & 0xFF), static_cast<uint8_t>(n >> 8)};
}

int NumberOf(RN_Packet* p) {
  const unsigned char* d = NetLib.PacketGetData(p);
  return d[2] | (d[3] << 8);
}

// Receives packets on the server until timeoutMs of silence; returns their numbers.
std::vector<int> DrainNumbers(RN_Interface* server, int silenceMs) {
  std::vector<int> numbers;
  while (RN_Packet* p = WaitServer(server, silenceMs)) {
    if (NetLib.PacketGetLength(p) == 4) numbers.push_back(NumberOf(p));
    NetLib.ServerDeallocatePacket(server, p);
  }
  return numbers;
}

Relay::Options SwapPairs() {
  Relay::Options options;
  options.swapPairs = true;
  return options;
}

Relay::Options Forge(std::vector<uint8_t> marker, uint8_t replacement) {
  Relay::Options options;
  options.marker = std::move(marker);
  options.markerReplacement = replacement;
  return options;
}

}  // namespace

TEST(NetDelivery, ReliableOrderedKeepsOrderUnderABurstOfReorderedDatagrams) {
  Server server = StartServer();
  Relay relay(server.port, SwapPairs());
  RN_Interface* client = StartClient(relay.Port());
  Admit(server.iface, client);

  constexpr int kBurst = 400;
  for (int i = 0; i < kBurst; ++i) ASSERT_EQ(ClientSendBytes(client, Numbered(i), RN_RELIABLE_ORDERED, 2), 1);
  std::vector<int> got;
  while (static_cast<int>(got.size()) < kBurst) {
    RN_Packet* p = WaitServer(server.iface);
    ASSERT_NE(p, nullptr) << "only " << got.size() << " of " << kBurst << " arrived";
    got.push_back(NumberOf(p));
    NetLib.ServerDeallocatePacket(server.iface, p);
  }
  for (int i = 0; i < kBurst; ++i) ASSERT_EQ(got[i], i);
  EXPECT_GT(relay.Swapped(), 0);

  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetDelivery, UnreliableSequencedNeverDeliversAnOlderPacketAfterANewerOne) {
  Server server = StartServer();
  Relay relay(server.port, SwapPairs());
  RN_Interface* client = StartClient(relay.Port());
  Admit(server.iface, client);

  constexpr int kBurst = 300;
  for (int i = 0; i < kBurst; ++i) {
    ASSERT_EQ(ClientSendBytes(client, Numbered(i), RN_UNRELIABLE_SEQUENCED, 1), 1);
    std::this_thread::sleep_for(std::chrono::microseconds(200));  // one datagram each
  }
  const std::vector<int> got = DrainNumbers(server.iface, 300);
  ASSERT_FALSE(got.empty());
  for (size_t i = 1; i < got.size(); ++i) ASSERT_GT(got[i], got[i - 1]) << "at " << i;
  // The relay did swap datagrams, so some older ones came late and were dropped.
  EXPECT_GT(relay.Swapped(), 0);
  EXPECT_LT(static_cast<int>(got.size()), kBurst);

  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetDelivery, EachChannelKeepsItsOwnOrder) {
  Server server = StartServer();
  RN_Interface* client = StartClient(server.port);
  const RN_PlayerId id = Admit(server.iface, client);
  for (int i = 0; i < 50; ++i) {
    for (int channel = 0; channel < 4; ++channel) {
      std::vector<uint8_t> bytes = Numbered(i);
      bytes[1] = static_cast<uint8_t>(channel);
      ASSERT_EQ(ServerSendBytes(server.iface, bytes, RN_RELIABLE_ORDERED, channel, id, 0), 1);
    }
  }
  int next[4] = {0, 0, 0, 0};
  for (int k = 0; k < 200; ++k) {
    RN_Packet* p = WaitClient(client);
    ASSERT_NE(p, nullptr);
    const int channel = NetLib.PacketGetData(p)[1];
    ASSERT_LT(channel, 4);
    EXPECT_EQ(NumberOf(p), next[channel]++);
    NetLib.ClientDeallocatePacket(client, p);
  }
  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetDelivery, DataStartingBelow64NeverPassesAsAnEvent) {
  Server server = StartServer();
  // The relay turns the 64 before the marker into 18 (a forged "new connection").
  Relay relay(server.port, Forge({'F', 'O', 'R', 'G', 'E', 'D'}, 18));
  RN_Interface* client = StartClient(relay.Port());
  Admit(server.iface, client);

  ASSERT_EQ(ClientSendBytes(client, {64, 'F', 'O', 'R', 'G', 'E', 'D'}, RN_RELIABLE_ORDERED, 2), 1);
  ASSERT_EQ(ClientSendBytes(client, {64, 'o', 'k'}, RN_RELIABLE_ORDERED, 2), 1);
  RN_Packet* p = WaitServer(server.iface);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(NetLib.PacketGetLength(p), 3);  // only the honest packet arrives
  EXPECT_EQ(NetLib.PacketGetData(p)[1], 'o');
  NetLib.ServerDeallocatePacket(server.iface, p);
  EXPECT_EQ(WaitServer(server.iface, 100), nullptr);

  // The library refuses to send such data in the first place, and empty data too.
  EXPECT_EQ(ClientSendBytes(client, {18}, RN_RELIABLE_ORDERED, 2), 0);
  EXPECT_EQ(ClientSendBytes(client, {}, RN_RELIABLE_ORDERED, 2), 0);
  EXPECT_EQ(ClientSendBytes(client, {64}, RN_RELIABLE_ORDERED, 4), 0);  // no such channel

  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetDelivery, ConnectionSurvivesAProgramThreadThatDoesNotService) {
  BindLibrary();
  SetTimeouts(200, 20);  // silence would be noticed within half a second
  Server server = StartServer();
  // The attempt to connect is as short (twice the timeout): on a busy machine it may fail, and
  // is made again.
  RN_Interface* client = nullptr;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    client = StartClient(server.port);
    if (NextClientByte(client) == RN_ID_CONNECTION_REQUEST_ACCEPTED) break;
    NetLib.DestroyRakClientInterface(client);
    ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "no attempt to connect succeeded";
  }
  ASSERT_NE(WaitServerEvent(server.iface, RN_ID_NEW_INCOMING_CONNECTION), -1);
  // A long message box: neither program thread touches the library.
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  EXPECT_EQ(WaitServer(server.iface, 10), nullptr);  // no loss event
  ASSERT_EQ(ClientSendBytes(client, {64, 1}, RN_RELIABLE_ORDERED, 2), 1);
  EXPECT_EQ(NextServerByte(server.iface), 64);
  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}
