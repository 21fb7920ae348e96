// Sound effects and the tune selection: the effect player and its channels, the embedded effects, the music keys.
#pragma once

#include <list>
#include <string>

#include "music/audio_stream.h"
#include "music/music.h"
#include "platform/sound.h"

// The effects, loaded once by LoadSounds. LogonSound stays Null without "custom/logon.wav".
extern Sound JumpSound, DieSound, CollectSound, ArrowSound, LogonSound;

extern std::list<Channel> SfxChannels;  // channels started by PlaySfx, pruned every frame
extern int JumpSoundTime;               // clock of the last start of the jump sound
extern float FallSoundRate;             // playback rate of the falling sound, 1.0 at rest

constexpr const char* TuneFolder = "8bit_tunes/";  // beside the program
constexpr int MaxTunes = 100;
extern std::string Tunes[MaxTunes];     // [0] "OFF", then the names found in the tune folder
extern int TuneCount;                   // index of the last stored name (0 when none)
extern int TuneIndex;                   // current tune, 0 = off
extern MusicPtr CurrentMusic;           // the music of the current tune, Null when none loaded
extern AudioStreamPtr MusicStream;      // its output stream, Null while no tune plays

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
void ListTunes(const std::string& folder = TuneFolder);
// Restarts the music for TuneIndex from the tune folder (stops what plays; plays nothing when
// off or unloadable): cubic interpolation, 44,100 Hz for tracker songs, looping, through a new
// output stream with a 44,100-byte ring.
void PlayTune();
// Selects the next tune and plays it. Past the last tune it wraps to "OFF", or to the first
// tune when skipOff is set (in play, F6 never switches the music off).
void NextTune(int skipOff);
// Stops the music but keeps the selection, so the next PlayTune plays it again.
void StopTune();
