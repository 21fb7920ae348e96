// The networking library under floods and stalls: bounded receive queue, flooders cut off, oversize data refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <set>

#include "net_harness.h"

using namespace net_harness;

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t kHonestTag = 'h';
constexpr uint8_t kUnreliableTag = 'u';
constexpr uint8_t kFloodTag = 'f';

// 64, a tag, a number in two bytes, then filler up to size.
std::vector<uint8_t> Tagged(uint8_t tag, int n, size_t size = 4) {
  std::vector<uint8_t> bytes(std::max<size_t>(size, 4), 0x5A);
  bytes[0] = 64;
  bytes[1] = tag;
  bytes[2] = static_cast<uint8_t>(n & 0xFF);
  bytes[3] = static_cast<uint8_t>(n >> 8);
  return bytes;
}

// Whether the client has been told its connection ended (its other packets are dropped).
bool ConnectionEnded(RN_Interface* client) {
  while (RN_Packet* p = NetLib.ClientReceive(client)) {
    const int first = NetLib.PacketGetData(p)[0];
    NetLib.ClientDeallocatePacket(client, p);
    if (first == RN_ID_CONNECTION_LOST || first == RN_ID_DISCONNECTION_NOTIFICATION) return true;
  }
  return false;
}

// Flooders send reliable 4000-byte packets as fast as they can until each learns that it
// was cut off (told so, or hearing nothing more for the timeout); honest() is called
// between bursts. Returns how many flooders were cut off.
int FloodUntilCutOff(const std::vector<RN_Interface*>& flooders, const std::function<void()>& honest,
                     int timeoutMs = 20000) {
  std::vector<bool> ended(flooders.size(), false);
  int cut = 0;
  int n = 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (cut < static_cast<int>(flooders.size()) && Clock::now() < deadline) {
    for (size_t i = 0; i < flooders.size(); ++i) {
      if (ended[i]) continue;
      for (int k = 0; k < 8; ++k) ClientSendBytes(flooders[i], Tagged(kFloodTag, n++, 4000), RN_RELIABLE_ORDERED, 2);
      if (ConnectionEnded(flooders[i])) {
        ended[i] = true;
        ++cut;
      }
    }
    honest();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return cut;
}

// What a program that resumes draining finds.
struct Drained {
  std::vector<int> honest;                      // numbers of the honest reliable packets, in order
  std::vector<int> unreliable;                  // numbers of the honest unreliable ones
  std::map<RN_PlayerId, std::vector<int>> flood;  // numbers of each flooder's packets
  std::map<RN_PlayerId, int> lost;              // loss events per sender
  std::map<RN_PlayerId, int> dataAfterLoss;     // data from a sender after its loss event
  int malformed = 0;                            // packets that are none of the above
};

// The longest a packet held up by a stall or resent after a loss takes to arrive, the sanitizer
// build on a loaded machine included.
constexpr int kArrivalMs = 20000;

// Drains the server until the honest peer's last reliable packet (number last) has come, and
// whatever else settled() waits for, and then nothing more for a while; or until that has not
// come for kArrivalMs.
Drained DrainAll(RN_Interface* server, int last, const std::function<bool(const Drained&)>& settled = nullptr) {
  Drained d;
  const auto giveUp = Clock::now() + std::chrono::milliseconds(kArrivalMs);
  for (;;) {
    const bool honestDone = !d.honest.empty() && d.honest.back() == last && (!settled || settled(d));
    RN_Packet* p = WaitServer(server, honestDone ? 300 : 100);
    if (p == nullptr) {
      if (honestDone || Clock::now() > giveUp) break;
      continue;
    }
    const unsigned char* data = NetLib.PacketGetData(p);
    const int length = NetLib.PacketGetLength(p);
    const RN_PlayerId sender = NetLib.PacketGetplayerID(p);
    if (data[0] == RN_ID_CONNECTION_LOST || data[0] == RN_ID_DISCONNECTION_NOTIFICATION) {
      ++d.lost[sender];
    } else if (data[0] >= 64 && length >= 4) {
      if (d.lost.count(sender) != 0) ++d.dataAfterLoss[sender];
      const int n = data[2] | (data[3] << 8);
      if (data[1] == kHonestTag) d.honest.push_back(n);
      else if (data[1] == kUnreliableTag) d.unreliable.push_back(n);
      else if (data[1] == kFloodTag) d.flood[sender].push_back(n);
      else ++d.malformed;
    } else {
      ++d.malformed;
    }
    NetLib.ServerDeallocatePacket(server, p);
  }
  return d;
}

// Waits for a packet from sender whose bytes begin as wanted, passing over the late ones of
// what went before; false after kArrivalMs.
bool AwaitPacket(RN_Interface* server, RN_PlayerId sender, const std::vector<uint8_t>& wanted) {
  const auto giveUp = Clock::now() + std::chrono::milliseconds(kArrivalMs);
  while (Clock::now() < giveUp) {
    RN_Packet* p = WaitServer(server, 100);
    if (p == nullptr) continue;
    const bool found = NetLib.PacketGetplayerID(p) == sender && NetLib.PacketGetLength(p) >= static_cast<int>(wanted.size()) &&
                       std::equal(wanted.begin(), wanted.end(), NetLib.PacketGetData(p));
    NetLib.ServerDeallocatePacket(server, p);
    if (found) return true;
  }
  return false;
}

void ExpectCountingFromZero(const std::vector<int>& numbers, int count) {
  ASSERT_EQ(static_cast<int>(numbers.size()), count);
  for (int i = 0; i < count; ++i) ASSERT_EQ(numbers[i], i) << "out of order at " << i;
}

}  // namespace

