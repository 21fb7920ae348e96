// Test harness for the networking tests: the real library bound by the real binder, free
// ports, waiting for packets, and a UDP relay that reorders or alters datagrams.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "net/netlib_binding.h"

namespace net_harness {

// Binds libqxrnet.so (once per process) and the test knobs.
void BindLibrary();
// Shortens (or, with 0, restores) the library's connection timeouts for this process.
void SetTimeouts(int timeoutMs, int pingIntervalMs);
// Drops an interface's connections without notice.
void DropWithoutNotice(RN_Interface* iface);

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

 private:
  void Run();
  int serverPort_;
  Options options_;
  int clientSide_ = -1, serverSide_ = -1, port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> swapped_{0};
  std::thread thread_;
};

}  // namespace net_harness
