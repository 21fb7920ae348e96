// Encoding samples as an Ogg Vorbis file in memory, through libvorbisenc.
#pragma once

#include <cstdint>
#include <vector>

// Samples -1..1 at the given rate; empty on failure. The same samples always give the same bytes.
std::vector<uint8_t> EncodeOgg(const std::vector<float>& samples, int rate);
// One list of samples per channel, all of the same length, in the Vorbis channel order.
std::vector<uint8_t> EncodeOggChannels(const std::vector<std::vector<float>>& channels, int rate);
