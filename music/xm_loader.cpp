// Reads an XM file into a song: header and orders, packed patterns, instruments with their
// envelopes, and delta-coded 8- and 16-bit samples.
//
// The file is untrusted: every read is bounded, counts are checked against the tables
// (channels 1..32, patterns up to 256, instruments up to 255, up to 128 samples each, song
// length up to 1024, rows up to 256), and a header that runs past the end makes it unusable (Null).
#include <algorithm>
#include <cctype>
#include <string>

#include "music/byte_reader.h"
#include "music/xm_song.h"
#include "platform/stream.h"

namespace {

constexpr int XmHeaderStart = 60;
constexpr int MaxXmRows = 256;
constexpr int EnvelopePoints = 12;

struct XmSampleHeader {
  uint32_t length, loopStart, loopLength;
  int volume, finetune, type, panning, relativeNote, reserved;
  std::string name;
};

// Decodes one pattern's packed cells; data that ends early leaves the rest of the cells empty.
void UnpackPattern(ByteReader packed, Tunemix_Pattern& pattern) {
  for (int r = 0; r < pattern.rowCount; ++r) {
    for (auto& trackPtr : pattern.tracks) {
      Tunemix_Track& track = *trackPtr;
      int note = 0, instrument = 0, volume = 0, effect = 0, param = 0;
      const int first = packed.U8();
      if (first & 0x80) {
        if (first & 1) note = packed.U8();
        if (first & 2) instrument = packed.U8();
        if (first & 4) volume = packed.U8();
        if (first & 8) effect = packed.U8();
        if (first & 16) param = packed.U8();
      } else {
        note = first;
        instrument = packed.U8();
        volume = packed.U8();
        effect = packed.U8();
        param = packed.U8();
      }
      track.notes[r] = note != 0 ? note - 1 : 0;
      track.instrumentNumbers[r] = instrument;
      track.volumes[r] = volume;
      track.effects[r] = effect;
      track.params[r] = param;
      track.paramHigh[r] = param >> 4;
      track.paramLow[r] = param & 15;
    }
  }
}

bool ReadPatterns(ByteReader& in, Tunemix_XM& song, int patternCount) {
  for (int p = 0; p < patternCount; ++p) {
    const size_t start = in.Position();
    const uint32_t headerLength = in.U32LE();
    const int packing = in.U8();
    const int rows = in.U16LE();
    const int packedSize = in.U16LE();
    // Only packing type 0 exists; anything else would leave the reader lost in the file.
    if (in.Failed() || packing != 0 || rows > MaxXmRows) return false;
    auto pattern = Tunemix_Pattern::Create(song.channelCount, rows);
    if (!in.Seek(static_cast<uint64_t>(start) + headerLength)) return false;
    if (packedSize > 0) {
      size_t bytes = static_cast<size_t>(packedSize);
      const uint8_t* data = in.Take(bytes);
      UnpackPattern(ByteReader(data, bytes), *pattern);
    }
    pattern->BuildRowTexts();
    song.patterns[p] = pattern;
  }
  return true;
}

void ReadEnvelopeAndExtras(ByteReader& in, Tunemix_Instrument& ins, int sampleCount) {
  in.U32LE();  // sample header size: always taken as 40
  for (int k = 0; k < 96; ++k) {
    const int number = in.U8();
    ins.keyMap[k + 1] = number < sampleCount ? number : 0;
  }
  for (int point = 0; point < EnvelopePoints; ++point) {
    const int tick = in.U16LE();
    const int value = in.U16LE();
    ins.AddEnvelopePoint(tick, value);
  }
  for (int i = 1; i <= 48; ++i) ins.panningEnvelope[i] = in.U8();
  ins.volumePointCount = std::min(in.U8(), EnvelopePoints);
  ins.panningPointCount = in.U8();
  ins.SetSustain(in.U8());
  const int loopStart = in.U8();
  ins.SetLoop(loopStart, in.U8());
  ins.panningSustain = in.U8();
  ins.panningLoopStart = in.U8();
  ins.panningLoopEnd = in.U8();
  ins.volumeFlags = in.U8();
  ins.panningFlags = in.U8();
  ins.vibratoType = in.U8();
  ins.vibratoSweep = in.U8();
  ins.vibratoDepth = in.U8();
  ins.vibratoRate = in.U8();
  ins.fadeout = in.U16LE();
  ins.reserved = in.U16LE();
}

XmSampleHeader ReadSampleHeader(ByteReader& in) {
  XmSampleHeader h;
  h.length = in.U32LE();
  h.loopStart = in.U32LE();
  h.loopLength = in.U32LE();
  h.volume = in.U8();
  h.finetune = in.S8();
  h.type = in.U8();
  h.panning = in.U8();
  h.relativeNote = in.S8();
  h.reserved = in.U8();
  h.name = TrimText(in.Text(22));
  return h;
}

// Reads one sample's delta-coded data; a file cut short keeps the bytes it has.
void ReadSampleData(ByteReader& in, const XmSampleHeader& h, Tunemix_Sample& sample) {
  const bool sixteenBit = (h.type & 16) != 0;
  size_t bytes = sixteenBit ? (h.length / 2) * 2 : h.length;
  const uint8_t* raw = in.Take(bytes);
  std::vector<uint8_t> decoded(bytes);
  if (sixteenBit) {
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < bytes; i += 2) {
      sum = (sum + (raw[i] | (raw[i + 1] << 8))) & 0xFFFF;
      decoded[i] = static_cast<uint8_t>(sum & 0xFF);
      decoded[i + 1] = static_cast<uint8_t>(sum >> 8);
    }
    sample.SetData(decoded.data(), bytes, 2);
  } else {
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) {
      sum = (sum + raw[i]) & 0xFF;
      decoded[i] = static_cast<uint8_t>(sum);
    }
    sample.SetData(decoded.data(), bytes, 1);
  }
  const uint32_t divisor = sixteenBit ? 2 : 1;
  const uint32_t loopStart = h.loopStart / divisor, loopLength = h.loopLength / divisor;
  // Loop points far beyond any sample are cut to the sample by FitLoop.
  sample.loopStart = static_cast<int>(std::min<uint32_t>(loopStart, 0x7FFFFFFF));
  sample.loopLength = static_cast<int>(std::min<uint32_t>(loopLength, 0x7FFFFFFF));
  sample.FitLoop();
}

