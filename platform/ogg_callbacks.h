// Vorbisfile's input callbacks over one of our streams.
#pragma once

#include <vorbis/vorbisfile.h>

// Callbacks that read, seek and tell on the Stream given to vorbisfile as its data source.
// Closing is left to the stream's owner.
ov_callbacks StreamOggCallbacks();
