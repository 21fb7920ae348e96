// The server browser: the list of published games, manual addresses, connecting and joining.
#pragma once

// 1 when connected to a game and joined; 0 when the player went back, the connection failed,
// or a single-player game was chosen (then Game.singlePlayer is 1 and MySlot 0).
int ServerBrowser();
