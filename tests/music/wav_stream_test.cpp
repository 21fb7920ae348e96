// The WAV stream: which headers open, the chunk walk, the bytes it delivers and its loop.
#include <gtest/gtest.h>

#include "music/loader_registry.h"
#include "music/wav_stream.h"
#include "tests/music/stream_test_support.h"

namespace {

using stream_files::Wav;
using stream_files::WavSpec;
using stream_test::Fill;
using stream_test::Slice;
using stream_test::TempFolder;

// Data bytes 0, 1, 2, ... (as many as asked), so every byte shows where it came from.
std::vector<uint8_t> Counting(size_t count) {
  std::vector<uint8_t> data(count);
  for (size_t i = 0; i < count; ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 256);
  return data;
}

std::shared_ptr<Tunemix_WavStream> OpenWav(const TempFolder& folder, const WavSpec& spec) {
  return Tunemix_WavStream::Open(folder.Write("tune.wav", Wav(spec)));
}

TEST(WavStream, APlainHeaderGivesFormatRateLengthAndDataStart) {
  TempFolder folder;
  WavSpec spec;
  spec.channels = 2;
  spec.rate = 44100;
  spec.data = Counting(4000);
  auto wav = OpenWav(folder, spec);
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->format, FormatStereo16);
  EXPECT_EQ(wav->rate, 44100);
  EXPECT_EQ(wav->length, 4000);
  EXPECT_EQ(wav->dataStart, 44);
  EXPECT_EQ(wav->position, 0);

  const std::pair<int, int> formats[] = {{8, 1}, {8, 2}, {16, 1}, {16, 2}};
  const int codes[] = {FormatMono8, FormatStereo8, FormatMono16, FormatStereo16};
  for (int i = 0; i < 4; ++i) {
    spec.bits = formats[i].first;
    spec.channels = formats[i].second;
    auto other = OpenWav(folder, spec);
    ASSERT_NE(other, nullptr) << i;
    EXPECT_EQ(other->format, codes[i]);
  }
}

TEST(WavStream, ChunksBeforeTheDataAreSkippedAndALongFormatRecordToo) {
  TempFolder folder;
  WavSpec spec;
  spec.fmtSize = 18;
  spec.chunksBeforeData = {{"LIST", Counting(26)}, {"note", Counting(5)}};  // an odd body is padded
  spec.data = Counting(1000);
  auto wav = OpenWav(folder, spec);
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->dataStart, 12 + 8 + 18 + 8 + 26 + 8 + 6 + 8);
  EXPECT_EQ(wav->length, 1000);
  EXPECT_EQ(Fill(*wav, 1000), spec.data);
}

TEST(WavStream, HeadersItCannotPlayGiveNull) {
  TempFolder folder;
  WavSpec good;
  good.data = Counting(100);
  EXPECT_EQ(Tunemix_WavStream::Open(folder.Path() + "/missing.wav"), nullptr);

  std::vector<uint8_t> notRiff = Wav(good);
  notRiff[0] = 'X';
  EXPECT_EQ(Tunemix_WavStream::Open(folder.Write("a.wav", notRiff)), nullptr);

  WavSpec listFirst = good;  // "fmt " must come first
  std::vector<uint8_t> bytes = Wav(listFirst);
  std::copy_n("LIST", 4, bytes.begin() + 12);
  EXPECT_EQ(Tunemix_WavStream::Open(folder.Write("b.wav", bytes)), nullptr);

  WavSpec wide = good;
  wide.bits = 24;
  EXPECT_EQ(OpenWav(folder, wide), nullptr);
  WavSpec surround = good;
  surround.channels = 6;
  EXPECT_EQ(OpenWav(folder, surround), nullptr);
  WavSpec compressed = good;
  compressed.formatTag = 3;
  EXPECT_EQ(OpenWav(folder, compressed), nullptr);
  // A format record shorter than its fixed part would be read backwards.
  WavSpec shortFormat = good;
  shortFormat.fmtSize = 12;
  EXPECT_EQ(OpenWav(folder, shortFormat), nullptr);
}

TEST(WavStream, DamagedChunkSizesNeitherLoopForEverNorOverrunTheFile) {
  TempFolder folder;
  // A size of -8 as a signed number would walk back onto the same chunk for ever.
  WavSpec backwards;
  backwards.chunksBeforeData = {{"junk", {}}};
  backwards.data = Counting(64);
  std::vector<uint8_t> bytes = Wav(backwards);
  for (int i = 0; i < 4; ++i) bytes[40 + i] = i == 0 ? 0xF8 : 0xFF;
  auto wav = Tunemix_WavStream::Open(folder.Write("loop.wav", bytes));
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->length, 0);

  // A data chunk that promises more than the file holds plays what there is, and loops there.
  WavSpec overrun;
  overrun.data = Counting(600);
  overrun.dataSizeField = 0x7FFFFF00;
  wav = OpenWav(folder, overrun);
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->length, 600);
  std::vector<uint8_t> played = Fill(*wav, 1000);
  EXPECT_EQ(Slice(played, 0, 600), overrun.data);
  EXPECT_EQ(Slice(played, 600, 400), Slice(overrun.data, 0, 400));
}

