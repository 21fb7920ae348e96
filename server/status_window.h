// The server's status window: one line of small red text, echoed on standard output when it changes.
#pragma once

#include <string>

inline constexpr int StatusWindowWidth = 400, StatusWindowHeight = 32;

// Draws text at the window's top-left corner, shows it (one paced flip) and clears the back
// buffer for the next pass. A text different from the last one shown is also printed as a
// line on standard output, so an operator without a display can follow the server.
void ShowStatus(const std::string& text);
