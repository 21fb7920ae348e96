// Builds the seven worlds' rooms, enemies and pickups files in memory.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Every world file by its embedded name ("maps.dat", "maps_e.dat", "maps_p.dat", ...), 21 in all.
std::map<std::string, std::vector<uint8_t>> GenerateWorldFiles();