bool ReadInstrument(ByteReader& in, Tunemix_XM& song, int number) {
  const size_t start = in.Position();
  const uint32_t headerSize = in.U32LE();
  auto ins = std::make_shared<Tunemix_Instrument>();
  ins->name = TrimText(in.Text(22));
  ins->instrumentType = in.U8();
  const int sampleCount = in.U16LE();
  if (in.Failed() || sampleCount > MaxInstrumentSamples) return false;
  ins->sampleCount = sampleCount;
  song.instruments[number] = ins;
  if (sampleCount == 0) return in.Seek(static_cast<uint64_t>(start) + headerSize);

  ReadEnvelopeAndExtras(in, *ins, sampleCount);
  if (in.Failed() || !in.Seek(static_cast<uint64_t>(start) + headerSize)) return false;

  std::vector<XmSampleHeader> headers;
  for (int s = 0; s < sampleCount; ++s) headers.push_back(ReadSampleHeader(in));
  if (in.Failed()) return false;
  for (int s = 0; s < sampleCount; ++s) {
    const XmSampleHeader& h = headers[s];
    auto sample = std::make_shared<Tunemix_Sample>();
    sample->owner = ins.get();
    sample->name = h.name;
    sample->volume = std::min(h.volume, 64);  // the volume table ends at 64
    sample->finetune = h.finetune / 128.0;
    sample->typeFlags = h.type;
    sample->loopType = (h.type & 1) ? LoopForward : (h.type & 2) ? LoopPingPong : LoopNone;
    sample->panning = h.panning - 128;
    sample->relativeNote = h.relativeNote;
    sample->reserved = h.reserved;
    ReadSampleData(in, h, *sample);
    ins->samples[s] = sample;
  }
  return true;
}

}  // namespace

std::shared_ptr<Tunemix_XM> LoadXMFromMemory(const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  auto song = std::make_shared<Tunemix_XM>();

  in.Text(17);  // ID text
  song->songName = TrimText(in.Text(20));
  in.U8();
  song->trackerName = in.Text(20);
  in.U16LE();  // version
  const uint32_t headerSize = in.U32LE();
  const int songLength = in.U16LE();
  in.U16LE();  // restart position
  const int channels = in.U16LE();
  const int patternCount = in.U16LE();
  const int instrumentCount = in.U16LE();
  song->headerFlags = in.U16LE();
  song->defaultSpeed = song->speed = in.U16LE();
  song->defaultTempo = song->tempo = in.U16LE();
  if (in.Failed() || channels < 1 || channels > song->maxChannels || patternCount > song->maxPatterns ||
      instrumentCount >= song->maxInstruments || songLength > song->maxOrders) {
    return nullptr;
  }
  song->channelCount = channels;
  song->SetChannels(channels);
  song->instrumentCount = instrumentCount;

  const int entries = std::min(songLength + 1, song->maxOrders);
  for (int i = 0; i < entries; ++i) song->orders[i] = in.U8();
  if (in.Failed()) return nullptr;
  song->lastOrder = songLength - 1;
  song->pattern = song->orders[0];

  if (!in.Seek(static_cast<uint64_t>(XmHeaderStart) + headerSize)) return nullptr;
  if (!ReadPatterns(in, *song, patternCount)) return nullptr;
  for (int i = 1; i <= instrumentCount; ++i) {
    if (!ReadInstrument(in, *song, i)) return nullptr;
  }

  // An order may name a pattern the file never stored: it plays as an empty pattern.
  for (int i = 0; i < song->maxOrders; ++i) {
    const int p = song->orders[i];
    if (!song->patterns[p]) {
      song->patterns[p] = Tunemix_Pattern::Create(channels, 64);
      song->patterns[p]->BuildRowTexts();
    }
  }

  song->MeasureLength();
  return song;
}

MusicPtr LoadXM(const std::string& url) {
  if (url.size() < 2) return nullptr;
  const std::string tail = url.substr(url.size() - 2);
  if (std::toupper(static_cast<unsigned char>(tail[0])) != 'X' ||
      std::toupper(static_cast<unsigned char>(tail[1])) != 'M') {
    return nullptr;
  }
  const std::vector<uint8_t> file = ReadAll(url);
  if (file.empty()) return nullptr;
  return LoadXMFromMemory(file.data(), file.size());
}
