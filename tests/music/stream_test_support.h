// Helpers of the stream tests: a scratch folder for tune files and reading a source whole.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
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

// The frequency of a tone in every stride-th sample from `first`: the median time between its
// rising crossings of zero (each found to a fraction of a sample), so that a gap of silence
// where a tune loops does not count. A crossing counts only after the wave went below a small
// dead band, so that noise near silence does not; 0 when there are fewer than three crossings.
inline double ToneFrequency(const std::vector<int16_t>& samples, int rate, size_t first = 0, size_t stride = 1) {
  constexpr int DeadBand = 300;
  std::vector<double> crossings;
  bool armed = false;
  for (size_t i = first + stride; i < samples.size(); i += stride) {
    const int before = samples[i - stride], now = samples[i];
    if (now < -DeadBand) armed = true;
    if (armed && before < 0 && now >= 0) {
      crossings.push_back(static_cast<double>((i - first) / stride) - 1 + static_cast<double>(-before) / (now - before));
      armed = false;
    }
  }
  if (crossings.size() < 3) return 0;
  std::vector<double> periods;
  for (size_t c = 1; c < crossings.size(); ++c) periods.push_back(crossings[c] - crossings[c - 1]);
  std::nth_element(periods.begin(), periods.begin() + static_cast<long>(periods.size() / 2), periods.end());
  return rate / periods[periods.size() / 2];
}

// The longest run of stereo frames in which both sides stay within +-threshold, counted from
// frame `from` on, or (fromFirstSound) from the first frame on that has sound.
inline size_t LongestQuietRun(const std::vector<int16_t>& stereo, size_t from = 0, bool fromFirstSound = false,
                              int threshold = 64) {
  size_t longest = 0, run = 0;
  bool started = !fromFirstSound;
  for (size_t f = from; 2 * f + 1 < stereo.size(); ++f) {
    const bool quiet = std::abs(stereo[2 * f]) <= threshold && std::abs(stereo[2 * f + 1]) <= threshold;
    started = started || !quiet;
    if (!started) continue;
    run = quiet ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

// The 16-bit samples of little-endian bytes.
inline std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return samples;
}

}  // namespace stream_test
