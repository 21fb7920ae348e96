// The six worlds of the world modes, built on the main world's rooms: pitfall, assault, tower,
// original, jailbreak and laboratory.
#pragma once

#include <vector>

#include "assets/worlds/world_data.h"

std::vector<World> BuildCourseWorlds(const World& main);
