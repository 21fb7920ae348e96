// The OGG stream: what it opens, the bytes it decodes, its loop, files of more than two
// channels and files whose length the decoder does not report.
#include <gtest/gtest.h>

#include "music/loader_registry.h"
#include "music/ogg_stream.h"
#include "platform/sound_internal.h"
#include "tests/music/stream_test_support.h"

namespace {

using stream_test::Fill;
using stream_test::Samples;
using stream_test::Slice;
using stream_test::TempFolder;
using stream_test::ToneFrequency;

// The file decoded by the platform's own sound decoder: frames of left, right.
std::vector<int16_t> ReferenceDecode(const std::vector<uint8_t>& file) {
  SoundData sound;
  EXPECT_TRUE(DecodeOgg(file, sound));
  return sound.frames;
}

TEST(OggStream, MonoFileGivesMono16AndItsLengthAndTheDecodedSamples) {
  TempFolder folder;
  const std::vector<uint8_t> file = stream_files::ToneOgg(440, 22050, 11025, 1);
  auto ogg = Tunemix_OGG::Open(folder.Write("mono.ogg", file));
  ASSERT_NE(ogg, nullptr);
  EXPECT_EQ(ogg->format, FormatMono16);
  EXPECT_EQ(ogg->rate, 22050);
  EXPECT_EQ(ogg->sampleCount, 11025);
  EXPECT_EQ(ogg->length, 11025 * 2);

  const std::vector<int16_t> reference = ReferenceDecode(file);
  ASSERT_EQ(reference.size(), 11025u * 2);
  // In requests of a refill's size, as the output stream asks.
  std::vector<int16_t> played;
  for (int i = 0; i < 30; ++i) {
    std::vector<int16_t> part = Samples(Fill(*ogg, 735 * 2));
    played.insert(played.end(), part.begin(), part.end());
  }
  for (size_t i = 0; i < 11025; ++i) ASSERT_EQ(played[i], reference[2 * i]) << i;
  EXPECT_NEAR(ToneFrequency(played, 22050, 0, 1), 440, 4);
}

TEST(OggStream, StereoFileLoopsAtItsEndWithoutAGap) {
  TempFolder folder;
  const std::vector<uint8_t> file = stream_files::ToneOgg(330, 44100, 5000, 2);
  auto ogg = Tunemix_OGG::Open(folder.Write("stereo.ogg", file));
  ASSERT_NE(ogg, nullptr);
  EXPECT_EQ(ogg->format, FormatStereo16);
  EXPECT_EQ(ogg->length, 5000 * 4);
  const std::vector<int16_t> reference = ReferenceDecode(file);
  auto bytesOf = [&reference](size_t from, size_t count) {
    return std::vector<int16_t>(reference.begin() + static_cast<long>(from / 2),
                                reference.begin() + static_cast<long>((from + count) / 2));
  };

  std::vector<uint8_t> first = Fill(*ogg, 12000);
  std::vector<uint8_t> end = Fill(*ogg, 12000);
  EXPECT_EQ(Samples(first), bytesOf(0, 12000));
  EXPECT_EQ(Samples(Slice(end, 0, 8000)), bytesOf(12000, 8000));
  // The next pass follows in the same request.
  EXPECT_EQ(Samples(Slice(end, 8000, 4000)), bytesOf(0, 4000));
  EXPECT_EQ(ogg->position, 4000);
  EXPECT_EQ(Samples(Fill(*ogg, 16000)), bytesOf(4000, 16000));
  // Requests longer than the whole file hold pass after pass.
  std::vector<uint8_t> passes = Fill(*ogg, 50000);
  for (int pass = 0; pass < 2; ++pass) EXPECT_EQ(Samples(Slice(passes, 20000 * pass, 20000)), reference) << pass;
  EXPECT_EQ(Samples(Slice(passes, 40000, 10000)), bytesOf(0, 10000));

  // Without the loop flag the rest of the request after the pass is silence, and the next one
  // starts again.
  ogg->loop = 0;
  Fill(*ogg, 6000);
  end = Fill(*ogg, 6000);
  EXPECT_EQ(Samples(Slice(end, 0, 4000)), bytesOf(16000, 4000));
  EXPECT_EQ(Slice(end, 4000, 2000), std::vector<uint8_t>(2000, 0));
  EXPECT_EQ(Fill(*ogg, 12000), first);
}

TEST(OggStream, MoreThanTwoChannelsAreMixedToLeftAndRight) {
  TempFolder folder;
  // Eight channels in the Vorbis order: front left, centre, front right, side left, side right,
  // rear left, rear right, LFE.
  const int frames = 8820;
  std::vector<std::vector<float>> channels(8, std::vector<float>(frames, 0.0f));
  channels[0] = stream_files::Sine(441, 44100, frames, 0.6);
  channels[2] = stream_files::Sine(882, 44100, frames, 0.6);
  channels[7] = stream_files::Sine(110, 44100, frames, 0.6);  // the LFE is left out
  auto ogg = Tunemix_OGG::Open(folder.Write("eight.ogg", EncodeOggChannels(channels, 44100)));
  ASSERT_NE(ogg, nullptr);
  EXPECT_EQ(ogg->format, FormatStereo16);
  EXPECT_EQ(ogg->length, frames * 4);
  std::vector<int16_t> played = Samples(Fill(*ogg, frames * 4));
  EXPECT_NEAR(ToneFrequency(played, 44100, 0, 2), 441, 4);
  EXPECT_NEAR(ToneFrequency(played, 44100, 1, 2), 882, 8);
}

TEST(OggStream, WithoutAKnownLengthThePassEndsWhereTheDataEnds) {
  TempFolder folder;
  const std::vector<uint8_t> file = stream_files::ToneOgg(440, 44100, 3000, 1);
  const std::vector<int16_t> reference = ReferenceDecode(file);
  // A length the decoder could not report (0), or one longer than the data really is.
  for (int length : {0, 100000}) {
    auto ogg = Tunemix_OGG::Open(folder.Write("tune.ogg", file));
    ASSERT_NE(ogg, nullptr);
    ogg->length = length;
    std::vector<uint8_t> pass = Fill(*ogg, 3000 * 2 + 1000);
    std::vector<int16_t> samples = Samples(pass);
    // The data, then at once the start of the next pass.
    for (size_t i = 0; i < 3500; ++i) ASSERT_EQ(samples[i], reference[2 * (i % 3000)]) << i;
    std::vector<int16_t> again = Samples(Fill(*ogg, 200));
    for (size_t i = 0; i < 100; ++i) ASSERT_EQ(again[i], reference[2 * (500 + i)]) << i;
  }
}

TEST(OggStream, FilesTheDecoderRejectsGiveNullAndClosedStreamsPlaySilence) {
  InitMusicModule();
  TempFolder folder;
  EXPECT_EQ(LoadOGG(folder.Path() + "/missing.ogg"), nullptr);
  EXPECT_EQ(LoadOGG(folder.Write("junk.ogg", std::vector<uint8_t>(5000, 0x4F))), nullptr);
  auto ogg = LoadMusic(folder.Write("tune.ogg", stream_files::ToneOgg(440, 44100, 2000, 2)));
  ASSERT_NE(std::dynamic_pointer_cast<Tunemix_OGG>(ogg), nullptr);
  EXPECT_EQ(ogg->SetInfo(InfoRate, 22050), 0);
  EXPECT_EQ(ogg->Close(), 0);
  EXPECT_EQ(Fill(*ogg, 400), std::vector<uint8_t>(400, 0));
}

}  // namespace
