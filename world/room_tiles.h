// The shown room's tiles: tile classes, the cell grid lookups, the stair-slope collision mask, drawing.
#pragma once

#include <cstdint>

constexpr int MaskRowBytes = 512;         // CollisionMask bytes per pixel row (row 0 = screen y 144)
constexpr int MaskSize = 152000;
constexpr int MaskSolid = 255;

// Collision class of a tile value (0, 1, 2, 3, 4, 6 or 7).
int TileClass(int tileValue);
// Tile values 304..351: animated deadly tiles (hazard sprites; their cells stay empty).
bool IsHazardTile(int tileValue);

// Cell class of the cell that holds screen pixel (x, y); 0 outside columns 0..32, rows 0..16
// (both divisions truncate toward zero, so x -15..15 is column 0).
int TileAt(int x, int y);
// 1 when the mask byte of screen pixel (x, y) is 255. Probes outside the mask count as free.
int MaskPixelSolid(int x, int y);
// 1 when any of the eight mask bytes (x, y) .. (x + 7, y) is not 0. Outside the mask: free.
int MaskSpanSolid(int x, int y);

// Clears CollisionMask to all 0 (a copy of CollisionMask2).
void ClearCollisionMask();
// Paints the four 4x4 slope blocks of a stairs cell (class 4 rising right, 3 rising left).
void PaintStairSlope(int column, int row, int cellClass);
// Fills TileGrid, CellGrid and the slopes of CollisionMask from the room's record in
// WorldBank (the mask is not cleared here). A room outside 1..255 gives an empty room.
void DecodeRoomTiles(int room);

// Draws the 32 x 16 tiles of the shown room; conveyor cells use frame tile + 32 * AnimPhase.
void DrawRoom();
// The tiles-picture frame drawn for a cell.
int TileDrawFrame(int column, int row);
