// Host rule operations used by the game loop.
#pragma once

#include <string>

// Ends the game in progress and brings every player back to the lounge.
void RequestNewGame();
// Tells the others who won ("** BLUE WIN **", "** RED WIN **" or a player name); on the host
// it also ends the round.
void AnnounceWinner(const std::string& text);
// The host's record of a pickup taken in room by slot, forwarded to the players concerned.
void HostPickupTaken(int room, int index, int slot);
