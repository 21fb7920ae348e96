// MOD modules: the song class with its tick, the loader, and the Amiga period table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "music/player.h"

class Tunemix_MOD : public Tunemix_Player {
 public:
  Tunemix_MOD();
  void Update() override;  // one tick

 private:
  void TriggerRow(int c, const Tunemix_Track* track);
  void FormatEffect(int c, int eff, int param, int hi, int lo) override;
};

// 108 descending periods, one per note; index 48 (period 428) plays at 8363 Hz.
extern const int PeriodTable[108];

// The first note whose period is not above the given one; 0 (no note, with a message on
// standard output) for periods below the table.
int PeriodToNote(int period);

// Loads a MOD file (read whole into memory); Null when it cannot be read or is not a
// usable module.
MusicPtr LoadMOD(const std::string& url);
std::shared_ptr<Tunemix_MOD> LoadMODFromMemory(const uint8_t* data, size_t size);
