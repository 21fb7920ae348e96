// The networking library over loopback: admission, passwords, the connection limit, closing and loss, ids, pings.
#include <gtest/gtest.h>

#include <set>

#include "net_harness.h"
#include "platform/system.h"

using namespace net_harness;

TEST(NetLibrary, MissingLibraryEndsWithAClearError) {
  try {
    BindNetLibrary("libqxrnet-missing.so");
    FAIL() << "binding a missing library did not raise";
  } catch (const RuntimeError& e) {
    EXPECT_NE(std::string(e.what()).find("libqxrnet-missing.so"), std::string::npos) << e.what();
  }
  EXPECT_THROW(NetLib.GetTime(), RuntimeError);  // every name got the placeholder
}

TEST(NetLibrary, ConnectRaisesAcceptedOnTheClientAndNewConnectionOnTheServer) {
  Server server = StartServer();
  RN_Interface* client = StartClient(server.port);
  const RN_PlayerId id = Admit(server.iface, client);
  EXPECT_NE(id, -1);
  EXPECT_NE(id, NetLib.GetUNASSIGNEDPLAYERID());
  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetLibrary, StartOnATakenPortReportsOne) {
  Server server = StartServer();
  RN_Interface* second = NetLib.GetRakServerInterface();
  EXPECT_EQ(NetLib.ServerStart(second, 15, 414194, 1, server.port), 1);
  EXPECT_EQ(NetLib.DestroyRakServerInterface(second), nullptr);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetLibrary, ConnectingToAnUnresolvableHostDoesNotStart) {
  BindLibrary();
  RN_Interface* client = NetLib.GetRakClientInterface();
  EXPECT_EQ(NetLib.ClientConnect(client, "no-such-host.invalid", 7002, 0, 414194, 1), 0);
  EXPECT_EQ(NetLib.ClientReceive(client), nullptr);  // an empty receive gives 0
  NetLib.DestroyRakClientInterface(client);
}

TEST(NetLibrary, NobodyListeningGivesAttemptFailed) {
  BindLibrary();
  SetTimeouts(200, 50);
  RN_Interface* client = StartClient(UnusedPort());
  EXPECT_EQ(NextClientByte(client), RN_ID_CONNECTION_ATTEMPT_FAILED);
  NetLib.DestroyRakClientInterface(client);
}

TEST(NetLibrary, RightPasswordIsAdmittedWrongOrMissingOneIsRefused) {
  Server server = StartServer();
  NetLib.ServerSetPassword(server.iface, "s\xA3" "cret");

  RN_Interface* wrong = StartClient(server.port, "secret");
  EXPECT_EQ(NextClientByte(wrong), RN_ID_INVALID_PASSWORD);
  RN_Interface* none = StartClient(server.port);
  EXPECT_EQ(NextClientByte(none), RN_ID_INVALID_PASSWORD);
  // Neither refused client ever shows on the server.
  EXPECT_EQ(WaitServer(server.iface, 200), nullptr);

  RN_Interface* right = StartClient(server.port, "s\xA3" "cret");
  Admit(server.iface, right);
  EXPECT_EQ(WaitServer(server.iface, 100), nullptr);

  for (RN_Interface* c : {wrong, none, right}) NetLib.DestroyRakClientInterface(c);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetLibrary, ServerWithoutPasswordAdmitsAClientThatGivesOne) {
  Server server = StartServer();
  RN_Interface* client = StartClient(server.port, "anything");
  Admit(server.iface, client);
  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetLibrary, FifteenAreAdmittedAndTheSixteenthIsRefusedAtOnce) {
  Server server = StartServer(15);
  std::vector<RN_Interface*> clients;
  std::set<RN_PlayerId> ids;
  for (int i = 0; i < 15; ++i) {
    clients.push_back(StartClient(server.port));
    ids.insert(Admit(server.iface, clients.back()));
  }
  EXPECT_EQ(ids.size(), 15u);  // one id per connection
  EXPECT_EQ(ids.count(-1), 0u);
  EXPECT_EQ(ids.count(NetLib.GetUNASSIGNEDPLAYERID()), 0u);

  RN_Interface* sixteenth = StartClient(server.port);
  EXPECT_EQ(NextClientByte(sixteenth), RN_ID_NO_FREE_INCOMING_CONNECTIONS);
  EXPECT_EQ(WaitServer(server.iface, 100), nullptr);

  // A place that frees up is given to the next one.
  NetLib.DestroyRakClientInterface(clients.back());
  clients.pop_back();
  EXPECT_NE(WaitServerEvent(server.iface, RN_ID_DISCONNECTION_NOTIFICATION), -1);
  RN_Interface* next = StartClient(server.port);
  EXPECT_EQ(ids.count(Admit(server.iface, next)), 0u);  // ids are never reused
  clients.push_back(next);

  for (RN_Interface* c : clients) NetLib.DestroyRakClientInterface(c);
  NetLib.DestroyRakClientInterface(sixteenth);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetLibrary, GracefulCloseRaisesDisconnectionAtTheOtherEnd) {
  Server server = StartServer();
  RN_Interface* leaving = StartClient(server.port);
  const RN_PlayerId leavingId = Admit(server.iface, leaving);
  RN_Interface* staying = StartClient(server.port);
  Admit(server.iface, staying);

  NetLib.DestroyRakClientInterface(leaving);
  EXPECT_EQ(WaitServerEvent(server.iface, RN_ID_DISCONNECTION_NOTIFICATION), leavingId);

  // The server closing tells its remaining client.
  NetLib.DestroyRakServerInterface(server.iface);
  EXPECT_EQ(NextClientByte(staying), RN_ID_DISCONNECTION_NOTIFICATION);
  NetLib.DestroyRakClientInterface(staying);
}

