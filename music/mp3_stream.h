// The MP3 stream: an MPEG audio file fed block by block through the audio compression layer
// (libqxracm), handing out 16-bit stereo PCM at 44,100 Hz, in an endless loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "music/acm_binding.h"
#include "music/stream_music.h"
#include "platform/stream.h"

// A source that converts a compressed file through a conversion stream of the layer.
class Tunemix_ACM : public Tunemix_Stream {
 public:
  // Closes the file and the conversion stream and prints "acmStreamClose".
  ~Tunemix_ACM() override;

  std::string url;                      // the file
  StreamPtr stream;                     // the open file
  std::vector<uint8_t> sourceFormat;    // the source format record
  std::vector<uint8_t> destFormat;      // the destination format record
  AC_Stream* handle = nullptr;          // the conversion stream
  std::unique_ptr<AC_StreamHeader> header;
  std::vector<uint8_t> sourceBuffer;    // one block of file bytes
  std::vector<uint8_t> destBuffer;      // the converted PCM of one block
  int pending = 0;                      // converted bytes not yet handed out
  int readPointer = 0;                  // next byte to hand out in destBuffer
  int blockSize = 128;                  // file bytes per conversion
  long dataStart = 0;                   // file offset where every pass starts

  // Of a pass's file bytes, how many may give no sound before the file counts as silent.
  static constexpr long long MostSourceBytesWithoutSound = 1 << 20;
  // The file bytes one FillBuffer may convert beyond half the bytes of sound it was asked for.
  static constexpr long long SourceBytesPerFillBeyondSound = 16384;

  // Opens the conversion, then the file, sizes and prepares the buffers, printing each step
  // with its result. 1 on success, 0 when the layer refuses a step; raises "Unable to open
  // MP3" when the file cannot be opened.
  int InitConversionVerbose();
  // Converts block after block as needed. At the file's end it starts again at dataStart,
  // and the length becomes the bytes of the pass just ended. The file bytes converted in one
  // call are bounded; what they do not cover is silence, and the next call goes on from there.
  // A file that gives no sound in a whole pass, or in its first megabyte or so, gives only
  // silence from then on.
  int FillBuffer(void* buffer, int byteCount) override;
  // InfoLength: the length once known, else an estimate from the file's size.
  int GetInfo(int key) override;

 private:
  long long passBytes_ = 0;        // sound converted in the current pass of the file
  long long passSourceBytes_ = 0;  // file bytes converted in the current pass
  bool silent_ = false;
};

class Tunemix_MP3Stream : public Tunemix_ACM {
 public:
  // 44,100 Hz 16-bit stereo from the file's MPEG layer-3 frames; Null when the conversion
  // cannot be set up; raises "Unable to open MP3" when the file cannot be opened.
  static std::shared_ptr<Tunemix_MP3Stream> Open(const std::string& url);
};

MusicPtr LoadMP3(const std::string& url);

// Prints the text of a compression-layer result code on standard output; returns the code.
int ACMErrorText(int code);
// That text: "acm - okay", "acm - unspecified error", ...
std::string AcmResultText(int code);
