// What both loader fuzzers do with a song that loaded: play it a little, every way.
#pragma once

#include <cstdint>
#include <vector>

#include "music/player.h"

inline void FuzzPlay(Tunemix_Player& song, size_t seed) {
  song.SetInfo(InfoLoop, 1);
  song.playing = 1;
  std::vector<int16_t> buffer(2 * 1500);
  for (int interpolation = 0; interpolation < 3; ++interpolation) {
    song.SetInfo(InfoInterpolation, static_cast<int>((seed + interpolation) % 3));
    song.FillBuffer(buffer.data(), static_cast<int>(buffer.size() * 2));
  }
}
