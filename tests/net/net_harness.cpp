// The networking tests' harness: binding, ports, waiting, the relay and the bare ENet endpoint.
#include "net_harness.h"

#include <arpa/inet.h>
#include <enet/enet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <random>

#include "net/envelope.h"
#include "platform/qxrnet/enet_commands.h"
#include "platform/qxrnet/wire.h"

namespace net_harness {
namespace {

BoundFunction<void(int, int)> setTimeouts;
BoundFunction<void(RN_Interface*)> dropWithoutNotice;

int FirstPortForThisTest() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = info != nullptr ? std::string(info->test_suite_name()) + info->name() : "net";
  return 20000 + static_cast<int>(std::hash<std::string>{}(name) % 30000);
}

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

int BoundUdpSocket(int* port) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in a = Loopback(0);
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t length = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
  *port = ntohs(a.sin_port);
  return fd;
}

// The datagram without its acknowledgement commands; empty when nothing else was in it.
std::vector<uint8_t> WithoutAcknowledgements(const std::vector<uint8_t>& datagram) {
  if (datagram.size() < 2) return datagram;
  const size_t header = qxrnet::DatagramHeaderSize(static_cast<uint16_t>(datagram[0] << 8 | datagram[1]), false);
  if (header > datagram.size()) return datagram;
  std::vector<uint8_t> kept(datagram.begin(), datagram.begin() + static_cast<long>(header));
  const uint8_t* at = datagram.data() + header;
  qxrnet::ForEachCommand(at, datagram.data() + datagram.size(), [&](int kind, const ENetProtocol&, size_t bytes) {
    if (kind != ENET_PROTOCOL_COMMAND_ACKNOWLEDGE) kept.insert(kept.end(), at, at + bytes);
    at += bytes;
    return true;
  });
  return kept.size() > header ? kept : std::vector<uint8_t>{};
}

}  // namespace

void BindLibrary() {
  if (OutStream != nullptr && setTimeouts.IsBound()) return;
  BindNetLibrary();
  setTimeouts = NetLibraryFile().Bind<void(int, int)>("RN_TestSetTimeouts");
  dropWithoutNotice = NetLibraryFile().Bind<void(RN_Interface*)>("RN_TestDropWithoutNotice");
}

void SetTimeouts(int timeoutMs, int pingIntervalMs) { setTimeouts(timeoutMs, pingIntervalMs); }

void DropWithoutNotice(RN_Interface* iface) { dropWithoutNotice(iface); }

ScopedTimeouts::ScopedTimeouts(int timeoutMs, int pingIntervalMs) {
  BindLibrary();
  SetTimeouts(timeoutMs, pingIntervalMs);
}

ScopedTimeouts::~ScopedTimeouts() { SetTimeouts(0, 0); }

Server StartServer(int maxConnections) {
  BindLibrary();
  Server server;
  const int first = FirstPortForThisTest();
  for (int port = first; port < first + 200; ++port) {
    RN_Interface* iface = NetLib.GetRakServerInterface();
    if (NetLib.ServerStart(iface, maxConnections, 414194, 1, port) == 0) {
      server.iface = iface;
      server.port = port;
      return server;
    }
    NetLib.DestroyRakServerInterface(iface);
  }
  ADD_FAILURE() << "no free port for the test server";
  return server;
}

int UnusedPort() {
  int port = 0;
  close(BoundUdpSocket(&port));
  return port;
}

RN_Interface* StartClient(int port, const std::string& password) {
  BindLibrary();
  RN_Interface* client = NetLib.GetRakClientInterface();
  if (!password.empty()) NetLib.ClientSetPassword(client, password.c_str());
  EXPECT_NE(NetLib.ClientConnect(client, "127.0.0.1", port, 0, 414194, 1), 0);
  NetLib.ClientStartOccasionalPing(client);
  return client;
}

RN_Packet* WaitPacket(const std::function<RN_Packet*()>& receive, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (RN_Packet* p = receive()) return p;
    if (std::chrono::steady_clock::now() > deadline) return nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

RN_Packet* WaitServer(RN_Interface* server, int timeoutMs) {
  return WaitPacket([server] { return NetLib.ServerReceive(server); }, timeoutMs);
}

RN_Packet* WaitClient(RN_Interface* client, int timeoutMs) {
  return WaitPacket([client] { return NetLib.ClientReceive(client); }, timeoutMs);
}

int NextServerByte(RN_Interface* server, int timeoutMs) {
  RN_Packet* p = WaitServer(server, timeoutMs);
  if (p == nullptr) return -1;
  const int first = NetLib.PacketGetData(p)[0];
  NetLib.ServerDeallocatePacket(server, p);
  return first;
}

int NextClientByte(RN_Interface* client, int timeoutMs) {
  RN_Packet* p = WaitClient(client, timeoutMs);
  if (p == nullptr) return -1;
  const int first = NetLib.PacketGetData(p)[0];
  NetLib.ClientDeallocatePacket(client, p);
  return first;
}

RN_PlayerId WaitServerEvent(RN_Interface* server, int id, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    RN_Packet* p = WaitServer(server, 20);
    if (p == nullptr) continue;
    const int first = NetLib.PacketGetData(p)[0];
    const RN_PlayerId sender = NetLib.PacketGetplayerID(p);
    NetLib.ServerDeallocatePacket(server, p);
    if (first == id) return sender;
  }
  return -1;
}

