// Set-up of the audio streams and the output device: nothing to register until they exist.
#include "music/stream_setup.h"

void RegisterStreamLoaders() {}

bool BindMusicOutput() { return false; }

void RegisterMp3Loader() {}
