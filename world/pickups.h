// Pickups: loading the world's table, the shown room's pickup sprites, collecting them.
#pragma once

extern int RoomPickupCount;  // pickups spawned in the shown room and not yet collected
extern int RoomPickupsVersion;  // changes whenever RoomPickups is emptied or made anew

void LoadPickups();          // fills Pickups from "<WorldName>_p.dat"
void SpawnRoomPickups();     // sprites of the present pickups of Game.room (and the flags of mode 80)
void CollectPickups();       // one world step: touch tests, animation, scoring, win rules
void ReadRoomPickupList();   // a room state's pickup index list from the inbound message, then spawns
void ClearRoomPickupFlags(); // marks every pickup of Game.room absent
// Takes the shown room's first sprite of pickup index off the screen (another player took it).
void RemoveRoomPickup(int index);

// The present-flag of pickup index, or 0 for an index outside 0..LastPickup.
bool PickupPresent(int index);
