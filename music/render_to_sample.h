// Rendering a whole music into one block of 16-bit sound.
#pragma once

#include <cstdint>
#include <vector>

#include "music/music.h"

// A rendered music: frames of interleaved 16-bit stereo at rate.
struct MusicSample {
  int rate = 44100;
  int frames = 0;
  std::vector<int16_t> data;  // 2 * frames values, left then right
};

// Renders InfoLength frames of a tracker song (playing set to 1 first).
MusicSample RenderMusicToSample(TMusic& music);
