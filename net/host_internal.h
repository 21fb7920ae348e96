// What the parts of the host step share: who sent the packet being handled, what it may still
// send, and the handlers.
#pragma once

#include "net/allowance.h"
#include "platform/qxrnet/qxrnet.h"

// The slot held by the sender of CurrentPacket; -1 when it holds none.
int SenderSlot();
// True when slot is 0..15 and held by the sender of CurrentPacket: a message that speaks for
// a player is taken only from that player's own connection.
bool SpeaksForSender(int slot);

// What the connection holding a slot may still send of the messages that make the host tell
// other players something: chat lines; joins and team changes, answered with a table for
// everybody; room entries, answered with a question to another player. Its join notice passes
// once. A flood beyond them is dropped (a room entry gets only the room's pickups).
struct SenderAllowances {
  RN_PlayerId holder = 0;  // the connection they belong to
  Allowance chat, tables, rooms;
  bool announced = false;
};
// The allowances of the connection now holding slot (0..15): fresh ones for a new connection.
SenderAllowances& AllowancesOf(int slot);

// Library events and messages about players (host_admission.cpp).
void HostAdmit();            // a new connection: a slot and the welcome, or closed when full
void HostWelcomeRequest();   // the client-to-host welcome form
void HostJoin();             // MsgJoin: name and skin, the name table and team table
void HostOwnState();         // MsgPlayerState
void HostPing();             // MsgPing
void HostLeave();            // MsgLeave

// Relays (host_relays.cpp).
void HostChat();             // MsgChat: shown on the hosting client, passed on to everyone
void HostPickupMessage();    // MsgPickupTaken
void HostEnterRoom();        // MsgEnterRoom: who reports the room's state
void HostRoomState();        // MsgRoomState from the asked player: relayed or applied
void HostNotInRoom();        // MsgNotInRoom: the asked player had left the room

// Timers (host_broadcast.cpp).
void HostDropSilentPlayers();
void HostBroadcastStates();

// Game modes, rounds and winners (host_game_modes.cpp). HostGameModeMessage handles a game
// message of one of those types and returns true, or returns false for any other type.
bool HostGameModeMessage(int type);
void HostRoundChecks();
