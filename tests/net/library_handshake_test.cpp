// The networking library's admission and liveness: pending handshakes per address, the hello deadline, the silence timeout.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>

#include "net_harness.h"

using namespace net_harness;

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

}  // namespace

TEST(NetHandshake, PendingHandshakesFromOneAddressCannotTakeThePlacesAndExpire) {
  ScopedTimeouts timeouts(1500, 50);  // the hello deadline shrinks with the timeout
  Server server = StartServer(15);

  // One address opens connections and never says hello.
  RawEndpoint silent("127.0.0.2");
  for (int i = 0; i < 20; ++i) silent.Connect(server.port);
  for (int i = 0; i < 100 && silent.Connected() < 4; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const auto pendingSince = Clock::now();

  // Every place is still there for the others, and only the admitted count towards the limit.
  std::vector<RN_Interface*> clients;
  std::set<RN_PlayerId> ids;
  for (int i = 0; i < 15; ++i) {
    clients.push_back(StartClient(server.port));
    ids.insert(Admit(server.iface, clients.back()));
  }
  EXPECT_EQ(ids.size(), 15u);
  EXPECT_EQ(ids.count(-1), 0u);
  RN_Interface* sixteenth = StartClient(server.port);
  EXPECT_EQ(NextClientByte(sixteenth), RN_ID_NO_FREE_INCOMING_CONNECTIONS);

  // The silent ones were never more than four at once, and are closed after the deadline.
  EXPECT_GE(silent.MostConnected(), 1);
  EXPECT_LE(silent.MostConnected(), 4);
  while (silent.Closed() < silent.MostConnected() && MillisecondsSince(pendingSince) < 5000) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_GE(silent.Closed(), silent.MostConnected());
  // None of that reached the program.
  EXPECT_EQ(WaitServer(server.iface, 50), nullptr);

  for (RN_Interface* c : clients) NetLib.DestroyRakClientInterface(c);
  NetLib.DestroyRakClientInterface(sixteenth);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetHandshake, AConnectionThatNeverSaysHelloIsClosedAtTheDeadline) {
  ScopedTimeouts timeouts(600, 50);
  Server server = StartServer();
  RawEndpoint late("127.0.0.4");
  late.Connect(server.port);
  for (int i = 0; i < 200 && late.Connected() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(late.Connected(), 1);
  const auto up = Clock::now();
  while (late.Closed() == 0 && MillisecondsSince(up) < 10000) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const int heldFor = MillisecondsSince(up);
  EXPECT_EQ(late.Closed(), 1);
  EXPECT_GE(heldFor, 400);
  EXPECT_LE(heldFor, 1600);  // the deadline, and a second for a busy machine
  EXPECT_EQ(WaitServer(server.iface, 50), nullptr);  // never admitted

  // A connection that says hello in time is admitted. (On a busy machine the hello may come
  // after the short deadline of this test: then it is tried again.)
  std::unique_ptr<RawEndpoint> prompt;
  const auto giveUp = Clock::now() + std::chrono::seconds(20);
  bool admitted = false;
  while (!admitted && Clock::now() < giveUp) {
    prompt = std::make_unique<RawEndpoint>("127.0.0.4");
    prompt->Connect(server.port);
    for (int i = 0; i < 200 && prompt->Connected() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    prompt->SayHello();
    admitted = WaitServerEvent(server.iface, RN_ID_NEW_INCOMING_CONNECTION, 2000) != -1;
  }
  ASSERT_TRUE(admitted);
  // Admitted connections are not bound by the hello deadline.
  std::this_thread::sleep_for(std::chrono::milliseconds(900));
  EXPECT_EQ(prompt->Closed(), 0);

  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetHandshake, ABurstOfClientsFromOneAddressIsAdmittedInFull) {
  Server server = StartServer(15);
  // Several players behind one router start at the same moment.
  std::vector<RN_Interface*> clients;
  for (int i = 0; i < 15; ++i) clients.push_back(StartClient(server.port));
  for (RN_Interface* c : clients) EXPECT_EQ(NextClientByte(c, 10000), RN_ID_CONNECTION_REQUEST_ACCEPTED);
  std::set<RN_PlayerId> ids;
  for (int i = 0; i < 15; ++i) ids.insert(WaitServerEvent(server.iface, RN_ID_NEW_INCOMING_CONNECTION, 2000));
  EXPECT_EQ(ids.size(), 15u);
  EXPECT_EQ(ids.count(-1), 0u);
  for (RN_Interface* c : clients) NetLib.DestroyRakClientInterface(c);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetHandshake, ASilentPeerIsLostAfterTheTimeoutAndNotBefore) {
  constexpr int kTimeoutMs = 1500;
  constexpr int kPingMs = 50;
  ScopedTimeouts timeouts(kTimeoutMs, kPingMs);
  Server server = StartServer();
  RN_Interface* silent = StartClient(server.port);
  const RN_PlayerId silentId = Admit(server.iface, silent);
  RN_Interface* orphan = StartClient(server.port);
  const RN_PlayerId orphanId = Admit(server.iface, orphan);

  // The client's process dies: the server hears nothing more from it. Its last word is one
  // sent at a known moment (on a busy machine its last ping may lie further back than a ping
  // interval): the loss comes a timeout after that at the earliest, and soon after the timeout
  // counted from the drop.
  auto said = Clock::now();
  ASSERT_EQ(ClientSendBytes(silent, {64, 'l'}, RN_RELIABLE_ORDERED, 2), 1);
  ASSERT_EQ(NextServerByte(server.iface), 64);
  DropWithoutNotice(silent);
  auto dropped = Clock::now();
  const RN_PlayerId lost = WaitServerEvent(server.iface, RN_ID_CONNECTION_LOST, 3 * kTimeoutMs);
  EXPECT_EQ(lost, silentId);
  EXPECT_GE(MillisecondsSince(said), kTimeoutMs - 50);
  EXPECT_LE(MillisecondsSince(dropped), kTimeoutMs + 1000);
  EXPECT_EQ(WaitServer(server.iface, 50), nullptr);  // the other one stays

  // The server's process dies: its client likewise.
  ASSERT_NE(orphanId, -1);
  said = Clock::now();
  ASSERT_EQ(ServerSendBytes(server.iface, {64, 'l'}, RN_RELIABLE_ORDERED, 2, orphanId, 0), 1);
  ASSERT_EQ(NextClientByte(orphan), 64);
  DropWithoutNotice(server.iface);
  dropped = Clock::now();
  EXPECT_EQ(NextClientByte(orphan, 3 * kTimeoutMs), RN_ID_CONNECTION_LOST);
  EXPECT_GE(MillisecondsSince(said), kTimeoutMs - 50);
  EXPECT_LE(MillisecondsSince(dropped), kTimeoutMs + 1000);

  NetLib.DestroyRakClientInterface(silent);
  NetLib.DestroyRakClientInterface(orphan);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetHandshake, ALossyLinkThatStillCarriesTheGameIsNotGivenUp) {
  constexpr int kTimeoutMs = 600;
  ScopedTimeouts timeouts(kTimeoutMs, 50);
  Server server = StartServer();
  Relay relay(server.port, Relay::Options{});
  RN_Interface* client = StartClient(relay.Port());
  const RN_PlayerId id = Admit(server.iface, client);

  // Four timeouts long, half the datagrams are lost each way while both ends exchange
  // states, as a game does. Acknowledgements alone would often be missing for a whole
  // timeout; the states that do come through count as answers.
  relay.SetLossPercent(50);
  int lossEvents = 0;
  const auto start = Clock::now();
  for (int i = 0; MillisecondsSince(start) < 4 * kTimeoutMs; ++i) {
    ClientSendBytes(client, {64, 1, static_cast<uint8_t>(i)}, RN_UNRELIABLE_SEQUENCED, 1);
    ServerSendBytes(server.iface, {64, 2, static_cast<uint8_t>(i)}, RN_UNRELIABLE_SEQUENCED, 1,
                    NetLib.GetUNASSIGNEDPLAYERID(), 1);
    while (RN_Packet* p = NetLib.ServerReceive(server.iface)) {
      lossEvents += NetLib.PacketGetData(p)[0] < 64;
      NetLib.ServerDeallocatePacket(server.iface, p);
    }
    while (RN_Packet* p = NetLib.ClientReceive(client)) {
      lossEvents += NetLib.PacketGetData(p)[0] < 64;
      NetLib.ClientDeallocatePacket(client, p);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_GT(relay.Lost(), 50);
  EXPECT_EQ(lossEvents, 0);

  // The link heals and the connection carries on.
  relay.SetLossPercent(0);
  ASSERT_EQ(ServerSendBytes(server.iface, {64, 'k'}, RN_RELIABLE_ORDERED, 2, id, 0), 1);
  RN_Packet* p = nullptr;
  while ((p = WaitClient(client, 2000)) != nullptr && NetLib.PacketGetData(p)[1] != 'k') NetLib.ClientDeallocatePacket(client, p);
  ASSERT_NE(p, nullptr);
  NetLib.ClientDeallocatePacket(client, p);

  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}
