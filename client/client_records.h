// The shared records as the client's start-up makes them: players with their colours and sprites, slots, tables.
#pragma once

// Fills the shared records and tables with their start-up contents: the rope table, the game
// state, the chat lines, the player colours, the sixteen slots (free, in the lounge, off
// screen) and the sixteen players (tinted sprites of the default hero off screen; no sprites in
// the server build). Needs the pictures loaded.
void CreateClientRecords();
