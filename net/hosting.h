// Hosting set-up: turns this client into the host of a game (menu key F3).
#pragma once

// Asks the hosting questions, saves them, starts the server side of the networking library,
// optionally registers the game with the game list and empties the sixteen slots.
void HostSetup();

