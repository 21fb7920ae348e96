// MP3 files through the audio compression layer: the formats, the conversion set-up with its
// printed steps, and the block-by-block conversion that loops over the file.
#include "music/mp3_stream.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "music/mp3_audio_start.h"
#include "platform/system.h"

namespace {

constexpr int Mp3Rate = 44100;
constexpr int Mp3Channels = 2;
constexpr int Mp3BlockAlign = 4;

void Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

// A format bank of the layer's largest format size, holding record.
template <typename Record>
std::vector<uint8_t> FormatBank(const Record& record) {
  std::vector<uint8_t> bank(std::max<size_t>(static_cast<size_t>(std::max(AcmMaxFormatSize, 0)), sizeof record));
  std::memcpy(bank.data(), &record, sizeof record);
  return bank;
}

}  // namespace

std::string AcmResultText(int code) {
  switch (code) {
    case 0: return "acm - okay";
    case 1: return "acm - unspecified error";
    case 2: return "acm - device ID out of range";
    case 3: return "acm - driver failed enable";
    case 4: return "acm - device already allocated";
    case 5: return "acm - device handle is invalid";
    case 6: return "acm - no device driver present";
    case 7: return "acm - memory allocation error";
    case 8: return "acm - Function isn't supported";
    case 9: return "acm - error value out of range";
    case 10: return "acm - invalid flag passed";
    case 11: return "acm - invalid parameter passed";
    case 12: return "acm - handle being used";
    case 13: return "acm - specified alias Not found";
    case 14: return "acm - bad registry database";
    case 15: return "acm - registry key Not found";
    case 16: return "acm - registry read error";
    case 17: return "acm - registry write error";
    case 18: return "acm - registry delete error";
    case 19: return "acm - registry value Not found";
    case 20: return "acm - driver does Not call DriverCallback";
    case 512: return "acm - not possible";
    case 513: return "acm - busy";
    case 514: return "acm - unprepared";
    case 515: return "acm - canceled";
    default: return "acm - unknown error code \"" + std::to_string(code) + "\"";
  }
}

int ACMErrorText(int code) {
  Print(AcmResultText(code) + "\n");
  return code;
}

Tunemix_ACM::~Tunemix_ACM() {
  stream.reset();
  if (handle) {
    if (header) Acm.StreamUnprepareHeader(handle, header.get(), 0);
    Acm.StreamClose(handle, 0);
  }
  Print("acmStreamClose\n");
}

int Tunemix_ACM::InitConversionVerbose() {
  Print("acmStreamOpen...");
  const auto* source = reinterpret_cast<const AC_WaveFormat*>(sourceFormat.data());
  const auto* dest = reinterpret_cast<const AC_WaveFormat*>(destFormat.data());
  if (ACMErrorText(Acm.StreamOpen(&handle, nullptr, source, dest, nullptr, 0, 0, 0)) != 0) return 0;

  stream = ReadFile(url);
  if (!stream) RaiseError("Unable to open MP3");

  Print("acmStreamSize...");
  uint32_t destSize = 0;
  if (ACMErrorText(Acm.StreamSize(handle, static_cast<uint32_t>(blockSize), &destSize, AC_STREAMSIZE_SOURCE)) != 0)
    return 0;
  sourceBuffer.assign(static_cast<size_t>(blockSize), 0);
  destBuffer.assign(destSize, 0);
  header = std::make_unique<AC_StreamHeader>();
  header->structSize = sizeof(AC_StreamHeader);
  header->source = sourceBuffer.data();
  header->sourceLength = static_cast<uint32_t>(blockSize);
  header->dest = destBuffer.data();
  header->destLength = destSize;

  Print("acmStreamPrepareHeader...");
  return ACMErrorText(Acm.StreamPrepareHeader(handle, header.get(), 0)) == 0 ? 1 : 0;
}