TEST(NetLibrary, VanishedPeerRaisesConnectionLost) {
  BindLibrary();
  SetTimeouts(300, 50);
  Server server = StartServer();
  RN_Interface* killed = StartClient(server.port);
  const RN_PlayerId killedId = Admit(server.iface, killed);
  RN_Interface* orphan = StartClient(server.port);
  Admit(server.iface, orphan);

  DropWithoutNotice(killed);
  EXPECT_EQ(WaitServerEvent(server.iface, RN_ID_CONNECTION_LOST), killedId);
  // Sends to the stale id are dropped.
  EXPECT_EQ(ServerSendBytes(server.iface, {64, 1}, RN_RELIABLE_ORDERED, 2, killedId, 0), 0);

  DropWithoutNotice(server.iface);
  EXPECT_EQ(NextClientByte(orphan), RN_ID_CONNECTION_LOST);

  NetLib.DestroyRakClientInterface(killed);
  NetLib.DestroyRakClientInterface(orphan);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetLibrary, SendsReachOnlyTheAddressedClientAndUnknownIdsAreDropped) {
  Server server = StartServer();
  RN_Interface* a = StartClient(server.port);
  const RN_PlayerId idA = Admit(server.iface, a);
  RN_Interface* b = StartClient(server.port);
  const RN_PlayerId idB = Admit(server.iface, b);

  EXPECT_EQ(ServerSendBytes(server.iface, {64, 'a'}, RN_RELIABLE_ORDERED, 0, idA, 0), 1);
  EXPECT_EQ(ServerSendBytes(server.iface, {64, 'x'}, RN_RELIABLE_ORDERED, 0, idB, 1), 1);  // all but B
  EXPECT_EQ(ServerSendBytes(server.iface, {64, 'e'}, RN_RELIABLE_ORDERED, 0, NetLib.GetUNASSIGNEDPLAYERID(), 1), 1);
  EXPECT_EQ(ServerSendBytes(server.iface, {64, '?'}, RN_RELIABLE_ORDERED, 0, idB + 1000, 0), 0);
  EXPECT_EQ(ServerSendBytes(server.iface, {64, '?'}, RN_RELIABLE_ORDERED, 0, -1, 0), 0);

  auto secondByte = [](RN_Interface* c) {
    RN_Packet* p = WaitClient(c, 2000);
    if (p == nullptr) return -1;
    const int v = NetLib.PacketGetLength(p) > 1 ? NetLib.PacketGetData(p)[1] : -2;
    NetLib.ClientDeallocatePacket(c, p);
    return v;
  };
  EXPECT_EQ(secondByte(a), 'a');
  EXPECT_EQ(secondByte(a), 'x');
  EXPECT_EQ(secondByte(a), 'e');
  EXPECT_EQ(secondByte(b), 'e');
  EXPECT_EQ(WaitClient(a, 100), nullptr);
  EXPECT_EQ(WaitClient(b, 50), nullptr);

  // Data from a client names its sender.
  ASSERT_EQ(ClientSendBytes(b, {64, 7}, RN_RELIABLE_ORDERED, 2), 1);
  RN_Packet* p = WaitServer(server.iface);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(NetLib.PacketGetplayerID(p), idB);
  NetLib.ServerDeallocatePacket(server.iface, p);

  NetLib.DestroyRakClientInterface(a);
  NetLib.DestroyRakClientInterface(b);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetLibrary, AveragePingIsReportedOnceConnected) {
  BindLibrary();
  SetTimeouts(0, 20);  // default timeouts, a ping every 20 ms
  Server server = StartServer();
  RN_Interface* client = NetLib.GetRakClientInterface();
  EXPECT_EQ(NetLib.ClientGetAveragePing(client), -1);  // not connected
  ASSERT_NE(NetLib.ClientConnect(client, "127.0.0.1", server.port, 0, 414194, 1), 0);
  NetLib.ClientStartOccasionalPing(client);
  Admit(server.iface, client);
  int ping = -1;
  for (int i = 0; i < 500 && ping < 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ping = NetLib.ClientGetAveragePing(client);
  }
  EXPECT_GE(ping, 0);
  EXPECT_LT(ping, 1000);
  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetLibrary, ClockCountsMilliseconds) {
  BindLibrary();
  const int before = NetLib.GetTime();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const int elapsed = NetLib.GetTime() - before;
  EXPECT_GE(elapsed, 30);
  EXPECT_LT(elapsed, 5000);
}

TEST(NetLibrary, NullAndMismatchedHandlesAreHarmless) {
  BindLibrary();
  RN_Interface* client = NetLib.GetRakClientInterface();
  EXPECT_EQ(NetLib.ServerStart(client, 15, 414194, 1, 7002), 1);  // a client is no server
  EXPECT_EQ(NetLib.ServerReceive(client), nullptr);
  EXPECT_EQ(NetLib.ClientReceive(nullptr), nullptr);
  EXPECT_EQ(NetLib.ClientSend2(client, nullptr, 1, 3, 2), 0);
  EXPECT_EQ(NetLib.ClientGetAveragePing(nullptr), -1);
  EXPECT_EQ(NetLib.DestroyRakServerInterface(client), nullptr);  // left alone
  EXPECT_EQ(NetLib.DestroyRakClientInterface(client), nullptr);
  EXPECT_EQ(NetLib.DestroyRakClientInterface(nullptr), nullptr);
}