RN_PlayerId Admit(RN_Interface* server, RN_Interface* client) {
  EXPECT_EQ(NextClientByte(client), RN_ID_CONNECTION_REQUEST_ACCEPTED);
  RN_Packet* p = WaitServer(server);
  if (p == nullptr) {
    ADD_FAILURE() << "the server saw no connection";
    return -1;
  }
  EXPECT_EQ(NetLib.PacketGetData(p)[0], RN_ID_NEW_INCOMING_CONNECTION);
  const RN_PlayerId id = NetLib.CreatePlayerIDFromPacket(p);
  NetLib.ServerDeallocatePacket(server, p);
  return id;
}

void ExpectStillServed(RN_Interface* server, RN_Interface* honest, RN_PlayerId honestId) {
  ASSERT_EQ(ClientSendBytes(honest, {64, 'k'}, RN_RELIABLE_ORDERED, 2), 1);
  for (RN_Packet* p = WaitServer(server); p != nullptr; p = WaitServer(server)) {
    const bool found = NetLib.PacketGetData(p)[0] == 64 && NetLib.PacketGetLength(p) == 2 && NetLib.PacketGetData(p)[1] == 'k';
    const RN_PlayerId sender = NetLib.PacketGetplayerID(p);
    NetLib.ServerDeallocatePacket(server, p);
    if (found) {
      EXPECT_EQ(sender, honestId);
      return;
    }
  }
  ADD_FAILURE() << "the honest client is not served any more";
}

namespace {

RN_BitStream* StreamOf(const std::vector<uint8_t>& bytes) {
  RN_BitStream* s = NetLib.BitStreamCreate1(0);
  NetLib.BitStreamWrite(s, bytes.data(), static_cast<int>(bytes.size()));
  return s;
}

}  // namespace

int ClientSendBytes(RN_Interface* client, const std::vector<uint8_t>& bytes, int reliability, int channel) {
  RN_BitStream* s = StreamOf(bytes);
  const int sent = NetLib.ClientSend2(client, s, 1, reliability, channel);
  NetLib.BitStreamDestroy(s);
  return sent;
}

int ServerSendBytes(RN_Interface* server, const std::vector<uint8_t>& bytes, int reliability, int channel,
                    RN_PlayerId to, int broadcast) {
  RN_BitStream* s = StreamOf(bytes);
  const int sent = NetLib.ServerSend2(server, s, 1, reliability, channel, to, broadcast);
  NetLib.BitStreamDestroy(s);
  return sent;
}

Relay::Relay(int serverPort, Options options) : serverPort_(serverPort), options_(std::move(options)) {
  clientSide_ = BoundUdpSocket(&port_);
  int unused = 0;
  serverSide_ = BoundUdpSocket(&unused);
  const sockaddr_in server = Loopback(serverPort_);
  connect(serverSide_, reinterpret_cast<const sockaddr*>(&server), sizeof server);
  thread_ = std::thread([this] { Run(); });
}

Relay::~Relay() {
  stop_ = true;
  thread_.join();
  close(clientSide_);
  close(serverSide_);
}

void Relay::Run() {
  sockaddr_in client{};
  bool haveClient = false;
  std::vector<uint8_t> held;
  auto heldSince = std::chrono::steady_clock::now();
  uint8_t buffer[4096];
  std::mt19937 random(12345);
  auto lose = [&] {
    const bool lost = static_cast<int>(random() % 100) < lossPercent_;
    lost_ += lost;
    return lost;
  };
  while (!stop_) {
    pollfd fds[2] = {{clientSide_, POLLIN, 0}, {serverSide_, POLLIN, 0}};
    poll(fds, 2, 2);
    if (fds[0].revents & POLLIN) {
      socklen_t length = sizeof client;
      const ssize_t n = recvfrom(clientSide_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&client), &length);
      haveClient = true;
      if (n > 0 && !lose()) {
        std::vector<uint8_t> datagram(buffer, buffer + n);
        if (stripAcknowledgements_) datagram = WithoutAcknowledgements(datagram);
        if (datagram.empty()) continue;
        if (!options_.marker.empty()) {
          auto at = std::search(datagram.begin() + 1, datagram.end(), options_.marker.begin(), options_.marker.end());
          if (at != datagram.end()) *(at - 1) = options_.markerReplacement;
        }
        if (!options_.swapPairs) {
          send(serverSide_, datagram.data(), datagram.size(), 0);
        } else if (held.empty()) {
          held = std::move(datagram);
          heldSince = std::chrono::steady_clock::now();
        } else {
          send(serverSide_, datagram.data(), datagram.size(), 0);
          send(serverSide_, held.data(), held.size(), 0);
          held.clear();
          ++swapped_;
        }
      }
    }
    if (!held.empty() && std::chrono::steady_clock::now() - heldSince > std::chrono::milliseconds(10)) {
      send(serverSide_, held.data(), held.size(), 0);
      held.clear();
    }
    if (fds[1].revents & POLLIN) {
      const ssize_t n = recv(serverSide_, buffer, sizeof buffer, 0);
      if (n > 0 && haveClient && !lose()) {
        sendto(clientSide_, buffer, static_cast<size_t>(n), 0, reinterpret_cast<const sockaddr*>(&client), sizeof client);
      }
    }
  }
}

