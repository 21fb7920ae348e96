// The tune list from the tune folder and the music keys' selection (declared in sound_effects.h).
#include "client/sound_effects.h"
#include "platform/stream.h"
#include "world/records.h"

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

// The music player is not linked in yet: the keys keep the selection shown in the menu.
void PlayTune() {}

void StopTune() {}
