// Sound effects mixed into one SDL audio device: channels with volume and playback rate, plus
// the music source.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/sound_internal.h"
#include "platform/stream.h"

namespace {

constexpr int VoiceCount = 32;

struct Voice {
  Channel id = 0;  // 0 = free
  Sound sound;
  double position = 0;  // in frames of the sound
  float volume = 1;
  float rate = 1;
};

SDL_AudioDeviceID Device = 0;
std::array<Voice, VoiceCount> Voices;
Channel NextId = 1;
MusicSource Music = nullptr;
void* MusicUser = nullptr;
std::vector<int32_t> MixBuffer;
std::vector<int16_t> MusicBuffer;

// Channel changes happen on the main thread, mixing on the device's: one lock between them.
class DeviceLock {
 public:
  DeviceLock() {
    if (Device) SDL_LockAudioDevice(Device);
  }
  ~DeviceLock() {
    if (Device) SDL_UnlockAudioDevice(Device);
  }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;
};

Voice* Find(Channel channel) {
  if (channel <= 0) return nullptr;
  for (Voice& v : Voices)
    if (v.id == channel) return &v;
  return nullptr;
}

void Callback(void*, Uint8* stream, int length) {
  MixAudio(reinterpret_cast<int16_t*>(stream), length / 4);
}

}  // namespace

void MixAudio(int16_t* out, int frameCount) {
  if (frameCount <= 0) return;
  MixBuffer.assign(static_cast<size_t>(frameCount) * 2, 0);
  for (Voice& v : Voices) {
    if (!v.id || !v.sound) continue;
    const std::vector<int16_t>& frames = v.sound->frames;
    size_t length = frames.size() / 2;
    double step = static_cast<double>(v.rate) * v.sound->rate / AudioFrameRate;
    int volume = static_cast<int>(v.volume * 256);
    int f = 0;
    for (; f < frameCount && v.position < static_cast<double>(length); ++f) {
      // Linear interpolation between the two frames around the position.
      size_t i = static_cast<size_t>(v.position);
      double t = v.position - static_cast<double>(i);
      size_t j = i + 1 < length ? i + 1 : i;
      double left = frames[2 * i] + (frames[2 * j] - frames[2 * i]) * t;
      double right = frames[2 * i + 1] + (frames[2 * j + 1] - frames[2 * i + 1]) * t;
      MixBuffer[2 * f] += static_cast<int32_t>(left) * volume / 256;
      MixBuffer[2 * f + 1] += static_cast<int32_t>(right) * volume / 256;
      v.position += step;
    }
    if (v.position >= static_cast<double>(length)) {
      v.id = 0;  // finished: the channel no longer plays
      v.sound.reset();
    }
  }
  if (Music) {
    MusicBuffer.assign(static_cast<size_t>(frameCount) * 2, 0);
    Music(MusicUser, MusicBuffer.data(), frameCount);
    for (size_t i = 0; i < MusicBuffer.size(); ++i) MixBuffer[i] += MusicBuffer[i];
  }
  for (size_t i = 0; i < MixBuffer.size(); ++i) out[i] = static_cast<int16_t>(std::clamp(MixBuffer[i], -32768, 32767));
}

bool OpenAudio() {
  if (Device) return true;
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = AudioFrameRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = Callback;
  SDL_AudioSpec have{};
  Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);  // SDL converts to what the device needs
  if (!Device) return false;
  // The device's thread must stop before the program's globals (sounds, buffers, the music
  // player) are destroyed at exit.
  static bool closeAtExit = (std::atexit(CloseAudio), true);
  (void)closeAtExit;
  SDL_PauseAudioDevice(Device, 0);
  return true;
}

void CloseAudio() {
  if (!Device) return;
  SDL_CloseAudioDevice(Device);
  Device = 0;
  for (Voice& v : Voices) v = Voice{};
}

bool AudioOpen() { return Device != 0; }

void PauseAudioOutput(bool paused) {
  if (Device) SDL_PauseAudioDevice(Device, paused ? 1 : 0);
}

Sound LoadSound(const std::string& url, int /*flags*/) {
  std::vector<uint8_t> bytes = ReadAll(url);
  auto sound = std::make_shared<SoundData>();
  if (DecodeWav(bytes, *sound) || DecodeOgg(bytes, *sound)) return sound;
  return nullptr;
}

Channel PlaySound(const Sound& sound) {
  if (!Device || !sound || sound->frames.empty()) return 0;
  DeviceLock lock;
  // A free voice, else the one that has played longest makes way.
  Voice* voice = nullptr;
  for (Voice& v : Voices)
    if (!v.id) {
      voice = &v;
      break;
    }
  if (!voice)
    voice = &*std::min_element(Voices.begin(), Voices.end(), [](const Voice& a, const Voice& b) { return a.id < b.id; });
  *voice = Voice{};
  voice->id = NextId++;
  if (NextId <= 0) NextId = 1;
  voice->sound = sound;
  return voice->id;
}

void ChannelVolume(Channel channel, float volume) {
  DeviceLock lock;
  if (Voice* v = Find(channel)) v->volume = volume < 0 ? 1 : std::min(volume, 1.0f);
}

void ChannelRate(Channel channel, float rate) {
  DeviceLock lock;
  if (Voice* v = Find(channel)) v->rate = std::clamp(rate, 0.01f, 16.0f);
}

bool ChannelPlaying(Channel channel) {
  DeviceLock lock;
  return Find(channel) != nullptr;
}

void StopChannel(Channel channel) {
  DeviceLock lock;
  if (Voice* v = Find(channel)) *v = Voice{};
}

void SetMusicSource(MusicSource source, void* user) {
  DeviceLock lock;
  Music = source;
  MusicUser = user;
}
