// Resampling one channel's sample into the mix: loops, interpolation, ramps and panning.
#pragma once

#include <memory>

#include "music/mixer_loop_passes.h"
#include "music/mixer_loop_seam.h"
#include "music/sample.h"

// What a channel keeps of a sample's short forward loop from one mix to the next.
struct SampleLoopMemory {
  std::shared_ptr<const Tunemix_Sample> sample;  // what it was made for: it stays alive meanwhile
  LoopSeamTable seam;
  LoopPasses passes;
  unsigned lastUse = 0;
};

// ... of the last few samples it played: a channel often goes back and forth between two.
struct LoopMemory {
  SampleLoopMemory samples[3];
  unsigned uses = 0;
};

// The memory kept for the sample, made afresh in the longest unused place when there is none.
SampleLoopMemory& LoopMemoryFor(LoopMemory& memory, const std::shared_ptr<Tunemix_Sample>& sample);

// The state of one channel while it is mixed.
struct Voice {
  double position;
  double step;
  int fadeIn;
  int crossfade;
  double lastValue;
  double gain;
  double pan;
  float leftGain;
  float rightGain;
  SampleLoopMemory* memory;  // Null: nothing kept
  // A centred voice adds its values to the left side only: the caller takes the right side to
  // be the same.
  bool leftOnly;
};

// Adds frames of the voice playing sample (Null: silent, only a running crossfade sounds)
// to left and right. interpolation: 1 linear, 2 cubic, anything else nearest.
void MixVoice(Voice& voice, const Tunemix_Sample* sample, int interpolation, int frames,
              float rampStep, double* left, double* right);
