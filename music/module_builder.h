// Builds MOD and XM files in memory: the content generator's tunes, and the files of the music
// tests, fuzz seeds and benchmarks.
//
// Every field can be given a value a real file would never hold, so malformed files are
// built the same way as good ones.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "music/mod_song.h"

namespace module_builder {

inline void PutText(std::vector<uint8_t>& out, const std::string& text, size_t width) {
  for (size_t i = 0; i < width; ++i) out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}
inline void PutU16BE(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}
inline void PutU16LE(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutU32LE(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// One cell of a MOD pattern; note is a player note (PeriodTable index), 0 none.
struct ModCell {
  int note = 0;
  int instrument = 0;
  int effect = 0;
  int param = 0;
};

struct ModSampleSpec {
  std::string name = "sample";
  std::vector<int8_t> data;     // signed 8-bit PCM
  int lengthWords = -1;         // -1: from data
  int finetune = 0;
  int volume = 64;
  int loopStartWords = 0;
  int loopLengthWords = 1;      // 1 word: no loop
};

struct ModBuilder {
  std::string songName = "test song";
  std::string signature = "M.K.";  // "" writes the old 15-instrument layout
  int channels = 4;
  std::vector<int> orders = {0};
  int songLengthField = -1;        // -1: orders.size()
  std::vector<std::vector<ModCell>> patterns;
  std::vector<ModSampleSpec> samples;  // instruments 1..

  int Instruments() const { return signature.empty() ? 15 : 31; }

  ModCell& Cell(int pattern, int row, int channel) {
    while (static_cast<int>(patterns.size()) <= pattern) patterns.emplace_back(64 * channels);
    return patterns[pattern][row * channels + channel];
  }

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> out;
    PutText(out, songName, 20);
    for (int i = 0; i < Instruments(); ++i) {
      const ModSampleSpec* s = i < static_cast<int>(samples.size()) ? &samples[i] : nullptr;
      PutText(out, s ? s->name : "", 22);
      const int words = !s ? 0 : s->lengthWords >= 0 ? s->lengthWords : static_cast<int>(s->data.size() / 2);
      PutU16BE(out, words);
      out.push_back(static_cast<uint8_t>(s ? s->finetune : 0));
      out.push_back(static_cast<uint8_t>(s ? s->volume : 0));
      PutU16BE(out, s ? s->loopStartWords : 0);
      PutU16BE(out, s ? s->loopLengthWords : 1);
    }
    out.push_back(static_cast<uint8_t>(songLengthField >= 0 ? songLengthField : orders.size()));
    out.push_back(127);
    for (int i = 0; i < 128; ++i) out.push_back(static_cast<uint8_t>(i < static_cast<int>(orders.size()) ? orders[i] : 0));
    if (!signature.empty()) PutText(out, signature, 4);
    int stored = 0;
    for (int i = 0; i < static_cast<int>(orders.size()) && i <= 128; ++i) stored = std::max(stored, orders[i] & 127);
    for (int p = 0; p <= stored; ++p) {
      for (int cell = 0; cell < 64 * channels; ++cell) {
        ModCell c;
        if (p < static_cast<int>(patterns.size())) c = patterns[p][cell];
        const int period = c.note > 0 && c.note < 108 ? PeriodTable[c.note] : 0;
        out.push_back(static_cast<uint8_t>((c.instrument & 0xF0) | (period >> 8)));
        out.push_back(static_cast<uint8_t>(period));
        out.push_back(static_cast<uint8_t>(((c.instrument & 15) << 4) | (c.effect & 15)));
        out.push_back(static_cast<uint8_t>(c.param));
      }
    }
    for (const ModSampleSpec& s : samples) {
      for (int8_t b : s.data) out.push_back(static_cast<uint8_t>(b));
    }
    return out;
  }
};

// A square wave of period frames, amplitude in signed 8-bit steps.
inline std::vector<int8_t> Square8(int frames, int period, int amplitude) {
  std::vector<int8_t> wave(frames);
  for (int i = 0; i < frames; ++i) wave[i] = static_cast<int8_t>((i % period) < period / 2 ? amplitude : -amplitude);
  return wave;
}

// One cell of an XM pattern; note as stored in the file (1..96, 97 key-off), 0 none.
struct XmCell {
  int note = 0;
  int instrument = 0;
  int volume = 0;
  int effect = 0;
  int param = 0;
};

struct XmPatternSpec {
  int rows = 64;
  int rowsField = -1;      // -1: rows
  int packing = 0;
  bool unpacked = false;      // five bytes a cell instead of the packed form
  std::vector<XmCell> cells;  // rows * channels
};

struct XmSampleSpec {
  std::string name = "sample";
  std::vector<int16_t> data;   // values; 8-bit samples use the high byte
  bool sixteenBit = false;
  uint32_t lengthField = 0xFFFFFFFF;  // bytes; all ones: from data
  uint32_t loopStart = 0, loopLength = 0;  // in bytes, as stored
  int loopType = 0;            // type bits 0..1
  int volume = 64;
  int finetune = 0;            // signed
  int panning = 128;
  int relativeNote = 0;
};

struct XmInstrumentSpec {
  std::string name = "instrument";
  std::vector<XmSampleSpec> samples;
  int sampleCountField = -1;   // -1: samples.size()
  int keyMap[96] = {};
  std::vector<std::pair<int, int>> envelope;  // (tick, value), at most 12 written
  int volumePointCount = -1;   // -1: envelope.size()
  int sustainPoint = 0, loopStartPoint = 0, loopEndPoint = 0;
  int volumeType = 0;
  int fadeout = 0;
};

struct XmBuilder {
  std::string songName = "test xm";
  int channels = 2;
  int channelsField = -1;
  int speed = 6;
  int bpm = 125;
  std::vector<int> orders = {0};
  int songLengthField = -1;
  int patternCountField = -1;
  int instrumentCountField = -1;
  std::vector<XmPatternSpec> patterns;
  std::vector<XmInstrumentSpec> instruments;

  XmCell& Cell(int pattern, int row, int channel) {
    while (static_cast<int>(patterns.size()) <= pattern) {
      patterns.emplace_back();
      patterns.back().cells.resize(64 * channels);
    }
    XmPatternSpec& p = patterns[pattern];
    if (static_cast<int>(p.cells.size()) < p.rows * channels) p.cells.resize(p.rows * channels);
    return p.cells[row * channels + channel];
  }

  std::vector<uint8_t> Build() const {
    std::vector<uint8_t> out;
    PutText(out, "Extended Module: ", 17);
    PutText(out, songName, 20);
    out.push_back(0x1A);
    PutText(out, "module builder", 20);
    PutU16LE(out, 0x0104);
    PutU32LE(out, 276);
    PutU16LE(out, songLengthField >= 0 ? songLengthField : static_cast<int>(orders.size()));
    PutU16LE(out, 0);
    PutU16LE(out, channelsField >= 0 ? channelsField : channels);
    PutU16LE(out, patternCountField >= 0 ? patternCountField : static_cast<int>(patterns.size()));
    PutU16LE(out, instrumentCountField >= 0 ? instrumentCountField : static_cast<int>(instruments.size()));
    PutU16LE(out, 1);
    PutU16LE(out, speed);
    PutU16LE(out, bpm);
    for (int i = 0; i < 256; ++i) out.push_back(static_cast<uint8_t>(i < static_cast<int>(orders.size()) ? orders[i] : 0));

    for (const XmPatternSpec& p : patterns) {
      std::vector<uint8_t> packed;
      for (int cell = 0; cell < p.rows * channels; ++cell) {
        XmCell c = cell < static_cast<int>(p.cells.size()) ? p.cells[cell] : XmCell{};
        if (p.unpacked) {
          for (int value : {c.note, c.instrument, c.volume, c.effect, c.param}) packed.push_back(static_cast<uint8_t>(value));
          continue;
        }
        uint8_t mask = 0x80;
        if (c.note) mask |= 1;
        if (c.instrument) mask |= 2;
        if (c.volume) mask |= 4;
        if (c.effect) mask |= 8;
        if (c.param) mask |= 16;
        packed.push_back(mask);
        for (int bit = 0; bit < 5; ++bit) {
          const int values[5] = {c.note, c.instrument, c.volume, c.effect, c.param};
          if (mask & (1 << bit)) packed.push_back(static_cast<uint8_t>(values[bit]));
        }
      }
      PutU32LE(out, 9);
      out.push_back(static_cast<uint8_t>(p.packing));
      PutU16LE(out, p.rowsField >= 0 ? p.rowsField : p.rows);
      PutU16LE(out, static_cast<int>(packed.size()));
      out.insert(out.end(), packed.begin(), packed.end());
    }

    for (const XmInstrumentSpec& ins : instruments) {
      const int count = ins.sampleCountField >= 0 ? ins.sampleCountField : static_cast<int>(ins.samples.size());
      PutU32LE(out, ins.samples.empty() ? 29 : 243);
      PutText(out, ins.name, 22);
      out.push_back(0);
      PutU16LE(out, count);
      if (ins.samples.empty()) continue;
      PutU32LE(out, 40);
      for (int k = 0; k < 96; ++k) out.push_back(static_cast<uint8_t>(ins.keyMap[k]));
      for (int point = 0; point < 12; ++point) {
        const bool has = point < static_cast<int>(ins.envelope.size());
        PutU16LE(out, has ? ins.envelope[point].first : 0);
        PutU16LE(out, has ? ins.envelope[point].second : 0);
      }
      for (int i = 0; i < 48; ++i) out.push_back(0);
      out.push_back(static_cast<uint8_t>(ins.volumePointCount >= 0 ? ins.volumePointCount : ins.envelope.size()));
      out.push_back(0);
      out.push_back(static_cast<uint8_t>(ins.sustainPoint));
      out.push_back(static_cast<uint8_t>(ins.loopStartPoint));
      out.push_back(static_cast<uint8_t>(ins.loopEndPoint));
      for (int i = 0; i < 3; ++i) out.push_back(0);
      out.push_back(static_cast<uint8_t>(ins.volumeType));
      out.push_back(0);
      for (int i = 0; i < 4; ++i) out.push_back(0);
      PutU16LE(out, ins.fadeout);
      PutU16LE(out, 0);
      for (const XmSampleSpec& s : ins.samples) {
        const uint32_t bytes = static_cast<uint32_t>(s.data.size() * (s.sixteenBit ? 2 : 1));
        PutU32LE(out, s.lengthField != 0xFFFFFFFF ? s.lengthField : bytes);
        PutU32LE(out, s.loopStart);
        PutU32LE(out, s.loopLength);
        out.push_back(static_cast<uint8_t>(s.volume));
        out.push_back(static_cast<uint8_t>(s.finetune));
        out.push_back(static_cast<uint8_t>((s.loopType & 3) | (s.sixteenBit ? 16 : 0)));
        out.push_back(static_cast<uint8_t>(s.panning));
        out.push_back(static_cast<uint8_t>(s.relativeNote));
        out.push_back(0);
        PutText(out, s.name, 22);
      }
      for (const XmSampleSpec& s : ins.samples) {
        int previous = 0;
        for (int16_t value : s.data) {
          if (s.sixteenBit) {
            PutU16LE(out, (value - previous) & 0xFFFF);
            previous = value;
          } else {
            const int byte = (value >> 8) & 0xFF;
            out.push_back(static_cast<uint8_t>((byte - previous) & 0xFF));
            previous = byte;
          }
        }
      }
    }
    return out;
  }
};

// A square wave as 16-bit values (8-bit samples keep the high byte).
inline std::vector<int16_t> Square16(int frames, int period, int amplitude) {
  std::vector<int16_t> wave(frames);
  for (int i = 0; i < frames; ++i) wave[i] = static_cast<int16_t>((i % period) < period / 2 ? amplitude : -amplitude);
  return wave;
}

}  // namespace module_builder
