// Stairs and conveyors: the stair tests of the walk steps, landing on a slope, the belt rule.
//
// All of them act on the local player (Players[MySlot]) and its sprite.
#pragma once

// Walking right / left: 1 when the hero may move sideways, 0 at a wall. On a slope they also
// move the hero 4 pixels up or down; stairKind keeps the hero on the slope it started on.
int CheckStairsRight();
int CheckStairsLeft();

// 1 when a stair slope lies at the feet or up to 12 pixels below them; a slope below the feet
// moves the hero 4 pixels down and counts as falling. Always 0 on the rope.
int ProbeFloorBelow();

// The belt rule of the landing test for the class of the floor cell probed last: a left belt
// (class 7) takes over walkDir unless the hero walks right, a right belt (6) unless it walks
// left. Sets onConveyor when the belt took over.
void ApplyConveyor(int cellClass);
