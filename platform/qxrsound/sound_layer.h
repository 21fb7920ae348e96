// The library's device and buffer records, shared by its device, buffer and mixing files.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/qxrsound/qxrsound.h"

struct SO_Device {
  SO_Output output{};
  uint32_t level = 0;              // cooperative level, 0 until set
  bool released = false;           // the program let go of it: it plays nothing more
  int references = 1;              // the program's own, plus one per buffer
  std::mutex mutex;                // guards everything below and each buffer's play state
  std::vector<SO_Buffer*> playing; // secondary buffers that play now
  std::vector<int32_t> mix;        // the mixing thread's scratch sums
};

struct SO_Buffer {
  SO_Device* device = nullptr;
  bool primary = false;
  SO_WaveFormat format{};
  uint32_t flags = 0;
  std::vector<uint8_t> data;       // the ring
  uint32_t frames = 0;             // data.size() / blockAlign

  // Only on the program's thread.
  bool locked = false;
  void* lockedFirst = nullptr;
  void* lockedSecond = nullptr;

  // Shared with the mixing thread, under device->mutex.
  bool playing = false;
  bool looping = false;
  uint64_t cursor = 0;             // frames, 32.32 fixed point
  uint32_t frequency = 0;          // frames per second
  int32_t gain = 1 << 16;          // 16.16 fixed point
};

namespace qxrsound {

// The device's mix function: adds every playing buffer into stereo 16-bit frames.
void MixDevice(void* device, short* frames, int frameCount);
// Drops one reference; the device is freed with the last.
void Unreference(SO_Device* device);
// 16.16 gain for hundredths of a decibel (SO_VOLUME_MIN is silence).
int32_t GainOf(int32_t hundredthsOfDecibel);

}  // namespace qxrsound
