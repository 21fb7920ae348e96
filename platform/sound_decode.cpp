// Decoding sound files in memory: PCM WAV (8/16-bit, mono/stereo) and Ogg Vorbis via vorbisfile.
#include <cstring>

#include "platform/memory_stream.h"
#include "platform/ogg_callbacks.h"
#include "platform/sound_internal.h"

namespace {

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

bool DecodeWav(const std::vector<uint8_t>& bytes, SoundData& sound) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
    return false;
  int channels = 0, bits = 0;
  uint32_t rate = 0;
  size_t at = 12;
  while (at + 8 <= bytes.size()) {
    const uint8_t* chunk = bytes.data() + at;
    size_t size = Le32(chunk + 4);
    size_t bodyStart = at + 8;
    size_t available = bytes.size() - bodyStart;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size < 16 || available < 16) return false;
      uint16_t format = Le16(chunk + 8);
      channels = Le16(chunk + 10);
      rate = Le32(chunk + 12);
      bits = Le16(chunk + 22);
      // Plain PCM, or the extensible header naming PCM as its sub-format.
      bool pcm = format == 1 || (format == 0xFFFE && size >= 40 && available >= 40 && Le16(chunk + 32) == 1);
      if (!pcm || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) || rate == 0 || rate > 192000)
        return false;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!channels) return false;  // data before its format
      if (size > available) size = available;  // a length past the file's end is cut to the file
      size_t frameBytes = static_cast<size_t>(channels) * bits / 8;
      size_t frameCount = size / frameBytes;
      if (frameCount > MaxSoundFrames) frameCount = MaxSoundFrames;
      sound.rate = static_cast<int>(rate);
      sound.frames.resize(frameCount * 2);
      const uint8_t* p = bytes.data() + bodyStart;
      for (size_t f = 0; f < frameCount; ++f) {
        int16_t left, right;
        if (bits == 8) {
          left = static_cast<int16_t>((p[0] - 128) << 8);
          right = channels == 2 ? static_cast<int16_t>((p[1] - 128) << 8) : left;
        } else {
          left = static_cast<int16_t>(Le16(p));
          right = channels == 2 ? static_cast<int16_t>(Le16(p + 2)) : left;
        }
        sound.frames[2 * f] = left;
        sound.frames[2 * f + 1] = right;
        p += frameBytes;
      }
      return true;
    }
    if (size > available) return false;
    at = bodyStart + size + (size & 1);  // chunks are padded to even lengths
  }
  return false;
}

bool DecodeOgg(const std::vector<uint8_t>& bytes, SoundData& sound) {
  MemoryStream source(bytes.data(), bytes.size());
  OggVorbis_File file;
  if (ov_open_callbacks(&source, &file, nullptr, 0, StreamOggCallbacks()) != 0) return false;
  vorbis_info* info = ov_info(&file, -1);
  if (!info || info->channels < 1 || info->rate <= 0) {
    ov_clear(&file);
    return false;
  }
  int channels = info->channels;
  sound.rate = static_cast<int>(info->rate);
  sound.frames.clear();
  std::vector<int16_t> block(4096 * static_cast<size_t>(channels));
  int section = 0;
  for (;;) {
    long got = ov_read(&file, reinterpret_cast<char*>(block.data()), static_cast<int>(block.size() * 2), 0, 2, 1,
                       &section);
    if (got == OV_HOLE) continue;  // a gap in the stream: carry on after it
    if (got <= 0) break;
    vorbis_info* now = ov_info(&file, section);
    if (now && now->channels != channels) break;  // a chained stream that changes shape: keep what we have
    size_t frameCount = static_cast<size_t>(got) / 2 / channels;
    for (size_t f = 0; f < frameCount && sound.frames.size() / 2 < MaxSoundFrames; ++f) {
      int16_t left = block[f * channels];
      int16_t right = channels > 1 ? block[f * channels + 1] : left;
      sound.frames.push_back(left);
      sound.frames.push_back(right);
    }
    if (sound.frames.size() / 2 >= MaxSoundFrames) break;
  }
  ov_clear(&file);
  return !sound.frames.empty();
}
