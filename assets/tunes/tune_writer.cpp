// Writes a tune's score as a 4-channel MOD or as an XM, with the synthesised instruments.
#include <algorithm>
#include <cmath>

#include "assets/tunes/tune_score.h"
#include "music/module_builder.h"

using namespace module_builder;

namespace {

constexpr int ModVoices = 4;
constexpr int EffectSetVolume = 0xC;
constexpr int EffectSpeedTempo = 0xF;
constexpr int XmKeyOff = 97;
constexpr int XmVolumeColumn = 0x10;

const char* const InstrumentNames[] = {"lead", "bass", "kick", "snare", "hihat", "chords"};
// A note starts at its instrument's volume where the cell cannot set one (beside an arpeggio).
const int DefaultVolumes[] = {44, 48, 64, 52, 32, 20};

TuneInstrument InstrumentNumber(int index) { return static_cast<TuneInstrument>(index + 1); }

// The effect a MOD cell carries: the score's own, else the volume as Cxx.
void ModEffect(const TuneCell& cell, ModCell& out) {
  if (cell.note == NoteRest) {
    out.effect = EffectSetVolume, out.param = 0;
  } else if (cell.effect != 0 || cell.param != 0) {
    out.effect = cell.effect, out.param = cell.param;
  } else if (cell.volume >= 0) {
    out.effect = EffectSetVolume, out.param = cell.volume;
  }
}

// MOD files keep no tempo in their header: the first rows set speed and tempo, in the first
// cells whose effect is free.
void SetSpeedAndTempo(const TuneScore& score, ModBuilder& mod) {
  std::vector<int> values = {score.speed, score.tempo};
  const int first = score.orders.front();
  for (int row = 0; row < RowsPerBar && !values.empty(); ++row) {
    for (int voice = 0; voice < ModVoices && !values.empty(); ++voice) {
      ModCell& cell = mod.Cell(first, row, voice);
      if (cell.effect != 0 || cell.param != 0) continue;
      cell.effect = EffectSpeedTempo;
      cell.param = values.front();
      values.erase(values.begin());
    }
  }
}

}  // namespace

std::vector<uint8_t> WriteTuneMod(const TuneScore& score) {
  ModBuilder mod;
  mod.songName = score.title;
  for (int i = 0; i < InstrumentCount; ++i) {
    const TuneWave wave = InstrumentWave(InstrumentNumber(i));
    ModSampleSpec sample;
    sample.name = InstrumentNames[i];
    sample.volume = DefaultVolumes[i];
    for (float v : wave.frames) sample.data.push_back(static_cast<int8_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 110)));
    if (sample.data.size() % 2) sample.data.push_back(0);
    if (wave.loops) sample.loopLengthWords = static_cast<int>(sample.data.size() / 2);
    mod.samples.push_back(sample);
  }
  mod.orders = score.orders;
  for (size_t p = 0; p < score.patterns.size(); ++p) {
    for (int row = 0; row < RowsPerPattern; ++row) {
      for (int voice = 0; voice < std::min(score.voices, ModVoices); ++voice) {
        const TuneCell& cell = score.patterns[p][row * score.voices + voice];
        ModCell& out = mod.Cell(static_cast<int>(p), row, voice);
        if (cell.note > 0) out.note = cell.note, out.instrument = cell.instrument;
        ModEffect(cell, out);
      }
    }
  }
  SetSpeedAndTempo(score, mod);
  return mod.Build();
}

std::vector<uint8_t> WriteTuneXm(const TuneScore& score) {
  static const int pans[] = {150, 128, 128, 112, 176, 96};  // per instrument, 128 the centre
  XmBuilder xm;
  xm.songName = score.title;
  xm.channels = score.voices;
  xm.speed = score.speed;
  xm.bpm = score.tempo;
  xm.orders = score.orders;
  for (int i = 0; i < InstrumentCount; ++i) {
    const TuneWave wave = InstrumentWave(InstrumentNumber(i));
    XmSampleSpec sample;
    sample.name = InstrumentNames[i];
    sample.sixteenBit = true;
    sample.volume = DefaultVolumes[i];
    sample.panning = pans[i];
    for (float v : wave.frames) sample.data.push_back(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 24000)));
    if (wave.loops) {
      sample.loopType = 1;
      sample.loopLength = static_cast<uint32_t>(sample.data.size() * 2);
    }
    XmInstrumentSpec instrument;
    instrument.name = InstrumentNames[i];
    instrument.samples = {sample};
    if (InstrumentNumber(i) == Lead || InstrumentNumber(i) == Chords) {
      // A plucked start that settles, and a short fade after the key is let go.
      instrument.envelope = {{0, 64}, {6, 46}, {30, 38}};
      instrument.volumeType = 3;
      instrument.sustainPoint = 3;
      instrument.fadeout = 1200;
    }
    xm.instruments.push_back(instrument);
  }
  for (size_t p = 0; p < score.patterns.size(); ++p) {
    for (int row = 0; row < RowsPerPattern; ++row) {
      for (int voice = 0; voice < score.voices; ++voice) {
        const TuneCell& cell = score.patterns[p][row * score.voices + voice];
        XmCell& out = xm.Cell(static_cast<int>(p), row, voice);
        if (cell.note > 0) out.note = cell.note + 1, out.instrument = cell.instrument;
        if (cell.note == NoteRest) out.note = XmKeyOff;
        if (cell.volume >= 0) out.volume = XmVolumeColumn + cell.volume;
        out.effect = cell.effect;
        out.param = cell.param;
      }
    }
  }
  return xm.Build();
}
