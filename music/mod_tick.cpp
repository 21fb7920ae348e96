// One MOD tick: the row's notes on tick 0, the effects on every tick, gains, tick length.
#include "music/mod_song.h"

#include <algorithm>

#include "music/music_tables.h"

namespace {

constexpr int EffectTonePorta = 3;
constexpr int EffectTonePortaVolSlide = 5;
constexpr int EffectExtended = 14;
constexpr int ExtendedNoteDelay = 13;

}  // namespace

Tunemix_MOD::Tunemix_MOD() {
  rate = 22050;
  masterVolume = 0.5;
  maxChannels = 32;
  maxPatterns = 128;
  maxOrders = 128;
  maxInstruments = 128;
  patterns.assign(maxPatterns, nullptr);
  orders.assign(maxOrders, 0);
  instruments.assign(maxInstruments, nullptr);
}

void Tunemix_MOD::TriggerRow(int c, const Tunemix_Track* track) {
  const int ins = track->instrumentNumbers[row];
  const int note = track->notes[row];
  const int eff = track->effects[row];
  const bool porta = eff == EffectTonePorta || eff == EffectTonePortaVolSlide;
  const bool delay = eff == EffectExtended && track->paramHigh[row] == ExtendedNoteDelay;
  auto resetWaves = [this, c] {
    if (chVibWave[c] < 4) chVibPos[c] = 0;
    if (chTremWave[c] < 4) chTremPos[c] = 0;
  };
  auto startNote = [this, c, note, delay] {
    chPitch[c] = note;
    if (delay) return;
    chPosition[c] = 0.0;
    chStep[c] = NoteToFrequency(*chSample[c], note) / rate;
    chFadeIn[c] = chCrossfade[c] = rampLength;
  };
  if (ins != 0 && note != 0) {
    resetWaves();
    chInstrument[c] = InstrumentAt(ins);
    if (!chInstrument[c]) return SilenceChannel(c);
    chSample[c] = chInstrument[c]->SampleForNote(note);
    if (!chSample[c]) return;
    chVolume[c] = std::min(std::max(chSample[c]->volume, 0), 64);
    chBaseGain[c] = VolumeTable[chVolume[c]];
    if (!porta) startNote();
  } else if (note != 0) {
    if (!chInstrument[c]) return SilenceChannel(c);
    resetWaves();
    chSample[c] = chInstrument[c]->SampleForNote(note);
    if (chSample[c] && !porta) startNote();
  } else if (ins != 0) {
    chInstrument[c] = InstrumentAt(ins);
    if (!chInstrument[c]) return SilenceChannel(c);
    chSample[c] = chInstrument[c]->SampleForNote(TruncNote(chPitch[c]));
    if (!chSample[c]) return;
    chStep[c] = NoteToFrequency(*chSample[c], chPitch[c]) / rate;
    chVolume[c] = std::min(std::max(chSample[c]->volume, 0), 64);
    chBaseGain[c] = VolumeTable[chVolume[c]];
    chCrossfade[c] = rampLength;
  }
}

void Tunemix_MOD::FormatEffect(int c, int eff, int param, int hi, int lo) {
  switch (eff) {
    case 0x7: TremoloSetup(c, hi, lo); break;
    case 0x8: SetPanning(c, param); break;
    case EffectExtended:
      switch (hi) {
        case 4: SetVibratoWaveform(c, lo); break;
        case 7: SetTremoloWaveform(c, lo); break;
        case 8: SetPanningCoarse(c, lo); break;
        default: break;  // E0, E3, EF
      }
      break;
    default: break;
  }
}

void Tunemix_MOD::Update() {
  const Tunemix_Pattern* current = PatternAt(pattern);
  const int channels = std::min(channelCount, static_cast<int>(chStep.size()));
  for (int c = 0; c < channels; ++c) {
    const Tunemix_Track* track = TrackAt(current, c);
    if (track) {
      if (tick == 0) TriggerRow(c, track);
      ApplyEffect(c, track);
    }
    if (!chInstrument[c]) continue;
    chGain[c] = chBaseGain[c];
    SetPanGains(c, chPanning[c] * panSeparation);
  }

  framesToTick = FramesPerTick(rate, tempo);
  ++tick;
  // ">=" rather than "==": the tick runs past the speed while a pattern delay counts down.
  if (tick >= speed) {
    if (patternDelay > 0) {
      --patternDelay;
    } else {
      NextRow();
      jumpFlag = -1;
      tick = 0;
    }
  }
}
