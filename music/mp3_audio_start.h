// Where the sound of an MPEG audio file begins: past its ID3v2 tags and past the information
// frame (Xing, Info or VBRI) that encoders put first, which holds no sound.
#pragma once

#include "platform/stream.h"

// The file offset of the first frame of sound; 0 when the file starts with it. Reads a few
// bytes at the file's start and past each tag; the stream's position is left anywhere.
long Mp3AudioStart(Stream& file);
