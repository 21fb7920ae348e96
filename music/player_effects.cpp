// The tracker effect handlers and the per-tick steps of slides, portamento, vibrato, tremolo.
//
// A channel can hold a step while its sample is gone (a note on an instrument without that
// sample): every handler that touches the sample checks that there is one.
#include <algorithm>

#include "music/music_tables.h"
#include "music/player.h"
#include "platform/clock.h"

namespace {

// Vibrato and tremolo waveforms: 0-2 (and 4-6, which keep their position on new notes)
// sine, ramp, square; 3 and 7 random. The level at a table position, or 0.
float WaveLevel(int wave, int position) {
  position &= 63;
  switch (wave) {
    case 0: case 4: return VibratoSine[position];
    case 1: case 5: return VibratoRamp[position];
    case 2: case 6: return VibratoSquare[position];
    case 3: case 7: return Rnd(-1.0f, 1.0f);
    default: return 0.0f;
  }
}

int ClampVolume(int volume) { return std::clamp(volume, 0, 64); }

}  // namespace

void Tunemix_Player::SetRateForPitch(int c, double pitch) {
  if (!chSample[c]) return;
  SetChannelRate(c, NoteToFrequency(*chSample[c], pitch));
}

void Tunemix_Player::StartSample(int c) {
  if (!chSample[c]) return;
  chPosition[c] = 0.0;
  chStep[c] = NoteToFrequency(*chSample[c], chPitch[c]) / rate;
}

std::shared_ptr<Tunemix_Instrument> Tunemix_Player::InstrumentAt(int n) const {
  return n >= 0 && n < static_cast<int>(instruments.size()) ? instruments[n] : nullptr;
}

void Tunemix_Player::SilenceChannel(int c) {
  chSample[c] = nullptr;
  chCrossfade[c] = rampLength;
}

void Tunemix_Player::RefreshGain(int c) { chBaseGain[c] = VolumeTable[ClampVolume(chVolume[c])]; }

void Tunemix_Player::SetPanGains(int c, double p) {
  chPan[c] = p;
  if (p > 0) {
    chLeftGain[c] = static_cast<float>(1.0 - p);
    chRightGain[c] = 1.0f;
  } else if (p < 0) {
    chLeftGain[c] = 1.0f;
    chRightGain[c] = static_cast<float>(1.0 + p);
  } else {
    chLeftGain[c] = 1.0f;
    chRightGain[c] = 1.0f;
  }
}

void Tunemix_Player::Arpeggio(int c, int param, int x, int y) {
  if (chStep[c] == 0.0 || !chSample[c]) return;
  if (param != 0) {
    switch (chArpState[c]) {
      case 0: SetRateForPitch(c, chPitch[c]); chArpState[c] = 1; break;
      case 1: SetRateForPitch(c, chPitch[c] + x); chArpState[c] = 2; break;
      default: SetRateForPitch(c, chPitch[c] + y); chArpState[c] = 0; break;
    }
  } else if (tick == 0 && chArpState[c] != 1) {
    SetRateForPitch(c, chPitch[c]);
    chArpState[c] = 1;
  }
}

void Tunemix_Player::PortaUp(int c, int, int param) {
  if (chStep[c] == 0.0) return;
  if (param > 0) chPortaMemory[c] = param;
  chPitch[c] += portaStep * chPortaMemory[c];
  SetRateForPitch(c, chPitch[c]);
}

void Tunemix_Player::PortaDown(int c, int, int param) {
  if (chStep[c] == 0.0) return;
  if (param > 0) chPortaMemory[c] = param;
  chPitch[c] -= portaStep * chPortaMemory[c];
  SetRateForPitch(c, chPitch[c]);
}

void Tunemix_Player::TonePortaSetup(int c, int note, int param) {
  if (chStep[c] == 0.0) return;
  if (tick == 0) {
    if (note > 0) chPortaTarget[c] = note;
    if (param > 0) chPortaSpeed[c] = tonePortaUnit * param;
    if (note == 0 && chPortaTarget[c] > 0) TonePortaStep(c);
  } else if (chPortaTarget[c] > 0) {
    TonePortaStep(c);
  }
}

void Tunemix_Player::VibratoSetup(int c, int x, int y) {
  if (chStep[c] == 0.0) return;
  if (tick == 0) {
    if (x > 0) chVibSpeed[c] = x;
    if (y > 0) chVibDepth[c] = y;
  } else {
    VibratoStep(c);
  }
}

void Tunemix_Player::TremoloSetup(int c, int x, int y) {
  if (tick == 0) {
    if (x > 0) chTremSpeed[c] = x;
    if (y > 0) chTremDepth[c] = y;
  } else {
    TremoloStep(c);
  }
}

void Tunemix_Player::TonePortaVolSlide(int c, int note, int x, int y) {
  if (note > 0) chPortaTarget[c] = note;
  if (chPortaTarget[c] > 0) TonePortaStep(c);
  VolumeSlideStep(c, x, y);
}

void Tunemix_Player::VibratoVolSlide(int c, int note, int x, int y) {
  if (tick == 0 && note != 0) return;
  VibratoStep(c);
  VolumeSlideStep(c, x, y);
}

void Tunemix_Player::SetPanning(int c, int param) {
  if (tick == 0) chPanning[c] = (param - 128) * 0.0078125;
}

void Tunemix_Player::SampleOffset(int c, int param) {
  if (tick != 0 || !chSample[c]) return;
  const int offset = param * 256;
  if (chSample[c]->length < offset) return;
  chStep[c] = NoteToFrequency(*chSample[c], chPitch[c]) / rate;
  chPosition[c] = offset;
  RefreshGain(c);
}

