// The game screen's HUD: room title, score, day clock or round clock, team scores, lives, followers, score table.
#pragma once

#include <string>

constexpr int DayClockStart = 100800;   // 7:00 in 1/14,400 hour (240 per minute)
constexpr int DayClockWrap = 187200;    // 13:00: the clock goes back to 1:00 and am/pm switches

// The day clock as shown, e.g. "7:00am".
std::string DayClockText(int dayClock, const std::string& amPm);
// Shows the current Game.dayClock: wraps it at 13:00 (switching am/pm), returns its text and
// then advances it by 5 (one minute per 48 frames).
std::string TickDayClock();
// The clock of a timed round: minutes and seconds left ("04:59"); negative once past the end.
std::string RoundClockText(int roundTime, int now);
// Room title, "Items collected     Time", the score and the clock; team scores in team modes.
void DrawHud();
// Name tags over the players of the shown room (the own one always, unless spectating elsewhere).
void DrawNameTags();
// Up to 10 icons of the selected skin, one per life, each in the colour of its index.
void DrawLivesIcons();
// "YOU ARE FOLLOWING <name>" while spectating, else the lives icons.
void DrawFollowingOrLives();
// "-OO- " and the names of the players who follow the local player.
void DrawFollowers();
extern float WaitIconFrame;  // frame of the waiting icon, 0..11
// The next frame of the 12-frame waiting icon at the bottom right corner.
void DrawWaitingIcon();
// The score table while ShowScores is set; Tab switches it.
void DrawScoreTable();
