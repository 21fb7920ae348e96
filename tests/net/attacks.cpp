// The attacks: raw ENet connections misbehaving, datagrams made by hand, and players who acknowledge nothing, flood or forge.
#include "tests/net/attacks.h"

#include <arpa/inet.h>
#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "net/messages.h"
#include "platform/qxrnet/wire.h"
#include "tests/net/net_harness.h"
#include "tests/net/protocol_client.h"

namespace attacks {
namespace {

using Clock = std::chrono::steady_clock;

int MsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The attackers' addresses: each attack its own, none the honest players' 127.0.0.1.
enum Attacker { OutOfOrderAddress = 21, OversizedAddress, SilentAddress, VanishAddress };

sockaddr_in Address(const std::string& ip, int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, ip.c_str(), &a.sin_addr);
  return a;
}

// A UDP socket bound to ip (any port); -1 when it cannot be had.
int SocketOn(const std::string& ip) {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return -1;
  const sockaddr_in local = Address(ip, 0);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void SendTo(int fd, const std::vector<uint8_t>& bytes, int port) {
  const sockaddr_in host = Address("127.0.0.1", port);
  sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&host), sizeof host);
}

template <typename T>
void Append(std::vector<uint8_t>& bytes, const T& value) {
  const auto* raw = reinterpret_cast<const uint8_t*>(&value);
  bytes.insert(bytes.end(), raw, raw + sizeof value);
}

// A datagram header for the host's peer `outgoingPeerId`, with the sent time (so that ENet reads
// every command that asks for an acknowledgement).
std::vector<uint8_t> DatagramHeader(int outgoingPeerId, int sessionId) {
  ENetProtocolHeader header;
  header.peerID = ENET_HOST_TO_NET_16(static_cast<enet_uint16>(outgoingPeerId | sessionId << ENET_PROTOCOL_HEADER_SESSION_SHIFT |
                                                                ENET_PROTOCOL_HEADER_FLAG_SENT_TIME));
  header.sentTime = ENET_HOST_TO_NET_16(static_cast<enet_uint16>(enet_time_get()));
  std::vector<uint8_t> bytes;
  Append(bytes, header);
  return bytes;
}

class OutOfOrder : public RepeatingAttack {
 public:
  OutOfOrder(int port, int perSecond, bool sayHello, bool farAhead)
      : endpoint_(AttackerAddress(OutOfOrderAddress)), port_(port), sayHello_(sayHello),
        top_(farAhead ? kFarTop : kNearTop) {
    Start(perSecond, [this] { Strike(); });
  }
  ~OutOfOrder() override { Stop(); }
  std::string Name() const override {
    return std::string(top_ == kFarTop ? "out-of-order commands" : "out-of-order commands within reach") +
           (sayHello_ ? "" : " before hello");
  }
  // Commands within reach, after hello, are taken (and their connection kept).
  int ClosedByHost() override { return top_ == kFarTop || !sayHello_ ? endpoint_.Closed() : -1; }

 private:
  // Commands in one datagram, and the sequence numbers they start from: far ahead of anything
  // sent so far, within ENet's own window; or 250 ahead, which the library holds.
  static constexpr int kCommands = 230;
  static constexpr int kFarTop = 2 + 7 * 4096 - 64;
  static constexpr int kNearTop = 250;

  void Strike() {
    if (endpoint_.Connected() == 0) {
      // Cut off (or not yet connected): connect again, at most a few times a second.
      if (MsSince(lastConnect_) > 1000) {
        endpoint_.Connect(port_);
        lastConnect_ = Clock::now();
      }
      return;
    }
    if (sayHello_) endpoint_.SayHello();
    endpoint_.WithHost([this](ENetHost& host, const std::vector<ENetPeer*>& up) {
      for (ENetPeer* peer : up) {
        std::vector<uint8_t> datagram;
        for (int channel = 0; channel < qxrnet::kEnetChannels; ++channel) {
          std::vector<int> downwards;
          for (int i = 0; i < kCommands / qxrnet::kEnetChannels; ++i) downwards.push_back(top_ - (next_ + i) % (top_ - 2));
          const std::vector<uint8_t> commands = ReliableCommands(*peer, channel, downwards);
          datagram.insert(datagram.end(), commands.begin() + (datagram.empty() ? 0 : sizeof(ENetProtocolHeader)), commands.end());
        }
        SendDatagram(host, *peer, datagram);
      }
    });
    next_ += kCommands / qxrnet::kEnetChannels;
  }

