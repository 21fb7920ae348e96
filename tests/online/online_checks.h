// Checks of online screenshots against the game's own fonts and pictures: chat lines, the player
// list, name tags and the heroes under them, texts drawn in flickering colours.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../client/screenshot_checks.h"
#include "world/records.h"
#include "world/static_data.h"
#include "world/text_utils.h"

namespace onlinetest {

using playtest::Shot;

struct Rgb {
  int r = 255, g = 255, b = 255;
};

inline Rgb SlotColour(int slot) { return {PlayerColourR[slot], PlayerColourG[slot], PlayerColourB[slot]}; }
inline const Rgb White{255, 255, 255};
inline const Rgb TaggedColour{255, 192, 255};
inline const Rgb RedTeam{255, 0, 0};
inline const Rgb BlueTeam{192, 192, 255};

// The fonts, skins and slot colours, loaded in this process as the programs load them.
inline void PreparePictures() {
  clienttest::OpenScreenWithPictures();
  ReadPlayerColours();
}

// Pixels of the text's cells at (x, y) that differ from the font drawn in colour over black;
// with glyphsOnly only the glyphs' own pixels count (the text lies over a picture). A text
// with no glyph pixels at all counts as wholly wrong.
inline int FontTextWrong(const Shot& shot, const Image& font, const std::string& text, int x, int y, Rgb c,
                         bool glyphsOnly = false) {
  int opaque = 0;
  int wrong = clienttest::TextMismatches(shot, font, text, x, y, c.r, c.g, c.b, &opaque, glyphsOnly);
  return opaque > 0 ? wrong : 1 << 20;
}

inline bool SmallTextAt(const Shot& shot, const std::string& text, int x, int y, Rgb c, bool glyphsOnly = false) {
  return FontTextWrong(shot, SmallFontImage, text, x, y, c, glyphsOnly) == 0;
}
// Big-font texts of the game screen lie over the room's picture: only their glyphs are compared.
inline bool BigTextAt(const Shot& shot, const std::string& text, int x, int y, Rgb c) {
  return FontTextWrong(shot, FontImage, text, x, y, c, true) == 0;
}

// The line of the chat window (0..13, oldest first) that shows text: a player's line in the
// writer's colour, or a system line in white inverse letters; -1 when none does.
inline int ChatLineShowing(const Shot& shot, const std::string& text, Rgb colour, bool system = false) {
  for (int line = 13; line >= 0; --line) {
    const Image& font = system ? SmallInverseFontImage : SmallFontImage;
    if (FontTextWrong(shot, font, text, 0, 9 * line, system ? White : colour) == 0) return line;
  }
  return -1;
}

// The player list right of the playfield: a name (8 characters) in the player's colour, on a
// row of the lounge's part (from y = 189) or of the part of those playing (from y = 0).
inline bool ListedPlayer(const Shot& shot, const std::string& name8, Rgb colour, bool inLounge) {
  for (int row = 0; row < 16; ++row) {
    const int y = inLounge ? 189 + 9 * row : 9 * row;
    // Only the glyphs: the list's left border line runs through the first column.
    if (FontTextWrong(shot, SmallFontImage, name8, 520, y, colour, true) == 0) return true;
  }
  return false;
}

// The waiting icon of a room whose state has not come yet, at the bottom right corner.
inline bool WaitingForRoomState(const Shot& shot) {
  for (int y = 448; y < 480; ++y)
    for (int x = 608; x < 640; ++x)
      if (shot(x, y) != 0) return true;
  return false;
}

struct Place {
  int x = 0, y = 0;
  bool operator==(const Place&) const = default;
};

// Every place in the box (x0..x1, y0..y1) where the small-font text is drawn in colour over the
// picture (only the glyph pixels compared).
inline std::vector<Place> FindSmallText(const Shot& shot, const std::string& text, Rgb c, int x0, int y0, int x1,
                                        int y1) {
  // The first opaque glyph pixel rules out most places at once.
  int firstChar = -1, fx = 0, fy = 0;
  uint32_t firstWant = 0;
  for (size_t i = 0; i < text.size() && firstChar < 0; ++i) {
    const int frame = static_cast<unsigned char>(text[i]) - 32;
    if (frame <= 0 || frame > 95) continue;
    for (int py = 0; py < ImageHeight(SmallFontImage) && firstChar < 0; ++py)
      for (int px = 0; px < ImageWidth(SmallFontImage) && firstChar < 0; ++px) {
        const uint32_t source = ReadImagePixel(SmallFontImage, frame, px, py);
        if ((source >> 24) != 255) continue;
        firstChar = static_cast<int>(i);
        fx = static_cast<int>(i) * ImageWidth(SmallFontImage) + px;
        fy = py;
        firstWant = clienttest::TintedOverBlack(source, c.r, c.g, c.b);
      }
  }
  std::vector<Place> found;
  if (firstChar < 0) return found;
  for (int y = std::max(y0, 0); y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const int sx = x + fx, sy = y + fy;
      if (sx < 0 || sx >= 640 || sy >= 480) continue;
      if (!clienttest::Near(shot(sx, sy), firstWant)) continue;
      if (FontTextWrong(shot, SmallFontImage, text, x, y, c, true) == 0) found.push_back({x, y});
    }
  return found;
}

// The share of the hero picture of skin, tinted with colour, that the screenshot shows with its
// top-left corner at (x, y), in the best of its walking frames and facings.
inline double HeroSeen(const Shot& shot, int skin, Rgb colour, int x, int y) {
  double best = 0;
  for (int frame = 0; frame < 4; ++frame)
    for (int mirrored = 0; mirrored < 2; ++mirrored) {
      playtest::Drawn d{Skins[skin], frame, x, y, colour.r, colour.g, colour.b, mirrored};
      best = std::max(best, playtest::SpriteSeen(shot, d));
    }
  return best;
}

// Where a player's hero is drawn in the playfield, found by its name tag (drawn 18 pixels left
// of and 9 above the hero's corner) with the hero itself under it; none when not drawn.
inline std::vector<Place> HeroPlaces(const Shot& shot, const std::string& name8, int skin, Rgb colour) {
  std::vector<Place> heroes;
  for (const Place& tag : FindSmallText(shot, name8, colour, -20, 112, 500, 400)) {
    Place hero{tag.x + 18, tag.y + 9};
    if (HeroSeen(shot, skin, colour, hero.x, hero.y) > 0.8) heroes.push_back(hero);
  }
  return heroes;
}

// The colour a big-font text flickers in, when its glyphs are drawn at (x, y) with the fixed
// channels as given and the flickering one any value; -1 when the text is not there.
inline int FlickeringChannel(const Shot& shot, const std::string& text, int x, int y, Rgb fixed, int channel) {
  for (int value = 0; value < 256; ++value) {
    Rgb c = fixed;
    (channel == 0 ? c.r : channel == 1 ? c.g : c.b) = value;
    if (FontTextWrong(shot, FontImage, text, x, y, c, true) == 0) return value;
  }
  return -1;
}

// The status line of the lounge (a winner), centred in 32 characters, in red of a flickering
// shade: at (0, 169) over the game chooser (the host's, or the administrator's on a server),
// at (0, 196) for the others. One of a few shots shows it bright enough to be read.
inline bool StatusShown(const std::vector<Shot>& shots, const std::string& text, bool chooser) {
  const std::string line = AlignText(text, 32, "C");
  for (const Shot& shot : shots)
    if (FlickeringChannel(shot, line, 0, chooser ? 169 : 196, {0, 0, 0}, 0) > 40) return true;
  return false;
}

}  // namespace onlinetest
