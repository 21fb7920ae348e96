// Builds the volume, vibrato and note-name tables once.
#include "music/music_tables.h"

#include <cmath>

float VolumeTable[65];
float VibratoSine[64];
float VibratoRamp[64];
float VibratoSquare[64];
std::string NoteNames[109];

void BuildMusicTables() {
  static bool built = false;
  if (built) return;
  built = true;

  // 63 steps of 1/63 reach 62/63 at entry 62; entry 63 lies halfway to 1 and only 64 is full.
  for (int i = 0; i <= 62; ++i) VolumeTable[i] = static_cast<float>(i) / 63.0f;
  VolumeTable[63] = 0.9920635f;
  VolumeTable[64] = 1.0f;

  const double pi = 3.14159265358979323846;
  for (int i = 0; i < 64; ++i) {
    VibratoSine[i] = static_cast<float>(std::sin(2.0 * pi * i / 64.0));
    VibratoRamp[i] = i < 32 ? -static_cast<float>(i) / 32.0f : static_cast<float>(64 - i) / 32.0f;
    VibratoSquare[i] = i < 32 ? 1.0f : -1.0f;
  }

  static const char* const semitones[12] = {"C ", "C#", "D ", "D#", "E ", "F ",
                                            "F#", "G ", "G#", "A ", "A#", "B "};
  NoteNames[0] = "xxx";
  for (int octave = 0; octave < 9; ++octave) {
    for (int s = 0; s < 12; ++s) {
      NoteNames[12 * octave + s + 1] = std::string(semitones[s]) + static_cast<char>('0' + octave);
    }
  }
}
