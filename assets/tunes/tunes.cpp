// The game's own tunes, composed in code: a major key, a chord progression per section, a
// bass in bouncing eighths, drums, arpeggiated chords and a melody that walks the scale from
// chord tone to chord tone, in phrases that repeat and answer.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/tunes/tune_score.h"

namespace {

// Voices of every tune, in channel order (a MOD plays the first four).
enum Voice { LeadVoice, BassVoice, DrumVoice, ChordVoice, HatVoice, EchoVoice, VoiceCount };

const int MajorScale[7] = {0, 2, 4, 5, 7, 9, 11};

// Repeatable choices.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  int Roll(int sides) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<uint32_t>(sides));
  }

 private:
  uint32_t state_;
};

// A scale degree (0 the tonic, 7 the octave above, negative below) as a player note.
int DegreeNote(int key, int degree) {
  const int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
  return key + 12 * octave + MajorScale[degree - 7 * octave];
}

// The arpeggio parameter of the triad on a degree: the third and the fifth in semitones.
int TriadArpeggio(int degree) {
  const int root = DegreeNote(0, degree);
  return (DegreeNote(0, degree + 2) - root) << 4 | (DegreeNote(0, degree + 4) - root);
}

// One section of a tune: its chords (a scale degree per bar) and what plays.
struct Section {
  int chords[BarsPerPattern];
  bool melody = true;
  bool ending = false;  // the last phrase comes home to the tonic and stops
  uint32_t seed = 1;
};

struct TuneStyle {
  std::string title;
  int key;      // player note of the tonic, around middle C
  int tempo, speed;
  std::vector<Section> sections;
  std::vector<int> form;  // section per order
};

// Rhythms of one bar of melody: onsets and lengths in rows, ending at 16.
const std::vector<std::vector<std::pair<int, int>>> Rhythms = {
    {{0, 4}, {4, 2}, {6, 2}, {8, 4}, {12, 4}},
    {{0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 6}, {14, 2}},
    {{0, 6}, {6, 2}, {8, 2}, {10, 2}, {12, 4}},
    {{0, 3}, {3, 3}, {6, 2}, {8, 8}},
    {{0, 2}, {2, 2}, {4, 4}, {8, 2}, {10, 2}, {12, 2}, {14, 2}},
};
const std::vector<std::pair<int, int>> Cadence = {{0, 4}, {4, 4}, {8, 8}};

class Composer {
 public:
  Composer(const TuneStyle& style, int voices) : style_(style), voices_(voices) {}

  std::vector<TuneCell> Pattern(const Section& section) {
    cells_.assign(static_cast<size_t>(RowsPerPattern) * voices_, TuneCell{});
    Dice dice(section.seed);
    int degree = 7 + 2 * dice.Roll(2);  // start on the tonic or the third above it
    // Two-bar questions: the first and third bars share a rhythm, the second and fourth answer.
    const int first = dice.Roll(static_cast<int>(Rhythms.size()));
    const int second = dice.Roll(static_cast<int>(Rhythms.size()));
    for (int bar = 0; bar < BarsPerPattern; ++bar) {
      const int chord = section.chords[bar];
      PlayBass(bar, chord);
      PlayDrums(bar, section.ending && bar == BarsPerPattern - 1);
      PlayChords(bar, chord);
      if (!section.melody) continue;
      const bool last = bar == BarsPerPattern - 1;
      const auto& rhythm = last ? Cadence : Rhythms[bar % 2 == 0 ? first : second];
      degree = PlayMelody(bar, chord, rhythm, degree, dice, last && section.ending);
    }
    return cells_;
  }

 private:
  TuneCell& Cell(int bar, int row, int voice) {
    return cells_[static_cast<size_t>(bar * RowsPerBar + row) * voices_ + voice];
  }

  // Root and octave in eighths, the fifth on the last beat for a lift into the next bar.
  void PlayBass(int bar, int chord) {
    for (int step = 0; step < 8; ++step) {
      const int root = DegreeNote(style_.key - 24, chord);
      const int note = step == 6 ? DegreeNote(style_.key - 24, chord + 4) : root + (step % 2 ? 12 : 0);
      Cell(bar, step * 2, BassVoice) = {note, Bass, step == 0 ? 56 : 44};
    }
  }

  // Kick on the first and third beats (and a skip before the third), snare on two and four,
  // hi-hats between: on a voice of their own where there is one, else in the drums' gaps.
  void PlayDrums(int bar, bool stop) {
    constexpr int DrumNote = 48;
    const bool ownHats = voices_ > HatVoice;
    for (int row = 0; row < RowsPerBar; row += 2) {
      if (stop && row > 8) break;
      const bool kick = row == 0 || row == 8 || (row == 6 && bar % 2 == 1);
      const bool snare = row == 4 || row == 12;
      if (kick) Cell(bar, row, DrumVoice) = {DrumNote, Kick, 64};
      if (snare) Cell(bar, row, DrumVoice) = {DrumNote, Snare, 54};
      if (ownHats ? row % 4 == 2 || snare : !kick && !snare) {
        Cell(bar, row, ownHats ? HatVoice : DrumVoice) = {DrumNote + 5, HiHat, row % 4 == 2 ? 36 : 24};
      }
    }
  }

