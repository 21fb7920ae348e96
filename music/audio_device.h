// The music's output device: opened once for the program on the sound-buffer library, and
// released at program exit. The checks that print a failing result on standard output.
#pragma once

#include <cstdint>
#include <string>

#include "music/sound_output_binding.h"

class TAudioDevice {
 public:
  // Creates the device on the program's sound output (the device the sound effects play
  // on), sets the cooperative level and creates the primary buffer. Without a sound output
  // the creation fails with its message and nothing else is done: streams then stay silent.
  // Without the sound-buffer library it prints why that library could not be loaded and does
  // nothing else.
  static void Startup();
  // Stops every stream still playing, releases the primary buffer and the device.
  static void Shutdown();
};

void StartAudioDevice();
void StopAudioDevice();
// The device streams create their buffers on; nullptr before Startup, after Shutdown, or
// when it could not be created.
SO_Device* MusicOutputDevice();

// When result is not 0, prints operation + " = " + the result's name; returns 0.
int DSCheck(int32_t result, const std::string& operation);
// "DS_OK", "DSERR_..." for the results the sound layer gives, "UNKNOWN!" for any other.
std::string DSResultName(int32_t result);
// Attenuation in hundredths of a decibel for a volume 0..1: 1000 per halving, 0 at 1 and
// above, -10000 (silence) at 0 and below.
int VolumeToAttenuation(float volume);
