// The mixer's channel set-up, restart and the 16-bit stereo fill loop.
#include "music/mixer.h"

#include <algorithm>
#include <climits>

#include "music/mixer_simd.h"

Tunemix_Mixer::Tunemix_Mixer() : rampStep(1.0f / static_cast<float>(rampLength)) {
  rowEvent.source = this;
}

int FramesPerTick(int rate, long long beats) {
  beats = std::clamp(beats, 1LL, 1LL << 24);
  const float tickBeats = static_cast<float>(beats) * 0.4f;
  const float frames = static_cast<float>(rate) / tickBeats;
  if (!(frames > 0.0f)) return 0;
  if (!(frames < 2147483520.0f)) return 2147483520;
  return static_cast<int>(frames);
}

int Tunemix_Mixer::SetInfo(int key, int value) {
  if (key == InfoFormat) return value == FormatStereo16 ? 1 : 0;
  if (key == InfoRate && value < 1) return 0;
  return TMusic::SetInfo(key, value);
}

void Tunemix_Mixer::SetChannels(int count) {
  const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  chSample.assign(n, nullptr);
  chInstrument.assign(n, nullptr);
  for (auto* doubles : {&chPosition, &chStep, &chBaseGain, &chPanning, &chPitch, &chPortaSpeed,
                        &chGain, &chPan, &chLastValue}) {
    doubles->assign(n, 0.0);
  }
  for (auto* ints : {&chEnvTick, &chArpState, &chEnvIndex, &chKeyOff, &chFadeout, &chPortaMemory,
                     &chVolume, &chPortaTarget, &chVibWave, &chVibSpeed, &chVibDepth, &chVibPos,
                     &chTremWave, &chTremSpeed, &chTremDepth, &chTremPos, &chFadeIn, &chCrossfade}) {
    ints->assign(n, 0);
  }
  chLeftGain.assign(n, 0.0f);
  chRightGain.assign(n, 0.0f);
  chPassPlayback.assign(n, PassPlayback{});
}

void Tunemix_Mixer::SetChannelRate(int channel, double hz) {
  if (channel < 0 || channel >= static_cast<int>(chStep.size())) return;
  chStep[channel] = chStep[channel] > 0 ? hz / rate : -hz / rate;
}

void Tunemix_Mixer::StopAll() {
  playing = 0;
  for (size_t c = 0; c < chStep.size(); ++c) {
    chStep[c] = 0.0;
    chInstrument[c] = nullptr;
    chSample[c] = nullptr;
    chPosition[c] = 0.0;
  }
}

void Tunemix_Mixer::Restart() {
  StopAll();
  position = 0;
  tick = 0;
  row = 0;
  tempo = defaultTempo;
  speed = defaultSpeed;
  order = 0;
  pattern = orders.empty() ? 0 : orders[0];
}

Tunemix_Pattern* Tunemix_Mixer::PatternAt(int n) const {
  if (n < 0 || n >= static_cast<int>(patterns.size())) return nullptr;
  return patterns[n].get();
}

namespace {

int16_t ClipToShort(double value) {
  if (value > 32767.0) return 32767;
  if (value < -32767.0) return -32767;
  if (value != value) return 0;  // NaN
  return static_cast<int16_t>(value);
}

}  // namespace

void Tunemix_Mixer::MixChannel(int c, int frames, bool leftOnly) {
  const bool wide = interpolation == 2 && MixerHasAvx2();
  Voice voice{chPosition[c],
              chStep[c],
              chFadeIn[c],
              chCrossfade[c],
              chLastValue[c],
              chGain[c],
              chPan[c],
              chLeftGain[c],
              chRightGain[c],
              wide ? LoopSeamOf(seamTables_, chSample[c]) : nullptr,
              wide ? &passCache_ : nullptr,
              &chPassPlayback[c],
              leftOnly};
  MixVoice(voice, chSample[c].get(), interpolation, frames, rampStep, mixLeft_, mixRight_);
  chPosition[c] = voice.position;
  chStep[c] = voice.step;
  chFadeIn[c] = voice.fadeIn;
  chCrossfade[c] = voice.crossfade;
  chLastValue[c] = voice.lastValue;
}

int Tunemix_Mixer::FillBuffer(void* buffer, int byteCount) {
  // Always 16-bit stereo: four bytes a frame, whatever the format field says.
  const int frames = byteCount > 0 ? byteCount / 4 : 0;
  if (!buffer || frames == 0) return 0;
  auto* out = static_cast<int16_t*>(buffer);
  const int channels = std::min(channelCount, static_cast<int>(chStep.size()));

  // A tick begins exactly on a frame boundary, so the frames between two ticks are mixed
  // channel by channel; the sums per frame are taken in the same channel order.
  int done = 0;
  while (done < frames) {
    if (framesToTick <= 0) Update();
    const int run = std::min({std::max(framesToTick, 1), frames - done, MixBlock});
    std::fill(mixLeft_, mixLeft_ + run, 0.0);
    // While every channel so far is centred, both sides hold the same sums: the left side
    // alone is summed, and copied to the right at the first channel that is not.
    bool sidesEqual = true;
    for (int c = 0; c < channels; ++c) {
      if (sidesEqual && chPan[c] != 0.0) {
        std::copy(mixLeft_, mixLeft_ + run, mixRight_);
        sidesEqual = false;
      }
      MixChannel(c, run, sidesEqual);
    }
    const double* right = sidesEqual ? mixLeft_ : mixRight_;
    const int clipped = MixerHasAvx2() ? run & ~3 : 0;
    if (clipped > 0) ClipToShortsAvx2(mixLeft_, right, masterVolume, clipped, out + 2 * done);
    for (int f = clipped; f < run; ++f) {
      out[2 * (done + f)] = ClipToShort(mixLeft_[f] * masterVolume);
      out[2 * (done + f) + 1] = ClipToShort(right[f] * masterVolume);
    }
    framesToTick -= run;
    done += run;
  }
  position = static_cast<int>(static_cast<unsigned>(position) + static_cast<unsigned>(frames));
  return 0;
}
