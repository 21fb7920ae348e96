// Set-up of the music player: its tables and the registry of file-format loaders.
#pragma once

// Builds the tables and registers the loaders (mod, xm, then the audio streams, then mp3
// when the output device can be had). Returns 0; later calls return at once.
int InitMusicModule();
