// The live state of the shown room (rope, arrow counters, enemies) as room-state messages carry it.
#pragma once

#include "net/messages.h"

// A room state that has run this many 16 ms steps or more is caught up by no more than that:
// a time from another machine (or a forged one) cannot hold up a frame.
inline constexpr int MaxCatchUpSteps = 125;

// The shown room's state for requester: the rope's swing, the arrow counters and every enemy
// of the room in list order, stamped with NetTime.
MsgRoomState OwnRoomState(int requester, int room);

// Brings the rope and arrow values of a state from another machine within what the game
// itself produces: the swing within its limit and its step one way or the other, each
// arrow counter between its room-entry value and arrowPeriod - 1. Values already within
// stay as they are.
void BoundRoomState(MsgRoomState& state, int arrowPeriod);

// Applies a room state to the shown room, bounded as above (with the room's own arrow
// period) and each enemy kept within its reach: the rope and arrow counters, the enemies
// when the state lists as many as the room has (in list order; otherwise they stay where
// they are), then runs the enemies and the rope for the steps of 16 ms that have passed
// since the state's time, at most MaxCatchUpSteps.
void ApplyRoomState(const MsgRoomState& state);
