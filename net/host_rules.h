// Host rule operations: room pickup lists, ending a game, winners, players leaving, pickups taken.
//
// They run on the hosting client and the dedicated server; RequestNewGame, ResetGame and
// AnnounceWinner also run on joined clients.
#pragma once

#include <string>

// Appends the present pickups of room (their indices, s16 each) and PickupListEnd to the
// message being built. A room outside 1..255 or without pickups gives only the end mark.
void WriteRoomPickups(int room);
// Ends the game in progress: the host or the administrator tells the others first.
void RequestNewGame();
// Ends the round on this machine and brings the own player back to the lounge.
void ResetGame();
// Tells the others who won ("** BLUE WIN **", "** RED WIN **" or a player name); on the host
// it also ends the round.
void AnnounceWinner(const std::string& text);
// Frees slot (0..15) and tells everyone; -1 frees every slot held by the sender of the packet
// being handled. The hosting client's own slot 0 is never freed by number.
void PlayerLeft(int slot);
// The host's record of pickup index taken in room by slot, forwarded to the players concerned,
// with the team counts of a team-collect round. Indices outside the world's table are ignored.
void HostPickupTaken(int room, int index, int slot);
// Asks reporter (MsgRoomQuery) for the state of room on behalf of requester, and remembers
// the question: a room state or not-in-room answer is taken only from the player asked.
void AskForRoomState(int requester, int room, int reporter);
// True when the sender of the packet being handled was asked for room on behalf of requester;
// the question is then settled. Any other answer is one nobody asked for.
bool AnswersRoomQuery(int requester, int room);
// Recounts the connections that hold a slot (joined or waiting to join) into ConnectionCount.
void CountConnections();