// A flooder whose notice of being cut off is lost among its own flood notices the
// silence instead; a short timeout keeps that quick.
constexpr int kFloodTimeoutMs = 1500;

TEST(NetFlood, FlooderOfAStalledProgramIsCutOffAndTheHonestPeerLosesNothing) {
  ScopedTimeouts timeouts(kFloodTimeoutMs, 50);
  Server server = StartServer();
  RN_Interface* honest = StartClient(server.port);
  const RN_PlayerId honestId = Admit(server.iface, honest);
  RN_Interface* flooder = StartClient(server.port);
  const RN_PlayerId flooderId = Admit(server.iface, flooder);

  // The server's program stops draining (a long message box) while one peer floods and
  // the other keeps sending its reliable messages.
  constexpr int kHonestCount = 300;
  int sent = 0;
  auto honestSends = [&] {
    if (sent < kHonestCount) {
      EXPECT_EQ(ClientSendBytes(honest, Tagged(kHonestTag, sent++), RN_RELIABLE_ORDERED, 2), 1);
    }
  };
  ASSERT_EQ(FloodUntilCutOff({flooder}, honestSends), 1) << "the flooder was never cut off";
  while (sent < kHonestCount) honestSends();

  const Drained d = DrainAll(server.iface, kHonestCount - 1);
  ExpectCountingFromZero(d.honest, kHonestCount);
  EXPECT_EQ(d.lost.count(flooderId), 1u);
  EXPECT_EQ(d.dataAfterLoss.count(flooderId), 0u);
  EXPECT_EQ(d.lost.count(honestId), 0u);
  ExpectStillServed(server.iface, honest, honestId);
  // The cut-off flooder can send no more.
  EXPECT_EQ(ClientSendBytes(flooder, Tagged(kFloodTag, 0), RN_RELIABLE_ORDERED, 2), 0);

  NetLib.DestroyRakClientInterface(flooder);
  NetLib.DestroyRakClientInterface(honest);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetFlood, WhenTheWholeQueueFillsTheLargestHolderIsCutOffAndNoOtherLosesData) {
  ScopedTimeouts timeouts(kFloodTimeoutMs, 50);
  Server server = StartServer();
  RN_Interface* honest = StartClient(server.port);
  const RN_PlayerId honestId = Admit(server.iface, honest);
  // Heavy senders, each within its own share, together more than the whole queue holds.
  constexpr int kHeavy = 10;
  constexpr int kHeavyPackets = 115;  // of 4000 bytes: 460 KB each, 4.6 MB in all
  std::vector<RN_Interface*> heavy;
  std::vector<RN_PlayerId> heavyIds;
  for (int i = 0; i < kHeavy; ++i) {
    heavy.push_back(StartClient(server.port));
    heavyIds.push_back(Admit(server.iface, heavy.back()));
  }

  // The server's program does not drain meanwhile.
  constexpr int kHonestCount = 100;
  for (int n = 0; n < kHeavyPackets; ++n) {
    for (RN_Interface* h : heavy) ClientSendBytes(h, Tagged(kFloodTag, n, 4000), RN_RELIABLE_ORDERED, 2);
    if (n < kHonestCount) {
      EXPECT_EQ(ClientSendBytes(honest, Tagged(kHonestTag, n), RN_RELIABLE_ORDERED, 2), 1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // Until one of them learns that it was cut off, and a moment for the rest to arrive.
  bool someoneCut = false;
  for (int i = 0; i < 4000 && !someoneCut; ++i) {
    for (RN_Interface* h : heavy) someoneCut = ConnectionEnded(h) || someoneCut;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(someoneCut) << "the whole queue never filled";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));

  // Every heavy sender's data has come, or its loss: on a busy machine the last of it may be
  // on its way for a while.
  const Drained d = DrainAll(server.iface, kHonestCount - 1, [&](const Drained& so) {
    for (RN_PlayerId id : heavyIds) {
      const auto got = so.flood.find(id);
      if (so.lost.count(id) == 0 && (got == so.flood.end() || static_cast<int>(got->second.size()) < kHeavyPackets))
        return false;
    }
    return true;
  });
  ExpectCountingFromZero(d.honest, kHonestCount);
  EXPECT_EQ(d.lost.count(honestId), 0u);
  EXPECT_EQ(d.malformed, 0);
  // Every heavy sender either delivered all it sent, in order, or was cut off.
  int cut = 0;
  for (RN_PlayerId id : heavyIds) {
    const std::vector<int>& got = d.flood.count(id) != 0 ? d.flood.at(id) : std::vector<int>{};
    if (d.lost.count(id) != 0) {
      ++cut;
      EXPECT_EQ(d.dataAfterLoss.count(id), 0u);
    } else {
      EXPECT_EQ(static_cast<int>(got.size()), kHeavyPackets) << "sender " << id << " lost data silently";
    }
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], static_cast<int>(i)) << "sender " << id;
  }
  EXPECT_GE(cut, 1);
  EXPECT_LT(cut, kHeavy);  // the largest ones only, not everybody
  ExpectStillServed(server.iface, honest, honestId);

  for (RN_Interface* h : heavy) NetLib.DestroyRakClientInterface(h);
  NetLib.DestroyRakClientInterface(honest);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetFlood, StalledProgramDropsOnlyUnreliableDataOfABusyHonestPeer) {
  Server server = StartServer();
  RN_Interface* client = StartClient(server.port);
  const RN_PlayerId id = Admit(server.iface, client);

  // Far more states than the queue keeps for one peer, with reliable messages among them,
  // while the server's program does not drain.
  constexpr int kStates = 3000;
  constexpr int kReliableEvery = 15;
  int reliable = 0;
  for (int i = 0; i < kStates; ++i) {
    ASSERT_EQ(ClientSendBytes(client, Tagged(kUnreliableTag, i, 64), RN_UNRELIABLE_SEQUENCED, 1), 1);
    if (i % kReliableEvery == 0) {
      EXPECT_EQ(ClientSendBytes(client, Tagged(kHonestTag, reliable++), RN_RELIABLE_ORDERED, 2), 1);
    }
    if (i % 50 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));

  const Drained d = DrainAll(server.iface, reliable - 1);
  ExpectCountingFromZero(d.honest, reliable);
  EXPECT_EQ(d.lost.count(id), 0u);
  ASSERT_FALSE(d.unreliable.empty());
  EXPECT_LT(static_cast<int>(d.unreliable.size()), kStates);  // some were dropped
  for (size_t i = 1; i < d.unreliable.size(); ++i) ASSERT_GT(d.unreliable[i], d.unreliable[i - 1]);

  // Draining again, the peer's states come through as before.
  const std::vector<uint8_t> next = Tagged(kUnreliableTag, kStates, 64);
  ASSERT_EQ(ClientSendBytes(client, next, RN_UNRELIABLE_SEQUENCED, 1), 1);
  EXPECT_TRUE(AwaitPacket(server.iface, id, {next.begin(), next.begin() + 4}));
  ExpectStillServed(server.iface, client, id);

  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}

