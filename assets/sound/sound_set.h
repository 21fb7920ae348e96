// The game's four sound effects, synthesised and encoded as Ogg Vorbis under their embedded names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SoundFile {
  std::string name;  // e.g. "sounds/jump.ogg"
  std::vector<uint8_t> bytes;
};

constexpr int EffectRate = 44100;

// The raw samples of each effect (-1..1 at EffectRate).
std::vector<float> JumpEffect();
std::vector<float> CollectEffect();
std::vector<float> DieEffect();
std::vector<float> ArrowEffect();

std::vector<SoundFile> GenerateSounds();
