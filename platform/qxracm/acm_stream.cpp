// Conversion streams from MPEG audio to PCM: libmpg123 fed block by block.
#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/qxracm/export.h"
#include "platform/qxracm/qxracm.h"

struct AC_Stream {
  mpg123_handle* decoder = nullptr;
  AC_WaveFormat dest{};
  bool formatMatches = true;  // the decoder delivers exactly the destination format
};

namespace {

// The shortest MPEG frame (layer 3 of MPEG 2 at 8 kbit/s and 24 kHz) and the most samples a
// frame holds (1,152), at the lowest rate (8 kHz): bounds of what a block of source can give.
constexpr uint64_t ShortestFrameBytes = 24;
constexpr uint64_t MostFrameSamples = 1152;
constexpr uint64_t LowestFrameRate = 8000;
// The most source the decoder may hold unconverted before it is dropped (damaged streams only).
constexpr long MostBufferedSource = 4 << 20;

bool PcmDestination(const AC_WaveFormat& f) {
  return f.formatTag == AC_FORMAT_PCM && f.bitsPerSample == 16 && (f.channels == 1 || f.channels == 2) &&
         f.blockAlign == f.channels * 2 && f.samplesPerSec >= 8000 && f.samplesPerSec <= 192000;
}

bool Prepared(const AC_StreamHeader* header) {
  return header && header->structSize == sizeof(AC_StreamHeader) && (header->status & AC_HEADER_PREPARED);
}

// Starts the decoder afresh on an empty feed; false when it cannot.
bool Restart(AC_Stream& stream) { return mpg123_open_feed(stream.decoder) == MPG123_OK; }

void CheckFormat(AC_Stream& stream) {
  long rate = 0;
  int channels = 0, encoding = 0;
  stream.formatMatches = mpg123_getformat(stream.decoder, &rate, &channels, &encoding) == MPG123_OK &&
                         rate == static_cast<long>(stream.dest.samplesPerSec) && channels == stream.dest.channels &&
                         encoding == MPG123_ENC_SIGNED_16;
}

// Decodes what the fed source gives into out, up to room bytes (whole frames); the byte count.
size_t Decode(AC_Stream& stream, uint8_t* out, size_t room) {
  size_t total = 0;
  while (total < room) {
    size_t done = 0;
    const int result = mpg123_read(stream.decoder, out + total, room - total, &done);
    if (stream.formatMatches) total += done;
    if (result == MPG123_NEW_FORMAT) {
      CheckFormat(stream);
      continue;
    }
    if (result == MPG123_OK && done > 0) continue;
    if (result != MPG123_OK && result != MPG123_NEED_MORE && result != MPG123_DONE) Restart(stream);
    break;
  }
  return total;
}

}  // namespace

AC_EXPORT int32_t AC_Metrics(void* /*object*/, uint32_t metric, void* value) {
  if (!value) return AC_ERR_INVALPARAM;
  if (metric != AC_METRIC_MAX_SIZE_FORMAT) return AC_ERR_NOTSUPPORTED;
  const uint32_t largest = sizeof(AC_Mp3Format);
  std::memcpy(value, &largest, sizeof largest);
  return AC_OK;
}

AC_EXPORT int32_t AC_StreamOpen(AC_Stream** stream, void* driver, const AC_WaveFormat* source,
                                const AC_WaveFormat* dest, void* filter, uintptr_t /*callback*/,
                                uintptr_t /*instance*/, uint32_t flags) {
  if (!stream) return AC_ERR_INVALPARAM;
  *stream = nullptr;
  if (driver || filter || !source || !dest) return AC_ERR_INVALPARAM;
  if (flags != 0) return AC_ERR_INVALFLAG;
  if (source->formatTag != AC_FORMAT_MPEGLAYER3 || !PcmDestination(*dest)) return AC_ERR_NOTPOSSIBLE;

  auto* made = new (std::nothrow) AC_Stream;
  if (!made) return AC_ERR_NOMEM;
  made->dest = *dest;
  made->decoder = mpg123_new(nullptr, nullptr);
  const bool stereo = dest->channels == 2;
  const bool ready =
      made->decoder &&
      // The Xing/Info frame's counts are not trusted: a file claiming 2^32 frames there kept the
      // decoder busy for minutes on a few bytes.
      mpg123_param(made->decoder, MPG123_ADD_FLAGS,
                   MPG123_QUIET | MPG123_IGNORE_INFOFRAME | (stereo ? MPG123_FORCE_STEREO : MPG123_MONO_MIX),
                   0) == MPG123_OK &&
      mpg123_param(made->decoder, MPG123_FORCE_RATE, static_cast<long>(dest->samplesPerSec), 0) == MPG123_OK &&
      // Junk between frames is skipped however long it is.
      mpg123_param(made->decoder, MPG123_RESYNC_LIMIT, -1, 0) == MPG123_OK &&
      mpg123_format_none(made->decoder) == MPG123_OK &&
      mpg123_format(made->decoder, static_cast<long>(dest->samplesPerSec), stereo ? MPG123_STEREO : MPG123_MONO,
                    MPG123_ENC_SIGNED_16) == MPG123_OK &&
      Restart(*made);
  if (!ready) {
    if (made->decoder) mpg123_delete(made->decoder);
    delete made;
    return AC_ERR_NOTPOSSIBLE;
  }
  *stream = made;
  return AC_OK;
}