TEST(NetFlood, DataOverTheLargestMessageSizeIsRefusedAndNeverTakenIn) {
  Server server = StartServer();
  RN_Interface* client = StartClient(server.port);
  const RN_PlayerId id = Admit(server.iface, client);

  // The library sends up to RN_MAX_PACKET_BYTES, and nothing larger, either way.
  EXPECT_EQ(ClientSendBytes(client, Tagged(kHonestTag, 1, RN_MAX_PACKET_BYTES + 1), RN_RELIABLE_ORDERED, 2), 0);
  EXPECT_EQ(ServerSendBytes(server.iface, Tagged(kHonestTag, 1, RN_MAX_PACKET_BYTES + 1), RN_RELIABLE_ORDERED, 2, id, 0), 0);
  const std::vector<uint8_t> largest = Tagged(kHonestTag, 2, RN_MAX_PACKET_BYTES);
  ASSERT_EQ(ClientSendBytes(client, largest, RN_RELIABLE_ORDERED, 2), 1);
  RN_Packet* p = WaitServer(server.iface);
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(NetLib.PacketGetLength(p), RN_MAX_PACKET_BYTES);
  EXPECT_TRUE(std::equal(largest.begin(), largest.end(), NetLib.PacketGetData(p)));
  NetLib.ServerDeallocatePacket(server.iface, p);

  // A peer of its own making sends larger data anyway: it never reaches the program.
  RawEndpoint hostile("127.0.0.3");
  hostile.Connect(server.port);
  for (int i = 0; i < 500 && hostile.Connected() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  hostile.SayHello();
  const RN_PlayerId hostileId = WaitServerEvent(server.iface, RN_ID_NEW_INCOMING_CONNECTION);
  ASSERT_NE(hostileId, -1);
  hostile.SendToAll(Tagged(kFloodTag, 1, 20000), 2, true);
  hostile.SendToAll(Tagged(kFloodTag, 2, 6000), 3, false);
  hostile.SendToAll(Tagged(kFloodTag, 3, 8), 0, true);  // a small one on another channel passes
  p = WaitServer(server.iface);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(NetLib.PacketGetLength(p), 8);
  EXPECT_EQ(NetLib.PacketGetplayerID(p), hostileId);
  NetLib.ServerDeallocatePacket(server.iface, p);
  const auto until = Clock::now() + std::chrono::milliseconds(500);
  while (Clock::now() < until) {
    if (RN_Packet* q = NetLib.ServerReceive(server.iface)) {
      EXPECT_LE(NetLib.PacketGetLength(q), RN_MAX_PACKET_BYTES);
      NetLib.ServerDeallocatePacket(server.iface, q);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  // The others are served as before.
  ExpectStillServed(server.iface, client, id);

  NetLib.DestroyRakClientInterface(client);
  NetLib.DestroyRakServerInterface(server.iface);
}
