// XM modules: the song class with its tick (volume column, envelopes, fade-out) and the loader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "music/player.h"

class Tunemix_XM : public Tunemix_Player {
 public:
  Tunemix_XM();
  void Update() override;  // one tick

 private:
  void TriggerRow(int c, const Tunemix_Track* track);
  void VolumeColumn(int c, int v, int note);
  void FormatEffect(int c, int eff, int param, int hi, int lo) override;
};

// Loads an XM file (the url must end in "xm", any case; the file is read whole into
// memory); Null when it cannot be read or is not a usable module.
MusicPtr LoadXM(const std::string& url);
std::shared_ptr<Tunemix_XM> LoadXMFromMemory(const uint8_t* data, size_t size);
