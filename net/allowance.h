// A connection's allowance of the messages that make the host tell other players something: a
// few at once, then a steady pace.
#pragma once

// AllowanceBurst messages at once, and one more every AllowanceIntervalMs: more than a player's
// typing, joining or walking from room to room asks for, far less than a flood.
inline constexpr int AllowanceBurst = 8;
inline constexpr int AllowanceIntervalMs = 750;

struct Allowance {
  int left = AllowanceBurst;  // messages it may send now
  int countedAt = 0;          // clock up to which messages were earned (while not full)
};

// True when the allowance has a message left at clock now (ms), which is then used up.
bool TakeAllowance(Allowance& allowance, int now);
