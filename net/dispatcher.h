// The joined client's per-frame message step, the chat window it fills, and what it learns for the HUD.
#pragma once

#include <string>

extern int Disconnected;        // 1 once the host has announced this client's own leave
extern int RedScore, BlueScore; // team scores summed from the last states broadcast

// Once per frame of the game loop while online and not hosting.
void ClientNetUpdate();
// Adds a line to the chat window: a system line (system 1, drawn white, not logged), or a
// player line whose text begins with the writer's two-digit slot.
void AddChatLine(const std::string& text, int system);
// Reports the own state to the host (nothing in single play): reliable 1 on room entry, 0
// from the world step after a move.
void SendPlayerState(int reliable);
