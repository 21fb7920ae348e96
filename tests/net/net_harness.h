// Test harness for the networking tests: the real library bound by the real binder, free
// ports, waiting for packets, a UDP relay that reorders, alters or loses datagrams, and a
// bare ENet endpoint that misbehaves.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/netlib_binding.h"

struct _ENetHost;
struct _ENetPeer;

namespace net_harness {

// Binds libqxrnet.so (once per process) and the test knobs.
void BindLibrary();
// Shortens (or, with 0, restores) the library's connection timeouts for this process.
void SetTimeouts(int timeoutMs, int pingIntervalMs);
// Drops an interface's connections without notice.
void DropWithoutNotice(RN_Interface* iface);

// Sets the library's timeouts for the life of the object, then restores the defaults.
struct ScopedTimeouts {
  ScopedTimeouts(int timeoutMs, int pingIntervalMs);
  ~ScopedTimeouts();
};

// A started server on a free port, searched from a port derived from the test's name.
struct Server {
  RN_Interface* iface = nullptr;
  int port = 0;
};
Server StartServer(int maxConnections = 15);
// A UDP port on which nothing listens (it was free a moment ago).
int UnusedPort();

// A client interface connecting to 127.0.0.1:port with the password ("" = none).
RN_Interface* StartClient(int port, const std::string& password = "");

// Polls receive until a packet arrives or timeoutMs passes; nullptr on time-out.
RN_Packet* WaitPacket(const std::function<RN_Packet*()>& receive, int timeoutMs = 5000);
RN_Packet* WaitServer(RN_Interface* server, int timeoutMs = 5000);
RN_Packet* WaitClient(RN_Interface* client, int timeoutMs = 5000);
// The first byte of the next packet (then freed), or -1 on time-out.
int NextServerByte(RN_Interface* server, int timeoutMs = 5000);
int NextClientByte(RN_Interface* client, int timeoutMs = 5000);
// Waits for event id on the server; returns its sender, or -1 on time-out. Game data
// arriving meanwhile is skipped.
RN_PlayerId WaitServerEvent(RN_Interface* server, int id, int timeoutMs = 5000);

// Connects a client and waits for both ends' events; returns the client's player id.
RN_PlayerId Admit(RN_Interface* server, RN_Interface* client);

// Expects the honest client to be served still: one more reliable packet from it reaches the
// server (other packets queued before it are skipped).
void ExpectStillServed(RN_Interface* server, RN_Interface* honest, RN_PlayerId honestId);

// Sends bytes from a client or the server (to everyone) with the given mode.
int ClientSendBytes(RN_Interface* client, const std::vector<uint8_t>& bytes, int reliability, int channel);
int ServerSendBytes(RN_Interface* server, const std::vector<uint8_t>& bytes, int reliability, int channel,
                    RN_PlayerId to, int broadcast);

// A UDP relay between clients (on its own port) and a server on 127.0.0.1.
class Relay {
 public:
  struct Options {
    bool swapPairs = false;            // datagrams from the client go out in swapped pairs
    std::vector<uint8_t> marker;       // when found in a datagram from the client, the byte
    uint8_t markerReplacement = 0;     // just before it is replaced by markerReplacement
  };
  Relay(int serverPort, Options options);
  ~Relay();
  int Port() const { return port_; }
  int Swapped() const { return swapped_; }
  // From now on, takes the acknowledgements out of what the client sends (true), or not.
  void StripAcknowledgements(bool strip) { stripAcknowledgements_ = strip; }
  // From now on, loses this share of the datagrams in each direction (0..100).
  void SetLossPercent(int percent) { lossPercent_ = percent; }
  int Lost() const { return lost_; }

 private:
  void Run();
  int serverPort_;
  Options options_;
  int clientSide_ = -1, serverSide_ = -1, port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> swapped_{0};
  std::atomic<int> lossPercent_{0};
  std::atomic<int> lost_{0};
  std::atomic<bool> stripAcknowledgements_{false};
  std::thread thread_;
};

// A bare ENet host on its own loopback address (such as "127.0.0.2", so that the server
// tells it apart from the library's clients on 127.0.0.1), serviced by a thread of its
// own. It speaks the library's handshake by hand, so it can connect without saying hello,
// or send what the library refuses to send.
class RawEndpoint {
 public:
  explicit RawEndpoint(const std::string& localAddress, int maxPeers = 32);
  ~RawEndpoint();
  // Starts a connection to 127.0.0.1:port that carries the library's protocol magic.
  void Connect(int port);
  // Sends the library's hello (no password) on every connected peer not yet greeted.
  void SayHello();
  // Sends bytes on channel to every connected peer.
  void SendToAll(const std::vector<uint8_t>& bytes, int channel, bool reliable);
  int Connected();      // connections up just now
  int MostConnected();  // the most that were up at once
  int Closed();         // connections that ended, after being up
  // The longest packet received on a data channel so far, and how many arrived.
  size_t LongestReceived();
  int Received();
  // Drops every connection here without a word to the other end, as a killed process would.
  void Vanish();
  // Calls use with the ENet host and the connections up just now, while its thread stands
  // still (for datagrams made by hand and sent from the host's own socket).
  void WithHost(const std::function<void(_ENetHost& host, const std::vector<_ENetPeer*>& up)>& use);

 private:
  void Run();
  void ServiceOnce();
  std::mutex mutex_;
  _ENetHost* host_ = nullptr;
  std::vector<_ENetPeer*> up_;
  std::vector<_ENetPeer*> greeted_;
  int mostConnected_ = 0, closed_ = 0, received_ = 0;
  size_t longest_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace net_harness