  // The chord held for the bar, arpeggiated on every tick.
  void PlayChords(int bar, int chord) {
    for (int row = 0; row < RowsPerBar; ++row) {
      TuneCell& cell = Cell(bar, row, ChordVoice);
      cell.effect = 0;
      cell.param = TriadArpeggio(chord);
      if (row == 0) cell.note = DegreeNote(style_.key, chord), cell.instrument = Chords, cell.volume = 22;
    }
  }

  // A bar of melody: strong beats on the chord's tones, steps of the scale between; returns
  // the degree it ended on. Notes longer than a beat sing with a little vibrato.
  int PlayMelody(int bar, int chord, const std::vector<std::pair<int, int>>& rhythm, int degree, Dice& dice,
             bool home) {
    for (size_t i = 0; i < rhythm.size(); ++i) {
      const auto [row, length] = rhythm[i];
      const bool strong = row % 8 == 0;
      if (home && i + 1 == rhythm.size()) {
        degree = 7;
      } else if (strong) {
        degree = NearestChordTone(chord, degree + (dice.Roll(3) - 1));
      } else {
        const int step = dice.Roll(10) < 7 ? 1 : 2;
        degree += dice.Roll(2) ? step : -step;
      }
      degree = std::clamp(degree, 4, 14);
      const int note = DegreeNote(style_.key, degree);
      Cell(bar, row, LeadVoice) = {note, Lead, 48};
      for (int held = row + 2; held < row + length; ++held) {
        Cell(bar, held, LeadVoice).effect = 4;
        Cell(bar, held, LeadVoice).param = 0x32;
      }
      // A short gap before the next note keeps the notes apart.
      if (length >= 2) Cell(bar, row + length - 1, LeadVoice).note = NoteRest;
      if (voices_ > EchoVoice && row + 3 < RowsPerBar) {
        Cell(bar, row + 3, EchoVoice) = {note, Lead, 18};  // a quiet echo three rows on
      }
    }
    return degree;
  }

  // The root, third or fifth of the chord nearest to a degree.
  static int NearestChordTone(int chord, int degree) {
    for (int distance = 0;; ++distance) {
      for (int tone : {degree - distance, degree + distance}) {
        const int offset = ((tone - chord) % 7 + 7) % 7;
        if (offset == 0 || offset == 2 || offset == 4) return tone;
      }
    }
  }

  const TuneStyle& style_;
  int voices_;
  std::vector<TuneCell> cells_;
};

TuneScore Compose(const TuneStyle& style, int voices) {
  TuneScore score;
  score.title = style.title;
  score.tempo = style.tempo;
  score.speed = style.speed;
  score.voices = voices;
  Composer composer(style, voices);
  for (const Section& section : style.sections) score.patterns.push_back(composer.Pattern(section));
  score.orders = style.form;
  return score;
}

// Sections: intro (no melody), A, A', B, bridge, ending.
std::vector<Section> Sections(const int (&a)[4], const int (&b)[4], const int (&bridge)[4], uint32_t seed) {
  return {
      {{a[0], a[1], a[2], a[3]}, false, false, seed},
      {{a[0], a[1], a[2], a[3]}, true, false, seed + 1},
      {{a[0], a[1], a[2], a[3]}, true, false, seed + 2},
      {{b[0], b[1], b[2], b[3]}, true, false, seed + 3},
      {{bridge[0], bridge[1], bridge[2], bridge[3]}, true, false, seed + 4},
      {{a[0], a[1], a[2], 0}, true, true, seed + 5},
  };
}

}  // namespace

std::vector<TuneFile> GenerateTunes() {
  // Degrees: 0 I, 1 ii, 3 IV, 4 V, 5 vi.
  const int popA[4] = {0, 4, 5, 3}, popB[4] = {3, 4, 0, 5}, popBridge[4] = {5, 3, 1, 4};
  const int skipA[4] = {0, 5, 3, 4}, skipB[4] = {3, 0, 3, 4}, skipBridge[4] = {1, 4, 0, 5};
  const int marchA[4] = {0, 3, 4, 0}, marchB[4] = {5, 1, 4, 4}, marchBridge[4] = {3, 4, 5, 4};
  const std::vector<int> form = {0, 1, 2, 3, 1, 2, 4, 3, 1, 5};
  const std::vector<int> longForm = {0, 1, 2, 3, 1, 2, 4, 4, 3, 3, 1, 2, 5};

  const TuneStyle styles[] = {
      {"Sunny Hills", 48, 125, 6, Sections(popA, popB, popBridge, 10), form},
      {"Coin Rush", 55, 150, 5, Sections(skipA, skipB, skipBridge, 20), longForm},
      {"Cloud Castle", 53, 118, 6, Sections(marchA, marchB, marchBridge, 30), form},
      {"Bouncy Bonus", 50, 140, 5, Sections(popB, skipA, marchBridge, 40), longForm},
  };
  return {
      {"sunny_hills.mod", WriteTuneMod(Compose(styles[0], 4))},
      {"coin_rush.mod", WriteTuneMod(Compose(styles[1], 4))},
      {"cloud_castle.xm", WriteTuneXm(Compose(styles[2], VoiceCount))},
      {"bouncy_bonus.xm", WriteTuneXm(Compose(styles[3], VoiceCount))},
  };
}
