// The tracker's sound engine: song tables, voices ("channels") and the 16-bit stereo mixer.
//
// It knows nothing of patterns or effects: once per tick it calls the abstract Update, which
// the tracker classes implement, and between ticks it resamples each channel's sample.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "music/instrument.h"
#include "music/mixer_voice.h"
#include "music/music.h"
#include "music/pattern.h"
#include "music/sample.h"

class Tunemix_Mixer;

// Emitted on every new row while rowEvents is 1.
struct MusicRowEvent {
  static constexpr int Id = 501;
  Tunemix_Mixer* source = nullptr;
  int data = 0;                 // the tick the row ended on
};

class Tunemix_Mixer : public TMusic {
 public:
  Tunemix_Mixer();

  // Song tables, filled by the loaders.
  int maxChannels = 0;
  int maxPatterns = 0;
  int maxOrders = 0;
  int maxInstruments = 0;
  int channelCount = 0;
  int lastOrder = 0;            // song length - 1
  int instrumentCount = 0;
  std::string trackerName;
  int defaultTempo = 125;
  int defaultSpeed = 6;
  int headerFlags = 1;
  std::string songName;
  std::vector<std::shared_ptr<Tunemix_Instrument>> instruments;
  std::vector<PatternPtr> patterns;
  std::vector<int> orders;

  // Playback.
  int pattern = 0;              // orders[order]
  int row = 0;
  int order = 0;
  int tempo = 125;
  int speed = 6;
  int tick = 0;
  int framesToTick = 0;         // output frames left until the next Update
  int interpolation = 1;        // 0 nearest, 1 linear, 2 cubic
  double masterVolume = 0.5;
  float panSeparation = 1.0f;
  int panEnvelopeCentre = 32;
  int rampLength = 4;
  float rampStep;               // 1 / rampLength
  int rowEvents = 0;
  MusicRowEvent rowEvent;
  std::function<void(const MusicRowEvent&)> onRowEvent;  // receives the row events

  // Per-channel state, channelCount entries each after SetChannels.
  std::vector<std::shared_ptr<Tunemix_Sample>> chSample;
  std::vector<std::shared_ptr<Tunemix_Instrument>> chInstrument;
  std::vector<double> chPosition;
  std::vector<double> chStep;        // negative while a ping-pong loop plays backwards; 0 silent
  std::vector<double> chBaseGain;
  std::vector<double> chPanning;
  std::vector<double> chPitch;
  std::vector<int> chEnvTick, chArpState, chEnvIndex, chKeyOff, chFadeout, chPortaMemory;
  std::vector<int> chVolume;
  std::vector<int> chPortaTarget;
  std::vector<double> chPortaSpeed;
  std::vector<int> chVibWave, chVibSpeed, chVibDepth, chVibPos;
  std::vector<int> chTremWave, chTremSpeed, chTremDepth, chTremPos;
  std::vector<double> chGain;        // final gain, set by the ticks
  std::vector<double> chPan;         // final pan -1..1, set by the ticks
  std::vector<double> chLastValue;
  std::vector<int> chFadeIn, chCrossfade;
  std::vector<float> chLeftGain, chRightGain;
  std::vector<PassPlayback> chPassPlayback;  // where each channel is in the kept passes

  // Renders byteCount / 4 frames of interleaved 16-bit stereo into buffer.
  int FillBuffer(void* buffer, int byteCount) override;
  // The mixer renders 16-bit stereo only and needs a positive rate: other formats and
  // rates below 1 are refused.
  int SetInfo(int key, int value) override;

  virtual void SetChannels(int count);   // fresh, zeroed channel arrays
  virtual void SetChannelRate(int channel, double hz);
  virtual void Restart();
  virtual void StopAll();
  virtual void Update() = 0;             // one tick; sets framesToTick

  // The pattern numbered n, or Null when there is none.
  Tunemix_Pattern* PatternAt(int n) const;

 private:
  static constexpr int MixBlock = 1024;
  double mixLeft_[MixBlock];
  double mixRight_[MixBlock];
  // What the wide loops keep of the short forward loops played.
  LoopSeamTables seamTables_;
  LoopPassCache passCache_;
  void MixChannel(int c, int frames, bool leftOnly);
};

// Frames in one tick at a rate, for a tick length of rate / (beats * 0.4) computed in single
// precision; beats below 1 count as 1.
int FramesPerTick(int rate, long long beats);
