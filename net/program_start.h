// What both programs do around their own start-up: signals, the game port, the own folder, fatal errors.
#pragma once

// Makes termination signals a quit request, refuses a bad QXR_GAME_PORT (exit code 1), makes
// the program's own folder the working folder (its settings, chat log and tunes lie there,
// whatever folder it was started from) and runs program; a fatal error it raises is shown in
// a message box and ends the program with exit code 1.
int RunProgram(void (*program)(int argc, char** argv), int argc, char** argv);
