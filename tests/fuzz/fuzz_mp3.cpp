// libFuzzer target: any bytes as a .mp3 file through the MP3 stream (through the audio compression library), played a little if it opens.
#include "music/mp3_stream.h"
#include "music/music_module.h"
#include "tests/fuzz/fuzz_stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitMusicModule();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MusicPtr music = LoadMP3(ServeAsFile(data, size, "mp3"));
  if (music) FuzzPlayStream(*music);
  return 0;
}
