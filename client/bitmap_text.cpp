// Bitmap-font text, clickable text buttons, the chat and player panel and the score table.
#include "client/bitmap_text.h"

#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "world/dedicated.h"
#include "world/records.h"
#include "world/text_utils.h"

int ClickDelay = 0;

namespace {

constexpr int SystemColour = 99;

// Every text starts from the same drawing state, whatever was drawn before it.
void DrawFontText(const Image& font, int cellWidth, const std::string& text, int x, int y, int r, int g, int b) {
  SetScale(1, 1);
  SetAlpha(1);
  SetBlend(BlendAlpha);
  SetRotation(0);
  SetColor(r, g, b);
  for (size_t i = 0; i < text.size(); ++i) {
    int frame = static_cast<unsigned char>(text[i]) - 32;
    if (frame < 0 || frame > 95) continue;  // no picture for it: the place stays empty
    DrawImage(font, static_cast<float>(x + static_cast<int>(i) * cellWidth), static_cast<float>(y), frame);
  }
}

int TextLength(const std::string& text) { return static_cast<int>(text.size()); }

}  // namespace

void DrawBigText(const std::string& text, int x, int y, int r, int g, int b) {
  if constexpr (Dedicated) return;
  DrawFontText(FontImage, 16, text, x, y, r, g, b);
}

void DrawBigTextInverse(const std::string& text, int x, int y, int r, int g, int b) {
  if constexpr (Dedicated) return;
  DrawFontText(InverseFontImage, 16, text, x, y, r, g, b);
}

void DrawSmallText(const std::string& text, int x, int y, int r, int g, int b) {
  DrawFontText(SmallFontImage, 8, text, x, y, r, g, b);
}

void DrawSmallTextInverse(const std::string& text, int x, int y, int r, int g, int b) {
  DrawFontText(SmallInverseFontImage, 8, text, x, y, r, g, b);
}

void DrawPlayerText(int slot, const std::string& text, int x, int y) {
  if (!ValidSlot(slot)) {
    DrawBigText(text, x, y, 255, 255, 255);
    return;
  }
  const PlayerType& player = Players[slot];
  DrawBigText(text, x, y, player.colourR, player.colourG, player.colourB);
}

bool IsPrivilegedName(const std::string& name) {
  return name == "  PLOM  " || name == "BRANDLEX" || name == " KWERT  " || name == " FENNIX ";
}

void DrawPlayerName(int slot, const std::string& text, int x, int y, int highlight) {
  if constexpr (Dedicated) return;
  if (slot == SystemColour) {
    DrawSmallTextInverse(text, x, y, 255, 255, 255);
    return;
  }
  if (!ValidSlot(slot)) {  // a colour code from outside that names no slot
    DrawSmallText(text, x, y, 255, 255, 255);
    return;
  }
  const PlayerType& player = Players[slot];
  if (highlight && IsPrivilegedName(player.name))
    DrawSmallTextInverse(text, x, y, player.colourR, player.colourG, player.colourB);
  else
    DrawSmallText(text, x, y, player.colourR, player.colourG, player.colourB);
}

int TextButton(const std::string& text, int x, int y, int r, int g, int b) {
  if constexpr (Dedicated) return 0;
  --ClickDelay;
  int mx = MouseX(), my = MouseY();
  if (my >= y && my <= y + 16 && mx >= x && mx <= x + 16 * TextLength(text) - 1) {
    DrawBigTextInverse(text, x, y, r, g, b);
    if (MouseDown(1) && ClickDelay <= 0) {
      ClickDelay = 100;
      return 1;
    }
    return 0;
  }
  DrawBigText(text, x, y, r, g, b);
  return 0;
}

int SmallTextButton(const std::string& text, int x, int y, int r, int g, int b) {
  if constexpr (Dedicated) return 0;
  int mx = MouseX(), my = MouseY();
  if (my >= y && my <= y + 12 && mx >= x && mx <= x + 12 * TextLength(text) - 1) {
    DrawSmallTextInverse(text, x, y, r, g, b);
    return MouseDown(1) ? 1 : 0;
  }
  DrawSmallText(text, x, y, r, g, b);
  return 0;
}

void DrawChatAndPlayerPanel() {
  if constexpr (Dedicated) return;
  for (int i = 0; i <= 13; ++i)
    if (ChatLines[i].colour >= 0) DrawPlayerName(ChatLines[i].colour, ChatLines[i].text, 0, 9 * i, 0);

  SetColor(192, 192, 192);
  DrawLine(0, 126, 520, 126);
  DrawLine(0, 136, 520, 136);
  DrawLine(520, 0, 520, 480);

  DrawPlayerName(0, "In Lobby", 520, 180, 0);
  if (ValidSlot(MySlot)) Players[MySlot].room = Game.room;

  // A quarter of every four seconds shows the discovery share instead of score and lives.
  bool showPercent = static_cast<unsigned>(MilliSecs()) % 4000u < 1000u;
  int outside = 0, inLobby = 0;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    const PlayerType& player = Players[slot];
    if (player.name.empty()) continue;
    int room = (slot == MySlot && Game.spectating) ? Game.ownRoom : player.room;
    int y = room == LoungeRoom ? 189 + 9 * inLobby++ : 9 * outside++;
    DrawPlayerName(slot, player.name, 520, y, 1);
    if (showPercent) {
      DrawPlayerName(slot, std::to_string(player.percent) + "%", 592, y, 0);
    } else {
      DrawPlayerName(slot, std::to_string(player.score), 592, y, 0);
      DrawPlayerName(slot, std::to_string(player.lives), 632, y, 0);
    }
  }
}

void DrawScoreboard() {
  if constexpr (Dedicated) return;
  DrawBigText("Player", 40, 40, 0, 255, 0);
  DrawBigText("Score", 170, 40, 0, 255, 0);
  DrawBigText("Lives", 256, 40, 0, 255, 0);
  DrawBigText("%", 360, 40, 0, 255, 0);
  DrawBigText("Ping", 430, 40, 0, 255, 0);

  int row = 0;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    const PlayerType& player = Players[slot];
    if (player.name.empty()) continue;
    int y = 56 + 16 * row++;
    DrawPlayerText(slot, player.name, 40, y);
    bool inLobby = player.room == LoungeRoom || (slot == MySlot && Game.room == LoungeRoom);
    if (!inLobby) {
      DrawPlayerText(slot, std::to_string(player.score), 190, y);
      DrawPlayerText(slot, std::to_string(player.lives), 282, y);
      DrawPlayerText(slot, std::to_string(player.percent), 356, y);
    }
    DrawPlayerText(slot, std::to_string(player.ping), 438, y);
  }

  DrawBigTextInverse(TrimText(Game.bannerTitle) + " " + TrimText(Game.bannerGoal), 40, 408, 0, 255, 0);
}
