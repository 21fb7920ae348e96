// The client's entry: the start-up sequence, the title screen, and the loop between menu and play.
#pragma once

// Runs the whole client: start-up, title screen, then menu and play until the player leaves
// the menu. Never returns; the program ends through the exit path.
[[noreturn]] void ClientMain(int argc, char** argv);

// The start-up sequence up to (not including) the title screen: embedded files, pictures, chat
// log, records and tables, command line, window, networking library, the version and
// full-screen questions, audio and sound effects, movement tables and the tune list.
void RunClientStartup(int argc, char** argv);
