// The send modes, receiving and freeing, the network clock, connecting and closing, over loopback.
#include <gtest/gtest.h>

#include <cstdlib>

#include "net/envelope.h"
#include "net/net_globals.h"
#include "net_harness.h"
#include "platform/clock.h"
#include "tests/client/client_test_support.h"
#include "world/records.h"

using namespace net_harness;

namespace {

// A host with two joined clients: A in slot 3, B in slot 4.
class EnvelopeSend : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = StartServer();
    a_ = StartClient(server_.port);
    idA_ = Admit(server_.iface, a_);
    b_ = StartClient(server_.port);
    idB_ = Admit(server_.iface, b_);
    for (PlayersDetails& slot : Slots) slot.netId = -1;
    Slots[3].netId = idA_;
    Slots[4].netId = idB_;
    BeHost();
  }
  void TearDown() override {
    NetLib.DestroyRakClientInterface(a_);
    NetLib.DestroyRakClientInterface(b_);
    NetLib.DestroyRakServerInterface(server_.iface);
    NetInterface = nullptr;
    Hosting = 0;
  }
  void BeHost() {
    Hosting = 1;
    NetInterface = server_.iface;
  }
  void BeClient(RN_Interface* client) {
    Hosting = 0;
    NetInterface = client;
  }
  static void Build(int tag) {
    NetBeginMessage();
    NetWriteByte(tag);
  }
  // The tag of the next message the interface receives through NetReceive, or -1.
  int Received(RN_Interface* at, bool hostSide, int timeoutMs = 2000, RN_PlayerId* sender = nullptr) {
    const int oldHosting = Hosting;
    RN_Interface* oldInterface = NetInterface;
    Hosting = hostSide ? 1 : 0;
    NetInterface = at;
    int tag = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
      if (!NetReceive()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      EXPECT_EQ(NetReadByte(), GameMessageId);
      tag = NetReadByte();
      if (sender != nullptr) *sender = NetLib.PacketGetplayerID(CurrentPacket);
      NetFreePacket();
      EXPECT_EQ(CurrentPacket, nullptr);
      EXPECT_EQ(InStream, nullptr);
      break;
    }
    Hosting = oldHosting;
    NetInterface = oldInterface;
    return tag;
  }
  bool Silent(RN_Interface* at, bool hostSide) { return Received(at, hostSide, 100) == -1; }

  Server server_;
  RN_Interface* a_ = nullptr;
  RN_Interface* b_ = nullptr;
  RN_PlayerId idA_ = 0, idB_ = 0;
};

}  // namespace

TEST_F(EnvelopeSend, HostSendsToOneSlotOrToEveryone) {
  Build(1);
  NetSend(3);
  EXPECT_EQ(Received(a_, false), 1);
  EXPECT_TRUE(Silent(b_, false));

  Build(2);
  NetSend(-1);
  EXPECT_EQ(Received(a_, false), 2);
  EXPECT_EQ(Received(b_, false), 2);

  Build(3);
  NetSend(5);    // a free slot
  NetSend(16);   // no such slot
  NetSend(-7);
  EXPECT_TRUE(Silent(a_, false));
  EXPECT_TRUE(Silent(b_, false));
}

TEST_F(EnvelopeSend, HostChatAndStatesGoToEveryoneAndRepliesToOne) {
  Build(4);
  NetSendChat();
  Build(5);
  NetSendUnreliable();
  for (RN_Interface* c : {a_, b_}) {
    // Two channels: the order between them is not fixed.
    const int first = Received(c, false);
    const int second = Received(c, false);
    EXPECT_EQ(first + second, 9);
    EXPECT_NE(first, second);
  }
  Build(6);
  NetSendTo(idB_);
  EXPECT_EQ(Received(b_, false), 6);
  EXPECT_TRUE(Silent(a_, false));
}

