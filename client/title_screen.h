// The title screen shown once after start-up, left with Space or Escape.
#pragma once

// One pass of the title loop: draws the title picture and the flickering prompt, reads the
// keys, flips. True when Space or Escape was hit (the loop is left before the flip then).
bool TitleScreenPass();

// The title loop. A window-close request ends the program through the exit path.
void TitleScreen();
