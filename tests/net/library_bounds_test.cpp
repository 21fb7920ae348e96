// The networking library's bounds per peer against peers that break the protocol's manners:
// commands far out of order, a peer that acknowledges nothing.
#include <gtest/gtest.h>

#include <enet/enet.h>

#include <chrono>
#include <vector>

#include "net_harness.h"
#include "tests/net/attacks.h"

using namespace net_harness;

namespace {

using Clock = std::chrono::steady_clock;

// A bare ENet endpoint on its own address, connected and greeted; its player id on the server.
RN_PlayerId ConnectRaw(RawEndpoint& raw, RN_Interface* server, int port) {
  raw.Connect(port);
  for (int i = 0; i < 1000 && raw.Connected() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  raw.SayHello();
  return WaitServerEvent(server, RN_ID_NEW_INCOMING_CONNECTION, 10000);
}

// Sends one datagram of reliable commands, one per sequence number, on channel 2.
void SendCommands(RawEndpoint& raw, const std::vector<int>& sequenceNumbers, const std::vector<uint8_t>& data) {
  raw.WithHost([&](ENetHost& host, const std::vector<ENetPeer*>& up) {
    for (ENetPeer* peer : up) attacks::SendDatagram(host, *peer, attacks::ReliableCommands(*peer, 2, sequenceNumbers, data));
  });
}

std::vector<int> Downwards(int from, int to) {
  std::vector<int> numbers;
  for (int n = from; n >= to; --n) numbers.push_back(n);
  return numbers;
}

}  // namespace

TEST(NetBounds, CommandsOutOfOrderWithinReachAreDeliveredInOrderAndFurtherCutTheSenderOff) {
  Server server = StartServer();
  RN_Interface* honest = StartClient(server.port);
  const RN_PlayerId honestId = Admit(server.iface, honest);
  RawEndpoint raw(attacks::AttackerAddress(31));
  const RN_PlayerId rawId = ConnectRaw(raw, server.iface, server.port);
  ASSERT_NE(rawId, -1);

  // Commands 2 to 200 arrive before the first one, the last first: they wait, and come out in
  // order once it has come.
  SendCommands(raw, Downwards(200, 2), {64, 'o'});
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(WaitServer(server.iface, 50), nullptr);
  SendCommands(raw, {1}, {64, 'o'});
  for (int n = 1; n <= 200; ++n) {
    RN_Packet* p = WaitServer(server.iface);
    ASSERT_NE(p, nullptr) << "command " << n << " never came";
    EXPECT_EQ(NetLib.PacketGetData(p)[0], 64);
    EXPECT_EQ(NetLib.PacketGetplayerID(p), rawId);
    NetLib.ServerDeallocatePacket(server.iface, p);
  }
  EXPECT_EQ(raw.Closed(), 0);

  // Beyond reach of the last one delivered (200): the sender is cut off, and the program told.
  SendCommands(raw, Downwards(200 + 400, 200 + 300), {});
  EXPECT_EQ(WaitServerEvent(server.iface, RN_ID_CONNECTION_LOST, 5000), rawId);
  for (int i = 0; i < 1000 && raw.Closed() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(raw.Closed(), 1);
  ExpectStillServed(server.iface, honest, honestId);

  NetLib.DestroyRakClientInterface(honest);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetBounds, APeerThatAcknowledgesNothingIsCutOffAndTheOthersGetEverything) {
  Server server = StartServer();
  RN_Interface* honest = StartClient(server.port);
  const RN_PlayerId honestId = Admit(server.iface, honest);
  Relay relay(server.port, Relay::Options{});
  RN_Interface* mute = StartClient(relay.Port());
  const RN_PlayerId muteId = Admit(server.iface, mute);
  relay.StripAcknowledgements(true);

  // The program sends to everybody, as the host relays chat, far more than a game ever has on
  // its way to one player.
  constexpr int kMessages = 2000;
  int received = 0;
  RN_PlayerId lost = -1;
  for (int n = 0; n < kMessages; ++n) {
    ASSERT_EQ(ServerSendBytes(server.iface, {64, 'c', static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8)},
                              RN_RELIABLE_ORDERED, 3, NetLib.GetUNASSIGNEDPLAYERID(), 1),
              1);
    while (RN_Packet* p = NetLib.ClientReceive(honest)) {
      const unsigned char* data = NetLib.PacketGetData(p);
      if (data[0] == 64) {
        EXPECT_EQ(data[2] | data[3] << 8, received) << "out of order";
        ++received;
      }
      NetLib.ClientDeallocatePacket(honest, p);
    }
    // The mute peer takes in all it gets (its library would give up on a full queue itself).
    while (RN_Packet* p = NetLib.ClientReceive(mute)) NetLib.ClientDeallocatePacket(mute, p);
    while (RN_Packet* p = NetLib.ServerReceive(server.iface)) {
      if (NetLib.PacketGetData(p)[0] == RN_ID_CONNECTION_LOST) lost = NetLib.PacketGetplayerID(p);
      NetLib.ServerDeallocatePacket(server.iface, p);
    }
    if (n % 20 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (lost == -1) lost = WaitServerEvent(server.iface, RN_ID_CONNECTION_LOST, 2000);
  EXPECT_EQ(lost, muteId) << "the peer that acknowledges nothing was never cut off";
  while (received < kMessages) {
    RN_Packet* p = WaitClient(honest);
    ASSERT_NE(p, nullptr) << "the honest client got " << received << " of " << kMessages;
    if (NetLib.PacketGetData(p)[0] == 64) ++received;
    NetLib.ClientDeallocatePacket(honest, p);
  }
  ExpectStillServed(server.iface, honest, honestId);

  NetLib.DestroyRakClientInterface(mute);
  NetLib.DestroyRakClientInterface(honest);
  NetLib.DestroyRakServerInterface(server.iface);
}
