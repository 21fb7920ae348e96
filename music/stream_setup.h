// The set-up steps of the audio streams and the output device, called by InitMusicModule.
#pragma once

// Registers the WAV and OGG loaders, in that order.
void RegisterStreamLoaders();
// Binds the music output device and registers its shutdown at program exit; false when
// no output device can be had.
bool BindMusicOutput();
// Binds the MP3 decoder and registers the MP3 loader.
void RegisterMp3Loader();
