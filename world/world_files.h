// World files and world selection: the world-by-mode table, loading the rooms file, room names.
//
// Rooms file "<world>.dat": 256 records of 1,065 bytes, record r at r * 1065 (record 0 unused).
#pragma once

#include <string>

#include "world/records.h"

constexpr int RoomRecordSize = 1065;
constexpr int WorldBankSize = RoomCount * RoomRecordSize;  // 272,640
// Offsets within a room record.
constexpr int RoomTilesOffset = 2;        // 512 tiles, 16-bit little-endian, row by row
constexpr int RoomExitsOffset = 1026;     // up, right, down, left
constexpr int RoomNameOffset = 1030;      // 33 characters padded with spaces
constexpr int RoomNameLength = 33;
constexpr int RoomRopeFlagOffset = 1063;  // 'Y' = the room has the swinging rope

// The world a game mode plays: "pitfall", "assault", "original", "jailbreak", "laboratory",
// "tower" for modes 33..37 and 81, else "maps".
std::string WorldForMode(int mode);

// Byte offset of a room's record in WorldBank; -1 for a room outside 1..255.
long RoomRecordBase(int room);

// Chooses the world of mode, loads its rooms file when it is not the loaded one, and reloads
// the pickups and enemies tables (joined clients start with every pickup absent, mode 35
// with every pickup present).
void SelectWorld(int mode);

// Loads "incbin::<name>.dat" into WorldBank (always 272,640 bytes; a short or missing file
// leaves the rest zero) and refills RoomNames.
void LoadWorldBank(const std::string& name);

// Refills RoomNames[1..255] from WorldBank: each name trimmed of characters below 33.
void BuildRoomNames();
