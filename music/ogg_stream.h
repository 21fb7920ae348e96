// The OGG stream: an Ogg Vorbis file decoded while it plays, in an endless loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "music/stream_music.h"
#include "platform/stream.h"

struct OggVorbis_File;

class Tunemix_OGG : public Tunemix_Stream {
 public:
  ~Tunemix_OGG() override;

  StreamPtr stream;                         // the open file
  std::unique_ptr<OggVorbis_File> decoder;  // Null when none is open
  long long sampleCount = 0;                // samples per channel the decoder reported at open (0: unknown)

  // Null when the file is missing or the decoder rejects it. One channel plays as mono 16-bit,
  // two or more as stereo 16-bit (more than two are mixed down to left and right).
  static std::shared_ptr<Tunemix_OGG> Open(const std::string& url);
  int Close() override;  // closes the decoder and the file; 0
  // Decodes the next bytes; at the end of the data (the reported length, or where the data
  // really ends) the decoder starts again from the beginning: with the loop flag the next pass
  // goes on in the same call, without a gap; without it the rest of this call's buffer is
  // silence.
  int FillBuffer(void* buffer, int byteCount) override;
  void Rewind();  // decoder closed, file back to 0, position 0, decoder opened again

 private:
  int outputChannels_ = 2;
  bool silent_ = false;              // a whole pass gave no sound: only silence from now on
  std::vector<short> sectionSamples_;     // samples as decoded, in the channels of their part
  std::vector<unsigned char> converted_;  // those samples in the output's channels
  std::vector<unsigned char> carry_;      // converted bytes a request had no room for
  bool OpenDecoder();
  void CloseDecoder();
  // Decodes up to byteCount bytes into out; fewer only where the data ends or is damaged.
  int Decode(unsigned char* out, int byteCount);
};

// Tunemix_OGG::Open, for any url.
MusicPtr LoadOGG(const std::string& url);

