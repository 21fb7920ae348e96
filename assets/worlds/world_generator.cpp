// All seven worlds, each as its rooms, enemies and pickups files.
#include "assets/worlds/world_generator.h"

#include "assets/worlds/course_worlds.h"
#include "assets/worlds/main_world.h"
#include "assets/worlds/world_encoding.h"

std::map<std::string, std::vector<uint8_t>> GenerateWorldFiles() {
  std::map<std::string, std::vector<uint8_t>> files;
  World main = BuildMainWorld();
  std::vector<World> worlds;
  worlds.push_back(main);
  for (World& w : BuildCourseWorlds(main)) worlds.push_back(std::move(w));
  for (const World& w : worlds) {
    files[w.name + ".dat"] = EncodeRooms(w);
    files[w.name + "_e.dat"] = EncodeEnemies(w);
    files[w.name + "_p.dat"] = EncodePickups(w);
  }
  return files;
}
