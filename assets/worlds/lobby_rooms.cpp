// The lobby rooms: heroes stand along the floor at slot * 32 + 32; the team room's side walls
// open during a team round, red to the left, blue to the right; the lounge keeps its middle
// plain for the game chooser's text.
#include "assets/worlds/lobby_rooms.h"

#include "assets/worlds/room_canvas.h"

namespace {
using namespace tile;

void Box(RoomCanvas& cv, int material) {
  cv.Fill(0, 0, 31, 15, Empty);
  cv.Fill(0, 0, 31, 0, SolidEdge(material));
  cv.Fill(0, 0, 0, 15, SolidEdge(material));
  cv.Fill(31, 0, 31, 15, SolidEdge(material));
  cv.Block(0, 15, 31, 15, material);
}

RoomData Briefing() {
  RoomData room;
  room.exists = true;
  room.name = "Mission Briefing";
  RoomCanvas cv(room);
  Box(cv, Tech);
  // A map on the wall behind the speaker, clear of the banner lines across the middle.
  cv.Fill(1, 9, 30, 14, BackTech);
  for (int c = 4; c <= 27; c += 6) cv.Set(c, 10, Computer);
  for (int c = 3; c <= 28; c += 5) cv.Set(c, 1, Lamp);
  cv.Set(15, 12, Sign), cv.Set(16, 12, Sign);
  return room;
}

RoomData TeamRoom() {
  RoomData room;
  room.exists = true;
  room.name = "Select Your Team";
  RoomCanvas cv(room);
  Box(cv, Castle);
  // Red's side on the left, blue's on the right; the doors in the walls are rows 12..14.
  cv.Fill(1, 9, 15, 14, BackBrick);
  cv.Fill(16, 9, 30, 14, BackTech);
  cv.Set(2, 10, Flag), cv.Set(29, 10, Flag);
  cv.Set(4, 11, Sign), cv.Set(27, 11, Sign);
  for (int c = 3; c <= 28; c += 5) cv.Set(c, 1, Lamp);
  // The exits only count while the walls are open in a team round, when leaving joins a
  // team; they lead back into this room so that they name a room of every world.
  room.exits[ExitLeft] = TeamRoomNumber;
  room.exits[ExitRight] = TeamRoomNumber;
  return room;
}

RoomData Lounge() {
  RoomData room;
  room.exists = true;
  room.name = "The Gaming Lounge";
  RoomCanvas cv(room);
  Box(cv, Wood);
  // Rows 1..14 of the middle stay plain for the chooser's menu and status lines.
  for (int c = 2; c <= 29; c += 3) cv.Set(c, 1, Lamp);
  cv.Set(1, 13, Telly), cv.Set(30, 13, Computer);
  cv.Set(1, 14, Barrel), cv.Set(30, 14, Bottles);
  return room;
}
}  // namespace

void AddLobbyRooms(World& world) {
  world.rooms[BriefingRoomNumber] = Briefing();
  world.rooms[TeamRoomNumber] = TeamRoom();
  world.rooms[LoungeRoomNumber] = Lounge();
}
