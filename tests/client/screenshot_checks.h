// Checks of the program's screenshots: drawn text, lives icons, the hero and other sprites, whole frames.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics.h"
#include "screen_support.h"
#include "single_player_plan.h"
#include "world/records.h"

namespace playtest {

// A screenshot of the program as 0xRRGGBB pixels.
class Shot {
 public:
  Shot(const std::string& path) : image_(LoadImage(path, 0)) {}
  bool Loaded() const { return ImageWidth(image_) == 640; }
  uint32_t operator()(int x, int y) const { return ReadImagePixel(image_, 0, x, y) & 0xFFFFFF; }

 private:
  Image image_;
};

// Glyph pixels of big-font text at (x, y) that differ from the font's in (r, g, b).
inline int TextWrong(const Shot& shot, const std::string& text, int x, int y, int r, int g, int b) {
  int opaque = 0;
  int wrong = clienttest::TextMismatches(shot, FontImage, text, x, y, r, g, b, &opaque, true);
  return opaque > 0 ? wrong : 1 << 20;
}

// Pixels of the game screen left of the player list that differ between two frames.
inline int FrameDifferences(const Shot& a, const Shot& b) {
  int differing = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 520; ++x) differing += !clienttest::Near(a(x, y), b(x, y));
  return differing;
}

// Lives icons drawn along the bottom (icon i at x = 25 i, y = 445).
inline int LivesIcons(const Shot& shot) {
  int icons = 0;
  for (int i = 0; i < 10; ++i) {
    bool lit = false;
    for (int y = 445; y < 477 && !lit; ++y)
      for (int x = 25 * i; x < 25 * i + 20 && !lit; ++x) lit = shot(x, y) != 0;
    icons += lit;
  }
  return icons;
}

// Opaque pixels of the hero's picture that the screenshot shows at (x, y), in either facing.
inline double HeroMatch(const Shot& shot, int x, int y) {
  double best = 0;
  for (int frame = 0; frame < 4; ++frame)
    for (int mirrored = 0; mirrored < 2; ++mirrored) {
      int opaque = 0, same = 0;
      int w = ImageWidth(Skins[0]), h = ImageHeight(Skins[0]);
      for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
          uint32_t source = ReadImagePixel(Skins[0], frame, mirrored ? w - 1 - px : px, py);
          if ((source >> 24) != 255) continue;
          ++opaque;
          same += clienttest::Near(shot(x + px, y + py), source & 0xFFFFFF);
        }
      if (opaque) best = std::max(best, double(same) / opaque);
    }
  return best;
}

// The share of a sprite's opaque pixels that the screenshot shows in the sprite's tint.
inline double SpriteSeen(const Shot& shot, const Drawn& d) {
  int w = ImageWidth(d.image), h = ImageHeight(d.image);
  int opaque = 0, same = 0;
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px) {
      uint32_t source = ReadImagePixel(d.image, d.frame, d.mirrored ? w - 1 - px : px, py);
      if ((source >> 24) != 255) continue;
      int sx = d.x + px, sy = d.y + py;
      if (sx < 0 || sy < 0 || sx >= 640 || sy >= 480) continue;
      ++opaque;
      same += clienttest::Near(shot(sx, sy), clienttest::TintedOverBlack(source, d.r, d.g, d.b));
    }
  return opaque ? double(same) / opaque : 0;
}

// How many of the sprites the screenshot shows for the most part.
inline int SpritesSeen(const Shot& shot, const std::vector<Drawn>& sprites) {
  int seen = 0;
  for (const Drawn& d : sprites) seen += SpriteSeen(shot, d) > 0.6;
  return seen;
}

inline std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  size_t last = text.find_last_not_of(' ');
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The room title as the HUD draws it: the room name centred in 33 characters.
inline std::string Title(int room) {
  std::string name = Trimmed(ReadRoomFacts(room).name);
  std::string title = std::string((33 - name.size()) / 2, ' ') + name;
  return title + std::string(33 - title.size(), ' ');
}

}  // namespace playtest
