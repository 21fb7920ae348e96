// The game session: the game start, one pass of the game loop, leaving the game, the program exit.
#pragma once

extern int QuitRequested;   // Escape was hit in this frame
extern int ShowScores;      // the score table is shown; toggled by Tab

// Prepares the local player and enters the first room (32 alone, the lounge online).
void StartGame();
// One frame of play, ending with the flip. Returns false when the game is to be left.
bool GameLoopPass();
// Clears the room, closes the network when online, goes back towards the menu.
void LeaveGame();
// StartGame, the loop until it asks to leave, LeaveGame.
void PlayGame();
// Only from the menu: closes the chat log, stops the music and ends the program with code 0.
[[noreturn]] void ExitProgram();
