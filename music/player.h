// The tracker player both formats share: song position, pitch, effect handlers, length.
//
// The MOD and XM classes implement Update: they read the current row's cells on each tick,
// start notes, call ApplyEffect (on every tick of the row; each handler decides what it does
// on tick 0 and later) and call NextRow when a row is over.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "music/mixer.h"

class Tunemix_Player : public Tunemix_Mixer {
 public:
  Tunemix_Player();

  int jumpFlag = -1;            // 1: a pattern-loop command was met on this row
  int jumpOrder = -1;           // order to go to at the end of the row (-1 none)
  int breakRow = 0;             // row to start at after a jump
  int loopStartRow = 0;
  int loopMarker = 0;
  int loopCount = -1;           // repeats left in the running pattern loop; -1 none
  int patternDelay = 0;         // ticks to wait before the next row
  double tonePortaUnit = 0.125;
  double portaStep = 0.0470588244497776;  // 4/85 in single precision

  // NoteNames[note] for 0 < note < 109; "<<<" below 0; ">>>" otherwise.
  static std::string NoteName(int note);
  // 8363 Hz at note 48 with the sample's finetune and relative note added.
  static double NoteToFrequency(const Tunemix_Sample& sample, double note);
  void SetOrder(int index);
  void NextRow();
  // Runs the song silently to its end and sets length (frames at the current rate); the
  // loop flag is left at 0 and the song restarted.
  void MeasureLength();
  void Restart() override;

  int SetInfo(int key, int value) override;
  int GetInfo(int key) override;
  int SetInfoFloat(int key, double value) override;
  double GetInfoFloat(int key) override;

  // Effect handlers (c channel, note the cell's note, param the byte, x and y its nibbles).
  void Arpeggio(int c, int param, int x, int y);
  void PortaUp(int c, int note, int param);
  void PortaDown(int c, int note, int param);
  void TonePortaSetup(int c, int note, int param);
  void VibratoSetup(int c, int x, int y);
  void TremoloSetup(int c, int x, int y);
  void TonePortaVolSlide(int c, int note, int x, int y);
  void VibratoVolSlide(int c, int note, int x, int y);
  void SetPanning(int c, int param);
  void SampleOffset(int c, int param);
  void VolumeSlide(int c, int note, int x, int y);
  void PositionJump(int param);
  void SetVolume(int c, int param);
  void PatternBreak(int param);
  void FinePortaUp(int c, int y);
  void FinePortaDown(int c, int y);
  void SetVibratoWaveform(int c, int y);
  void SetFinetune(int c, int y);
  void PatternLoop(int y);
  void SetTremoloWaveform(int c, int y);
  void SetPanningCoarse(int c, int y);
  void Retrigger(int c, int y);
  void FineVolumeUp(int c, int y);
  void FineVolumeDown(int c, int y);
  void NoteCut(int c, int y);
  void NoteDelay(int c, int y);
  void PatternDelay(int y);
  void SetSpeedTempo(int param);
  void VolumeSlideStep(int c, int x, int y);
  void TonePortaStep(int c);
  void VibratoStep(int c);
  void TremoloStep(int c);

  // The longest a measurement runs, in ticks: almost three hours at tempo 255, six at 125.
  static constexpr long long MaxMeasuredTicks = 1LL << 20;

 protected:
  // Shared by the ticks: the rate for a pitch, starting the sample, the gain from the volume.
  void SetRateForPitch(int c, double pitch);
  void StartSample(int c);
  void RefreshGain(int c);
  // The left and right gains for an effective pan p.
  void SetPanGains(int c, double p);
  int RowCountOf(int patternNumber) const;
  // Channel c's track in pattern p when it has the current row, else nullptr.
  const Tunemix_Track* TrackAt(const Tunemix_Pattern* p, int c) const;
  // The instrument numbered n, or nullptr when n lies outside the table.
  std::shared_ptr<Tunemix_Instrument> InstrumentAt(int n) const;
  // Drops the channel's sample, ramping out what was playing (a note on a missing instrument).
  void SilenceChannel(int c);

  // The row's effect on channel c for this tick: the song-level effects whether or not the
  // channel has an instrument, then, with an instrument, the channel effects both formats
  // read alike; the rest goes to FormatEffect.
  void ApplyEffect(int c, const Tunemix_Track* track);
  // A channel effect the formats read differently (7, 8, E4, E7, E8) or only one knows; called
  // only while the channel has an instrument.
  virtual void FormatEffect(int c, int eff, int param, int hi, int lo) = 0;
  // MOD counts a pattern delay (EE) as a song-level effect; XM only on a channel with an
  // instrument.
  bool patternDelayNeedsInstrument = false;

 private:
  bool measuring_ = false;
  std::vector<unsigned char> visitedRows_;  // per order and row, while measuring
  bool Visited(int orderIndex, int rowIndex) const;
  void MarkVisited();
};

// A note value truncated toward zero, 0 when it lies outside the int range.
int TruncNote(double note);
