// libFuzzer target: any bytes through the XM loader, and the song played if it loads.
#include "music/music_module.h"
#include "music/xm_song.h"
#include "tests/fuzz/fuzz_play.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitMusicModule();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto song = LoadXMFromMemory(data, size);
  if (song) FuzzPlay(*song, size);
  return 0;
}