RawEndpoint::RawEndpoint(const std::string& localAddress, int maxPeers) {
  enet_initialize();
  ENetAddress local;
  enet_address_set_host_ip(&local, localAddress.c_str());
  local.port = 0;
  host_ = enet_host_create(&local, static_cast<size_t>(maxPeers), qxrnet::kEnetChannels, 0, 0);
  if (host_ == nullptr) ADD_FAILURE() << "no ENet host on " << localAddress;
  thread_ = std::thread([this] { Run(); });
}

RawEndpoint::~RawEndpoint() {
  stop_ = true;
  thread_.join();
  if (host_ != nullptr) enet_host_destroy(host_);
}

void RawEndpoint::Run() {
  while (!stop_ && host_ != nullptr) {
    ServiceOnce();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void RawEndpoint::ServiceOnce() {
  std::lock_guard lock(mutex_);
  ENetEvent event;
  while (enet_host_service(host_, &event, 0) > 0) {
    if (event.type == ENET_EVENT_TYPE_CONNECT) {
      up_.push_back(event.peer);
      mostConnected_ = std::max(mostConnected_, static_cast<int>(up_.size()));
    } else if (event.type == ENET_EVENT_TYPE_DISCONNECT) {
      const auto it = std::find(up_.begin(), up_.end(), event.peer);
      if (it != up_.end()) {
        up_.erase(it);
        ++closed_;
      }
      greeted_.erase(std::remove(greeted_.begin(), greeted_.end(), event.peer), greeted_.end());
    } else if (event.type == ENET_EVENT_TYPE_RECEIVE) {
      if (event.channelID < qxrnet::kDataChannels) {
        longest_ = std::max(longest_, event.packet->dataLength);
        ++received_;
      }
      enet_packet_destroy(event.packet);
    }
  }
}

void RawEndpoint::Connect(int port) {
  std::lock_guard lock(mutex_);
  ENetAddress server;
  enet_address_set_host_ip(&server, "127.0.0.1");
  server.port = static_cast<enet_uint16>(port);
  enet_host_connect(host_, &server, qxrnet::kEnetChannels, qxrnet::kProtocolMagic);
  enet_host_flush(host_);
}

void RawEndpoint::SayHello() {
  std::lock_guard lock(mutex_);
  for (ENetPeer* peer : up_) {
    if (std::find(greeted_.begin(), greeted_.end(), peer) != greeted_.end()) continue;
    const uint8_t hello = qxrnet::kHello;
    enet_peer_send(peer, qxrnet::kControlChannel, enet_packet_create(&hello, 1, ENET_PACKET_FLAG_RELIABLE));
    greeted_.push_back(peer);
  }
  enet_host_flush(host_);
}

void RawEndpoint::SendToAll(const std::vector<uint8_t>& bytes, int channel, bool reliable) {
  std::lock_guard lock(mutex_);
  for (ENetPeer* peer : up_) {
    enet_peer_send(peer, static_cast<enet_uint8>(channel),
                   enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0));
  }
  enet_host_flush(host_);
}

int RawEndpoint::Connected() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(up_.size());
}

int RawEndpoint::MostConnected() {
  std::lock_guard lock(mutex_);
  return mostConnected_;
}

int RawEndpoint::Closed() {
  std::lock_guard lock(mutex_);
  return closed_;
}

size_t RawEndpoint::LongestReceived() {
  std::lock_guard lock(mutex_);
  return longest_;
}

int RawEndpoint::Received() {
  std::lock_guard lock(mutex_);
  return received_;
}

}  // namespace net_harness

namespace net_harness {

void RawEndpoint::Vanish() {
  std::lock_guard lock(mutex_);
  for (ENetPeer* peer : up_) enet_peer_reset(peer);
  up_.clear();
  greeted_.clear();
}

void RawEndpoint::WithHost(const std::function<void(ENetHost& host, const std::vector<ENetPeer*>& up)>& use) {
  std::lock_guard lock(mutex_);
  use(*host_, up_);
}

}  // namespace net_harness