int Tunemix_ACM::FillBuffer(void* buffer, int byteCount) {
  if (!buffer || byteCount <= 0) return 0;
  auto* out = static_cast<uint8_t*>(buffer);
  int left = byteCount;
  // MPEG audio never takes more than half a byte of file for a byte of 16-bit sound: the
  // budget holds that, a frame begun and junk between frames, and keeps a file of noise from
  // holding the game up in one call.
  long long budget = byteCount / 2 + SourceBytesPerFillBeyondSound;
  while (left > 0 && header && !silent_) {
    if (pending <= 0) {
      if (stream->Eof()) {
        // A whole pass without sound: no later pass has any either, so stop looking.
        if (passBytes_ == 0) {
          silent_ = true;
          break;
        }
        stream->Seek(dataStart);
        if (length != position) length = position;
        position = 0;
        passBytes_ = 0;
        passSourceBytes_ = 0;
      }
      if (budget <= 0) break;
      const size_t got = stream->Read(sourceBuffer.data(), sourceBuffer.size());
      if (got == 0) break;
      budget -= static_cast<long long>(got);
      passSourceBytes_ += static_cast<long long>(got);
      // Only the bytes just read: the end of a shorter last block is not fed twice.
      header->sourceLength = static_cast<uint32_t>(got);
      Acm.StreamConvert(handle, header.get(), AC_CONVERT_BLOCKALIGN);
      pending = static_cast<int>(std::min(header->destLengthUsed, header->destLength));
      readPointer = 0;
      passBytes_ += pending;
      // So much of the file without a frame of sound: it holds none worth looking for.
      if (passBytes_ == 0 && passSourceBytes_ >= MostSourceBytesWithoutSound) {
        silent_ = true;
        break;
      }
      continue;
    }
    const int count = std::min(left, pending);
    std::memcpy(out, destBuffer.data() + readPointer, static_cast<size_t>(count));
    out += count;
    readPointer += count;
    pending -= count;
    left -= count;
    position += count;
  }
  WriteSilence(out, left);
  return 0;
}

int Tunemix_ACM::GetInfo(int key) {
  if (key != InfoLength) return TMusic::GetInfo(key);
  if (length != 0) return length;
  uint32_t size = 0;
  const long fileSize = stream ? stream->Size() : 0;
  if (ACMErrorText(Acm.StreamSize(handle, static_cast<uint32_t>(std::clamp<long>(fileSize, 0, UINT32_MAX)), &size,
                                  AC_STREAMSIZE_SOURCE)) != 0)
    return 0;
  length = static_cast<int>(std::min<long long>(8LL * size, INT_MAX));
  return length;
}

std::shared_ptr<Tunemix_MP3Stream> Tunemix_MP3Stream::Open(const std::string& url) {
  auto mp3 = std::make_shared<Tunemix_MP3Stream>();
  mp3->url = url;
  mp3->rate = Mp3Rate;
  mp3->format = FormatStereo16;

  AC_Mp3Format source{};
  source.wave.formatTag = AC_FORMAT_MPEGLAYER3;
  source.wave.channels = Mp3Channels;
  source.wave.samplesPerSec = Mp3Rate;
  source.wave.avgBytesPerSec = Mp3Rate * Mp3BlockAlign;
  source.wave.blockAlign = 1;
  source.wave.bitsPerSample = 0;
  source.wave.extraSize = sizeof(AC_Mp3Format) - sizeof(AC_WaveFormat);
  source.id = 1;
  source.flags = 2;
  source.blockSize = static_cast<uint16_t>(mp3->blockSize);
  source.framesPerBlock = 1;
  source.codecDelay = 0;
  mp3->sourceFormat = FormatBank(source);

  AC_WaveFormat dest{};
  dest.formatTag = AC_FORMAT_PCM;
  dest.channels = Mp3Channels;
  dest.samplesPerSec = Mp3Rate;
  dest.avgBytesPerSec = Mp3Rate * Mp3BlockAlign;
  dest.blockAlign = Mp3BlockAlign;
  dest.bitsPerSample = 16;
  dest.extraSize = 0;
  mp3->destFormat = FormatBank(dest);

  if (!mp3->InitConversionVerbose()) return nullptr;
  // Every pass starts at the first frame of sound: tags and the encoder's information frame
  // are passed over at once, not converted block by block into nothing or a frame of silence.
  mp3->dataStart = Mp3AudioStart(*mp3->stream);
  mp3->stream->Seek(mp3->dataStart);
  return mp3;
}

MusicPtr LoadMP3(const std::string& url) { return Tunemix_MP3Stream::Open(url); }
