// Inside the platform layer: PNG pictures to and from 0xAARRGGBB pixels, through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // width * height pixels, rows top to bottom
};

// False when the bytes are not a PNG libpng can read.
bool DecodePng(const std::vector<uint8_t>& bytes, DecodedPicture& picture);
// Writes the pixels as a PNG file; false on failure.
bool EncodePng(const std::string& path, int width, int height, const uint32_t* argb);
