// Lays out every picture's frames in rows under a label with its name, cell size and frame count.
#include "assets/viewer/contact_sheet.h"

#include <algorithm>
#include <string>

#include "assets/art/font_glyphs.h"
#include "assets/viewer/embedded_pictures.h"

namespace {

constexpr int SheetWidth = 1360;
constexpr int Margin = 8;
constexpr Colour Background = 0x242438;
constexpr Colour Checker = 0x2c2c44;

struct Placed {
  const Canvas* frame;
  int x, y;
};

}  // namespace

void Label(Canvas& canvas, const std::string& text, int x, int y, Colour colour, int scale) {
  for (size_t i = 0; i < text.size(); ++i)
    for (int gy = 0; gy < GlyphHeight; ++gy)
      for (int gx = 0; gx < GlyphWidth; ++gx)
        if (GlyphInk(static_cast<unsigned char>(text[i]), gx, gy))
          canvas.Fill(x + (static_cast<int>(i) * 6 + gx) * scale, y + gy * scale, scale, scale, colour);
}

Canvas ContactSheet() {
  std::vector<PictureEntry> table = PictureTable();
  std::vector<std::vector<Canvas>> pictures;
  for (const PictureEntry& entry : table) pictures.push_back(LoadFrames(entry));

  // First pass: where every frame goes; the sheet is as tall as that needs.
  std::vector<Placed> placed;
  std::vector<std::pair<std::string, int>> labels;
  int y = Margin;
  for (size_t p = 0; p < table.size(); ++p) {
    const PictureEntry& entry = table[p];
    std::string text = entry.name + "  " + std::to_string(pictures[p].empty() ? 0 : pictures[p][0].Width()) + "x" +
                       std::to_string(pictures[p].empty() ? 0 : pictures[p][0].Height()) + "  " +
                       std::to_string(pictures[p].size()) + " frames" + (pictures[p].empty() ? "  MISSING" : "");
    labels.push_back({text, y});
    y += 12;
    int x = Margin, rowHeight = 0;
    int gap = entry.cellWidth == 0 ? Margin : 2;
    for (const Canvas& frame : pictures[p]) {
      if (x + frame.Width() > SheetWidth - Margin && x > Margin) {
        x = Margin;
        y += rowHeight + gap;
        rowHeight = 0;
      }
      placed.push_back({&frame, x, y});
      x += frame.Width() + gap;
      rowHeight = std::max(rowHeight, frame.Height());
    }
    y += rowHeight + Margin * 2;
  }

  Canvas sheet(SheetWidth, y, Background);
  for (const auto& [text, labelY] : labels) Label(sheet, text, Margin, labelY, 0xe0e0f0);
  for (const Placed& p : placed) {
    // A faint checker marks each frame's cell, so transparent parts show.
    for (int j = 0; j < p.frame->Height(); ++j)
      for (int i = 0; i < p.frame->Width(); ++i)
        sheet.Set(p.x + i, p.y + j, ((i / 4 + j / 4) % 2) ? Checker : Background);
    sheet.Blit(*p.frame, p.x, p.y);
  }
  return sheet;
}