  net_harness::RawEndpoint endpoint_;
  int port_;
  bool sayHello_;
  int top_;
  int next_ = 0;
  Clock::time_point lastConnect_ = Clock::now() - std::chrono::seconds(1);
};

class Oversized : public RepeatingAttack {
 public:
  Oversized(int port, int perSecond) : port_(port), fd_(SocketOn(AttackerAddress(OversizedAddress))) {
    for (size_t i = 0; i < datagram_.size(); ++i) datagram_[i] = static_cast<uint8_t>(i * 7);
    Start(perSecond, [this] { SendTo(fd_, datagram_, port_); });
  }
  ~Oversized() override {
    Stop();
    if (fd_ >= 0) close(fd_);
  }
  std::string Name() const override { return "oversized datagrams"; }

 private:
  int port_;
  int fd_;
  std::vector<uint8_t> datagram_ = std::vector<uint8_t>(5000);
};

class Silent : public RepeatingAttack {
 public:
  Silent(int port, int connections) : endpoint_(AttackerAddress(SilentAddress), connections + 4) {
    for (int i = 0; i < connections; ++i) endpoint_.Connect(port);
    // Greets each connection as it comes up; joins nothing, ever.
    Start(20, [this] { endpoint_.SayHello(); });
  }
  ~Silent() override { Stop(); }
  std::string Name() const override { return "connections that never join"; }
  int ClosedByHost() override { return endpoint_.Closed(); }

 private:
  net_harness::RawEndpoint endpoint_;
};

class Vanishing : public RepeatingAttack {
 public:
  Vanishing(int port, int perSecond) : endpoint_(AttackerAddress(VanishAddress)), port_(port) {
    Start(perSecond, [this] {
      endpoint_.Vanish();  // the one made at the last strike, greeted since
      endpoint_.Connect(port_);
    }, [this] { endpoint_.SayHello(); });
  }
  ~Vanishing() override { Stop(); }
  std::string Name() const override { return "connect and vanish"; }

 private:
  net_harness::RawEndpoint endpoint_;
  int port_;
};

class Forged : public RepeatingAttack {
 public:
  Forged(int port, int perSecond) : port_(port) { Start(perSecond, [this] { Strike(); }); }
  ~Forged() override { Stop(); }
  std::string Name() const override { return "handshakes from forged addresses"; }

 private:
  void Strike() {
    // Anywhere in 127.1.0.0 to 127.254.255.255: never an honest player's, nor another attacker's.
    const std::string from = "127." + std::to_string(1 + random_() % 254) + "." + std::to_string(random_() % 256) + "." +
                             std::to_string(1 + random_() % 254);
    const int fd = SocketOn(from);
    if (fd < 0) return;
    std::vector<uint8_t> datagram = DatagramHeader(ENET_PROTOCOL_MAXIMUM_PEER_ID, 0);
    ENetProtocolConnect connect{};
    connect.header.command = static_cast<enet_uint8>(ENET_PROTOCOL_COMMAND_CONNECT) | ENET_PROTOCOL_COMMAND_FLAG_ACKNOWLEDGE;
    connect.header.channelID = 0xFF;
    connect.header.reliableSequenceNumber = ENET_HOST_TO_NET_16(1);
    connect.outgoingPeerID = 0;
    connect.incomingSessionID = 0xFF;
    connect.outgoingSessionID = 0xFF;
    connect.mtu = ENET_HOST_TO_NET_32(ENET_HOST_DEFAULT_MTU);
    connect.windowSize = ENET_HOST_TO_NET_32(ENET_PROTOCOL_MAXIMUM_WINDOW_SIZE);
    connect.channelCount = ENET_HOST_TO_NET_32(qxrnet::kEnetChannels);
    connect.packetThrottleInterval = ENET_HOST_TO_NET_32(ENET_PEER_PACKET_THROTTLE_INTERVAL);
    connect.packetThrottleAcceleration = ENET_HOST_TO_NET_32(ENET_PEER_PACKET_THROTTLE_ACCELERATION);
    connect.packetThrottleDeceleration = ENET_HOST_TO_NET_32(ENET_PEER_PACKET_THROTTLE_DECELERATION);
    connect.connectID = static_cast<enet_uint32>(random_());
    connect.data = ENET_HOST_TO_NET_32(qxrnet::kProtocolMagic);
    Append(datagram, connect);
    SendTo(fd, datagram, port_);
    close(fd);  // nobody is there to answer
  }

