// Helpers the music tests share: loading built modules and playing them through the mixer.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "music/mixer.h"
#include "music/mod_song.h"
#include "music/render_to_sample.h"
#include "music/music_module.h"
#include "music/music_tables.h"
#include "music/xm_song.h"
#include "music/module_builder.h"

namespace music_test {

inline std::shared_ptr<Tunemix_MOD> LoadMod(const std::vector<uint8_t>& file) {
  InitMusicModule();
  return LoadMODFromMemory(file.data(), file.size());
}

inline std::shared_ptr<Tunemix_XM> LoadXm(const std::vector<uint8_t>& file) {
  InitMusicModule();
  return LoadXMFromMemory(file.data(), file.size());
}

// Renders frames of 16-bit stereo; the result holds left, right pairs.
inline std::vector<int16_t> Render(TMusic& music, int frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
  music.FillBuffer(out.data(), frames * 4);
  return out;
}

// A restart keeps the tick countdown that was running: the song's first tick starts after it.
inline void RenderToFirstTick(Tunemix_Player& song) {
  if (song.framesToTick > 0) Render(song, song.framesToTick);
}

// Plays a song at 44100 Hz with every interpolation for a while, looping; a fault shows as
// a crash or a sanitizer report.
inline void PlayEveryWay(Tunemix_Player& song, int frames = 44100) {
  song.SetInfo(InfoRate, 44100);
  song.SetInfo(InfoLoop, 1);
  for (int interpolation = 0; interpolation < 3; ++interpolation) {
    song.SetInfo(InfoInterpolation, interpolation);
    song.playing = 1;
    Render(song, frames);
  }
}

// A mixer whose ticks never come: the test sets the channels up itself.
class BareMixer : public Tunemix_Mixer {
 public:
  explicit BareMixer(int channels) {
    channelCount = channels;
    SetChannels(channels);
    framesToTick = 1 << 30;
  }
  void Update() override { framesToTick = 1 << 30; }

  void Play(int c, std::shared_ptr<Tunemix_Sample> sample, double step, double pan = 0.0) {
    chSample[c] = std::move(sample);
    chStep[c] = step;
    chGain[c] = 1.0;
    chPan[c] = pan;
    chLeftGain[c] = chRightGain[c] = 1.0f;
  }
};

// A 4-channel MOD: one pattern, one looping square-wave sample, a note on channel 0.
inline module_builder::ModBuilder SimpleMod() {
  module_builder::ModBuilder mod;
  module_builder::ModSampleSpec s;
  s.data = module_builder::Square8(64, 16, 64);
  s.loopStartWords = 0;
  s.loopLengthWords = 32;
  mod.samples.push_back(s);
  mod.Cell(0, 0, 0) = {48, 1, 0, 0};
  return mod;
}

// A 2-channel XM: one pattern, one instrument with one looping 8-bit square sample.
inline module_builder::XmBuilder SimpleXm() {
  module_builder::XmBuilder xm;
  module_builder::XmInstrumentSpec ins;
  module_builder::XmSampleSpec s;
  s.data = module_builder::Square16(64, 16, 16384);
  s.loopStart = 0;
  s.loopLength = 64;
  s.loopType = 1;
  ins.samples.push_back(s);
  xm.instruments.push_back(ins);
  xm.Cell(0, 0, 0) = {49, 1, 0, 0, 0};
  return xm;
}

}  // namespace music_test
