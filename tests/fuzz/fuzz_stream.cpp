// libFuzzer target: any bytes as an audio file of one kind (QXR_FUZZ_EXTENSION: wav, ogg or mp3)
// through its stream reader, chosen by the loader registry, and played a little if it opens.
#include <string>
#include <vector>

#include "music/loader_registry.h"
#include "music/music_module.h"
#include "platform/stream.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitMusicModule();  // the MP3 reader also binds the audio compression library beside the program
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name = std::string("fuzz.") + QXR_FUZZ_EXTENSION;
  RegisterEmbeddedFile(name, data, size);
  MusicPtr music = LoadMusic("incbin::" + name);
  if (!music) return 0;
  music->SetInfo(InfoRate, 44100);
  music->SetInfo(InfoLoop, 1);
  music->playing = 1;
  // Requests of several sizes, across the end of a pass and into the next.
  std::vector<uint8_t> buffer(24000);
  for (int request : {1, 4, 2940, 24000, 2940, 7}) music->FillBuffer(buffer.data(), request);
  music->GetInfo(InfoLength);
  return 0;
}
