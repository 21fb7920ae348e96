// Enemy sprites of the shown room: spawning, pixel-exact contact, riding, doors, deadly tiles.
#pragma once

constexpr int RiddenKind = 72, DoorKind = 75;

void SpawnRoomEnemies();     // one EnemyPickk per enemy of Game.room; sets ArrowTimer
void EnemyCollisions();      // contact with every room enemy, then their four-frame animation
void CheckHazardTouch();     // contact with the animated deadly tiles of RoomHazards
void RideCarrier();          // keeps a riding hero on top of its carrier

// The walk steps while riding: 4 pixels sideways; stepping off the carrier ends the ride.
void RideStepLeft();
void RideStepRight();
