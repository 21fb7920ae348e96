// The constant tables the tracker player reads: volume gains, vibrato waveforms, note names.
#pragma once

#include <string>

extern float VolumeTable[65];     // gain of tracker volume 0..64
extern float VibratoSine[64];
extern float VibratoRamp[64];
extern float VibratoSquare[64];
extern std::string NoteNames[109];  // [0] "xxx", then "C 0", "C#0", ... "B 8"

// Fills the tables; later calls do nothing.
void BuildMusicTables();
