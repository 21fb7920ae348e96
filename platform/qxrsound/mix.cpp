// Mixing the playing buffers into the output's frames, each converted to the output's rate.
#include <algorithm>
#include <cstring>

#include "platform/qxrsound/sound_layer.h"

namespace {

// Frame f of the buffer as a left and right 16-bit value.
void ReadFrame(const SO_Buffer& b, uint32_t f, int32_t& left, int32_t& right) {
  const uint8_t* p = b.data.data() + static_cast<size_t>(f) * b.format.blockAlign;
  if (b.format.bitsPerSample == 8) {
    left = (p[0] - 128) * 256;
    right = b.format.channels == 2 ? (p[1] - 128) * 256 : left;
  } else {
    int16_t l, r;
    std::memcpy(&l, p, 2);
    if (b.format.channels == 2) std::memcpy(&r, p + 2, 2);
    else r = l;
    left = l;
    right = r;
  }
}

// Adds frameCount frames of the buffer at its frequency; linear between its frames, so at
// the output's own rate every frame comes out exactly as written.
void MixBuffer(SO_Buffer& b, int32_t* sums, int frameCount, int outputRate) {
  const uint64_t step = (static_cast<uint64_t>(b.frequency) << 32) / static_cast<uint64_t>(outputRate);
  const uint64_t end = static_cast<uint64_t>(b.frames) << 32;
  for (int i = 0; i < frameCount; ++i) {
    const uint32_t f = static_cast<uint32_t>(b.cursor >> 32);
    const int64_t fraction = static_cast<int64_t>(b.cursor & 0xFFFFFFFFu);
    uint32_t next = f + 1;
    if (next == b.frames) next = b.looping ? 0 : f;
    int32_t l0, r0, l1, r1;
    ReadFrame(b, f, l0, r0);
    int64_t left = l0, right = r0;
    if (fraction) {
      ReadFrame(b, next, l1, r1);
      left += ((l1 - l0) * fraction) >> 32;
      right += ((r1 - r0) * fraction) >> 32;
    }
    sums[2 * i] += static_cast<int32_t>((left * b.gain) >> 16);
    sums[2 * i + 1] += static_cast<int32_t>((right * b.gain) >> 16);
    b.cursor += step;
    if (b.cursor >= end) {
      if (!b.looping) {
        b.cursor = 0;
        b.playing = false;
        return;
      }
      b.cursor %= end;
    }
  }
}

}  // namespace

namespace qxrsound {

void MixDevice(void* user, short* frames, int frameCount) {
  auto* device = static_cast<SO_Device*>(user);
  if (frameCount <= 0) return;
  std::lock_guard<std::mutex> guard(device->mutex);
  device->mix.assign(static_cast<size_t>(frameCount) * 2, 0);
  for (SO_Buffer* buffer : device->playing) MixBuffer(*buffer, device->mix.data(), frameCount, device->output.rate);
  auto& playing = device->playing;
  playing.erase(std::remove_if(playing.begin(), playing.end(), [](const SO_Buffer* b) { return !b->playing; }),
                playing.end());
  for (size_t i = 0; i < device->mix.size(); ++i)
    frames[i] = static_cast<short>(std::clamp(device->mix[i], -32768, 32767));
}

}  // namespace qxrsound
