// Small worlds for the world tests, built byte by byte in the world-file format and
// registered as the embedded files of a world, so they load through the real loader.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/stream.h"
#include "world/enter_room.h"
#include "world/records.h"
#include "world/static_data.h"
#include "world/world_files.h"
#include "world/world_step.h"

// Common tile values.
constexpr int TestSolid = 1;          // class 1
constexpr int TestStairsRight = 160;  // class 4, slope rising to the right
constexpr int TestStairsLeft = 161;   // class 3, slope rising to the left
constexpr int TestPlatform = 224;     // class 2
constexpr int TestHazard = 304;       // animated deadly tile
constexpr int TestBeltLeft = 400;     // class 7
constexpr int TestBeltRight = 416;    // class 6

// A hero standing on row 15 (the bottom row) has y = 352; on row r it has y = 144 + 16 * r - 32.
inline int StandingY(int floorRow) { return PlayfieldTop + 16 * floorRow - 32; }

struct TestEnemy {
  int room = 0, x = 0, y = 0;             // y within the playfield
  int boundX1 = 0, boundY1 = 0, boundX2 = 0, boundY2 = 0;  // screen pixels
  int kind = 0, facing = 0, speedCode = 8;
  int red = 255, green = 255, blue = 255;
  int moveType = 1;
};

class TestWorld {
 public:
  TestWorld() : rooms_(WorldBankSize, 0) {
    for (int room = 1; room < RoomCount; ++room) {
      long base = long(room) * RoomRecordSize;
      rooms_[base + 1] = '4';
      for (int i = 0; i < RoomNameLength; ++i) rooms_[base + RoomNameOffset + i] = ' ';
      rooms_[base + RoomRopeFlagOffset] = 'N';
    }
  }

  void SetTile(int room, int column, int row, int value) {
    long at = Base(room) + RoomTilesOffset + (row * 32 + column) * 2;
    rooms_[at] = uint8_t(value & 255);
    rooms_[at + 1] = uint8_t((value >> 8) & 255);
  }
  void FillRow(int room, int row, int value, int fromColumn = 0, int toColumn = 31) {
    for (int c = fromColumn; c <= toColumn; ++c) SetTile(room, c, row, value);
  }
  void FillColumn(int room, int column, int value, int fromRow = 0, int toRow = 15) {
    for (int r = fromRow; r <= toRow; ++r) SetTile(room, column, r, value);
  }
  // A room with a solid floor along the bottom row (standing y = 352).
  void FloorRoom(int room, const std::string& name = "") {
    FillRow(room, 15, TestSolid);
    if (!name.empty()) SetName(room, name);
  }
  void SetExits(int room, int up, int right, int down, int left) {
    long base = Base(room) + RoomExitsOffset;
    rooms_[base] = uint8_t(up);
    rooms_[base + 1] = uint8_t(right);
    rooms_[base + 2] = uint8_t(down);
    rooms_[base + 3] = uint8_t(left);
  }
  // The name as stored: padded with spaces to 33 characters (longer names are cut).
  void SetName(int room, const std::string& name) {
    long base = Base(room) + RoomNameOffset;
    for (int i = 0; i < RoomNameLength; ++i)
      rooms_[base + i] = i < int(name.size()) ? uint8_t(name[i]) : uint8_t(' ');
  }
  void SetRopeFlag(int room, char flag) { rooms_[Base(room) + RoomRopeFlagOffset] = uint8_t(flag); }

  void AddEnemy(const TestEnemy& e) {
    auto put16 = [&](int v) { enemies_.push_back(uint8_t(v & 255)); enemies_.push_back(uint8_t((v >> 8) & 255)); };
    enemies_.push_back(uint8_t(e.room));
    put16(e.x); put16(e.y); put16(e.boundX1); put16(e.boundY1); put16(e.boundX2); put16(e.boundY2);
    enemies_.push_back(uint8_t(e.kind));
    enemies_.push_back(uint8_t(e.facing));
    enemies_.push_back(uint8_t(e.speedCode));
    enemies_.push_back(uint8_t(e.red));
    enemies_.push_back(uint8_t(e.green));
    enemies_.push_back(uint8_t(e.blue));
    enemies_.push_back(uint8_t(e.moveType));
  }
  // Pickups must be added grouped by room in ascending room order, as the files hold them.
  void AddPickup(int room, int x, int y, int kind) {
    auto put16 = [&](int v) { pickups_.push_back(uint8_t(v & 255)); pickups_.push_back(uint8_t((v >> 8) & 255)); };
    pickups_.push_back(uint8_t(room));
    put16(x); put16(y); put16(kind);
  }

  std::vector<uint8_t>& Rooms() { return rooms_; }
  std::vector<uint8_t>& EnemyFile() { return enemies_; }
  std::vector<uint8_t>& PickupFile() { return pickups_; }

  // Registers the three files as "<name>.dat", "<name>_e.dat" and "<name>_p.dat".
  void Register(const std::string& name) const {
    Store(name + ".dat", rooms_);
    Store(name + "_e.dat", enemies_);
    Store(name + "_p.dat", pickups_);
  }
  // Registers the world as the main world "maps" and selects it anew, as a game start does.
  void SelectAsMain(int mode = 1) const {
    Register("maps");
    WorldName = "";
    SelectWorld(mode);
  }

 private:
  static long Base(int room) { return long(room) * RoomRecordSize; }
  // The registry keeps pointers, so the bytes live here until the name is registered again.
  static void Store(const std::string& file, const std::vector<uint8_t>& bytes) {
    static std::map<std::string, std::vector<uint8_t>> kept;
    std::vector<uint8_t>& copy = kept[file];
    copy = bytes;
    if (copy.empty()) copy.reserve(1);
    RegisterEmbeddedFile(file, copy.data(), copy.size());
  }

  std::vector<uint8_t> rooms_;
  std::vector<uint8_t> enemies_;
  std::vector<uint8_t> pickups_;
};

// Puts the shared records back to a fresh single-player game with slot 0 and no sprites,
// no keys held and sound effects off.
inline void ResetWorldState() {
  sprite::RemoveAll();
  RoomPickups.clear();
  RoomEnemies.clear();
  RoomHazards.clear();
  Rope = ropetype();
  Game = GameVars();
  Game.singlePlayer = 1;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    Players[slot] = PlayerType();
    Slots[slot] = PlayersDetails();
    Slots[slot].netId = -1;
    Slots[slot].room = LoungeRoom;
  }
  MySlot = 0;
  Hosting = 0;
  for (int& visits : VisitCounts) visits = 0;
  for (int& target : ChainTargets) target = 0;
  ReadPlayerColours();
  ReadMovementTables();
  FlushKeys();
  SfxOn = 0;
  ShownRoom = 0;
  Moved = 0;
  JumpPhase = 0;
  LastSendTime = MilliSecs();
}

// The local hero: a sprite with its handle at the top-left corner, at (x, y).
inline sprite& MakeHero(float x, float y) {
  PlayerType& p = Players[MySlot];
  p.name = "  Hero  ";
  p.sprite = sprite::Create(Skins[0], 0, 0);
  p.sprite->ResetHandle();
  p.sprite->SetPosition(x, y);
  return *p.sprite;
}

// Enters a room of the loaded world in single play, as a walk through an exit would.
inline void EnterTestRoom(int room) {
  Game.room = room;
  EnterRoom();
}

// One world step, whatever the clock says: the last step is made to lie well in the past.
inline void WorldStep() {
  LastStepTime = MilliSecs() - 1000;
  GameStep();
}
