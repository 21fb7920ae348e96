// qxr-contentview <out-dir> [world:room ...]: renders the embedded content as PNG files to look at.
//
// Writes <out-dir>/contact_sheet.png (every picture, frame by frame) and <out-dir>/<world>_map.png
// for each of the seven worlds, <out-dir>/heroes.png (the heroes side by side); each extra argument "world:room" (e.g. "maps:32") also writes that
// room at full size as <out-dir>/<world>_room<room>.png. Each picture is also written alone,
// enlarged, under <out-dir>/pictures/.
#include <cstdio>
#include <filesystem>
#include <string>

#include "assets/art/png_file.h"
#include "assets/embedded_files.h"
#include "assets/viewer/contact_sheet.h"
#include "assets/viewer/embedded_pictures.h"
#include "assets/viewer/world_maps.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qxr-contentview <out-dir> [world:room ...]\n");
    return 2;
  }
  std::filesystem::path out = argv[1];
  std::error_code error;
  std::filesystem::create_directories(out, error);
  RegisterEmbeddedFiles();
  bool ok = true;
  auto save = [&ok](const std::filesystem::path& path, const Canvas& picture) {
    if (!WritePicture(path.string(), picture)) {
      std::fprintf(stderr, "qxr-contentview: cannot write %s\n", path.string().c_str());
      ok = false;
    }
  };
  save(out / "contact_sheet.png", ContactSheet());
  save(out / "heroes.png", HeroLineUp());
  std::filesystem::create_directories(out / "pictures", error);
  for (const PictureEntry& entry : PictureTable()) {
    std::string flat = entry.name;
    for (char& c : flat)
      if (c == '/') c = '_';
    save(out / "pictures" / flat, PicturePage(entry));
  }
  for (const char* world : {"maps", "pitfall", "assault", "tower", "original", "jailbreak", "laboratory"})
    save(out / (std::string(world) + "_map.png"), WorldMap(world));
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    size_t colon = arg.find(':');
    if (colon == std::string::npos) {
      std::fprintf(stderr, "qxr-contentview: %s is not world:room\n", arg.c_str());
      ok = false;
      continue;
    }
    std::string world = arg.substr(0, colon);
    int room = std::atoi(arg.c_str() + colon + 1);
    save(out / (world + "_room" + std::to_string(room) + ".png"), RoomPicture(world, room));
  }
  return ok ? 0 : 1;
}
