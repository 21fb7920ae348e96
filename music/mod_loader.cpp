// Reads a MOD file (31 instruments with its signature variants, or the old 15) into a song.
//
// The file is untrusted: every read is bounded, counts are checked against the tables, and
// a header or pattern that runs past the end of the file makes the file unusable (Null).
#include <algorithm>
#include <cstdio>
#include <string>

#include "music/byte_reader.h"
#include "music/mod_song.h"
#include "platform/stream.h"

const int PeriodTable[108] = {
    6868, 6464, 6096, 5760, 5424, 5120, 4832, 4560, 4304, 4064, 3840, 3624,
    3424, 3232, 3048, 2880, 2712, 2560, 2416, 2280, 2152, 2032, 1920, 1812,
    1712, 1616, 1525, 1440, 1357, 1281, 1209, 1141, 1077, 1017, 961,  907,
    856,  808,  762,  720,  678,  640,  604,  570,  538,  508,  480,  453,
    428,  404,  381,  360,  339,  320,  302,  285,  269,  254,  240,  226,
    214,  202,  190,  180,  170,  160,  151,  143,  135,  127,  120,  113,
    107,  101,  95,   90,   85,   80,   76,   71,   67,   64,   60,   57,
    54,   51,   48,   45,   43,   40,   38,   36,   34,   32,   30,   29,
    27,   26,   24,   23,   22,   20,   19,   18,   17,   16,   15,   14};

int PeriodToNote(int period) {
  for (int i = 0; i < 108; ++i) {
    if (period >= PeriodTable[i]) return i;
  }
  std::printf("TUNEMIX - NO NEAR MATCH FOUND FOR %d - NOTE WAS DISCARDED!!\n", period);
  return 0;
}

namespace {

struct ModLayout {
  int channels;
  int instruments;
};

ModLayout LayoutForSignature(const std::string& signature) {
  static const struct {
    const char* text;
    int channels;
  } known[] = {
      {"M.K.", 4}, {"M!K!", 4}, {"FLT4", 4}, {"FLT8", 8}, {"2CHN", 2}, {"4CHN", 4},
      {"6CHN", 6}, {"8CHN", 8}, {"10CH", 10}, {"12CH", 12}, {"14CH", 14}, {"16CH", 16},
      {"18CH", 18}, {"20CH", 20}, {"22CH", 22}, {"24CH", 24}, {"26CH", 26}, {"28CH", 28},
      {"30CH", 30}, {"32CH", 32}, {"TDZ1", 1}, {"TDZ2", 2}, {"TDZ3", 3}, {"5CHN", 5},
      {"7CHN", 7}, {"9CHN", 9}, {"11CH", 11}, {"13CH", 13}, {"15CH", 15}, {"16CN", 16},
      {"32CN", 32}, {"CD81", 8}, {"OCTA", 8}, {"N.T.", 32}};
  for (const auto& entry : known) {
    if (signature == entry.text) return {entry.channels, 31};
  }
  return {4, 15};  // no signature, or one we do not know: the old 15-instrument layout
}

struct ModSampleHeader {
  std::string name;
  int length;  // bytes
  int finetune;
  int volume;
  int loopStart;
  int loopLength;
};

}  // namespace

std::shared_ptr<Tunemix_MOD> LoadMODFromMemory(const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  auto song = std::make_shared<Tunemix_MOD>();

  song->songName = TrimText(in.Text(20));
  in.Seek(1080);
  const ModLayout layout = LayoutForSignature(TrimText(in.Text(4)));
  if (in.Failed()) return nullptr;
  song->channelCount = layout.channels;
  song->SetChannels(song->channelCount);
  song->instrumentCount = layout.instruments;

  std::vector<ModSampleHeader> headers(layout.instruments + 1);
  for (int i = 1; i <= layout.instruments; ++i) {
    in.Seek(20 + 30 * (i - 1));
    ModSampleHeader& h = headers[i];
    h.name = TrimText(in.Text(22));
    if (h.name.empty()) h.name = "Unknown";
    h.length = in.U16BE() * 2;
    h.finetune = in.U8();
    h.volume = in.U8();
    h.loopStart = in.U16BE() * 2;
    h.loopLength = in.U16BE() * 2;
  }

  // Song length 0..128 (0 plays the first order once); every order played must name one of
  // the 128 patterns.
  const int songLength = in.U8();
  in.U8();  // restart byte
  if (in.Failed() || songLength > 128) return nullptr;
  int highestPattern = 0;
  for (int i = 0; i < 128; ++i) {
    const int entry = in.U8();
    if (i < songLength) {
      if (entry > 127) return nullptr;
      song->orders[i] = entry;
      highestPattern = std::max(highestPattern, entry);
    } else if (i == songLength && entry <= 127) {
      // The entry after the song counts towards the patterns stored, as it always has.
      song->orders[i] = entry;
      highestPattern = std::max(highestPattern, entry);
    }
  }
  song->lastOrder = songLength - 1;
  song->pattern = song->orders[0];

  in.Seek(layout.instruments == 31 ? 1084 : 600);
  for (int p = 0; p <= highestPattern; ++p) {
    auto pattern = Tunemix_Pattern::Create(song->channelCount, 64);
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < song->channelCount; ++c) {
        const int b0 = in.U8(), b1 = in.U8(), b2 = in.U8(), b3 = in.U8();
        Tunemix_Track& track = *pattern->tracks[c];
        const int period = ((b0 & 0x0F) << 8) | b1;
        track.instrumentNumbers[r] = (b0 & 0xF0) | (b2 >> 4);
        track.effects[r] = b2 & 0x0F;
        track.params[r] = b3;
        track.paramHigh[r] = b3 >> 4;
        track.paramLow[r] = b3 & 0x0F;
        if (period != 0) track.notes[r] = PeriodToNote(period);
      }
    }
    if (in.Failed()) return nullptr;
    pattern->BuildRowTexts();
    song->patterns[p] = pattern;
  }

  for (int i = 1; i <= layout.instruments; ++i) {
    const ModSampleHeader& h = headers[i];
    if (h.length <= 2) continue;
    auto instrument = std::make_shared<Tunemix_Instrument>();
    instrument->name = h.name;
    instrument->sampleCount = 1;
    auto sample = std::make_shared<Tunemix_Sample>();
    sample->owner = instrument.get();
    sample->name = h.name;
    sample->volume = std::min(h.volume, 64);  // the volume table ends at 64
    sample->finetune = (h.finetune > 7 ? h.finetune - 16 : h.finetune) / 8.0;
    if (h.loopLength > 2) {
      sample->loopType = LoopForward;
      sample->loopStart = h.loopStart;
      sample->loopLength = h.loopLength;
    }
    // A file cut short keeps the sample bytes it has.
    size_t bytes = static_cast<size_t>(h.length);
    const uint8_t* pcm = in.Take(bytes);
    sample->SetData(pcm, bytes, 1);
    sample->FitLoop();
    instrument->samples[0] = sample;
    song->instruments[i] = instrument;
  }

  static const double pans[4] = {1.0, -1.0, -1.0, 1.0};
  for (int c = 0; c < std::min(4, song->channelCount); ++c) song->chPanning[c] = pans[c];

  song->MeasureLength();
  return song;
}

MusicPtr LoadMOD(const std::string& url) {
  const std::vector<uint8_t> file = ReadAll(url);
  if (file.empty()) return nullptr;
  return LoadMODFromMemory(file.data(), file.size());
}
