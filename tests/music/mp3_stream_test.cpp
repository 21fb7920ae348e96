// The MP3 stream through the audio compression layer: its printed set-up, the bytes a pass
// gives, its loop, and files that give no sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "music/loader_registry.h"
#include "music/mp3_stream.h"
#include "platform/system.h"
#include "tests/music/stream_test_support.h"

namespace {

using stream_test::Fill;
using stream_test::Samples;
using stream_test::TempFolder;
using stream_test::ToneFrequency;

constexpr const char* OpeningLines =
    "acmStreamOpen...acm - okay\nacmStreamSize...acm - okay\nacmStreamPrepareHeader...acm - okay\n";

std::shared_ptr<Tunemix_MP3Stream> OpenMp3(const std::string& path) {
  InitMusicModule();
  return Tunemix_MP3Stream::Open(path);
}

// Plays refills of 2,940 bytes (a 60th of a second) until the first pass is over; the bytes
// of that pass.
std::vector<uint8_t> FirstPass(Tunemix_MP3Stream& mp3) {
  std::vector<uint8_t> pass;
  for (int refill = 0; refill < 2000 && mp3.length == 0; ++refill) {
    std::vector<uint8_t> bytes = Fill(mp3, 2940);
    pass.insert(pass.end(), bytes.begin(), bytes.end());
  }
  pass.resize(static_cast<size_t>(mp3.length));
  return pass;
}

TEST(Mp3Stream, OpeningPrintsEachStepAndItsResult) {
  TempFolder folder;
  const std::string path = folder.Write("tune.mp3", stream_files::SilentMp3(4));
  InitMusicModule();
  testing::internal::CaptureStdout();
  auto mp3 = Tunemix_MP3Stream::Open(path);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), OpeningLines);
  ASSERT_NE(mp3, nullptr);
  EXPECT_EQ(mp3->rate, 44100);
  EXPECT_EQ(mp3->format, FormatStereo16);
  testing::internal::CaptureStdout();
  mp3.reset();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "acmStreamClose\n");
}

TEST(Mp3Stream, ResultTextsAndTheirCodes) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(ACMErrorText(20), 20);
  EXPECT_EQ(ACMErrorText(21), 21);
  EXPECT_EQ(ACMErrorText(514), 514);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "acm - driver does Not call DriverCallback\nacm - unknown error code \"21\"\nacm - unprepared\n");
}

TEST(Mp3Stream, AMissingFileRaisesItsErrorAfterTheConversionOpened) {
  TempFolder folder;
  InitMusicModule();
  testing::internal::CaptureStdout();
  try {
    Tunemix_MP3Stream::Open(folder.Path() + "/missing.mp3");
    ADD_FAILURE() << "no error raised";
  } catch (const RuntimeError& error) {
    EXPECT_STREQ(error.what(), "Unable to open MP3");
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "acmStreamOpen...acm - okay\nacmStreamClose\n");
}

TEST(Mp3Stream, AnEncodedToneDecodesToEveryFrameAtItsPitchAndLoops) {
  TempFolder folder;
  // One second at 44,100 Hz stereo, and one second at 22,050 Hz mono that the layer converts.
  const std::pair<int, int> kinds[] = {{44100, 2}, {22050, 1}};
  for (const auto& [rate, channels] : kinds) {
    testing::internal::CaptureStdout();
    auto mp3 = OpenMp3(folder.Write("tone.mp3", stream_files::ToneMp3(440, rate, rate, channels)));
    testing::internal::GetCapturedStdout();
    ASSERT_NE(mp3, nullptr);
    std::vector<uint8_t> pass = FirstPass(*mp3);
    // The whole frames of the file: the second of tone, the encoder's delay and padding, and the
    // encoder's information frame, decoded as silence (its counts are not trusted).
    constexpr int FrameBytes = 1152 * 4;
    EXPECT_EQ(mp3->length % FrameBytes, 0) << rate;
    EXPECT_GE(mp3->length, 44100 * 4) << rate;
    EXPECT_LE(mp3->length, 44100 * 4 + 5 * FrameBytes) << rate;
    EXPECT_EQ(mp3->GetInfo(InfoLength), mp3->length);
    std::vector<int16_t> samples = Samples(pass);
    EXPECT_NEAR(ToneFrequency(samples, 44100, 0, 2), 440, 3) << rate;
    EXPECT_NEAR(ToneFrequency(samples, 44100, 1, 2), 440, 3) << rate;
    // The loop goes on with sound.
    EXPECT_NEAR(ToneFrequency(Samples(Fill(*mp3, 44100)), 44100, 0, 2), 440, 5) << rate;
  }
}

