// A player run by the test through the game protocol beside real clients: it joins once let
// in, waits far from the others for a collect round to start and, when told, reports pickups of
// far rooms one by one and claims the round as a client does on its 30th. Collecting 30
// pickups takes a real player minutes of exact play; this player wins a round in a moment.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/net/protocol_client.h"
#include "world/records.h"
#include "world_facts.h"

namespace onlinetest {

// The first count pickups of the rooms from 100 on, where no real player of a test goes.
inline std::vector<PickupFact> FarPickups(size_t count) {
  std::vector<PickupFact> far;
  for (int room = 100; far.size() < count && room < 140; ++room)
    for (const PickupFact& p : RoomPickupFacts(room)) far.push_back(p);
  far.resize(count);
  return far;
}

class ScriptedCollector {
 public:
  ScriptedCollector(int port, std::string name) : port_(port), name_(std::move(name)) {
    thread_ = std::thread([this] { Play(); });
  }
  ~ScriptedCollector() { Finish(); }
  ScriptedCollector(const ScriptedCollector&) = delete;
  ScriptedCollector& operator=(const ScriptedCollector&) = delete;

  // It connects and joins.
  void LetIn() { letIn_ = true; }
  // It collects and claims the round (once the round has started).
  void Claim() { claimNow_ = true; }
  // Waits for it to be done: it has left after its claim, or given up.
  void Finish() {
    LetIn();
    Claim();
    if (thread_.joinable()) thread_.join();
  }

  int Slot() const { return slot_; }
  bool SawRoundStart() const { return roundStarted_; }
  // When the round start reached it, in seconds since the epoch (as files are stamped); 0 before.
  double RoundStartedAt() const { return roundStartedAt_; }
  // The winner the host announced after the claim ("" when none); read after Finish.
  const std::string& Winner() const { return winner_; }

 private:
  void Play() {
    while (!letIn_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    protocol::ProtocolClient me;
    me.State().room = 100;
    if (!me.Connect(port_, "", 60000)) return;
    slot_ = me.Slot();
    me.Join(name_);
    roundStarted_ = me.PumpUntil([&] { return me.Got().roundStarts > 0; }, 180000);
    if (!roundStarted_) return;
    roundStartedAt_ = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    me.PumpUntil([&] { return claimNow_.load(); }, 180000);
    for (const PickupFact& p : FarPickups(30)) {
      me.State().room = p.room;
      me.State().score += 1;
      me.MoveTo(p.x, p.y + PlayfieldTop - 16);
      me.TakePickup(p.room, p.index);
    }
    me.Send(MsgWinner{me.Name()});
    if (me.PumpUntil([&] { return !me.Got().winners.empty(); }, 60000)) winner_ = me.Got().winners.back();
    me.Leave();
    me.PumpFor(200);
  }

  int port_;
  std::string name_;
  std::atomic<bool> letIn_{false}, claimNow_{false}, roundStarted_{false};
  std::atomic<double> roundStartedAt_{0};
  std::atomic<int> slot_{-1};
  std::string winner_;
  std::thread thread_;
};

}  // namespace onlinetest
