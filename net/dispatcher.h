// The joined client's per-frame message step and the own state it reports to the host.
#pragma once

#include "net/chat_window.h"

extern int Disconnected;        // 1 once the host has announced this client's own leave or is gone
extern int RedScore, BlueScore; // team scores summed from the last states broadcast

// Once per frame of the game loop while online and not hosting: the periodic ping and mode
// request, then every packet the host sent since the last frame.
void ClientNetUpdate();
// Handles the packet in CurrentPacket (a game message or a library event) as the dispatcher
// does; for ClientNetUpdate and for tests that feed packets of their own.
void ClientHandlePacket();
// Reports the own state to the host (nothing in single play): reliable 1 on room entry, 0
// from the world step after a move. The hosting client writes it into its own slot record.
void SendPlayerState(int reliable);
