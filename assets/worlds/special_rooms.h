// The hand-made rooms: the start, the tag arena, the flag rooms and the race goals.
#pragma once

#include "assets/worlds/room_builder.h"

void DrawStartRoom(RoomBuilder& b);       // 32: heroes start along its floor
void DrawArena(RoomBuilder& b);           // 27: open floor and platforms for tag and chase
void DrawDesertIsle(RoomBuilder& b);      // 81: the blue flag on the beach, blue starts on a shelf
void DrawCastleRed(RoomBuilder& b);       // 160: the red flag on a ledge, red starts up high
void DrawCornerShop(RoomBuilder& b);      // 1
void DrawGenerator(RoomBuilder& b);       // 38
void DrawMoneyBags(RoomBuilder& b);       // 79
void DrawRocketRoom(RoomBuilder& b);      // 120
void DrawDrinkingHole(RoomBuilder& b);    // 133
void DrawTellyHill(RoomBuilder& b);       // 159
void DrawParlour(RoomBuilder& b);         // 212
void DrawSpaceInvaders(RoomBuilder& b);   // 255
void DrawWalkway(RoomBuilder& b);         // 29..31: the safe walk from the start to a rope room
void DrawStartHall(RoomBuilder& b);       // a course's first room: heroes start along its floor
