// The client interface: connects, gives its password, measures the round trip, sends to the server.
#pragma once

#include <deque>
#include <string>

#include "platform/qxrnet/endpoint.h"

namespace qxrnet {

class ClientInterface : public RN_Interface {
 public:
  ClientInterface() : RN_Interface(Kind::Client) {}
  ~ClientInterface() override;

  void SetPassword(const char* password);
  int Connect(const char* host, int serverPort, int clientPort, int threadSleepMs);
  void StartPing();
  int Send(const RN_BitStream& stream, int reliability, int channel);
  int AveragePing();
  // Says goodbye to the server and waits a moment for it to hear.
  void Close();
  // Drops the connection without a word, as a killed process would.
  void Vanish();

 private:
  enum class State { Idle, Connecting, Handshaking, Admitted, Closed };

  void HandleEvent(ENetEvent& event) override;
  void Tick(uint32_t now) override;
  void CutOff(RN_PlayerId sender) override;
  void OnReceive(int channel, const ENetPacket& packet);
  void OnDisconnect(uint32_t data);
  void BecomeAdmitted();
  void SendPing(uint32_t now);
  // Ends the connection at once (the server is told reason) and queues event.
  void Drop(uint32_t reason, uint8_t event);

  State state_ = State::Idle;
  ENetPeer* peer_ = nullptr;
  std::string password_;
  uint32_t attemptSince_ = 0;   // when Connect started
  uint32_t lastHeard_ = 0;      // when the server's last packet came (or we were admitted)
  bool pinging_ = false;
  uint32_t lastPingSent_ = 0;
  std::deque<int> pingSamples_;
};

// The interface as a client, or nullptr when it is none.
ClientInterface* AsClient(RN_Interface* i);

}  // namespace qxrnet
