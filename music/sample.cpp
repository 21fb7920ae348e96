// Sample data conversion and loop fitting.
#include "music/sample.h"

void Tunemix_Sample::SetData(const uint8_t* block, size_t size, int type) {
  if (type == 1) {
    length = static_cast<int>(size);
    data.assign(size + 1, 0);
    for (size_t i = 0; i < size; ++i) {
      const int b = block[i];
      data[i] = static_cast<int16_t>((b >= 128 ? b - 256 : b) * 256);
    }
  } else if (type == 2) {
    const size_t words = size / 2;
    length = static_cast<int>(words);
    data.assign(words + 1, 0);
    for (size_t i = 0; i < words; ++i) {
      const int w = block[2 * i] | (block[2 * i + 1] << 8);
      data[i] = static_cast<int16_t>(w >= 32768 ? w - 65536 : w);
    }
  }
}

void Tunemix_Sample::FitLoop() {
  if (loopType == LoopNone) return;
  // A forward loop of length 0 stays: the sample then plays on to its end and goes on from
  // the loop start.
  const bool empty = loopLength < 0 || (loopLength == 0 && loopType != LoopForward);
  if (loopStart < 0 || empty || loopStart >= length) {
    loopType = LoopNone;
    loopStart = 0;
    loopLength = 0;
    return;
  }
  if (loopLength > length - loopStart) loopLength = length - loopStart;
}
