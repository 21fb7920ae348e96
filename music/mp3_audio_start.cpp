// Finding the first frame of sound in an MPEG audio file: ID3v2 tags are skipped by the size
// in their header, an encoder's information frame by its frame length.
#include "music/mp3_audio_start.h"

#include <cstdint>
#include <cstring>

namespace {

// Tags put one after another are skipped too, up to this many.
constexpr int MostTags = 16;

bool ReadAt(Stream& file, int64_t at, uint8_t* bytes, size_t count) {
  return at >= 0 && file.Seek(static_cast<long>(at)) && file.Read(bytes, count) == count;
}

// The whole size of an ID3v2 tag at `at` (header, body and footer), or 0 when there is none.
int64_t Id3TagSize(Stream& file, int64_t at) {
  uint8_t h[10];
  if (!ReadAt(file, at, h, sizeof h) || std::memcmp(h, "ID3", 3) != 0) return 0;
  if (h[3] == 0xFF || h[4] == 0xFF) return 0;
  int64_t size = 0;
  for (int i = 6; i < 10; ++i) {
    if (h[i] & 0x80) return 0;  // the size is seven bits a byte
    size = size << 7 | h[i];
  }
  const bool footer = (h[5] & 0x10) != 0;
  return 10 + size + (footer ? 10 : 0);
}

// The length of the frame at `at` when it is a layer-3 frame whose side information is
// followed by an information tag; 0 otherwise.
int64_t InfoFrameLength(Stream& file, int64_t at) {
  static const int Mpeg1Kbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  static const int Mpeg2Kbps[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
  static const int Mpeg1Rates[3] = {44100, 48000, 32000};
  uint8_t frame[4 + 2 + 32 + 4];
  if (!ReadAt(file, at, frame, sizeof frame)) return 0;
  if (frame[0] != 0xFF || (frame[1] & 0xE0) != 0xE0) return 0;
  const int version = (frame[1] >> 3) & 3;  // 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1
  const int layer = (frame[1] >> 1) & 3;     // 1 layer 3
  const bool crc = (frame[1] & 1) == 0;
  const int bitrateIndex = frame[2] >> 4;
  const int rateIndex = (frame[2] >> 2) & 3;
  if (version == 1 || layer != 1 || rateIndex == 3) return 0;
  const bool mpeg1 = version == 3;
  const int kbps = (mpeg1 ? Mpeg1Kbps : Mpeg2Kbps)[bitrateIndex];
  if (kbps == 0) return 0;
  const int rate = Mpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  const bool mono = (frame[3] >> 6) == 3;
  const int sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
  const uint8_t* tag = frame + 4 + (crc ? 2 : 0) + sideInfo;
  const bool info = std::memcmp(tag, "Xing", 4) == 0 || std::memcmp(tag, "Info", 4) == 0 ||
                    std::memcmp(frame + 4 + 32, "VBRI", 4) == 0;
  if (!info) return 0;
  const bool padding = (frame[2] >> 1) & 1;
  return (mpeg1 ? 144000 : 72000) * static_cast<int64_t>(kbps) / rate + (padding ? 1 : 0);
}

}  // namespace

long Mp3AudioStart(Stream& file) {
  const int64_t size = file.Size();
  int64_t start = 0;
  for (int tags = 0; tags < MostTags; ++tags) {
    const int64_t tag = Id3TagSize(file, start);
    if (tag == 0 || start + tag > size) break;
    start += tag;
  }
  const int64_t info = InfoFrameLength(file, start);
  if (info > 0 && start + info <= size) start += info;
  return static_cast<long>(start);
}