TEST_F(EnvelopeSend, JoiningClientSendsEveryModeToTheHost) {
  BeClient(a_);
  Build(7);
  NetSend(-1);
  Build(8);
  NetSend(3);  // the slot is ignored
  RN_PlayerId sender = 0;
  EXPECT_EQ(Received(server_.iface, true, 2000, &sender), 7);
  EXPECT_EQ(sender, idA_);
  EXPECT_EQ(Received(server_.iface, true), 8);
  Build(9);
  NetSendChat();
  EXPECT_EQ(Received(server_.iface, true), 9);
  Build(10);
  NetSendUnreliable();
  EXPECT_EQ(Received(server_.iface, true), 10);
  Build(11);
  NetSendTo(idB_);  // the host path on a client interface: nothing goes out
  EXPECT_TRUE(Silent(server_.iface, true));
  EXPECT_TRUE(Silent(b_, false));
}

TEST_F(EnvelopeSend, NetTimeIsTheLibraryClockOnTheHostAndTheGameClockOnAClient) {
  const int library = NetLib.GetTime();
  EXPECT_LE(NetTime() - library, 50);
  EXPECT_GE(NetTime() - library, 0);
  BeClient(a_);
  SetGameClock(123456789);
  EXPECT_GE(NetTime() - 123456789, 0);
  EXPECT_LE(NetTime() - 123456789, 50);
  // The game clock wraps like the millisecond clock.
  SetGameClock(INT_MAX);
  EXPECT_LE(GameClock() - INT_MAX, 50);
}

TEST(EnvelopeConnect, ConnectGivesOneAndShutdownTellsTheHost) {
  Server server = StartServer();
  NetLib.ServerSetPassword(server.iface, "pw");
  Hosting = 0;
  ASSERT_EQ(NetConnect("127.0.0.1", server.port, "pw"), 1);
  EXPECT_EQ(NextClientByte(NetInterface), RN_ID_CONNECTION_REQUEST_ACCEPTED);
  const RN_PlayerId id = WaitServerEvent(server.iface, RN_ID_NEW_INCOMING_CONNECTION);
  NetShutdown();
  EXPECT_EQ(NetInterface, nullptr);
  EXPECT_EQ(WaitServerEvent(server.iface, RN_ID_DISCONNECTION_NOTIFICATION), id);

  ASSERT_EQ(NetConnect("127.0.0.1", server.port, "wrong"), 1);
  EXPECT_EQ(NextClientByte(NetInterface), RN_ID_INVALID_PASSWORD);
  NetShutdown();

  EXPECT_EQ(NetConnect("no-such-host.invalid", server.port, ""), 0);
  NetShutdown();
  NetLib.DestroyRakServerInterface(server.iface);
}

namespace {

void HostThenShutDown(const std::string& registerAnswer, const std::string& ownAddress) {
  Server server = StartServer();
  Hosting = 1;
  NetInterface = server.iface;
  RegisterAnswer = registerAnswer;
  OwnAddress = ownAddress;
  NetShutdown();
  EXPECT_EQ(NetInterface, nullptr);
  EXPECT_EQ(Hosting, 0);
}

}  // namespace

TEST(EnvelopeShutdown, HostLogsOffWithItsAddressOnlyWhenRegisteredWithCapitalY) {
  // The request lines the stand-in game list got while a host registered as answered shut down.
  const auto logOffRequests = [](const std::string& registerAnswer, const std::string& ownAddress) {
    clienttest::StandInHttpService service(std::map<std::string, std::string>{{"/logoff.php", "OK\r\n"}});
    setenv("QXR_GAMELIST_HOST", service.Host().c_str(), 1);
    HostThenShutDown(registerAnswer, ownAddress);
    unsetenv("QXR_GAMELIST_HOST");
    return service.RequestLines();
  };
  EXPECT_EQ(logOffRequests("Y", "10.1.2.3"), std::vector<std::string>{"GET /logoff.php?ip=10.1.2.3 HTTP/1.0"});
  // The address left blank: no query.
  EXPECT_EQ(logOffRequests("Y", " "), std::vector<std::string>{"GET /logoff.php HTTP/1.0"});
  EXPECT_EQ(logOffRequests("y", "10.1.2.3"), std::vector<std::string>{});
}

TEST(EnvelopeShutdown, UnreachableGameListStillEndsHosting) {
  setenv("QXR_GAMELIST_HOST", clienttest::UnreachableHost().c_str(), 1);
  HostThenShutDown("Y", "10.1.2.3");
  unsetenv("QXR_GAMELIST_HOST");
}
