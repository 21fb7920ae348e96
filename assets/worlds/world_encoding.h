// Writes a world as its three files: rooms (256 records of 1,065 bytes), enemies, pickups.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/worlds/world_data.h"

constexpr int RoomRecordBytes = 1065;
constexpr int EnemyRecordBytes = 20;
constexpr int PickupRecordBytes = 7;

std::vector<uint8_t> EncodeRooms(const World& world);
// Enemies in room order, each room's in the order the room lists them.
std::vector<uint8_t> EncodeEnemies(const World& world);
// Pickups grouped by room in ascending room order, as the loader needs them.
std::vector<uint8_t> EncodePickups(const World& world);
