// The title screen shown once after start-up, left with Space or Escape.
#include "client/title_screen.h"

#include "client/bitmap_text.h"
#include "client/game_session.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/termination.h"
#include "world/records.h"

bool TitleScreenPass() {
  Cls();
  SetScale(1, 1);
  SetAlpha(1);
  SetRotation(0);
  SetColor(255, 255, 255);
  DrawImage(TitleImage, 0, 0);
  DrawBigText(" ** PRESS SPACE TO START **", 90, 450, Rand(100, 255), 0, 0);  // a flickering red
  if (KeyHit(Key::Space) || KeyHit(Key::Escape)) return true;
  Flip();
  return false;
}

void TitleScreen() {
  while (!TitleScreenPass()) {
    // Closing the window here ends the program rather than waiting for the first game.
    if (AppTerminate() || QuitSignalled()) ExitProgram();
  }
}
