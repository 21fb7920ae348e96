// Draws rooms from the embedded world files as room entry would show them (belts at phase 0).
#include "assets/viewer/world_maps.h"

#include <algorithm>
#include <vector>

#include "assets/viewer/contact_sheet.h"
#include "assets/viewer/embedded_pictures.h"
#include "platform/stream.h"
#include "world/world_files.h"

namespace {

constexpr int RoomWidth = 512, RoomHeight = 256, Top = 144;
constexpr int EnemyRecord = 20, PickupRecord = 7;

int U16(const std::vector<uint8_t>& bytes, size_t at) {
  return at + 1 < bytes.size() ? bytes[at] | (bytes[at + 1] << 8) : 0;
}

struct Pictures {
  std::vector<Canvas> tiles, enemies32, enemies64, enemies32x64, door, pickups, rope;
  Pictures() {
    for (const PictureEntry& e : PictureTable()) {
      if (e.name == "pictures/tiles.png") tiles = LoadFrames(e);
      if (e.name == "pictures/32x32.png") enemies32 = LoadFrames(e);
      if (e.name == "pictures/64x64.png") enemies64 = LoadFrames(e);
      if (e.name == "pictures/32x64.png") enemies32x64 = LoadFrames(e);
      if (e.name == "pictures/tunkodoor.png") door = LoadFrames(e);
      if (e.name == "pictures/pickups.png") pickups = LoadFrames(e);
      if (e.name == "pictures/rope.png") rope = LoadFrames(e);
    }
  }
};

const Pictures& Loaded() {
  static const Pictures pictures;
  return pictures;
}

struct WorldFiles {
  std::vector<uint8_t> rooms, enemies, pickups;
  explicit WorldFiles(const std::string& world)
      : rooms(ReadAll("incbin::" + world + ".dat")),
        enemies(ReadAll("incbin::" + world + "_e.dat")),
        pickups(ReadAll("incbin::" + world + "_p.dat")) {}
  size_t Base(int room) const { return static_cast<size_t>(room) * RoomRecordSize; }
  bool Exists(int room) const {
    if (Base(room + 1) > rooms.size()) return false;
    for (int i = 0; i < 512; ++i)
      if (U16(rooms, Base(room) + RoomTilesOffset + i * 2)) return true;
    return false;
  }
};

// A frame tinted the way the game tints sprites (each channel scaled by the colour).
Canvas Tinted(const Canvas& frame, int r, int g, int b) {
  Canvas out(frame.Width(), frame.Height());
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) {
      Colour c = frame.Get(x, y);
      if (c == Transparent) continue;
      out.Set(x, y, Rgb(((c >> 16) & 255) * r / 255, ((c >> 8) & 255) * g / 255, (c & 255) * b / 255));
    }
  return out;
}

void DrawRoom(Canvas& canvas, const WorldFiles& files, int room) {
  const Pictures& p = Loaded();
  size_t base = files.Base(room);
  for (int row = 0; row < 16; ++row)
    for (int column = 0; column < 32; ++column) {
      int value = U16(files.rooms, base + RoomTilesOffset + (row * 32 + column) * 2);
      if (value > 0 && value < static_cast<int>(p.tiles.size())) canvas.Blit(p.tiles[value], column * 16, row * 16);
    }
  if (base + RoomRopeFlagOffset < files.rooms.size() && files.rooms[base + RoomRopeFlagOffset] == 'Y' && !p.rope.empty())
    for (int i = 0; i <= 32; ++i) canvas.Blit(p.rope[0], 256, i * 6);  // hanging straight
  for (size_t at = 0; at + EnemyRecord <= files.enemies.size(); at += EnemyRecord) {
    const uint8_t* e = files.enemies.data() + at;
    if (e[0] != room) continue;
    int x = U16(files.enemies, at + 1), y = U16(files.enemies, at + 3), kind = e[13], facing = e[14];
    int x1 = U16(files.enemies, at + 5), y1 = U16(files.enemies, at + 7) - Top;
    int x2 = U16(files.enemies, at + 9), y2 = U16(files.enemies, at + 11) - Top;
    const Canvas* frame = nullptr;
    if (kind < 70 && kind * 4 < static_cast<int>(p.enemies32.size())) frame = &p.enemies32[kind * 4];
    else if (kind == 70 && !p.enemies32x64.empty()) frame = &p.enemies32x64[0];
    else if (kind == 71 && !p.enemies64.empty()) frame = &p.enemies64[0];
    else if (kind == 72 && p.enemies32.size() > 280) frame = &p.enemies32[280];
    else if ((kind == 73 || kind == 74) && p.enemies32.size() > 284) frame = &p.enemies32[284];
    else if (kind == 75 && !p.door.empty()) frame = &p.door[0];
    int w = frame ? frame->Width() : 32, h = frame ? frame->Height() : 32;
    if (e[19] == 1 || e[19] == 2)  // the patrol path, along the sprite's middle
      canvas.Line(x1 + w / 2, y1 + h / 2, x2 + w / 2, y2 + h / 2, kind == 72 ? 0x40ff40 : 0xff4040);
    if (frame) canvas.Blit(Tinted(*frame, e[16], e[17], e[18]), x, y, facing == 3 || facing == 0);
    if (kind == 73 || kind == 74) Label(canvas, kind == 73 ? "I" : "J", x + 12, y, 0xffff40);
  }
  for (size_t at = 0; at + PickupRecord <= files.pickups.size(); at += PickupRecord) {
    if (files.pickups[at] != room) continue;
    int x = U16(files.pickups, at + 1), y = U16(files.pickups, at + 3), kind = files.pickups[at + 5];
    if (kind * 4 < static_cast<int>(p.pickups.size())) canvas.Blit(p.pickups[kind * 4], x, y);
  }
}

