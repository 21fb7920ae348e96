// RenderMusicToSample: a whole song rendered in one go.
#include "music/render_to_sample.h"

#include <algorithm>

MusicSample RenderMusicToSample(TMusic& music) {
  MusicSample sample;
  sample.rate = music.rate;
  sample.frames = std::max(music.GetInfo(InfoLength), 0);
  sample.data.assign(static_cast<size_t>(sample.frames) * 2, 0);
  music.playing = 1;
  // In pieces, so that the byte count of each fill stays within int.
  constexpr int PieceFrames = 1 << 20;
  for (int done = 0; done < sample.frames; done += PieceFrames) {
    const int frames = std::min(PieceFrames, sample.frames - done);
    music.FillBuffer(sample.data.data() + static_cast<size_t>(done) * 2, frames * 4);
  }
  return sample;
}
