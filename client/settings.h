// The client's settings file "ip.txt": reading, writing, loading into the globals, the name prompt.
//
// Lines: 1 player name, 2 last host address, 3 skin index, 4 register answer, 5 game
// description, 6 host password, 7 connect password. The globals live in world/records.h.
#pragma once

#include <string>

inline constexpr const char* SettingsFile = "ip.txt";

// The longest answers the prompts take; lines of the file are cut to the same.
inline constexpr int NameLength = 8, HostAddressLength = 30, HostRegisterLength = 2, DescriptionLength = 20,
                     HostPasswordLength = 20, ConnectPasswordLength = 30;

// The n-th line (n >= 1) of "ip.txt" without leading and trailing white space (codes
// below 33); "" when the file or the line is missing. Only the start of a very long line is
// read (a few hundred characters).
std::string ReadSettingsLine(int n);

// Writes "ip.txt" anew from the globals, lines 1..7.
void SaveSettings();

// Reads lines 1..7 into PlayerName (blank -> "Guest", centred to 8), LastHostAddress,
// SelectedSkin (not a number -> 0; outside 0..SkinCount -> 0), RegisterAnswer,
// GameDescription, HostPassword and ConnectPassword, each text cut to its prompt's length.
void LoadSettings();

// Prompts "Name: " at (140, 140) for up to 8 characters, starting from the current name;
// blank -> "Guest"; the result centred to 8; then saves the settings (not when a termination
// signal cut the prompt short).
void AskPlayerName();

// A skin index brought into 0..SkinCount (anything outside reads as 0).
int ValidSkin(int skin);
