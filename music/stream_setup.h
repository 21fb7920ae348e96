// The set-up steps of the audio streams and the output device, called by InitMusicModule.
#pragma once

// Registers the WAV and OGG loaders, in that order.
void RegisterStreamLoaders();
// Binds the sound-buffer library the music plays through and registers the output device's
// shutdown at program exit; false when the library cannot be loaded.
bool BindMusicOutput();
// Binds the audio compression library (raising "Unable to locate ACM" when it cannot be
// loaded), measures its largest format and registers the MP3 loader.
void RegisterMp3Loader();