void Tunemix_Player::VolumeSlide(int c, int note, int x, int y) {
  if (tick == 0 && note != 0) return;
  VolumeSlideStep(c, x, y);
}

void Tunemix_Player::PositionJump(int param) { jumpOrder = param; }

void Tunemix_Player::SetVolume(int c, int param) {
  if (tick != 0) return;
  chFadeIn[c] = chCrossfade[c] = rampLength;
  chVolume[c] = std::min(param, 64);
  RefreshGain(c);
}

void Tunemix_Player::PatternBreak(int param) {
  if (tick != 0) return;
  breakRow = param;
  jumpOrder = order < lastOrder ? order + 1 : 0;
}

void Tunemix_Player::FinePortaUp(int c, int y) {
  if (tick != 0) return;
  chPitch[c] += portaStep * y;
  SetRateForPitch(c, chPitch[c]);
}

void Tunemix_Player::FinePortaDown(int c, int y) {
  if (tick != 0) return;
  chPitch[c] -= portaStep * y;
  SetRateForPitch(c, chPitch[c]);
}

void Tunemix_Player::SetVibratoWaveform(int c, int y) {
  if (tick == 0) chVibWave[c] = y;
}

void Tunemix_Player::SetFinetune(int c, int y) {
  if (tick != 0 || !chSample[c]) return;
  int f = y > 7 ? y - 16 : y;
  if (f < -7) f = -7;
  chSample[c]->finetune = 0.125 * f;  // shared by every channel playing the sample
  SetRateForPitch(c, chPitch[c]);
}

void Tunemix_Player::PatternLoop(int y) {
  if (tick != 0) return;
  if (y == 0) {
    loopStartRow = row;
    return;
  }
  jumpFlag = 1;
  if (loopCount == -1 && row > loopMarker) {
    loopCount = y;
    loopMarker = row;
  } else if (loopCount == 0) {
    loopCount = -1;
    jumpFlag = -1;
  }
}

void Tunemix_Player::SetTremoloWaveform(int c, int y) {
  if (tick == 0) chTremWave[c] = y;
}

void Tunemix_Player::SetPanningCoarse(int c, int y) {
  if (tick == 0) chPanning[c] = (y - 8) * 0.125;
}

void Tunemix_Player::Retrigger(int c, int y) {
  // E90 would retrigger "every 0 ticks": it does nothing.
  if (y < 1 || tick % y != 0 || !chSample[c]) return;
  StartSample(c);
  RefreshGain(c);
  chCrossfade[c] = rampLength;
}

void Tunemix_Player::FineVolumeUp(int c, int y) {
  if (tick != 0) return;
  chVolume[c] = std::min(chVolume[c] + y, 64);
  RefreshGain(c);
}

void Tunemix_Player::FineVolumeDown(int c, int y) {
  if (tick != 0) return;
  chVolume[c] = std::max(chVolume[c] - y, 0);
  RefreshGain(c);
}

void Tunemix_Player::NoteCut(int c, int y) {
  if (tick != y) return;
  chVolume[c] = 0;
  chBaseGain[c] = 0.0;
  chCrossfade[c] = rampLength;
}

void Tunemix_Player::NoteDelay(int c, int y) {
  if (tick != y || !chSample[c]) return;
  StartSample(c);
  RefreshGain(c);
}

void Tunemix_Player::PatternDelay(int y) {
  if (tick == 0) patternDelay = static_cast<int>(std::clamp(1LL * y * speed, 0LL, 1LL << 30));
}

void Tunemix_Player::SetSpeedTempo(int param) {
  if (tick != 0) return;
  if (param >= 32) {
    tempo = param;
  } else if (param >= 1) {
    speed = param;
  }
}

void Tunemix_Player::VolumeSlideStep(int c, int x, int y) {
  if (x >= 1 && y >= 1) return;
  if (x >= 1) {
    chVolume[c] = std::min(chVolume[c] + x, 64);
  } else if (y >= 1) {
    chVolume[c] = std::max(chVolume[c] - y, 0);
  } else {
    return;
  }
  RefreshGain(c);
}

void Tunemix_Player::TonePortaStep(int c) {
  const double target = chPortaTarget[c];
  if (chPitch[c] < target) {
    chPitch[c] = std::min(chPitch[c] + chPortaSpeed[c], target);
    SetRateForPitch(c, chPitch[c]);
  } else if (chPitch[c] > target) {
    chPitch[c] = std::max(chPitch[c] - chPortaSpeed[c], target);
    SetRateForPitch(c, chPitch[c]);
  }
}

void Tunemix_Player::VibratoStep(int c) {
  chVibPos[c] = (chVibPos[c] + chVibSpeed[c]) & 63;
  const float offset = 0.125f * WaveLevel(chVibWave[c], chVibPos[c]) * static_cast<float>(chVibDepth[c]);
  SetRateForPitch(c, chPitch[c] + offset);
}

void Tunemix_Player::TremoloStep(int c) {
  chTremPos[c] = (chTremPos[c] + chTremSpeed[c]) & 63;
  const float offset = 0.125f * WaveLevel(chTremWave[c], chTremPos[c]) * static_cast<float>(chTremDepth[c]);
  const float level = static_cast<float>(chVolume[c]) + offset;
  const int v = ClampVolume(static_cast<int>(std::clamp(level, -1.0f, 65.0f)));
  chBaseGain[c] = VolumeTable[v];
}
