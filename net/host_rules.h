// Host rule operations used by the game loop.
#pragma once

// Ends the game in progress and brings every player back to the lounge.
void RequestNewGame();
