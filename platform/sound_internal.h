// Inside the platform layer: decoded sounds, the decoders, and the mixer's entry points.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sound.h"

struct SoundData {
  int rate = 44100;             // frames per second as recorded
  std::vector<int16_t> frames;  // interleaved stereo
};

// Decoders of whole files in memory; false when the bytes are not a sound they can use.
bool DecodeWav(const std::vector<uint8_t>& bytes, SoundData& sound);
bool DecodeOgg(const std::vector<uint8_t>& bytes, SoundData& sound);

// Mixes every playing channel and the music source into out (frameCount stereo frames);
// the audio device calls it, and tests call it while the device is paused.
void MixAudio(int16_t* out, int frameCount);
void PauseAudioOutput(bool paused);

// The longest sound kept: a longer file is cut, so a damaged length cannot exhaust memory.
constexpr size_t MaxSoundFrames = 44100 * 60 * 5;
