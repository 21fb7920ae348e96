// Placeholder until the courses are built: copies of the main world.
#include "assets/worlds/course_worlds.h"

std::vector<World> BuildCourseWorlds(const World& main) {
  std::vector<World> out;
  for (const char* name : {"pitfall", "assault", "tower", "original", "jailbreak", "laboratory"}) {
    World w = main;
    w.name = name;
    out.push_back(w);
  }
  return out;
}
