// The MP3 stream through the audio compression layer: its printed set-up, the bytes a pass
// gives, its loop, and files that give no sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

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
    // The whole frames of the file: the second of tone with the encoder's delay and padding (the
    // encoder's information frame is passed over, not decoded).
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

// An ID3v2 tag (version 3) with a body of bodyBytes bytes.
std::vector<uint8_t> Id3Tag(size_t bodyBytes) {
  std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0};
  for (int shift = 21; shift >= 0; shift -= 7) tag.push_back(static_cast<uint8_t>((bodyBytes >> shift) & 0x7F));
  for (size_t i = 0; i < bodyBytes; ++i) tag.push_back(static_cast<uint8_t>(i % 7 == 0 ? 0xFF : i % 251));
  return tag;
}

// The lengths of the MPEG-1 layer-3 frames of a constant-rate file at 44,100 Hz, as their
// headers give them.
std::vector<size_t> FrameLengths(const std::vector<uint8_t>& file) {
  static const int Kbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  std::vector<size_t> lengths;
  for (size_t at = 0; at + 4 <= file.size();) {
    if (file[at] != 0xFF || (file[at + 1] & 0xFE) != 0xFA || Kbps[file[at + 2] >> 4] == 0) break;
    const size_t length = 144000 * Kbps[file[at + 2] >> 4] / 44100 + ((file[at + 2] >> 1) & 1);
    lengths.push_back(length);
    at += length;
  }
  return lengths;
}

TEST(Mp3Stream, TagsAndTheInformationFrameArePassedOverAtEveryLoop) {
  TempFolder folder;
  const std::vector<uint8_t> tone = stream_files::ToneMp3(440, 44100, 22050, 2);
  const std::vector<size_t> frames = FrameLengths(tone);
  ASSERT_GT(frames.size(), 10u);
  std::vector<uint8_t> file = Id3Tag(100000);
  const std::vector<uint8_t> second = Id3Tag(300);
  file.insert(file.end(), second.begin(), second.end());
  file.insert(file.end(), tone.begin(), tone.end());
  testing::internal::CaptureStdout();
  auto mp3 = OpenMp3(folder.Write("tagged.mp3", file));
  testing::internal::GetCapturedStdout();
  ASSERT_NE(mp3, nullptr);
  // The first frame is the encoder's information frame.
  EXPECT_EQ(mp3->dataStart, static_cast<long>(100010 + 310 + frames[0]));

  // Refills of a 60th of a second over three loops.
  std::vector<uint8_t> played;
  for (int refill = 0; refill < 100; ++refill) {
    std::vector<uint8_t> bytes = Fill(*mp3, 2940);
    played.insert(played.end(), bytes.begin(), bytes.end());
  }
  // A pass is every frame of sound, the information frame not among them.
  EXPECT_EQ(mp3->length, static_cast<int>((frames.size() - 1) * 1152 * 4));
  // The only quiet stretch where the tune starts again is the encoder's delay and padding,
  // less than the frame of silence the information frame would add.
  const std::vector<int16_t> samples = Samples(played);
  EXPECT_LT(stream_test::LongestQuietRun(samples, 2048), 1152u);
  EXPECT_NEAR(ToneFrequency(samples, 44100, 0, 2), 440, 3);
}

TEST(Mp3Stream, AFileOfNoiseCostsABoundedReadPerRefillAndThenPlaysNothing) {
  TempFolder folder;
  std::vector<uint8_t> noise(16 << 20);
  uint32_t state = 2463534242u;
  for (uint8_t& byte : noise) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    byte = static_cast<uint8_t>(state >> 24);
  }
  testing::internal::CaptureStdout();
  auto mp3 = OpenMp3(folder.Write("noise.mp3", noise));
  testing::internal::GetCapturedStdout();
  ASSERT_NE(mp3, nullptr);
  // The first fill of the output stream's whole ring, then refills of a 60th of a second.
  const auto bound = [](int request) {
    return request / 2 + Tunemix_ACM::SourceBytesPerFillBeyondSound + stream_files::SilentMp3FrameBytes;
  };
  long before = mp3->stream->Position();
  EXPECT_EQ(Fill(*mp3, 44100), std::vector<uint8_t>(44100, 0));
  EXPECT_LE(mp3->stream->Position() - before, bound(44100));
  for (int refill = 0; refill < 200; ++refill) {
    before = mp3->stream->Position();
    ASSERT_EQ(Fill(*mp3, 2940), std::vector<uint8_t>(2940, 0)) << refill;
    ASSERT_LE(mp3->stream->Position() - before, bound(2940)) << refill;
  }
  // Not a frame of sound in the first megabyte or so: the rest of the file is never read.
  const long read = mp3->stream->Position();
  EXPECT_GE(read, Tunemix_ACM::MostSourceBytesWithoutSound);
  EXPECT_LE(read, Tunemix_ACM::MostSourceBytesWithoutSound + bound(44100));
  EXPECT_EQ(Fill(*mp3, 2940), std::vector<uint8_t>(2940, 0));
  EXPECT_EQ(mp3->stream->Position(), read);
}

TEST(Mp3Stream, SoundAfterJunkInTheFirstMegabyteStillPlays) {
  TempFolder folder;
  std::vector<uint8_t> file(300000);
  for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 13 % 251);
  const std::vector<uint8_t> tone = stream_files::ToneMp3(440, 44100, 44100, 2);
  file.insert(file.end(), tone.begin(), tone.end());
  testing::internal::CaptureStdout();
  auto mp3 = OpenMp3(folder.Write("late.mp3", file));
  testing::internal::GetCapturedStdout();
  ASSERT_NE(mp3, nullptr);
  std::vector<uint8_t> played;
  for (int refill = 0; refill < 300; ++refill) {
    std::vector<uint8_t> bytes = Fill(*mp3, 2940);
    played.insert(played.end(), bytes.begin(), bytes.end());
  }
  EXPECT_NEAR(ToneFrequency(Samples(played), 44100, 0, 2), 440, 3);
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
