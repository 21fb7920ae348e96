// Times the single-player game loop headless: 10,000 frames in room 32 with the hero walking and
// jumping, once in the room as the world has it and once with enemies, pickups and the rope added.
//
// Prints the CPU time of the main thread per frame (drawing and the flip included) for each run.
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/embedded_files.h"
#include "client/client_records.h"
#include "client/game_session.h"
#include "client/pictures.h"
#include "client/sound_effects.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/stream.h"
#include "world/enemies.h"
#include "world/game_modes.h"
#include "world/pickups.h"
#include "world/records.h"
#include "world/static_data.h"
#include "world/world_files.h"

namespace {

constexpr int Frames = 10000;
constexpr int BusyRoom = SinglePlayerRoom;

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// The world's files as embedded, kept alive for the registry.
std::vector<uint8_t> Rooms, EnemyFile, PickupFile;

// Room 32 gets the rope, six patrolling enemies, a ridden one and twelve pickups.
void RegisterBusyWorld() {
  Rooms = ReadAll("incbin::maps.dat");
  EnemyFile = ReadAll("incbin::maps_e.dat");
  std::vector<uint8_t> pickups = ReadAll("incbin::maps_p.dat");
  if (Rooms.size() >= static_cast<size_t>(WorldBankSize)) Rooms[BusyRoom * RoomRecordSize + RoomRopeFlagOffset] = 'Y';

  auto put16 = [](std::vector<uint8_t>& v, int x) { v.push_back(uint8_t(x & 255)); v.push_back(uint8_t(x >> 8)); };
  for (int i = 0; i < 7; ++i) {
    int x = 64 + 64 * i, y = 40 + 30 * (i % 3);
    EnemyFile.push_back(uint8_t(BusyRoom));
    put16(EnemyFile, x);
    put16(EnemyFile, y);
    put16(EnemyFile, x - 48);
    put16(EnemyFile, y + 144);
    put16(EnemyFile, x + 48);
    put16(EnemyFile, y + 144);
    EnemyFile.push_back(uint8_t(i == 6 ? 72 : i * 5));  // kind; 72 is ridden
    EnemyFile.push_back(3);                             // facing right
    EnemyFile.push_back(uint8_t(i % 3));                // speed code
    EnemyFile.push_back(255);
    EnemyFile.push_back(uint8_t(100 + 20 * i));
    EnemyFile.push_back(200);
    EnemyFile.push_back(1);  // horizontal
  }
  // Pickups stay grouped by room: the new ones go in before the first record of a later room.
  std::vector<uint8_t> added;
  for (int i = 0; i < 12; ++i) {
    added.push_back(uint8_t(BusyRoom));
    put16(added, 40 + 36 * i);
    put16(added, 40 + 16 * (i % 4));
    put16(added, i % 20);
  }
  size_t at = 0;
  while (at + 7 <= pickups.size() && pickups[at] <= BusyRoom) at += 7;
  pickups.insert(pickups.begin() + static_cast<long>(at), added.begin(), added.end());
  PickupFile = pickups;

  RegisterEmbeddedFile("maps.dat", Rooms.data(), Rooms.size());
  RegisterEmbeddedFile("maps_e.dat", EnemyFile.data(), EnemyFile.size());
  RegisterEmbeddedFile("maps_p.dat", PickupFile.data(), PickupFile.size());
}

// Walks right and left in turns of 90 frames, with a jump now and then.
void Steer(int frame) {
  int phase = frame % 180;
  if (phase == 0) {
    InjectKeyUp(Key::Left);
    InjectKeyDown(Key::Right);
  } else if (phase == 90) {
    InjectKeyUp(Key::Right);
    InjectKeyDown(Key::Left);
  }
  if (frame % 150 == 75) InjectKeyHit(Key::Space);
}

void Run(const char* title) {
  Game.singlePlayer = 1;
  MySlot = 0;
  StartGame();
  size_t sprites = SpriteList.size();
  int enemies = static_cast<int>(RoomEnemies.size()), items = RoomPickupCount, rope = Game.ropeRoom;
  int roomChanges = 0, lastRoom = Game.room;
  double cpu0 = ThreadCpuMs();
  auto wall0 = std::chrono::steady_clock::now();
  for (int frame = 0; frame < Frames; ++frame) {
    Steer(frame);
    if (!GameLoopPass()) break;
    if (Game.room != lastRoom) {
      ++roomChanges;
      lastRoom = Game.room;
    }
    // The run is about room 32: a hero that wandered off is brought back.
    if (Game.room != BusyRoom) {
      LeaveGame();
      StartGame();
      lastRoom = Game.room;
    }
  }
  double cpu = ThreadCpuMs() - cpu0;
  double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
  InjectKeyUp(Key::Left);
  InjectKeyUp(Key::Right);
  LeaveGame();
  std::printf("%s\n  %d frames: %.4f ms CPU per frame (%.4f ms wall); room 32 had %zu sprites, %d enemies, %d pickups, rope %d; %d room changes\n",
              title, Frames, cpu / Frames, wall / Frames, sprites, enemies, items, rope, roomChanges);
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("QXR_FAST", "1", 1);
  RegisterEmbeddedFiles();
  if (!Graphics(640, 480)) {
    std::fprintf(stderr, "no screen\n");
    return 1;
  }
  AutoMidHandle(false);
  LoadPictures();
  CreateClientRecords();
  FillModeTexts();
  FillRaceRoomTable();
  ReadMovementTables();
  LoadSounds();
  MouseSprite = sprite::Create(MouseImage, 0, 0);
  PlayerName = " Bench  ";

  Run("Room 32 as the world has it");
  RegisterBusyWorld();
  Run("Room 32 with the rope, 7 enemies and 12 more pickups");
  return 0;
}
