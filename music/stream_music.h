// What the audio-file streams (WAV, OGG, MP3) share: the file's own rate and format, and silence.
#pragma once

#include "music/music.h"

// A music source that plays sound decoded from a file. Its rate and format are those of the
// file: a request to change them (such as the game's 44,100 Hz for every tune) is refused,
// so a file of another rate plays at its own rate and pitch.
class Tunemix_Stream : public TMusic {
 public:
  int SetInfo(int key, int value) override;

 protected:
  // Fills byteCount bytes with silence in the music's format: 128 for 8-bit samples, else 0.
  void WriteSilence(void* buffer, int byteCount) const;
};
