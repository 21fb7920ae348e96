// Team and score rules: wins, the game administrator, freeing a slot, team tables and colours.
#pragma once

constexpr int TeamNone = 0, TeamRed = 1, TeamBlue = 2, TeamTagged = 99;

void AnnouncePlayerWin(int slot);   // by name below mode 60, by team from mode 60 on
void AppointAdmin(int slot);        // server build only; -1 = the first named slot
void ClearPlayerSlot(int slot);     // frees a slot: lounge, off screen, nobody followed, no team
void AssignTeams();                 // host: sends every named slot's team code to all
void SetPlayerTeamColour(int slot, int code);  // 0 own colour, 1 red, 2 blue, 99 tagged
void SendMyTeam();                  // tells the host the own team
