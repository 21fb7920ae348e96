// Bitmap-font text, clickable text buttons, the chat and player panel and the score table.
//
// Fonts have one frame per character, frame = code - 32, codes 32..127; other codes leave
// their place empty. The dedicated server draws only the small font: the big font, player
// names and the buttons are empty operations in its build.
#pragma once

#include <string>

// Shared click delay of every TextButton: a click counts once, then 100 further calls pass.
extern int ClickDelay;

void DrawBigText(const std::string& text, int x, int y, int r, int g, int b);
void DrawBigTextInverse(const std::string& text, int x, int y, int r, int g, int b);
void DrawSmallText(const std::string& text, int x, int y, int r, int g, int b);
void DrawSmallTextInverse(const std::string& text, int x, int y, int r, int g, int b);

// Big text in the slot's colour.
void DrawPlayerText(int slot, const std::string& text, int x, int y);
// Small text in the slot's colour; slot 99 is the system colour (white, inverse font). With
// highlight set, the privileged names are drawn with the inverse font.
void DrawPlayerName(int slot, const std::string& text, int x, int y, int highlight);
bool IsPrivilegedName(const std::string& name);

// Big-font button: drawn inverse while the mouse is over it; 1 on a click, else 0.
int TextButton(const std::string& text, int x, int y, int r, int g, int b);
// Small-font button (12 pixels a character for the hover box): 1 while the left button is
// held over it, else 0. No click delay.
int SmallTextButton(const std::string& text, int x, int y, int r, int g, int b);

// The chat lines at the top and the player list at the right of the game screen.
void DrawChatAndPlayerPanel();
// The score table shown while Tab has switched it on.
void DrawScoreboard();
