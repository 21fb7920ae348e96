// The effect player with its channel list, the loading of the effects, and the tune selection.
#include "client/sound_effects.h"

#include "platform/clock.h"
#include "platform/stream.h"
#include "world/records.h"

Sound JumpSound, DieSound, CollectSound, ArrowSound, LogonSound;
std::list<Channel> SfxChannels;
int JumpSoundTime = 0;
float FallSoundRate = 1.0f;

std::string Tunes[MaxTunes] = {"OFF"};
int TuneCount = 0;
int TuneIndex = 0;

namespace {
constexpr int JumpSoundGapMs = 60;
}

void PlaySfx(const Sound& sound, float volume, float rate) {
  const bool isJump = sound && sound == JumpSound;
  if (isJump) {
    int since = MsSince(JumpSoundTime, MilliSecs());
    // A negative difference means the clock wrapped past the stored time.
    if (since >= 0 && since <= JumpSoundGapMs) return;
  }
  Channel channel = PlaySound(sound);
  if (channel != 0) {
    ChannelVolume(channel, volume);
    ChannelRate(channel, rate);
    SfxChannels.push_back(channel);
  }
  if (isJump) JumpSoundTime = MilliSecs();
}

void PruneSfxChannels() {
  for (auto it = SfxChannels.begin(); it != SfxChannels.end();) {
    if (ChannelPlaying(*it)) {
      ++it;
    } else {
      StopChannel(*it);
      it = SfxChannels.erase(it);
    }
  }
}

void LoadSounds() {
  LogonSound = nullptr;
  const std::string logon = "custom/logon.wav";
  if (SfxOn && FileType(logon) == 1 && FileSize(logon) > 0) LogonSound = LoadSound(logon, 0);
  JumpSound = LoadSound("incbin::sounds/jump.ogg", 0);
  DieSound = LoadSound("incbin::sounds/Die.ogg", 0);
  CollectSound = LoadSound("incbin::sounds/Collect.ogg", 0);
  ArrowSound = LoadSound("incbin::sounds/arrow.ogg", 0);
}

void PlayLogonSound() {
  if (SfxOn && LogonSound) PlaySfx(LogonSound, -1.0f, 1.0f);
}

void PlayCollectSound() {
  if (SfxOn && CollectSound) PlaySfx(CollectSound, -1.0f, 1.0f);
}
