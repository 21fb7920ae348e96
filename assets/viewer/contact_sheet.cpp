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

Canvas PicturePage(const PictureEntry& entry) {
  std::vector<Canvas> frames = LoadFrames(entry);
  if (frames.empty()) return Canvas(64, 16, Background);
  int factor = frames[0].Width() >= 320 ? 1 : frames[0].Width() >= 64 ? 3 : 2;
  int w = frames[0].Width() * factor, h = frames[0].Height() * factor;
  int columns = std::max(1, std::min(static_cast<int>(frames.size()), (SheetWidth - Margin) / (w + 4)));
  int rows = (static_cast<int>(frames.size()) + columns - 1) / columns;
  Canvas page(Margin + columns * (w + 4), Margin + rows * (h + 4), Background);
  for (size_t f = 0; f < frames.size(); ++f) {
    int x = Margin + static_cast<int>(f % columns) * (w + 4), y = Margin + static_cast<int>(f / columns) * (h + 4);
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) page.Set(x + i, y + j, ((i / 8 + j / 8) % 2) ? Checker : Background);
    page.BlitScaled(frames[f], x, y, factor);
  }
  return page;
}

Canvas HeroLineUp() {
  std::vector<PictureEntry> heroes;
  for (const PictureEntry& entry : PictureTable())
    if (entry.cellWidth == 20 && entry.cellHeight == 32) heroes.push_back(entry);
  constexpr int Factor = 3, PerRow = 9, FrameW = 20 * Factor + 2, BlockW = 4 * FrameW + 16, BlockH = 32 * Factor + 18;
  int rows = (static_cast<int>(heroes.size()) + PerRow - 1) / PerRow;
  Canvas page(Margin + PerRow * BlockW, Margin + rows * BlockH, Background);
  for (size_t h = 0; h < heroes.size(); ++h) {
    int x = Margin + static_cast<int>(h % PerRow) * BlockW, y = Margin + static_cast<int>(h / PerRow) * BlockH;
    Label(page, std::to_string(h), x, y, 0xe0e0f0);
    std::vector<Canvas> frames = LoadFrames(heroes[h]);
    for (size_t f = 0; f < frames.size(); ++f) {
      page.Fill(x + static_cast<int>(f) * FrameW, y + 10, 20 * Factor, 32 * Factor, Checker);
      page.BlitScaled(frames[f], x + static_cast<int>(f) * FrameW, y + 10, Factor);
    }
  }
  return page;
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
