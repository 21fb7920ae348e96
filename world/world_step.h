// The world step: at most once a frame and only after more than Game.stepMs: animation clock,
// death and respawn, tag banners, spectating keys, the hero's movement, the room's things,
// and the own state sent to the host after a move.
#pragma once

void GameStep();

// The parts of one world step, for callers that drive them on their own.
void AdvanceAnimationClock();
void RespawnBlinkStep();
void TagBannerStep();
void MoveLocalPlayer();     // movement input and the movement order of one step
