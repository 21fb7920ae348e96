// One waveform of a song: data converted to 16-bit range, its loop and tuning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Tunemix_Instrument;

constexpr int LoopNone = 0;
constexpr int LoopForward = 1;
constexpr int LoopPingPong = 2;

class Tunemix_Sample {
 public:
  Tunemix_Instrument* owner = nullptr;  // the instrument holding it (not owned)
  std::string name;
  int length = 0;               // frames
  int loopStart = 0;
  int loopLength = 0;
  int loopType = LoopNone;
  int volume = 63;              // 0..64, given to a channel when a note starts
  double finetune = 0.0;        // in notes
  int relativeNote = 0;         // semitones
  int panning = 0;              // XM: -128..127, centre 0
  int typeFlags = 0;            // XM sample type byte
  int reserved = 0;
  std::vector<int16_t> data;    // length frames, then one guard entry of 0

  // Converts raw PCM: type 1 signed 8-bit (scaled by 256), type 2 signed 16-bit
  // little-endian; any other type converts nothing. Always leaves the guard entry.
  void SetData(const uint8_t* block, size_t size, int type);

  // Keeps the loop inside the data: a loop that starts past the end, or a ping-pong loop
  // without length, is dropped; one that runs past the end is cut at the end.
  void FitLoop();

  // A position mapped into the sample for a direction (>0 forward, <0 backward, 0 unchanged
  // for ping-pong), or -1.0 when there is none.
  double WrapPosition(double position, double direction) const {
    const double L = length, S = loopStart, N = loopLength, E = S + N;
    if (loopType == LoopForward) {
      if (position > E) return position - N;
      if (position > L) return S + (position - L);
      return position >= 0 ? position : -1.0;
    }
    if (loopType == LoopPingPong) {
      if (direction > 0) {
        if (position > E) return E - (position - E);
        if (position > L) return L - (position - L);
        return position;
      }
      if (direction == 0) return position;
      if (position >= S && position >= 0) return position;
      if (position < S) return S + (S - position);
      return -position;
    }
    if (position > L) return -1.0;
    return position >= 0 ? position : -1.0;
  }
};
