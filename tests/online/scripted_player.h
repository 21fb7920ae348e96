// A player run by the test itself: it speaks the game's protocol through our networking library
// as a joining client does (welcome, join, states, pickups taken, team choice) and reads what
// the host sends. It stands in for a player whose play a test cannot script in its time.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "../net/net_harness.h"
#include "net/envelope.h"
#include "net/messages.h"
#include "world/records.h"

namespace onlinetest {

class ScriptedPlayer {
 public:
  // Connects to the host on 127.0.0.1:port and joins with the 8-character name.
  ScriptedPlayer(int port, const std::string& name8) : name8_(name8) {
    iface_ = net_harness::StartClient(port);
    Use use(iface_);
    WaitFor([this](int type) {
      if (type != MsgWelcome::type) return false;
      MsgWelcome welcome;
      ReadMessage(welcome);
      slot_ = welcome.slot;
      return true;
    }, 10);
    if (slot_ < 0) return;
    WriteMessage(MsgJoin{.nameAndSlot = name8_ + std::to_string(slot_), .skin = 0});
    NetSend(-1);
  }
  ~ScriptedPlayer() {
    if (iface_ == nullptr) return;
    Use use(iface_);
    if (slot_ >= 0) {
      WriteMessage(MsgLeave{slot_});
      NetSend(-1);
    }
    NetLib.DestroyRakClientInterface(iface_);
  }
  ScriptedPlayer(const ScriptedPlayer&) = delete;
  ScriptedPlayer& operator=(const ScriptedPlayer&) = delete;

  int Slot() const { return slot_; }

  // Reads the host's messages for up to seconds until done(type) says the one read is the one
  // waited for (done may read its fields). Pings the host as a client does meanwhile.
  bool WaitFor(const std::function<bool(int type)>& done, double seconds) {
    Use use(iface_);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    auto lastPing = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < giveUp) {
      if (slot_ >= 0 && std::chrono::steady_clock::now() - lastPing > std::chrono::seconds(2)) {
        lastPing = std::chrono::steady_clock::now();
        WriteMessage(MsgPing{.slot = slot_, .ping = 0});
        NetSend(-1);
      }
      if (!NetReceive()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        continue;
      }
      bool found = false;
      if (NetReadByte() == GameMessageId) found = done(NetReadByte());
      NetFreePacket();
      if (found) return true;
    }
    return false;
  }

  // Sends one message to the host as this player's client would.
  template <typename Message>
  void Send(const Message& message) {
    Use use(iface_);
    WriteMessage(message);
    NetSend(-1);
  }

 private:
  // The envelope's globals serve this player's connection while it acts.
  struct Use {
    explicit Use(RN_Interface* iface) : hosting(Hosting), previous(NetInterface) {
      Hosting = 0;
      NetInterface = iface;
    }
    ~Use() {
      Hosting = hosting;
      NetInterface = previous;
    }
    int hosting;
    RN_Interface* previous;
  };

  std::string name8_;
  RN_Interface* iface_ = nullptr;
  int slot_ = -1;
};

}  // namespace onlinetest
