// Builds WAV, OGG and MP3 files in memory, for the stream tests, the client's music tests and
// the fuzz seeds: tones, any WAV header field, Ogg Vorbis of any channel count, MP3 through
// the LAME encoder and silent MP3 frames written by hand.
#pragma once

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "assets/sound/ogg_encoder.h"

namespace stream_files {

// A sine of hz at rate, frames long, amplitude 0..1.
inline std::vector<float> Sine(double hz, int rate, int frames, double amplitude = 0.5) {
  std::vector<float> wave(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i)
    wave[i] = static_cast<float>(amplitude * std::sin(2 * 3.14159265358979 * hz * i / rate));
  return wave;
}

inline void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
inline void PutTag(std::vector<uint8_t>& out, const std::string& tag) { out.insert(out.end(), tag.begin(), tag.end()); }

// Interleaved PCM bytes of the channels: 16-bit little-endian, or 8-bit unsigned.
inline std::vector<uint8_t> Pcm(const std::vector<std::vector<float>>& channels, int bits) {
  std::vector<uint8_t> out;
  for (size_t i = 0; !channels.empty() && i < channels[0].size(); ++i)
    for (const auto& channel : channels) {
      const double v = std::max(-1.0, std::min(1.0, static_cast<double>(channel[i])));
      if (bits == 8) out.push_back(static_cast<uint8_t>(std::lround(v * 127) + 128));
      else PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767))));
    }
  return out;
}

struct WavSpec {
  int formatTag = 1;
  int channels = 1;
  int rate = 44100;
  int bits = 16;
  uint32_t fmtSize = 16;                  // bytes of the format record written (extra ones are 0)
  std::vector<std::pair<std::string, std::vector<uint8_t>>> chunksBeforeData;  // with their own sizes
  bool padOddChunks = true;               // RIFF pads odd bodies to an even length
  bool withData = true;
  std::vector<uint8_t> data;
  int64_t dataSizeField = -1;             // -1: data.size()
};

inline std::vector<uint8_t> Wav(const WavSpec& spec) {
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  PutU32(out, 0);  // patched below
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, spec.fmtSize);
  const int blockAlign = spec.channels * spec.bits / 8;
  std::vector<uint8_t> fmt;
  PutU16(fmt, static_cast<uint32_t>(spec.formatTag));
  PutU16(fmt, static_cast<uint32_t>(spec.channels));
  PutU32(fmt, static_cast<uint32_t>(spec.rate));
  PutU32(fmt, static_cast<uint32_t>(spec.rate * blockAlign));
  PutU16(fmt, static_cast<uint32_t>(blockAlign));
  PutU16(fmt, static_cast<uint32_t>(spec.bits));
  fmt.resize(spec.fmtSize, 0);
  out.insert(out.end(), fmt.begin(), fmt.end());
  for (const auto& [tag, body] : spec.chunksBeforeData) {
    PutTag(out, tag);
    PutU32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (spec.padOddChunks && body.size() % 2) out.push_back(0);
  }
  if (spec.withData) {
    PutTag(out, "data");
    PutU32(out, static_cast<uint32_t>(spec.dataSizeField >= 0 ? spec.dataSizeField : spec.data.size()));
    out.insert(out.end(), spec.data.begin(), spec.data.end());
  }
  const uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riffSize >> (8 * i));
  return out;
}

// A WAV of the tone, 16-bit, one channel or the same tone on two.
inline std::vector<uint8_t> ToneWav(double hz, int rate, int frames, int channels = 1, int bits = 16) {
  WavSpec spec;
  spec.channels = channels;
  spec.rate = rate;
  spec.bits = bits;
  spec.data = Pcm(std::vector<std::vector<float>>(static_cast<size_t>(channels), Sine(hz, rate, frames)), bits);
  return Wav(spec);
}

inline std::vector<uint8_t> ToneOgg(double hz, int rate, int frames, int channels = 1) {
  return EncodeOggChannels(std::vector<std::vector<float>>(static_cast<size_t>(channels), Sine(hz, rate, frames)), rate);
}

// An MP3 of the channels (one or two) through LAME, with its information frame, so a decoder
// that honours it gives back exactly the frames encoded.
inline std::vector<uint8_t> Mp3(const std::vector<std::vector<float>>& channels, int rate, int kbps = 64) {
  std::vector<uint8_t> out;
  lame_t lame = lame_init();
  if (!lame) return out;
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, static_cast<int>(channels.size()));
  lame_set_mode(lame, channels.size() == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(lame, kbps);
  lame_set_bWriteVbrTag(lame, 1);
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    return out;
  }
  const int frames = static_cast<int>(channels[0].size());
  std::vector<short> left(channels[0].size()), right(channels.back().size());
  for (int i = 0; i < frames; ++i) {
    left[i] = static_cast<short>(std::lround(channels[0][i] * 32767));
    right[i] = static_cast<short>(std::lround(channels.back()[i] * 32767));
  }
  out.resize(static_cast<size_t>(frames) * 5 / 4 + 7200 + 16384);
  int used = lame_encode_buffer(lame, left.data(), right.data(), frames, out.data(), static_cast<int>(out.size()));
  if (used >= 0) used += lame_encode_flush(lame, out.data() + used, static_cast<int>(out.size()) - used);
  if (used < 0) used = 0;
  out.resize(static_cast<size_t>(used));
  // The information frame, written over the empty one LAME put first.
  std::vector<uint8_t> tag(8192);
  const size_t tagBytes = lame_get_lametag_frame(lame, tag.data(), tag.size());
  if (tagBytes > 0 && tagBytes <= out.size()) std::copy(tag.begin(), tag.begin() + tagBytes, out.begin());
  lame_close(lame);
  return out;
}

inline std::vector<uint8_t> ToneMp3(double hz, int rate, int frames, int channels = 2) {
  return Mp3(std::vector<std::vector<float>>(static_cast<size_t>(channels), Sine(hz, rate, frames)), rate);
}

// MPEG-1 layer 3 frames, 44,100 Hz stereo at 128 kbit/s (417 bytes each), written by hand: a
// header, empty side information and empty main data. Each decodes to 1,152 silent frames.
constexpr int SilentMp3FrameBytes = 417;
constexpr int SilentMp3FrameSamples = 1152;
inline std::vector<uint8_t> SilentMp3(int frames) {
  std::vector<uint8_t> out;
  for (int f = 0; f < frames; ++f) {
    const uint8_t header[4] = {0xFF, 0xFB, 0x90, 0x00};  // sync, MPEG-1 layer 3, no CRC; 128 kbit/s, 44,100 Hz; stereo
    out.insert(out.end(), header, header + 4);
    out.resize(out.size() + SilentMp3FrameBytes - 4, 0);
  }
  return out;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace stream_files
