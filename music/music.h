// The base class of every playable tune, its sample-format codes and information keys.
#pragma once

#include <memory>

// Sample formats of a music's output.
constexpr int FormatMono8 = 200;
constexpr int FormatMono16 = 201;
constexpr int FormatStereo8 = 202;
constexpr int FormatStereo16 = 203;

// Information keys for SetInfo / GetInfo (InfoPanSeparation and InfoMasterVolume are float keys).
constexpr int InfoLength = 1;         // read only
constexpr int InfoPosition = 2;       // read only
constexpr int InfoPlaying = 3;        // read only
constexpr int InfoFormat = 4;
constexpr int InfoRate = 5;
constexpr int InfoLoop = 7;
constexpr int InfoTempo = 100;
constexpr int InfoSpeed = 101;
constexpr int InfoInterpolation = 102;  // 0 nearest, 1 linear, 2 cubic
constexpr int InfoPanSeparation = 103;
constexpr int InfoMasterVolume = 104;
constexpr int InfoRow = 110;
constexpr int InfoOrder = 111;
constexpr int InfoPattern = 112;
constexpr int InfoTick = 113;
constexpr int InfoRowEvents = 114;

// 1, 2, 2 or 4 for the four formats; 0 for any other code.
int BytesPerFrame(int format);

// A source of sound: a tracker song rendered by the mixer, or a decoded audio stream.
// The output stream asks it for its rate and format, sets and reads `playing`, and pulls
// sound with FillBuffer.
class TMusic {
 public:
  virtual ~TMusic() = default;

  int playing = 0;               // 1 while the source produces sound
  int rate = 44100;              // output rate in Hz
  int format = FormatStereo16;
  int loop = 1;                  // 1 = restart at the end
  int position = 0;              // sound produced so far (bytes for streams, frames for trackers)
  int length = 0;                // total, in the same unit as position

  virtual int Close();                                     // 0
  virtual int FillBuffer(void* buffer, int byteCount) = 0; // byteCount bytes in `format`
  virtual int SetInfoFloat(int key, double value);         // 1 when stored, else 0
  virtual double GetInfoFloat(int key);
  // Loop, rate and (only to one of the four codes) format; 1 when stored, else 0.
  virtual int SetInfo(int key, int value);
  virtual int GetInfo(int key);                            // length, position, format, rate, loop; else 0
};

using MusicPtr = std::shared_ptr<TMusic>;
