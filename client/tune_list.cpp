// The tune list from the tune folder, the music keys' selection and the tune that plays
// (declared in sound_effects.h).
#include <cstdio>

#include "client/sound_effects.h"
#include "music/loader_registry.h"
#include "platform/stream.h"
#include "platform/system.h"
#include "world/records.h"

MusicPtr CurrentMusic;
AudioStreamPtr MusicStream;

namespace {

constexpr int TuneBufferBytes = 44100;

// The music of a tune file, or Null when it cannot be loaded (said on standard output when
// the loader raised its error, which must not end the game).
MusicPtr LoadTune(const std::string& url) {
  try {
    return LoadMusic(url);
  } catch (const RuntimeError& error) {
    std::printf("%s\n", error.what());
    std::fflush(stdout);
    return nullptr;
  }
}

}  // namespace

void ListTunes(const std::string& folder) {
  for (auto& tune : Tunes) tune.clear();
  Tunes[0] = "OFF";
  TuneCount = 0;
  for (const std::string& name : ListDirectory(folder)) {
    if (name.empty() || name[0] == '.') continue;
    if (TuneCount + 1 >= MaxTunes) break;
    Tunes[++TuneCount] = name;
  }
}

void NextTune(int skipOff) {
  TuneIndex += 1;
  if (TuneIndex > TuneCount || TuneIndex >= MaxTunes) TuneIndex = skipOff ? 1 : 0;
  MusicOn = TuneIndex != 0 ? 1 : 0;
  PlayTune();
}

void PlayTune() {
  StopTune();
  if (!MusicOn || TuneIndex <= 0 || TuneIndex >= MaxTunes || Tunes[TuneIndex].empty()) return;
  CurrentMusic = LoadTune(TuneFolder + Tunes[TuneIndex]);
  if (!CurrentMusic) return;
  CurrentMusic->SetInfo(InfoInterpolation, 2);
  CurrentMusic->SetInfo(InfoRate, 44100);
  CurrentMusic->SetInfo(InfoLoop, 1);  // after the rate, which clears it
  MusicStream = CreateAudioStream(CurrentMusic, 1, TuneBufferBytes);
  MusicStream->Play();
}

void StopTune() {
  if (MusicStream) MusicStream->Stop();
  MusicStream = nullptr;
}