// The encoder's information frame, as LAME writes it, with a frame count of 2^32 - 1: the
// decoder's position bookkeeping over that many frames took minutes on a few kilobytes.
TEST(Mp3Stream, AnInformationFrameClaimingBillionsOfFramesDoesNotHoldTheGameUp) {
  TempFolder folder;
  std::vector<uint8_t> bytes = stream_files::ToneMp3(440, 22050, 22050, 1);
  const uint8_t tag[] = {'I', 'n', 'f', 'o'};
  auto at = std::search(bytes.begin(), bytes.end(), std::begin(tag), std::end(tag));
  ASSERT_NE(at, bytes.end());
  ASSERT_GE(bytes.end() - at, 12);
  at[7] |= 1;  // the flag saying a frame count follows
  std::fill(at + 8, at + 12, 0xFF);
  testing::internal::CaptureStdout();
  auto mp3 = OpenMp3(folder.Write("claims.mp3", bytes));
  testing::internal::GetCapturedStdout();
  ASSERT_NE(mp3, nullptr);
  const auto start = std::chrono::steady_clock::now();
  std::vector<uint8_t> pass = FirstPass(*mp3);
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 10.0) << "one pass of a second of sound";
  EXPECT_NEAR(ToneFrequency(Samples(pass), 44100, 0, 2), 440, 3);
}

TEST(Mp3Stream, ConversionsAreHandedOutAcrossRequests) {
  TempFolder folder;
  testing::internal::CaptureStdout();
  auto mp3 = OpenMp3(folder.Write("silence.mp3", stream_files::SilentMp3(10)));
  testing::internal::GetCapturedStdout();
  ASSERT_NE(mp3, nullptr);
  // Each frame gives 4,608 bytes: three conversions with sound cover 10,000 bytes.
  EXPECT_EQ(Fill(*mp3, 10000), std::vector<uint8_t>(10000, 0));
  EXPECT_EQ(mp3->pending, 3 * 4608 - 10000);
  EXPECT_EQ(FirstPass(*mp3).size(), 10u * stream_files::SilentMp3FrameSamples * 4);
}

TEST(Mp3Stream, FilesWithoutSoundGiveSilenceAtOnceInsteadOfHanging) {
  TempFolder folder;
  std::vector<uint8_t> junk(200000);
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<uint8_t>(i * 13 % 251);
  for (const auto& bytes : {junk, std::vector<uint8_t>{}}) {
    testing::internal::CaptureStdout();
    auto mp3 = OpenMp3(folder.Write("noise.mp3", bytes));
    testing::internal::GetCapturedStdout();
    ASSERT_NE(mp3, nullptr);
    for (int refill = 0; refill < 100; ++refill) ASSERT_EQ(Fill(*mp3, 2940), std::vector<uint8_t>(2940, 0));
  }
}

TEST(Mp3Stream, TheLengthIsEstimatedFromTheFileUntilAPassIsOver) {
  TempFolder folder;
  testing::internal::CaptureStdout();
  auto mp3 = OpenMp3(folder.Write("tone.mp3", stream_files::ToneMp3(440, 44100, 44100, 2)));
  const int estimate = mp3 ? mp3->GetInfo(InfoLength) : 0;
  EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(OpeningLines) + "acm - okay\n");
  ASSERT_NE(mp3, nullptr);
  EXPECT_GE(estimate, 44100 * 4);
  EXPECT_EQ(mp3->SetInfo(InfoRate, 22050), 0);
}

TEST(Mp3Stream, LoadMusicOpensMp3FilesThroughTheLayer) {
  InitMusicModule();
  TempFolder folder;
  testing::internal::CaptureStdout();
  MusicPtr music = LoadMusic(folder.Write("Tune.MP3", stream_files::SilentMp3(2)));
  testing::internal::GetCapturedStdout();
  EXPECT_NE(std::dynamic_pointer_cast<Tunemix_MP3Stream>(music), nullptr);
  EXPECT_NE(MusicFileFilter(1, 0).find(";ISO/MPEG Layer3 \".mp3\":mp3"), std::string::npos);
}

}  // namespace
