// Players run by the test through the game protocol beside the real programs, for the parts a
// real client cannot be made to act: the server draws the tagged player or the one to catch by
// chance, and it is that one who must leave. They all live on one thread of their own (protocol
// clients share the envelope's streams, so they take turns); the test tells them what to do and
// waits for what they were told.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tests/net/protocol_client.h"

namespace onlinetest {

class ProtocolPlayers {
 public:
  explicit ProtocolPlayers(int port) : port_(port), thread_([this] { Run(); }) {}
  ~ProtocolPlayers() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    thread_.join();
  }
  ProtocolPlayers(const ProtocolPlayers&) = delete;
  ProtocolPlayers& operator=(const ProtocolPlayers&) = delete;

  // Player i connects; given a name it also joins with it, else it stays a connection without
  // a name, which takes no part and is never made administrator but is sent what all are
  // sent. False when the server's welcome did not come.
  bool Connect(int i, const std::string& name = "") {
    bool welcomed = false;
    Do(i, [&](protocol::ProtocolClient& c) {
      welcomed = c.Connect(port_, "", ConnectTimeoutMs);
      if (welcomed && !name.empty()) c.Join(name);
    });
    return welcomed;
  }

  // Runs action with player i (made at its first use) on the players' thread; returns once it ran.
  void Do(int i, const std::function<void(protocol::ProtocolClient&)>& action) {
    bool done = false;
    std::unique_lock<std::mutex> lock(mutex_);
    tasks_.push_back([&, i] {
      std::unique_ptr<protocol::ProtocolClient>& player = players_[i];
      if (!player) player = std::make_unique<protocol::ProtocolClient>();
      action(*player);
      std::lock_guard<std::mutex> doneLock(mutex_);
      done = true;
      ran_.notify_all();
    });
    ran_.wait(lock, [&] { return done; });
  }

  // Waits until what player i was told satisfies done; false after timeoutMs.
  bool WaitFor(int i, const std::function<bool(const protocol::Received&)>& done, int timeoutMs = 90000) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      bool met = false;
      Do(i, [&](protocol::ProtocolClient& c) { met = done(c.Got()); });
      if (met) return true;
      if (std::chrono::steady_clock::now() > giveUp) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  protocol::Received Got(int i) {
    protocol::Received got;
    Do(i, [&](protocol::ProtocolClient& c) { got = c.Got(); });
    return got;
  }
  int Slot(int i) {
    int slot = -1;
    Do(i, [&](protocol::ProtocolClient& c) { slot = c.Slot(); });
    return slot;
  }

  // Player i leaves the game and closes its connection, as a player who quits.
  void Leave(int i) {
    Do(i, [](protocol::ProtocolClient& c) {
      c.Leave();
      c.PumpFor(100);
      c.Close();
    });
  }

 private:
  static constexpr int ConnectTimeoutMs = 30000;

  // Runs what the test asks and keeps every player's connection served (messages taken in,
  // pings sent) in between; at the end the players still connected leave.
  void Run() {
    for (;;) {
      std::deque<std::function<void()>> tasks;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_ && tasks_.empty()) break;
        tasks.swap(tasks_);
      }
      for (auto& task : tasks) task();
      for (auto& [i, player] : players_) player->Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (auto& [i, player] : players_) {
      if (player->Connected()) player->Leave();
    }
    for (auto& [i, player] : players_) player->PumpFor(50);
    players_.clear();
  }

  const int port_;
  std::mutex mutex_;
  std::condition_variable ran_;
  std::deque<std::function<void()>> tasks_;
  bool stop_ = false;
  std::map<int, std::unique_ptr<protocol::ProtocolClient>> players_;  // used on the thread only
  std::thread thread_;  // last: it starts once everything above is made
};

}  // namespace onlinetest
