// The six worlds of the world modes, built on the main world's rooms: pitfall, assault, tower,
// original, jailbreak and laboratory.
#pragma once

#include <vector>

#include "assets/worlds/world_data.h"

// Enemy and pickup counts of each world's files.
constexpr int PitfallEnemies = 30, PitfallPickups = 1;
constexpr int AssaultEnemies = 59, AssaultPickups = 1;
constexpr int TowerEnemies = 22, TowerPickups = 2;
constexpr int OriginalEnemies = 99, OriginalPickups = 83;
constexpr int JailbreakEnemies = 68, JailbreakPickups = 1;
constexpr int LaboratoryEnemies = 84, LaboratoryPickups = 1;

// In the order pitfall, assault, tower, original, jailbreak, laboratory.
std::vector<World> BuildCourseWorlds(const World& main);
// "tower": both teams start in room 1 and race up their own stairwells to the crown room.
World BuildTowerWorld(const World& main);
