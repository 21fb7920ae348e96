// The rules the audio-file streams share: a rate and format fixed by the file, silence to fill,
// short passes repeated.
#include "music/stream_music.h"

#include <cstring>

int Tunemix_Stream::SetInfo(int key, int value) {
  if (key == InfoRate || key == InfoFormat) return 0;
  return TMusic::SetInfo(key, value);
}

void Tunemix_Stream::WriteSilence(void* buffer, int byteCount) const {
  if (!buffer || byteCount <= 0) return;
  const bool eightBit = format == FormatMono8 || format == FormatStereo8;
  std::memset(buffer, eightBit ? 0x80 : 0, static_cast<size_t>(byteCount));
}

int Tunemix_Stream::RepeatWholePasses(uint8_t* out, int passStart, int passEnd, int end) {
  const int pass = passEnd - passStart;
  if (pass <= 0) return passEnd;
  while (end - passEnd >= pass) {
    std::memcpy(out + passEnd, out + passStart, static_cast<size_t>(pass));
    passEnd += pass;
  }
  return passEnd;
}