TEST(WavStream, AnOddChunkWrittenWithoutItsPadByteIsReadToo) {
  TempFolder folder;
  WavSpec spec;
  spec.chunksBeforeData = {{"LIST", Counting(27)}, {"note", Counting(5)}};
  spec.padOddChunks = false;
  spec.data = Counting(800);
  auto wav = OpenWav(folder, spec);
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->dataStart, 12 + 8 + 16 + 8 + 27 + 8 + 5 + 8);
  EXPECT_EQ(wav->length, 800);
  EXPECT_EQ(Fill(*wav, 800), spec.data);

  // An odd format record without its pad byte.
  WavSpec oddFormat;
  oddFormat.fmtSize = 17;
  oddFormat.channels = 2;
  oddFormat.data = Counting(400);
  wav = OpenWav(folder, oddFormat);
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->dataStart, 12 + 8 + 17 + 8);
  EXPECT_EQ(Fill(*wav, 400), oddFormat.data);

  // Padded, the chunk after the pad byte is taken even where the byte before it would also
  // begin something like a chunk header.
  WavSpec padded;
  std::vector<uint8_t> body = Counting(9);
  padded.chunksBeforeData = {{"junk", body}, {"abcd", {}}};
  padded.data = Counting(100);
  std::vector<uint8_t> bytes = Wav(padded);
  const size_t pad = 12 + 8 + 16 + 8 + 9;
  bytes[pad] = 'x';  // the pad byte: "xabc" would be a tag of printable characters
  wav = Tunemix_WavStream::Open(folder.Write("padded.wav", bytes));
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->dataStart, static_cast<int>(pad + 1 + 8 + 8));
  EXPECT_EQ(Fill(*wav, 100), padded.data);
}

TEST(WavStream, NoDataChunkOpensWithLengthZeroAndPlaysSilence) {
  TempFolder folder;
  WavSpec spec;
  spec.bits = 8;
  spec.withData = false;
  auto wav = OpenWav(folder, spec);
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->length, 0);
  EXPECT_EQ(Fill(*wav, 300), std::vector<uint8_t>(300, 0x80));  // 8-bit silence
  EXPECT_EQ(Fill(*wav, 300), std::vector<uint8_t>(300, 0x80));
}

TEST(WavStream, DeliversTheDataInOrderAndLoopsWithoutAGap) {
  TempFolder folder;
  WavSpec spec;
  spec.data = Counting(1000);
  auto wav = OpenWav(folder, spec);
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->loop, 1);
  EXPECT_EQ(Fill(*wav, 600), Slice(spec.data, 0, 600));
  EXPECT_EQ(wav->position, 600);
  // The pass ends inside this request: the next pass follows at once.
  std::vector<uint8_t> end = Fill(*wav, 600);
  EXPECT_EQ(Slice(end, 0, 400), Slice(spec.data, 600, 400));
  EXPECT_EQ(Slice(end, 400, 200), Slice(spec.data, 0, 200));
  EXPECT_EQ(wav->position, 200);
  EXPECT_EQ(Fill(*wav, 800), Slice(spec.data, 200, 800));
  EXPECT_EQ(wav->position, 0);
  // A request longer than the whole data holds pass after pass.
  std::vector<uint8_t> passes = Fill(*wav, 3500);
  for (int pass = 0; pass < 3; ++pass) EXPECT_EQ(Slice(passes, 1000 * pass, 1000), spec.data) << pass;
  EXPECT_EQ(Slice(passes, 3000, 500), Slice(spec.data, 0, 500));
  EXPECT_EQ(wav->position, 500);
}

TEST(WavStream, WithoutTheLoopFlagThePassEndsInSilenceAndTheNextCallStartsAgain) {
  TempFolder folder;
  WavSpec spec;
  spec.data = Counting(1000);
  auto wav = OpenWav(folder, spec);
  ASSERT_NE(wav, nullptr);
  wav->loop = 0;
  EXPECT_EQ(Fill(*wav, 600), Slice(spec.data, 0, 600));
  std::vector<uint8_t> end = Fill(*wav, 600);
  EXPECT_EQ(Slice(end, 0, 400), Slice(spec.data, 600, 400));
  EXPECT_EQ(Slice(end, 400, 200), std::vector<uint8_t>(200, 0));
  EXPECT_EQ(wav->position, 0);
  EXPECT_EQ(Fill(*wav, 1000), spec.data);
  EXPECT_EQ(Fill(*wav, 10), Slice(spec.data, 0, 10));
}

TEST(WavStream, KeepsItsOwnRateAndFormatWhateverIsAsked) {
  TempFolder folder;
  WavSpec spec;
  spec.rate = 22050;
  spec.data = Counting(100);
  auto wav = OpenWav(folder, spec);
  ASSERT_NE(wav, nullptr);
  EXPECT_EQ(wav->SetInfo(InfoRate, 44100), 0);
  EXPECT_EQ(wav->SetInfo(InfoFormat, FormatStereo16), 0);
  EXPECT_EQ(wav->SetInfo(InfoLoop, 1), 1);
  EXPECT_EQ(wav->GetInfo(InfoRate), 22050);
  EXPECT_EQ(wav->GetInfo(InfoFormat), FormatMono16);
  EXPECT_EQ(wav->GetInfo(InfoLength), 100);
}

TEST(WavStream, LoadWavWantsTheWavEndingAndLoadMusicFindsIt) {
  InitMusicModule();
  TempFolder folder;
  WavSpec spec;
  spec.data = Counting(100);
  const std::vector<uint8_t> bytes = Wav(spec);
  EXPECT_NE(LoadWAV(folder.Write("Tune.WaV", bytes)), nullptr);
  EXPECT_EQ(LoadWAV(folder.Write("tune.wave", bytes)), nullptr);
  EXPECT_EQ(LoadWAV(""), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<Tunemix_WavStream>(LoadMusic(folder.Write("song.wav", bytes))), nullptr);
  // The name matches the loader by its beginning, but the loader itself wants the ending.
  EXPECT_EQ(LoadMusic(folder.Write("wav.song", bytes)), nullptr);
}

}  // namespace
