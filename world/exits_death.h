// Room exits, the team-room joins, the room-entry state, motion reset, dying and respawn.
#pragma once

void RoomExitCheck();        // changes room when the hero passes an edge that has an exit
void SaveEntryState();       // the respawn point: position and motion at room entry
void RestoreEntryState();    // puts the hero back where and how it entered the room
void ResetPlayerMotion();    // clears dying, riding, rope, belt, stairs, jump, fall; flushes keys

// One world step while Game.dying: the hero lies dead for 26 steps, then loses a life and
// respawns at the entry point, or with 9 lives at the start room after the last one.
void DyingStep();

// Enters Game.room and puts the local player at the mode's start position there.
void PlaceAtRoomStart();

// x of slot's place in a row of start places 32 pixels apart from firstX. The row ends at the
// playfield's last free place (x 480); slots past it start again from the front, half a place
// on, so that every hero starts inside the room.
int StartPlaceX(int slot, int firstX);
