// What the soak's players share: who holds each slot, when each was given up, and the faults found.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace soak {

using Ms = int64_t;  // milliseconds since the soak began

// Faults as they are found: the first ones word for word, the rest only counted.
class Faults {
 public:
  void Add(Ms now, const std::string& what) {
    if (++count_ <= kKept) kept_.push_back(std::to_string(now) + " ms: " + what);
  }
  int Count() const { return count_; }
  std::string Text() const {
    std::string text;
    for (const std::string& line : kept_) text += line + "\n";
    if (count_ > kKept) text += "... and " + std::to_string(count_ - kKept) + " more\n";
    return text;
  }

 private:
  static constexpr int kKept = 25;
  int count_ = 0;
  std::vector<std::string> kept_;
};

// The server's slots as the players know them. A slot given up may still be listed by the
// server for a while: until its leave or disconnection arrives, or, for a player that vanished
// without a word, until the server notices the silence.
class SlotLedger {
 public:
  // Player takes the slot its welcome gave; a slot another player still holds is a fault.
  void Take(int slot, int player, bool honest, Ms now, Faults& faults) {
    if (slot < 0 || slot > 15) {
      faults.Add(now, "player " + std::to_string(player) + " was welcomed to slot " + std::to_string(slot));
      return;
    }
    if (holder_[slot] >= 0) {
      faults.Add(now, "slot " + std::to_string(slot) + " given to player " + std::to_string(player) +
                          " while player " + std::to_string(holder_[slot]) + " holds it");
    }
    holder_[slot] = player;
    honest_[slot] = honest;
  }
  // The holder gave the slot up; the server may list it for graceMs more.
  void Release(int slot, Ms now, int graceMs) {
    if (slot < 0 || slot > 15) return;
    holder_[slot] = -1;
    honest_[slot] = false;
    listableUntil_[slot] = now + graceMs;
  }
  // The player now plays honestly in its slot (or no longer does).
  void SetHonest(int slot, bool honest) {
    if (slot >= 0 && slot <= 15) honest_[slot] = honest;
  }
  bool HeldByHonest(int slot) const { return slot >= 0 && slot <= 15 && honest_[slot]; }
  // Whether the server may still list slot in its states broadcast.
  bool MayBeListed(int slot, Ms now) const {
    return slot >= 0 && slot <= 15 && (holder_[slot] >= 0 || now <= listableUntil_[slot]);
  }

 private:
  std::array<int, 16> holder_ = Filled(-1);
  std::array<bool, 16> honest_{};
  std::array<Ms, 16> listableUntil_{};

  static std::array<int, 16> Filled(int value) {
    std::array<int, 16> a;
    a.fill(value);
    return a;
  }
};

// Everything the players share: the server's port, the dice, the slots, the faults, the rules.
struct Shared {
  int port = 0;
  std::mt19937 random;
  SlotLedger slots;
  Faults faults;
  int rogues = 0;            // rogue sessions going on
  int rogueLimit = 3;        // at most this many at once
  Ms lastVanishAt = 0;       // players vanish without a word only until then
  int gapLimitMs = 2000;     // the longest wait for a states broadcast an honest player accepts
  // Passes of the test's own loop that took long (the test itself held up on a busy machine):
  // what arrived meanwhile waited in the queue, so a wait for a states broadcast is judged
  // without them.
  std::vector<std::pair<Ms, Ms>> ownStalls;
  // Until then the administrator starts a game every few seconds, in every world in turn, so
  // that the server has been through all it does before its memory is first measured.
  Ms warmUpUntil = 0;
  Ms nextWarmUpGameAt = 0;
  int warmUpGames = 0;

  // The connections the server may hold: each player's open one, and those closed lately
  // (until a little after a close, or the silence time after a player vanished).
  std::array<bool, 16> connectionOpen{};
  std::vector<Ms> closedHeldUntil;

  void ConnectionClosed(int player, Ms now, int heldMs) {
    connectionOpen[static_cast<size_t>(player)] = false;
    std::erase_if(closedHeldUntil, [now](Ms until) { return until < now; });
    closedHeldUntil.push_back(now + heldMs);
  }
  // The connections the server may have held at time at, besides the player's open one.
  int ConnectionsHeldAt(Ms at, int exceptPlayer) const {
    int held = 0;
    for (size_t i = 0; i < connectionOpen.size(); ++i) held += connectionOpen[i] && static_cast<int>(i) != exceptPlayer;
    for (Ms until : closedHeldUntil) held += until >= at;
    return held;
  }

  void NoteOwnPass(Ms from, Ms to) {
    if (to - from > 100) ownStalls.emplace_back(from, to);
  }
  // How long the test's own loop stood still after since.
  Ms OwnStallsSince(Ms since) const {
    Ms stalled = 0;
    for (const auto& [from, to] : ownStalls)
      if (to > since) stalled += to - std::max(from, since);
    return stalled;
  }

  // True one time in n.
  bool OneIn(int n) { return std::uniform_int_distribution<int>(1, n)(random) == 1; }
  // A number from low to high.
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
};

}  // namespace soak
