// Encoding a picture as PNG bytes (8-bit RGB; the black mask colour marks transparency).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/art/canvas.h"

// The picture as a PNG file's bytes; the same picture always gives the same bytes.
std::vector<uint8_t> EncodePicture(const Canvas& picture);
// Writes the picture as a PNG file; false when the file cannot be written.
bool WritePicture(const std::string& path, const Canvas& picture);
