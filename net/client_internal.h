// What the parts of the client dispatcher share: the handlers of the host's messages.
#pragma once

// Messages about players and rooms (client_world_messages.cpp).
void ClientChat();
void ClientPlayerStates();
void ClientNameTable();
void ClientPickupTaken();
void ClientLeave();
void ClientRoomQuery();
void ClientRoomState();
void ClientRoomPickups();

// Game modes, rounds and teams (client_game_messages.cpp). ClientGameModeMessage handles a
// message of one of those types and returns true, or returns false for any other type.
bool ClientGameModeMessage(int type);
