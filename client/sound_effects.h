// Sound effects and the tune selection: the effect player and its channels, the embedded effects, the music keys.
#pragma once

#include <list>
#include <string>

#include "platform/sound.h"

// The effects, loaded once by LoadSounds. LogonSound stays Null without "custom/logon.wav".
extern Sound JumpSound, DieSound, CollectSound, ArrowSound, LogonSound;

extern std::list<Channel> SfxChannels;  // channels started by PlaySfx, pruned every frame
extern int JumpSoundTime;               // clock of the last start of the jump sound
extern float FallSoundRate;             // playback rate of the falling sound, 1.0 at rest

constexpr int MaxTunes = 100;
extern std::string Tunes[MaxTunes];     // [0] "OFF", then the names found in the tune folder
extern int TuneCount;                   // index of the last stored name (0 when none)
extern int TuneIndex;                   // current tune, 0 = off

// Starts sound on a new channel at volume and rate. The jump sound (also the falling
// sound) starts at most once per 60 ms; further requests inside that time do nothing.
// Callers test SfxOn first.
void PlaySfx(const Sound& sound, float volume, float rate);
// Stops and forgets every channel that has finished playing.
void PruneSfxChannels();
// Loads the four embedded effects and, when effects are on and the file is not empty,
// "custom/logon.wav" from the working folder.
void LoadSounds();
void PlayLogonSound();                  // a player joined; nothing without a logon sound
void PlayCollectSound();                // a pickup was taken

// Fills Tunes from a folder: "OFF" first, then every name not beginning with "." (at most 99).
void ListTunes(const std::string& folder = "8bit_tunes/");
// Restarts the music for TuneIndex (stops what plays; plays nothing when off or unloadable).
void PlayTune();
// Selects the next tune and plays it. Past the last tune it wraps to "OFF", or to the first
// tune when skipOff is set (in play, F6 never switches the music off).
void NextTune(int skipOff);
// Stops the music but keeps the selection, so the next PlayTune plays it again.
void StopTune();
