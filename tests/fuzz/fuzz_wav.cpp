// libFuzzer target: any bytes as a .wav file through the WAV stream, played a little if it opens.
#include "music/wav_stream.h"
#include "music/music_module.h"
#include "tests/fuzz/fuzz_stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitMusicModule();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MusicPtr music = LoadWAV(ServeAsFile(data, size, "wav"));
  if (music) FuzzPlayStream(*music);
  return 0;
}
