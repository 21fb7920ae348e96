// Game modes: the chooser texts, the chain-race room table, the mode banners, spectating and the lounge chooser.
#pragma once

#include <string>

// Fills ModeTexts with the chooser's texts (row 0 the groups, rows 1..9 their items).
void FillModeTexts();
// Fills RaceRoomTable with the candidate rooms of the chain races.
void FillRaceRoomTable();
// True for the modes the lounge chooser offers (1..18, 20..28, 30..37, 40..48, 50..53, 60..68,
// 70..78, 80 and 81); a host starts no other.
bool OfferedMode(int mode);
// Sets Game.bannerTitle and Game.bannerGoal for mode, each centred to 32 characters;
// modes 0, 38, 39 and 82 and above leave both unchanged.
void SetModeBanner(int mode);
// The lounge chooser and the lounge and briefing texts; once per frame of the game loop.
void LoungeMenu();
// Starts the mode of a chooser choice, menuNumber = (page - 1) * 10 + item.
void StartGameMode(int menuNumber);
// Spectating: follow the next or previous player outside the lobby, or stop.
void SpectateNext();
void SpectatePrevious();
void StopSpectating();
// Draws ChainTargets for Game.gameMode: two to five rooms of distinct table rows, closed by 0.
void PickChainTargets();
