// One XM tick: notes and key-off, the volume column, fade-out, effects, envelope and pan.
#include <algorithm>

#include "music/music_tables.h"
#include "music/xm_song.h"

namespace {

constexpr int EffectTonePorta = 3;
constexpr int EffectTonePortaVolSlide = 5;
constexpr int EffectExtended = 14;
constexpr int ExtendedNoteDelay = 13;
constexpr int FadeoutFull = 65536;
constexpr int EnvelopeTickLimit = 1 << 30;

}  // namespace

Tunemix_XM::Tunemix_XM() {
  patternDelayNeedsInstrument = true;
  rate = 44100;
  masterVolume = 0.2;
  maxChannels = 32;
  maxPatterns = 256;
  maxOrders = 1024;
  maxInstruments = 256;
  patterns.assign(maxPatterns, nullptr);
  orders.assign(maxOrders, 0);
  instruments.assign(maxInstruments, nullptr);
}

void Tunemix_XM::TriggerRow(int c, const Tunemix_Track* track) {
  const int n = track->notes[row];
  const int ins = track->instrumentNumbers[row];
  const int eff = track->effects[row];
  const bool porta = eff == EffectTonePorta || eff == EffectTonePortaVolSlide;
  const bool delay = eff == EffectExtended && track->paramHigh[row] == ExtendedNoteDelay;
  auto resetEnvelope = [this, c] {
    chPanning[c] = chSample[c]->panning;
    chKeyOff[c] = 0;
    chFadeout[c] = 0;
    chEnvTick[c] = 0;
    chEnvIndex[c] = 0;
  };
  auto volumeFromSample = [this, c] {
    chVolume[c] = std::clamp(chSample[c]->volume, 0, 64);
    chBaseGain[c] = VolumeTable[chVolume[c]];
  };
  auto startNote = [this, c, n, delay] {
    chPitch[c] = n;
    chVibPos[c] = 0;
    if (delay) return;
    chPosition[c] = 0.0;
    chStep[c] = NoteToFrequency(*chSample[c], n) / rate;
    chFadeIn[c] = chCrossfade[c] = rampLength;
  };

  if (n == NoteKeyOff) {
    chKeyOff[c] = 1;
  } else if (ins != 0 && n != 0) {
    chInstrument[c] = InstrumentAt(ins);
    if (!chInstrument[c]) return SilenceChannel(c);
    chSample[c] = chInstrument[c]->SampleForNote(n);
    if (!chSample[c]) return;
    volumeFromSample();
    resetEnvelope();
    if (!porta) startNote();
  } else if (n != 0) {
    if (!chInstrument[c]) return SilenceChannel(c);
    chSample[c] = chInstrument[c]->SampleForNote(n);
    if (!chSample[c] || eff == EffectTonePorta) return;
    resetEnvelope();
    if (!porta) startNote();
  } else if (ins != 0) {
    chInstrument[c] = InstrumentAt(ins);
    if (!chInstrument[c]) return SilenceChannel(c);
    chSample[c] = chInstrument[c]->SampleForNote(TruncNote(chPitch[c]));
    if (!chSample[c]) return;
    chVibPos[c] = 0;
    volumeFromSample();
    resetEnvelope();
    chCrossfade[c] = rampLength;
  }
}

void Tunemix_XM::VolumeColumn(int c, int v, int note) {
  const int low = v & 15;
  int& volume = chVolume[c];
  switch (v >> 4) {
    case 1: case 2: case 3: case 4:
      volume = v - 0x10;
      break;
    case 5:
      if (v != 0x50) return;  // 0x51..0x5F are not volumes
      volume = 64;
      break;
    case 6: volume = std::max(volume - low, 0); break;
    case 7: volume = std::min(volume + low, 64); break;
    case 8:
      if (tick != 0) return;
      volume = std::max(volume - low, 0);
      break;
    case 9:
      if (tick != 0) return;
      volume = std::min(volume + low, 64);
      break;
    case 10: chVibSpeed[c] = low; return;
    case 11: return;
    case 12: chPanning[c] = std::clamp(low * 8 - 128, -128, 128); return;
    case 13: chPanning[c] = std::max(chPanning[c] - low, -128.0); return;
    case 14: chPanning[c] = std::min(chPanning[c] + low, 128.0); return;
    case 15:
      if (tick == 0) {
        if (note > 0) chPortaTarget[c] = note;
        if (v >= 0xF1) chPortaSpeed[c] = 0.0470588f * static_cast<float>(v - 0xF0);
      }
      TonePortaStep(c);
      return;
    default: return;
  }
  chBaseGain[c] = VolumeTable[std::clamp(volume, 0, 64)];
}

void Tunemix_XM::FormatEffect(int c, int eff, int param, int, int) {
  // XM pans run -128..128 (the tick divides by 128): 00 is left, 80 centre, FF right.
  if (eff == 0x8 && tick == 0) chPanning[c] = param - 128;
  // 7, G, H, L, P, R, T, X, Y, E3, E4, E7, E8, the rest of E and unknown effects do nothing.
}

void Tunemix_XM::Update() {
  const Tunemix_Pattern* current = PatternAt(pattern);
  const int channels = std::min(channelCount, static_cast<int>(chStep.size()));
  for (int c = 0; c < channels; ++c) {
    if (chEnvTick[c] < EnvelopeTickLimit) ++chEnvTick[c];
    const Tunemix_Track* track = TrackAt(current, c);
    if (track && tick == 0) TriggerRow(c, track);
    const int v = track ? track->volumes[row] : 0;
    if (chInstrument[c] && v > 0) VolumeColumn(c, v, track->notes[row]);
    if (chKeyOff[c] && chInstrument[c]) {
      const int fade = chInstrument[c]->fadeout;
      chFadeout[c] = fade == 0 ? FadeoutFull : std::min(chFadeout[c] + fade * 32, FadeoutFull);
    }
    if (track) ApplyEffect(c, track);

    if (!chInstrument[c]) continue;
    double gain = chInstrument[c]->EnvelopeValue(chEnvTick[c], chEnvIndex[c]) * chBaseGain[c];
    if (chKeyOff[c]) gain *= 1.0 - chFadeout[c] / 65536.0;
    chGain[c] = gain;
    SetPanGains(c, chPanning[c] / 128.0);
  }

  framesToTick = FramesPerTick(rate, static_cast<long long>(tempo) + 1);
  if (static_cast<long long>(tick) + 1 < speed) {
    ++tick;
  } else if (patternDelay > 0) {
    --patternDelay;
    ++tick;
  } else {
    NextRow();
    jumpFlag = -1;
    tick = 0;
  }
}
