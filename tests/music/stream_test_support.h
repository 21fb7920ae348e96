// Helpers of the stream tests: a scratch folder for tune files and reading a source whole.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "music/music.h"
#include "music/music_module.h"
#include "tests/music/stream_files.h"

namespace stream_test {

// A fresh folder under /tmp for the files of one test, removed with it.
class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/qxr_stream_XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "/tmp";
  }
  ~TempFolder() {
    if (path_ != "/tmp") std::filesystem::remove_all(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    stream_files::WriteFile(path_ + "/" + name, bytes);
    return path_ + "/" + name;
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// byteCount bytes from the source, in one FillBuffer; what was not written stays 0xEE.
inline std::vector<uint8_t> Fill(TMusic& music, int byteCount) {
  std::vector<uint8_t> bytes(static_cast<size_t>(byteCount), 0xEE);
  music.FillBuffer(bytes.data(), byteCount);
  return bytes;
}

// The bytes from `from` for count bytes.
inline std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
  return std::vector<uint8_t>(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(from + count));
}

// The frequency of a tone in every stride-th sample from `first`, from its rising crossings of
// zero (with a small dead band, so that noise near silence does not count); 0 for silence.
inline double ToneFrequency(const std::vector<int16_t>& samples, int rate, size_t first = 0, size_t stride = 1) {
  constexpr int DeadBand = 300;
  int risings = 0;
  size_t firstRising = 0, lastRising = 0;
  bool below = false;
  for (size_t i = first; i < samples.size(); i += stride) {
    if (samples[i] < -DeadBand) below = true;
    if (below && samples[i] > DeadBand) {
      below = false;
      if (risings++ == 0) firstRising = i;
      lastRising = i;
    }
  }
  if (risings < 2) return 0;
  return (risings - 1) * static_cast<double>(rate) * stride / static_cast<double>(lastRising - firstRising);
}

// The 16-bit samples of little-endian bytes.
inline std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return samples;
}

}  // namespace stream_test
