// libFuzzer target: any bytes as a .ogg file through the OGG stream, played a little if it opens.
#include "music/ogg_stream.h"
#include "music/music_module.h"
#include "tests/fuzz/fuzz_stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitMusicModule();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MusicPtr music = LoadOGG(ServeAsFile(data, size, "ogg"));
  if (music) FuzzPlayStream(*music);
  return 0;
}
