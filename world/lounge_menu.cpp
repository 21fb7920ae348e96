// The lounge chooser's frame: the mouse pointer, and nothing more in single play.
#include "platform/input.h"
#include "world/game_modes.h"
#include "world/records.h"

void LoungeMenu() {
  if (MouseSprite) {
    MouseSprite->SetPosition(static_cast<float>(MouseX()), static_cast<float>(MouseY()));
    MouseSprite->Hide();
  }
  if (Game.singlePlayer) return;
  // The lounge chooser and the lounge, briefing and team-room texts come with online play.
}
