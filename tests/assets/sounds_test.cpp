// The four sound effects: each is an Ogg Vorbis file that decodes to a short, audible, click-free sound.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "assets/embedded_files.h"
#include "assets/sound/ogg_encoder.h"
#include "platform/sound.h"
#include "platform/stream.h"

namespace {

struct Decoded {
  int channels = 0;
  long rate = 0;
  std::vector<float> samples;  // the first channel
};

struct Reader {
  const std::vector<uint8_t>* bytes;
  size_t position = 0;
};

size_t ReadBytes(void* buffer, size_t size, size_t count, void* source) {
  auto* r = static_cast<Reader*>(source);
  size_t n = std::min(size * count, r->bytes->size() - r->position);
  std::memcpy(buffer, r->bytes->data() + r->position, n);
  r->position += n;
  return size ? n / size : 0;
}

// Decodes with vorbisfile itself, not through the game's loader.
bool Decode(const std::vector<uint8_t>& bytes, Decoded& out) {
  Reader reader{&bytes};
  ov_callbacks callbacks{ReadBytes, nullptr, nullptr, nullptr};
  OggVorbis_File file;
  if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) != 0) return false;
  vorbis_info* info = ov_info(&file, -1);
  out.channels = info->channels;
  out.rate = info->rate;
  int section = 0;
  while (true) {
    float** pcm = nullptr;
    long frames = ov_read_float(&file, &pcm, 4096, &section);
    if (frames < 0) {
      ov_clear(&file);
      return false;
    }
    if (frames == 0) break;
    out.samples.insert(out.samples.end(), pcm[0], pcm[0] + frames);
  }
  ov_clear(&file);
  return true;
}

class SoundsTest : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() { RegisterEmbeddedFiles(); }
};

}  // namespace

TEST_P(SoundsTest, DecodesToAShortAudibleSoundWithoutClicks) {
  const std::string name = GetParam();
  Decoded sound;
  ASSERT_TRUE(Decode(ReadAll("incbin::" + name), sound)) << name;
  EXPECT_EQ(sound.channels, 1);
  ASSERT_EQ(sound.rate, 44100);
  double seconds = static_cast<double>(sound.samples.size()) / sound.rate;
  EXPECT_GT(seconds, 0.08) << name;
  EXPECT_LT(seconds, 1.0) << name;  // effects, not tunes
  float peak = 0;
  for (float s : sound.samples) peak = std::max(peak, std::fabs(s));
  EXPECT_GT(peak, 0.2f) << name;
  EXPECT_LT(peak, 1.0f) << name;  // no clipping
  // Starts and ends at rest, so overlapping effects do not click.
  ASSERT_GT(sound.samples.size(), 200u);
  EXPECT_LT(std::fabs(sound.samples.front()), 0.05f) << name;
  EXPECT_LT(std::fabs(sound.samples.back()), 0.05f) << name;
}

TEST_P(SoundsTest, LoadsThroughThePlatformSoundLayer) {
  EXPECT_TRUE(LoadSound("incbin::" + GetParam())) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Effects, SoundsTest,
                         ::testing::Values("sounds/arrow.ogg", "sounds/Collect.ogg", "sounds/Die.ogg",
                                           "sounds/jump.ogg"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param.substr(7, info.param.size() - 11);
                           return name;
                         });

TEST(SoundsDistinct, TheFourEffectsAreDifferentSounds) {
  RegisterEmbeddedFiles();
  std::vector<size_t> lengths;
  for (const char* name : {"sounds/arrow.ogg", "sounds/Collect.ogg", "sounds/Die.ogg", "sounds/jump.ogg"}) {
    Decoded sound;
    ASSERT_TRUE(Decode(ReadAll(std::string("incbin::") + name), sound));
    lengths.push_back(sound.samples.size());
  }
  std::sort(lengths.begin(), lengths.end());
  EXPECT_EQ(std::unique(lengths.begin(), lengths.end()), lengths.end());
  // The jump sound restarts every few frames while jumping and falling: it is the shortest.
  Decoded jump;
  ASSERT_TRUE(Decode(ReadAll("incbin::sounds/jump.ogg"), jump));
  EXPECT_EQ(jump.samples.size(), lengths.front());
}

TEST(OggEncoder, KeepsEverySampleAndThePitchAndRepeatsItself) {
  std::vector<float> tone(13230);  // 0.3 s of 440 Hz
  for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.5f * static_cast<float>(std::sin(2 * 3.14159265358979 * 440 * i / 44100.0));
  std::vector<uint8_t> bytes = EncodeOgg(tone, 44100);
  Decoded decoded;
  ASSERT_TRUE(Decode(bytes, decoded));
  ASSERT_EQ(decoded.samples.size(), tone.size());
  int rises = 0;
  for (size_t i = 1; i < decoded.samples.size(); ++i) rises += decoded.samples[i - 1] < 0 && decoded.samples[i] >= 0;
  EXPECT_NEAR(rises, 132, 2);
  EXPECT_EQ(EncodeOgg(tone, 44100), bytes);
}

TEST(OggEncoder, AnEmptySoundIsAValidFileOfNoSamples) {
  Decoded decoded;
  ASSERT_TRUE(Decode(EncodeOgg({}, 44100), decoded));
  EXPECT_TRUE(decoded.samples.empty());
}
