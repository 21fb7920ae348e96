// Sound effects: loaded sounds played on channels, mixed into one audio device.
//
// Without an open audio device every call is safe: sounds still load (so callers need no
// special case) and channels report that they are not playing.
#pragma once

#include <memory>
#include <string>

struct SoundData;
using Sound = std::shared_ptr<SoundData>;
using Channel = int;  // 0 = no channel

constexpr int AudioFrameRate = 44100;  // the device's frames per second (stereo 16-bit)

bool OpenAudio();      // starts the device; false when none can be had
void CloseAudio();
bool AudioOpen();

Sound LoadSound(const std::string& url, int flags = 0);  // OGG or WAV; Null when unreadable
Channel PlaySound(const Sound& sound);                   // starts at once; 0 when it cannot play
void ChannelVolume(Channel channel, float volume);       // 0..1; negative counts as full volume
void ChannelRate(Channel channel, float rate);           // playback-rate factor, 1 = as recorded
bool ChannelPlaying(Channel channel);
void StopChannel(Channel channel);

// The music player's output hooks in here: the device asks the source for frames of
// interleaved stereo 16-bit samples at AudioFrameRate, which are mixed over the effects. The
// source is called on the audio device's own thread, with the device locked. Null stops
// music output.
using MusicSource = void (*)(void* user, short* frames, int frameCount);
void SetMusicSource(MusicSource source, void* user);