std::string RoomName(const WorldFiles& files, int room) {
  size_t base = files.Base(room) + RoomNameOffset;
  if (base + RoomNameLength > files.rooms.size()) return "";
  std::string name(files.rooms.begin() + base, files.rooms.begin() + base + RoomNameLength);
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

std::string ExitsText(const WorldFiles& files, int room) {
  size_t base = files.Base(room) + RoomExitsOffset;
  if (base + 4 > files.rooms.size()) return "";
  return "U" + std::to_string(files.rooms[base]) + " R" + std::to_string(files.rooms[base + 1]) + " D" +
         std::to_string(files.rooms[base + 2]) + " L" + std::to_string(files.rooms[base + 3]);
}

// Quarter size: each 4 x 4 block of the room becomes its average colour.
Canvas Quarter(const Canvas& room) {
  Canvas small(room.Width() / 4, room.Height() / 4);
  for (int y = 0; y < small.Height(); ++y)
    for (int x = 0; x < small.Width(); ++x) {
      int r = 0, g = 0, b = 0;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
          Colour c = room.Get(x * 4 + i, y * 4 + j);
          r += (c >> 16) & 255;
          g += (c >> 8) & 255;
          b += c & 255;
        }
      small.Set(x, y, Rgb(r / 16, g / 16, b / 16));
    }
  return small;
}

}  // namespace

Canvas WorldMap(const std::string& world) {
  WorldFiles files(world);
  constexpr int CellW = RoomWidth / 4 + 4, CellH = RoomHeight / 4 + 14;
  Canvas map(16 * CellW + 4, 16 * CellH + 4, 0x101018);
  for (int room = 0; room < 256; ++room) {
    int left = 4 + (room % 16) * CellW, top = 4 + (room / 16) * CellH;
    if (room == 0 || !files.Exists(room)) {
      map.Fill(left, top + 10, RoomWidth / 4, RoomHeight / 4, 0x18181e);
      Label(map, std::to_string(room), left, top, 0x505060);
      continue;
    }
    Canvas full(RoomWidth, RoomHeight, 0x050508);
    DrawRoom(full, files, room);
    map.Blit(Quarter(full), left, top + 10);
    Label(map, std::to_string(room) + " " + RoomName(files, room).substr(0, 16), left, top, 0xd0d0e0);
  }
  return map;
}

Canvas RoomPicture(const std::string& world, int room) {
  WorldFiles files(world);
  Canvas picture(RoomWidth, RoomHeight + 24, 0x101018);
  Canvas full(RoomWidth, RoomHeight, 0x050508);
  if (room >= 1 && room <= 255 && files.Exists(room)) DrawRoom(full, files, room);
  picture.Blit(full, 0, 0);
  Label(picture, world + " " + std::to_string(room) + ": " + RoomName(files, room), 4, RoomHeight + 3, 0xf0f0f0);
  Label(picture, ExitsText(files, room), 4, RoomHeight + 13, 0xa0a0c0);
  return picture;
}
