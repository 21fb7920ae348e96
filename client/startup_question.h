// The yes-or-no questions of the client's start-up, which closing the window or a termination signal ends.
#pragma once

#include <string>

// Asks prompt at (140, 0) for one character; true when the answer begins with y or Y. Closing
// the window or a termination signal while it waits ends the program (nothing is running yet
// that would need more than the exit path).
bool AskStartUpQuestion(const std::string& prompt);
