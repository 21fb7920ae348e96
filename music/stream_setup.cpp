// Set-up of the audio streams and the output device: the WAV and OGG loaders, the binding of
// the sound-buffer and audio compression libraries, and the output device's exit hook.
#include "music/stream_setup.h"

#include "music/acm_binding.h"
#include "music/audio_device.h"
#include "music/loader_registry.h"
#include "music/mp3_stream.h"
#include "music/ogg_stream.h"
#include "music/sound_output_binding.h"
#include "music/wav_stream.h"
#include "platform/system.h"

void RegisterStreamLoaders() {
  TunemixLoader::Add(LoadWAV, "Microsoft Wave \".wav\"", "wav");
  TunemixLoader::Add(LoadOGG, "Ogg Vorbis \".ogg\"", "ogg");
}

bool BindMusicOutput() {
  if (!BindSoundOutputLibrary()) return false;
  AtProgramExit(StopAudioDevice);
  return true;
}

void RegisterMp3Loader() {
  if (!BindAcmLibrary()) RaiseError("Unable to locate ACM");
  uint32_t largest = 0;
  Acm.Metrics(nullptr, AC_METRIC_MAX_SIZE_FORMAT, &largest);
  AcmMaxFormatSize = static_cast<int>(largest);
  TunemixLoader::Add(LoadMP3, "ISO/MPEG Layer3 \".mp3\"", "mp3");
}
