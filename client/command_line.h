// The client's command-line options: each argument upper-cased and compared whole.
#pragma once

#include <string>

enum CommandLineOption {
  OptionNone = 0,    // not an option: ignored
  OptionNoSound,     // "/NOSOUND", "NOSOUND"
  OptionNoMusic,     // "/NOMUSIC", "NOMUSIC"
  OptionAutoJoin,    // "/AUTOJOIN", "AUTOJOIN", "/A"
  OptionFullScreen,  // "/FULLSCREEN", "FULLSCREEN", "/F"
  OptionWindow       // "/WINDOW", "W", "/W"
};

// Which option one argument names (a-z are upper-cased first; the whole text must match).
CommandLineOption ParseOption(const std::string& argument);

// Applies every argument after the program name to the switches SfxOn, NoSound, MusicOn,
// AutoJoin, FullScreenOption and WindowOption. Unknown arguments are ignored.
void ParseCommandLine(int argc, char** argv);
