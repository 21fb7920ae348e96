// The WAV stream: uncompressed PCM played straight from a RIFF/WAVE file, in an endless loop.
#pragma once

#include <memory>
#include <string>

#include "music/stream_music.h"
#include "platform/stream.h"

class Tunemix_WavStream : public Tunemix_Stream {
 public:
  StreamPtr stream;    // the open file
  int dataStart = 0;   // file offset of the first PCM byte

  // Reads the header and finds the "data" chunk; Null when the file is missing, not RIFF/WAVE
  // with "fmt " first, not PCM, or not 8/16-bit mono/stereo. Without a "data" chunk the
  // length is 0. An odd-sized chunk without its pad byte is read too. The file is left at the
  // first PCM byte.
  static std::shared_ptr<Tunemix_WavStream> Open(const std::string& url);
  int Close() override;  // 0; the file stays open until the source is destroyed
  // Delivers the next bytes of the data; at its end it starts again from the first byte: with
  // the loop flag at once, in the same call, so that the tune loops without a gap; without it
  // the rest of this call's buffer is silence and the next call starts again.
  int FillBuffer(void* buffer, int byteCount) override;
  void Rewind();       // back to the first PCM byte, position 0
};

// Tunemix_WavStream::Open when the url ends in "wav" (any case); Null otherwise.
MusicPtr LoadWAV(const std::string& url);
// Four bytes as a four-character text; "" when fewer than four can be read.
std::string ReadTag(Stream& stream);