AC_EXPORT int32_t AC_StreamSize(AC_Stream* stream, uint32_t inputBytes, uint32_t* outputBytes, uint32_t flags) {
  if (!stream) return AC_ERR_INVALHANDLE;
  if (!outputBytes) return AC_ERR_INVALPARAM;
  if (flags != AC_STREAMSIZE_SOURCE) return AC_ERR_INVALFLAG;
  // Every frame the block can finish (plus one begun before it and one decoded but not yet
  // handed out), each of the most samples at the lowest rate, converted to the destination's.
  const uint64_t frames = inputBytes / ShortestFrameBytes + 2;
  const uint64_t samples = MostFrameSamples * stream->dest.samplesPerSec / LowestFrameRate + 2;
  const uint64_t bytes = frames * samples * stream->dest.blockAlign;
  *outputBytes = static_cast<uint32_t>(std::min<uint64_t>(bytes, 0xFFFFFFFFu - 3) / stream->dest.blockAlign *
                                       stream->dest.blockAlign);
  return AC_OK;
}

AC_EXPORT int32_t AC_StreamPrepareHeader(AC_Stream* stream, AC_StreamHeader* header, uint32_t flags) {
  if (!stream) return AC_ERR_INVALHANDLE;
  if (flags != 0) return AC_ERR_INVALFLAG;
  if (!header || header->structSize != sizeof(AC_StreamHeader) || !header->source || !header->dest ||
      header->destLength < stream->dest.blockAlign)
    return AC_ERR_INVALPARAM;
  header->status = AC_HEADER_PREPARED;
  return AC_OK;
}

AC_EXPORT int32_t AC_StreamConvert(AC_Stream* stream, AC_StreamHeader* header, uint32_t flags) {
  if (!stream) return AC_ERR_INVALHANDLE;
  if (flags & ~static_cast<uint32_t>(AC_CONVERT_BLOCKALIGN | AC_CONVERT_START | AC_CONVERT_END))
    return AC_ERR_INVALFLAG;
  if (!Prepared(header)) return AC_ERR_UNPREPARED;
  header->status &= ~static_cast<uint32_t>(AC_HEADER_DONE);
  if (header->sourceLength > 0 &&
      mpg123_feed(stream->decoder, header->source, header->sourceLength) != MPG123_OK)
    return AC_ERR_NOMEM;
  const size_t room = header->destLength - header->destLength % stream->dest.blockAlign;
  header->sourceLengthUsed = header->sourceLength;
  header->destLengthUsed = static_cast<uint32_t>(Decode(*stream, header->dest, room));
  long buffered = 0;
  double unused = 0;
  if (mpg123_getstate(stream->decoder, MPG123_BUFFERFILL, &buffered, &unused) == MPG123_OK &&
      buffered > MostBufferedSource)
    Restart(*stream);
  header->status |= AC_HEADER_DONE;
  return AC_OK;
}

AC_EXPORT int32_t AC_StreamUnprepareHeader(AC_Stream* stream, AC_StreamHeader* header, uint32_t flags) {
  if (!stream) return AC_ERR_INVALHANDLE;
  if (flags != 0) return AC_ERR_INVALFLAG;
  if (!Prepared(header)) return AC_ERR_UNPREPARED;
  header->status &= ~static_cast<uint32_t>(AC_HEADER_PREPARED);
  return AC_OK;
}

AC_EXPORT int32_t AC_StreamClose(AC_Stream* stream, uint32_t flags) {
  if (!stream) return AC_ERR_INVALHANDLE;
  if (flags != 0) return AC_ERR_INVALFLAG;
  mpg123_delete(stream->decoder);
  delete stream;
  return AC_OK;
}
