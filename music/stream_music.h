// What the audio-file streams (WAV, OGG, MP3) share: the file's own rate and format, and silence.
#pragma once

#include <cstdint>

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
  // A whole pass of the file lies in out[passStart, passEnd): copies it after itself as often
  // as it fits whole before `end`, and returns the end of what is then written. A tune much
  // shorter than a request so loops at the cost of one pass, not of reading it again and again.
  static int RepeatWholePasses(uint8_t* out, int passStart, int passEnd, int end);
};
