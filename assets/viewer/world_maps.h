// Maps of the embedded worlds: every room drawn with its tiles, enemies, pickups and rope.
#pragma once

#include <string>

#include "assets/art/canvas.h"

// All rooms of a world ("maps", "pitfall", ...) at a quarter of their size, 16 to a row, each
// labelled with its number and exits; rooms without a single tile are left dark.
Canvas WorldMap(const std::string& world);

// One room of a world at full size (512 x 256), with the room's name and exits underneath.
Canvas RoomPicture(const std::string& world, int room);
