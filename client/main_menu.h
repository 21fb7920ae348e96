// The main menu: name, skin carousel, sound switches, the address check, and the ways into play.
#pragma once

#include <string>

// The last answer of the address service, drawn after "IP: ".
extern std::string ExternalIpText;

enum class MenuResult { Play, Exit };

// Menu entry and menu passes until a choice leaves the menu. Play: Game.singlePlayer, MySlot
// and Hosting tell which kind of play starts. Exit: F10 or Escape (the program's exit path
// follows). A window-close request counts as Exit.
MenuResult RunMainMenu();
