// Resampling one channel's sample into the mix: loops, interpolation, ramps and panning.
#pragma once

#include "music/mixer_loop_passes.h"
#include "music/mixer_loop_seam.h"
#include "music/sample.h"

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
  // For the wide loops: the table of the sample's short forward loop, the passes kept and
  // where this voice is in them (each Null: none).
  const LoopSeamTable* seam;
  LoopPassCache* passes;
  PassPlayback* playback;
  // A centred voice adds its values to the left side only: the caller takes the right side to
  // be the same.
  bool leftOnly;
};

// Adds frames of the voice playing sample (Null: silent, only a running crossfade sounds)
// to left and right. interpolation: 1 linear, 2 cubic, anything else nearest.
void MixVoice(Voice& voice, const Tunemix_Sample* sample, int interpolation, int frames,
              float rampStep, double* left, double* right);
