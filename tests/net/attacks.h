// Hostile peers for the liveness tests and the attack benchmark. Each attack aims at a host on
// 127.0.0.1:port (a real qxr-server or a real hosting qxr). Attacks made of raw datagrams come
// from loopback addresses of their own, so the host tells them apart from the honest players on
// 127.0.0.1, and run on a thread of their own from the moment they are made; attacks that act as
// joined players through the game's own client run on the test's thread, a little at each Step
// (the client borrows the program thread's message buffers). Add an attack by deriving from
// Attack, or from RepeatingAttack for a thread that acts at a rate.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

struct _ENetHost;
struct _ENetPeer;

namespace attacks {

class Attack {
 public:
  virtual ~Attack() = default;
  // What the attack is, for messages and reports.
  virtual std::string Name() const = 0;
  // Called on the test's thread every few milliseconds while the honest players play.
  virtual void Step() {}
  // How many times it struck so far (datagrams, connections or messages).
  int Strikes() const { return strikes_; }
  // How many of the attacker's connections the host has closed so far; -1 when the attack
  // cannot tell (or has no connection to lose).
  virtual int ClosedByHost() { return -1; }
  // The slots of the players the attack joined to the game, once they have joined.
  virtual std::vector<int> Slots() const { return {}; }

 protected:
  std::atomic<int> strikes_{0};
};

// An attack that strikes from a thread of its own, perSecond times a second, until destroyed.
class RepeatingAttack : public Attack {
 public:
  ~RepeatingAttack() override;

 protected:
  // Starts the thread; strike() is called at the rate, service() between strikes (every
  // millisecond or so) to take in what arrives. Called by the derived class's constructor, last.
  void Start(int perSecond, std::function<void()> strike, std::function<void()> service = {});
  // Stops and joins the thread. The derived class's destructor calls it first.
  void Stop();

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A loopback address other than 127.0.0.1 for an attacker of its own ("127.0.0.<last>").
std::string AttackerAddress(int last);

// A datagram made by hand for the host at the other end of peer (a connection of a bare ENet
// endpoint): one reliable command for each sequence number, on channel, each carrying data.
std::vector<uint8_t> ReliableCommands(const _ENetPeer& peer, int channel, const std::vector<int>& sequenceNumbers,
                                      const std::vector<uint8_t>& data = {});
// Sends it from the endpoint's own socket.
void SendDatagram(_ENetHost& host, const _ENetPeer& peer, const std::vector<uint8_t>& datagram);

// After the handshake (and hello, when sayHello), reliable commands without data that skip the
// next sequence number due and run downwards, on every channel, about 230 in each datagram: from
// the far end of ENet's own window (farAhead), or from 250 ahead, the same ones again and again.
// A connection that is closed is made again.
std::unique_ptr<Attack> OutOfOrderCommands(int port, int datagramsPerSecond = 50, bool sayHello = true,
                                           bool farAhead = true);
// UDP datagrams larger than the library takes in, from an address with no connection.
std::unique_ptr<Attack> OversizedDatagrams(int port, int perSecond = 300);
// connections that connect and say hello, and never join the game (nor leave it).
std::unique_ptr<Attack> SilentJoiners(int port, int connections = 16);
// A connection that says hello and vanishes without a word, perSecond times a second.
std::unique_ptr<Attack> ConnectAndVanish(int port, int perSecond = 2);
// Connection requests from forged source addresses (each from another loopback address,
// which never answers the host).
std::unique_ptr<Attack> ForgedHandshakes(int port, int perSecond = 50);
// A joined player that acknowledges nothing the host sends once it has joined (a relay strips
// its acknowledgements), while the host has things to send it: chat, which it says once a second
// itself (the host relays it to everybody, itself included), and the pickups of a room it asks
// for requestsPerSecond times a second. It sends its state every 50 ms, as a player does.
std::unique_ptr<Attack> NeverAcknowledges(int port, int requestsPerSecond = 200);

// The joined players of the attacks below, by the names they join with.
inline const std::vector<std::string> kJoinedAttackers = {"Mallory", "Trudy"};
// Two joined players who say linesPerStep chat lines each at every Step, without pause: each
// line the longest a client may send, full of control characters and bytes 127 and above.
std::unique_ptr<Attack> ChatFlood(int port, int linesPerStep = 100);
// Two joined players who send lines as their chat, each the next of them at every Step (system
// lines, lines in other players' names). The first of them stands in room (where nobody else
// is) before the attack is returned, and answers the host's questions about the room with a
// state of values the game never produces: a rope swung to 32767, arrow counters of 32767 and
// -32767, a time of -2,000,000,000, enemies far off the screen.
std::unique_ptr<Attack> ForgedLines(int port, std::vector<std::string> lines, int room);

}  // namespace attacks
