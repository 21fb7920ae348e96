// World selection: which world a mode plays, loading its rooms file and naming its rooms.
#include "world/world_files.h"

#include <algorithm>
#include <cstring>

#include "platform/stream.h"
#include "world/dedicated.h"
#include "world/enemies.h"
#include "world/pickups.h"

std::string WorldForMode(int mode) {
  switch (mode) {
    case '!': return "pitfall";
    case '"': return "assault";
    case '#': return "original";
    case '$': return "jailbreak";
    case '%': return "laboratory";
    case 'Q': return "tower";
    default: return "maps";
  }
}

long RoomRecordBase(int room) { return ValidRoom(room) ? long(room) * RoomRecordSize : -1; }

void LoadWorldBank(const std::string& name) {
  std::vector<uint8_t> file = ReadAll("incbin::" + name + ".dat");
  // The bank keeps its full size whatever the file holds, so every room offset stays inside.
  if (!WorldBank) WorldBank = CreateBank(WorldBankSize);
  WorldBank->bytes.assign(WorldBankSize, 0);
  // A missing file reads as no bytes at all (and no buffer to copy from).
  if (!file.empty()) std::memcpy(WorldBank->bytes.data(), file.data(), std::min<size_t>(file.size(), WorldBankSize));
  BuildRoomNames();
}

static void MarkAllPickups(Byte present) {
  for (int i = 0; i <= LastPickup && i < MaxPickups; ++i) Pickups[i].present = present;
}

void SelectWorld(int mode) {
  std::string name = WorldForMode(mode);
  if (name != WorldName) {
    WorldName = name;
    LoadWorldBank(name);
  }
  LoadPickups();
  // A client that joined someone's game learns each room's present pickups from its state.
  if constexpr (!Dedicated) {
    if (!Hosting && !Game.singlePlayer) MarkAllPickups(0);
  }
  if (Game.gameMode == 35) MarkAllPickups(1);
  LoadEnemies();
}

void BuildRoomNames() {
  RoomNames[0] = "";
  for (int room = 1; room < RoomCount; ++room) {
    std::string name(RoomNameLength, ' ');
    long base = long(room) * RoomRecordSize + RoomNameOffset;
    for (int i = 0; i < RoomNameLength; ++i) name[i] = static_cast<char>(PeekByte(WorldBank, base + i));
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) < 33; };
    size_t first = 0;
    while (first < name.size() && isBlank(name[first])) ++first;
    size_t last = name.size();
    while (last > first && isBlank(name[last - 1])) --last;
    RoomNames[room] = name.substr(first, last - first);
  }
}
