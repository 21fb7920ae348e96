// Instruments: samples under a key map, the volume envelope, fade-out and the raw XM extras.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "music/sample.h"

struct Tunemix_EnvelopePoint {
  int tick = 0;
  float value = 0.0f;  // 0..1
};
using EnvelopePointPtr = std::shared_ptr<Tunemix_EnvelopePoint>;

constexpr int MaxInstrumentSamples = 128;

class Tunemix_Instrument {
 public:
  std::string name;
  int instrumentType = 0;
  int sampleCount = 0;
  std::shared_ptr<Tunemix_Sample> samples[MaxInstrumentSamples];
  int keyMap[100] = {};          // sample number for notes 1..96

  int volumeFlags = 0;           // bit 0 on, bit 1 sustain, bit 2 loop
  int volumePointCount = 0;      // points in use
  int sustainIndex = 0;
  int fadeout = 0;               // per tick after key-off
  int loopStartIndex = 0;
  int loopEndIndex = 0;
  std::vector<EnvelopePointPtr> volumePoints;  // in order of addition
  EnvelopePointPtr sustainPoint, loopStartPoint, loopEndPoint;

  int panningFlags = 0;
  int panningPointCount = 0;
  int panningEnvelope[49] = {};  // raw bytes, entries 1..48
  int panningSustain = 0, panningLoopStart = 0, panningLoopEnd = 0;
  int vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
  int reserved = 0;

  EnvelopePointPtr currentPoint, nextPoint;  // of the last EnvelopeValue
  float slope = 0.0f;

  // The sample for a note 1..95 through the key map; Null for any other note (96 is key-off).
  std::shared_ptr<Tunemix_Sample> SampleForNote(int note) const;
  void AddEnvelopePoint(int tick, int value);  // value 0..64
  // Point numbers count from 1 (0 is taken as 1). One beyond the points added refers to
  // the last point.
  void SetSustain(int point);
  void SetLoop(int startPoint, int endPoint);
  // Envelope level 0..1 at the caller's tick; tick and index are the caller's (the channel's)
  // and are moved on by the envelope's loop and points.
  float EnvelopeValue(int& tick, int& index);

 private:
  int PointIndex(int point) const;
};
