// An output stream: one looping buffer of the music device, refilled from a music source on
// every tick of a 60 Hz timer, on the game's own thread.
#pragma once

#include <memory>

#include "music/music.h"
#include "music/sound_output_binding.h"
#include "platform/events.h"

class TAudioStream {
 public:
  TAudioStream();   // adds its hook to the platform's event hooks
  ~TAudioStream();  // Stop
  TAudioStream(const TAudioStream&) = delete;
  TAudioStream& operator=(const TAudioStream&) = delete;

  MusicPtr music;                 // the source
  int rate = 44100;               // the music's rate, taken at Play
  int bufferBytes = 65536;        // ring size in bytes
  std::unique_ptr<Timer> timer;   // the refill timer, made by Play
  int useTimer = 1;               // not 0: Play makes the timer
  int timerHz = 60;
  int playing = 0;                // 1 while the buffer plays
  float volume = 1.0f;            // 0..1
  float rateScale = 1.0f;         // multiplies the rate given to the buffer
  SO_WaveFormat waveFormat{};
  SO_BufferDesc bufferDesc{};
  SO_Buffer* buffer = nullptr;    // Null until made, and without a device
  int paused = 0;                 // state of TogglePause
  int writeCursor = 0;            // ring offset up to which the music has been written

  // A buffer of the music's format and rate on the music device (none without a device).
  void CreateBuffer();
  // Ends the stream for good: timer, hook and buffer gone, the music dropped.
  void Stop();
  // Fills the whole ring from the music, plays it looping from the start and starts the timer.
  void Play();
  void Pause();
  int Playing() const;            // the music's playing flag
  void ApplyRate();
  void SetVolume(float v);
  float GetVolume() const { return volume; }
  void TogglePause();
  // The refill: writes the music's next bytes over the part of the ring played since the
  // last refill; pauses the stream at the wrap after the music stopped playing.
  void Update();
  static void EventHookFunction(const Event& event, void* context);
  void OnEvent(const Event& event);  // a tick of this stream's timer: Update
};

using AudioStreamPtr = std::shared_ptr<TAudioStream>;

// A stream on music; it plays when Play is called.
AudioStreamPtr CreateAudioStream(MusicPtr music, int useTimer, int bufferBytes);
// Stops every stream that exists (the device's shutdown at program exit).
void StopAllAudioStreams();
