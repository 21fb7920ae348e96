// Loads each embedded picture as the client does (mask colour black) and copies its frames out.
#include "assets/viewer/embedded_pictures.h"

#include "assets/embedded_files.h"
#include "platform/graphics.h"

std::vector<PictureEntry> PictureTable() {
  std::vector<PictureEntry> table = {
      {"pictures/title.png", 0, 0, 1},        {"pictures/selectgorbo.png", 0, 0, 1},
      {"pictures/loading.png", 0, 0, 1},      {"pictures/server.png", 0, 0, 1},
      {"pictures/mouse.png", 0, 0, 1},        {"pictures/tiles.png", 16, 16, 528},
      {"pictures/font.png", 16, 16, 96},      {"pictures/inversefont.png", 16, 16, 96},
      {"pictures/font2.png", 8, 8, 96},       {"pictures/invfont2.png", 8, 8, 96},
      {"pictures/rope.png", 0, 0, 1},         {"pictures/pickups.png", 16, 16, 100},
      {"pictures/32x32.png", 32, 32, 288},    {"pictures/64x64.png", 64, 64, 4},
      {"pictures/32x64.png", 32, 64, 4},      {"pictures/tunkodoor.png", 32, 32, 4},
      {"pictures/connect.png", 32, 32, 12},   {"pictures/goldengorbo.png", 10, 16, 4},
      {"pictures/flag_blue.png", 32, 32, 7},  {"pictures/flag_red.png", 32, 32, 7},
      {"pictures/gorbo.png", 20, 32, 4},      {"pictures/icon.png", 0, 0, 1},
  };
  for (const std::string& skin : EmbeddedSkinNames()) table.push_back({skin, 20, 32, 4});
  return table;
}

std::vector<Canvas> LoadFrames(const PictureEntry& entry) {
  SetMaskColor(0, 0, 0);
  std::string url = "incbin::" + entry.name;
  Image image = entry.cellWidth == 0 ? LoadImage(url)
                                     : LoadAnimImage(url, entry.cellWidth, entry.cellHeight, 0, entry.frames, 1);
  std::vector<Canvas> frames;
  if (!image) return frames;
  for (int f = 0; f < ImageFrames(image); ++f) {
    Canvas frame(ImageWidth(image), ImageHeight(image));
    for (int y = 0; y < frame.Height(); ++y)
      for (int x = 0; x < frame.Width(); ++x) {
        uint32_t argb = ReadImagePixel(image, f, x, y);
        frame.Set(x, y, (argb >> 24) == 0 ? Transparent : Opaque(argb & 0xFFFFFF));
      }
    frames.push_back(std::move(frame));
  }
  return frames;
}
