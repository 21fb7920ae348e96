// The game's own tunes: a score of patterns (rows of cells, one per voice), its synthesised
// instruments, and the MOD and XM files written from them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One cell of a voice. note: player note (48 plays a 32-frame cycle as middle C), 0 none,
// NoteRest ends the note. volume: 0..64, or -1 to keep the voice's volume.
struct TuneCell {
  int note = 0;
  int instrument = 0;  // 1-based, 0 none
  int volume = -1;
  int effect = 0;      // MOD / XM effect number and parameter
  int param = 0;
};

constexpr int NoteRest = -1;
constexpr int RowsPerBar = 16;
constexpr int BarsPerPattern = 4;
constexpr int RowsPerPattern = RowsPerBar * BarsPerPattern;

// The instruments every tune plays, by number.
enum TuneInstrument { Lead = 1, Bass, Kick, Snare, HiHat, Chords, InstrumentCount = Chords };

struct TuneScore {
  std::string title;
  int tempo = 125;
  int speed = 6;
  int voices = 4;
  std::vector<std::vector<TuneCell>> patterns;  // [pattern][row * voices + voice]
  std::vector<int> orders;
};

// One instrument's waveform, -1..1: a cycle of 32 frames that loops, or a one-shot drum
// (both to be played at 8363 frames a second for note 48).
struct TuneWave {
  std::vector<float> frames;
  bool loops = false;
};
TuneWave InstrumentWave(TuneInstrument instrument);

// The score as a 4-channel MOD (voices beyond four are dropped) or as an XM.
std::vector<uint8_t> WriteTuneMod(const TuneScore& score);
std::vector<uint8_t> WriteTuneXm(const TuneScore& score);

// The cheerful tunes of the "8bit_tunes" folder: file names and file contents.
struct TuneFile {
  std::string name;
  std::vector<uint8_t> bytes;
};
std::vector<TuneFile> GenerateTunes();