  int port_;
  std::mt19937 random_{20240701};
};

class Mute : public Attack {
 public:
  Mute(int port, int requestsPerSecond)
      : relay_(port, net_harness::Relay::Options{}), requestsPerSecond_(requestsPerSecond) {
    if (client_.Connect(relay_.Port(), "", 20000)) {
      client_.Join("Mute", 5);
      client_.PumpFor(200);
    }
    relay_.StripAcknowledgements(true);
    since_ = Clock::now();
  }
  std::string Name() const override { return "a player that never acknowledges"; }
  int ClosedByHost() override { return client_.Got().lost + client_.Got().disconnected; }
  std::vector<int> Slots() const override { return {client_.Slot()}; }
  void Step() override {
    if (!client_.Connected()) return;
    if (MsSince(lastState_) >= 50) {
      x_ = x_ >= 400 ? 100 : x_ + 3;
      client_.MoveTo(x_, 352);
      lastState_ = Clock::now();
      ++strikes_;
    }
    if (MsSince(lastChat_) >= 1000) {
      client_.Chat("can you hear me " + std::to_string(strikes_));
      lastChat_ = Clock::now();
    }
    // The requests due since the first one; a busy moment's are not made up for.
    const long due = static_cast<long>(MsSince(since_)) * requestsPerSecond_ / 1000 + 1;
    if (due - requests_ > requestsPerSecond_) requests_ = due - 1;
    for (; requests_ < due; ++requests_) client_.Send(MsgEnterRoom{.slot = client_.Slot(), .room = kAskedRoom});
    client_.Pump();
  }

 private:
  net_harness::Relay relay_;
  protocol::ProtocolClient client_;
  static constexpr int kAskedRoom = 32;  // a room with pickups, where nobody is
  int requestsPerSecond_;
  long requests_ = 0;
  int x_ = 100;
  Clock::time_point lastState_ = Clock::now(), lastChat_ = Clock::now(), since_ = Clock::now();
};

// Players of the attack's own, joined as the client joins; each takes in what arrives at
// every Step.
class JoinedPlayers : public Attack {
 public:
  std::vector<int> Slots() const override {
    std::vector<int> slots;
    for (const auto& player : players_) slots.push_back(player->Slot());
    return slots;
  }

 protected:
  explicit JoinedPlayers(int port) {
    for (const std::string& name : kJoinedAttackers) {
      players_.push_back(std::make_unique<protocol::ProtocolClient>());
      if (players_.back()->Connect(port, "", 20000)) players_.back()->Join(name);
    }
  }
  void PumpAll() {
    for (const auto& player : players_) player->Pump();
  }

  std::vector<std::unique_ptr<protocol::ProtocolClient>> players_;
};

class Flood : public JoinedPlayers {
 public:
  Flood(int port, int linesPerStep) : JoinedPlayers(port), linesPerStep_(linesPerStep) {
    for (int i = 0; junk_.size() < 240; ++i) junk_ += static_cast<char>(i % 3 == 0 ? 1 + i % 31 : 127 + i % 129);
  }
  std::string Name() const override { return "a chat flood"; }
  void Step() override {
    for (int i = 0; i < linesPerStep_; ++i, ++strikes_) {
      for (const auto& player : players_) player->Chat("flood " + std::to_string(strikes_) + junk_);
    }
    PumpAll();
  }

 private:
  int linesPerStep_;
  std::string junk_;
};

