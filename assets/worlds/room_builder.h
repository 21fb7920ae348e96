// The drawing state of one room under construction: its plan, canvas, theme, random numbers and
// the cells already spoken for by the frame (doors, ledges, gaps) that a body must leave alone.
#pragma once

#include "assets/worlds/room_canvas.h"
#include "assets/worlds/room_layout.h"
#include "assets/worlds/themes.h"

class RoomBuilder {
 public:
  RoomBuilder(const RoomPlan& plan, RoomData& room, uint64_t seed);

  // Backdrop, walls, floor, ceiling, side doors, the ways up and down, the rope's swing.
  void Frame();
  void Body(BodyKind kind);
  // Solid dressing where the body left room: a thicker ceiling with hanging blocks indoors,
  // a raised step of floor here and there.
  void Dress();
  // Decoration on the backdrop: things standing on floors, hanging, on the back wall.
  void Decorate();

  RoomCanvas& Canvas() { return cv_; }
  const RoomPlan& Plan() const { return plan_; }
  const Theme& Look() const { return th_; }
  WorldRng& Rng() { return rng_; }

  void Reserve(int c0, int r0, int c1, int r1);
  // True when no cell of the rectangle is reserved (columns 1..30 only).
  bool Free(int c0, int r0, int c1, int r1) const;
  int BackdropAt(int row) const;
  bool IsBackdrop(int c, int r) const;
  // A run of free columns with a solid floor below, at least width wide, clear from rowTop down.
  bool FindFloorRun(int width, int& c0, int rowTop);
  bool SolidFloor(int c0, int c1) const;
  void FloatingPlatforms(int count);
  void Pit(int width);

 private:
  void Backdrop();
  void Shell();
  void SideDoor(bool right, int row, bool opening);
  void WayUp(int g);
  bool LadderLeansRight(int g) const;
  void WayDown(int g);
  int Col(int c, bool right) const { return right ? 31 - c : c; }
  void ReserveCols(int c0, int c1, int r0, int r1, bool right);
  void PlatformCols(int row, int c0, int c1, bool right);

  void Mound();
  void Plain();
  void Cavern();
  void Gallery();
  void Belts();
  void RopePit();
  void HazardPits();
  void House();

  const RoomPlan& plan_;
  RoomCanvas cv_;
  const Theme& th_;
  WorldRng rng_;
  bool reserved_[16][32] = {};
};
