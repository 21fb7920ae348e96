// The byte layout of the rooms, enemies and pickups files.
#include "assets/worlds/world_encoding.h"

namespace {
void Put16(std::vector<uint8_t>& out, int value) {
  out.push_back(uint8_t(value & 255));
  out.push_back(uint8_t((value >> 8) & 255));
}
}  // namespace

std::vector<uint8_t> EncodeRooms(const World& world) {
  std::vector<uint8_t> out(size_t(256) * RoomRecordBytes, 0);
  for (int room = 1; room < 256; ++room) {
    const RoomData& r = world.rooms[room];
    uint8_t* rec = out.data() + size_t(room) * RoomRecordBytes;
    // A room that is not there keeps a blank record: no tiles, no exits, a blank name.
    char flag = !r.exists ? ' ' : r.rope ? 'Y' : 'N';
    rec[0] = 0;
    rec[1] = flag == ' ' ? '3' : '4';
    for (int row = 0; row < RoomRowsW; ++row)
      for (int column = 0; column < RoomColumnsW; ++column) {
        int at = 2 + (row * 32 + column) * 2;
        int value = r.exists ? r.tiles[row][column] : 0;
        rec[at] = uint8_t(value & 255);
        rec[at + 1] = uint8_t((value >> 8) & 255);
      }
    for (int i = 0; i < 4; ++i) rec[1026 + i] = uint8_t(r.exists ? r.exits[i] : 0);
    for (int i = 0; i < 33; ++i)
      rec[1030 + i] = r.exists && i < int(r.name.size()) ? uint8_t(r.name[i]) : uint8_t(' ');
    rec[1063] = uint8_t(flag);
    rec[1064] = 0;
  }
  return out;
}

std::vector<uint8_t> EncodeEnemies(const World& world) {
  std::vector<uint8_t> out;
  for (int room = 1; room < 256; ++room)
    for (const EnemyRecord& e : world.rooms[room].enemies) {
      out.push_back(uint8_t(room));
      Put16(out, e.x);
      Put16(out, e.y);
      Put16(out, e.x1);
      Put16(out, e.y1);
      Put16(out, e.x2);
      Put16(out, e.y2);
      out.push_back(uint8_t(e.kind));
      out.push_back(uint8_t(e.facing));
      out.push_back(uint8_t(e.speedCode));
      out.push_back(uint8_t(e.red));
      out.push_back(uint8_t(e.green));
      out.push_back(uint8_t(e.blue));
      out.push_back(uint8_t(e.moveType));
    }
  return out;
}

std::vector<uint8_t> EncodePickups(const World& world) {
  std::vector<uint8_t> out;
  for (int room = 1; room < 256; ++room)
    for (const PickupRecord& p : world.rooms[room].pickups) {
      out.push_back(uint8_t(room));
      Put16(out, p.x);
      Put16(out, p.y);
      Put16(out, p.kind);
    }
  return out;
}