class Forgery : public JoinedPlayers {
 public:
  Forgery(int port, std::vector<std::string> lines, int room) : JoinedPlayers(port), lines_(std::move(lines)) {
    protocol::ProtocolClient& stander = *players_[0];
    stander.AnswerRoomQueries(false);
    stander.EnterRoom(room);
    // Standing there once the host has answered with the room's pickups.
    stander.PumpUntil([&] { return !stander.Got().roomPickups.empty(); }, 20000);
  }
  std::string Name() const override { return "forged system lines and room states"; }
  void Step() override {
    const std::string& line = lines_[static_cast<size_t>(strikes_++) % lines_.size()];
    for (const auto& player : players_) player->Send(MsgChat{line}, protocol::Mode::Chat);
    protocol::ProtocolClient& stander = *players_[0];
    for (; answered_ < stander.Got().roomQueries.size(); ++answered_) {
      const MsgRoomQuery& query = stander.Got().roomQueries[answered_];
      MsgRoomState state{.requester = query.requester, .room = query.room, .time = -2000000000, .swingPos = 32767,
                         .swingStep = 0, .arrowCount1 = 32767, .arrowCount2 = -32767, .enemies = {}};
      state.enemies.assign(4, RoomEnemyState{.x = 32767, .y = -32768, .moveDir = 200});
      stander.Send(state);
    }
    PumpAll();
  }

 private:
  std::vector<std::string> lines_;
  size_t answered_ = 0;
};

}  // namespace

RepeatingAttack::~RepeatingAttack() { Stop(); }

void RepeatingAttack::Start(int perSecond, std::function<void()> strike, std::function<void()> service) {
  thread_ = std::thread([this, perSecond, strike = std::move(strike), service = std::move(service)] {
    const auto start = Clock::now();
    long done = 0;
    while (!stop_) {
      const long due = static_cast<long>(MsSince(start)) * perSecond / 1000 + 1;
      // Behind on a busy machine: strikes that could not be made in time are not made later.
      if (due - done > perSecond) done = due - 1;
      for (; done < due && !stop_; ++done) {
        strike();
        ++strikes_;
      }
      if (service) service();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
}

void RepeatingAttack::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

std::string AttackerAddress(int last) { return "127.0.0." + std::to_string(last); }

std::vector<uint8_t> ReliableCommands(const ENetPeer& peer, int channel, const std::vector<int>& sequenceNumbers,
                                      const std::vector<uint8_t>& data) {
  std::vector<uint8_t> datagram = DatagramHeader(peer.outgoingPeerID, peer.outgoingSessionID);
  for (int sequenceNumber : sequenceNumbers) {
    ENetProtocolSendReliable command;
    command.header.command = static_cast<enet_uint8>(ENET_PROTOCOL_COMMAND_SEND_RELIABLE) | ENET_PROTOCOL_COMMAND_FLAG_ACKNOWLEDGE;
    command.header.channelID = static_cast<enet_uint8>(channel);
    command.header.reliableSequenceNumber = ENET_HOST_TO_NET_16(static_cast<enet_uint16>(sequenceNumber));
    command.dataLength = ENET_HOST_TO_NET_16(static_cast<enet_uint16>(data.size()));
    Append(datagram, command);
    datagram.insert(datagram.end(), data.begin(), data.end());
  }
  return datagram;
}

void SendDatagram(ENetHost& host, const ENetPeer& peer, const std::vector<uint8_t>& datagram) {
  ENetBuffer buffer;
  buffer.data = const_cast<uint8_t*>(datagram.data());
  buffer.dataLength = datagram.size();
  enet_socket_send(host.socket, &peer.address, &buffer, 1);
}

std::unique_ptr<Attack> OutOfOrderCommands(int port, int datagramsPerSecond, bool sayHello, bool farAhead) {
  return std::make_unique<OutOfOrder>(port, datagramsPerSecond, sayHello, farAhead);
}

std::unique_ptr<Attack> OversizedDatagrams(int port, int perSecond) { return std::make_unique<Oversized>(port, perSecond); }

std::unique_ptr<Attack> SilentJoiners(int port, int connections) { return std::make_unique<Silent>(port, connections); }

std::unique_ptr<Attack> ConnectAndVanish(int port, int perSecond) { return std::make_unique<Vanishing>(port, perSecond); }

std::unique_ptr<Attack> ForgedHandshakes(int port, int perSecond) { return std::make_unique<Forged>(port, perSecond); }

std::unique_ptr<Attack> NeverAcknowledges(int port, int requestsPerSecond) {
  return std::make_unique<Mute>(port, requestsPerSecond);
}

std::unique_ptr<Attack> ChatFlood(int port, int linesPerStep) { return std::make_unique<Flood>(port, linesPerStep); }

std::unique_ptr<Attack> ForgedLines(int port, std::vector<std::string> lines, int room) {
  return std::make_unique<Forgery>(port, std::move(lines), room);
}

}  // namespace attacks
