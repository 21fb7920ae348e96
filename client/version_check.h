// The start-up version question and the check of the newest version with the game-list service.
#pragma once

#include <string>

inline constexpr const char* ClientVersion = "2.13";
inline constexpr const char* GameSiteAddress = "http://qxr-online.example.org/";

// Asks the newest version of the game-list service. The text to show the player, or "" when
// nothing is to be shown (the reply is empty or names this version).
std::string VersionCheckNotice();

// Start-up step: asks "Check for new version ?: " and, on a yes, contacts the service and
// shows VersionCheckNotice in a message box. Skipped by the caller under AutoJoin.
void AskVersionCheck();
