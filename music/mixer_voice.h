// Resampling one channel's sample into the mix: loops, interpolation, ramps and panning.
#pragma once

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
};

// Adds frames of the voice playing sample (Null: silent, only a running crossfade sounds)
// to left and right. interpolation: 1 linear, 2 cubic, anything else nearest.
void MixVoice(Voice& voice, const Tunemix_Sample* sample, int interpolation, int frames,
              float rampStep, double* left, double* right);
