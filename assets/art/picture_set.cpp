// The list of every picture file under its embedded name, encoded as PNG.
#include "assets/art/picture_set.h"

#include <cstdio>

#include "assets/art/png_file.h"

namespace {
constexpr int SkinCount = 50;
}  // namespace

const std::vector<std::string>& SkinFileNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (int i = 1; i <= SkinCount; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "gorbo/gorbo%02d.png", i);
      list.push_back(name);
    }
    return list;
  }();
  return names;
}

std::vector<ContentFile> GeneratePictures() {
  std::vector<ContentFile> files;
  auto add = [&files](const std::string& name, const Canvas& picture) {
    files.push_back({name, EncodePicture(picture)});
  };
  add("pictures/title.png", TitlePicture());
  add("pictures/selectgorbo.png", MenuPicture());
  add("pictures/loading.png", LoadingPicture());
  add("pictures/server.png", ServerBrowserPicture());
  add("pictures/mouse.png", MousePicture());
  add("pictures/tiles.png", TilesPicture());
  add("pictures/font.png", FontPicture(true, false));
  add("pictures/inversefont.png", FontPicture(true, true));
  add("pictures/font2.png", FontPicture(false, false));
  add("pictures/invfont2.png", FontPicture(false, true));
  add("pictures/rope.png", RopePicture());
  add("pictures/pickups.png", PickupsPicture());
  add("pictures/32x32.png", Enemies32Picture());
  add("pictures/64x64.png", Enemies64Picture());
  add("pictures/32x64.png", Enemies32x64Picture());
  add("pictures/tunkodoor.png", DoorPicture());
  add("pictures/connect.png", WaitingIconPicture());
  add("pictures/goldengorbo.png", GoldenPickupPicture());
  add("pictures/flag_blue.png", FlagPicture(true));
  add("pictures/flag_red.png", FlagPicture(false));
  add("pictures/gorbo.png", HeroPicture(0));
  for (int skin = 1; skin <= SkinCount; ++skin) add(SkinFileNames()[skin - 1], HeroPicture(skin));
  files.push_back({"pictures/rope.bin", RopeTableBytes()});
  add("pictures/icon.png", WindowIconPicture());
  return files;
}
