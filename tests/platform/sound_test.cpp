// Sound effects: WAV and OGG decoded from real files, channels mixed with volume and rate,
// the music source mixed in, and every call safe without a device.
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <list>

#include "platform/sound.h"
#include "platform/sound_internal.h"
#include "platform/stream.h"

namespace {

std::list<std::vector<uint8_t>> Kept;  // embedded data must outlive its streams

std::string Register(const std::string& name, std::vector<uint8_t> bytes) {
  Kept.push_back(std::move(bytes));
  RegisterEmbeddedFile(name, Kept.back().data(), Kept.back().size());
  return "incbin::" + name;
}

void Put16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, static_cast<int>(v & 0xFFFF));
  Put16(out, static_cast<int>(v >> 16));
}

// A RIFF WAVE file; dataSize may claim more than samples holds.
std::vector<uint8_t> Wav(int channels, int bits, int rate, const std::vector<uint8_t>& samples, uint32_t dataSize) {
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  Put32(out, static_cast<uint32_t>(36 + samples.size()));
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, channels);
  Put32(out, static_cast<uint32_t>(rate));
  Put32(out, static_cast<uint32_t>(rate * channels * bits / 8));
  Put16(out, channels * bits / 8);
  Put16(out, bits);
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  Put32(out, dataSize);
  out.insert(out.end(), samples.begin(), samples.end());
  return out;
}

// One second of a mono 440 Hz tone as Ogg Vorbis, made with libvorbisenc.
std::vector<uint8_t> OggTone() {
  std::vector<uint8_t> out;
  vorbis_info info;
  vorbis_info_init(&info);
  vorbis_encode_init_vbr(&info, 1, 44100, 0.3f);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);
  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  ogg_page page;
  auto writePage = [&] {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  };
  while (ogg_stream_flush(&stream, &page)) writePage();
  for (int done = 0, chunk = 4096; done <= 44100; done += chunk) {
    int frames = done == 44100 ? 0 : std::min(chunk, 44100 - done);
    if (frames) {
      float** buffer = vorbis_analysis_buffer(&dsp, frames);
      for (int i = 0; i < frames; ++i) buffer[0][i] = 0.5f * std::sin(2 * 3.14159265f * 440 * (done + i) / 44100);
    }
    vorbis_analysis_wrote(&dsp, frames);
    if (!frames) done = 44100;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) writePage();
      }
    }
    if (!frames) break;
  }
  while (ogg_stream_flush(&stream, &page)) writePage();
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenAudio());
    PauseAudioOutput(true);  // the test mixes by hand
  }
  void TearDown() override {
    SetMusicSource(nullptr, nullptr);
    CloseAudio();
  }
  std::vector<int16_t> Mix(int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    MixAudio(out.data(), frames);
    return out;
  }
};

TEST_F(SoundTest, EightBitMonoPlaysAtHalfVolumeAndEnds) {
  // 100 frames of 8-bit mono at 22050 Hz: 200 frames of output at 44100 Hz.
  Sound sound = LoadSound(Register("test/tone8.wav", Wav(1, 8, 22050, std::vector<uint8_t>(100, 192), 100)));
  ASSERT_TRUE(sound);
  Channel channel = PlaySound(sound);
  ASSERT_NE(channel, 0);
  EXPECT_TRUE(ChannelPlaying(channel));
  ChannelVolume(channel, 0.5f);
  std::vector<int16_t> out = Mix(150);
  EXPECT_EQ(out[0], 64 * 256 / 2);
  EXPECT_EQ(out[1], 64 * 256 / 2);  // mono goes to both sides
  EXPECT_TRUE(ChannelPlaying(channel));
  out = Mix(100);
  EXPECT_EQ(out[2 * 49], 64 * 256 / 2);
  EXPECT_EQ(out[2 * 51], 0);
  EXPECT_FALSE(ChannelPlaying(channel));
}

TEST_F(SoundTest, RateSpeedsUpAndNegativeVolumeIsFull) {
  std::vector<uint8_t> samples;
  for (int i = 0; i < 100; ++i) {
    Put16(samples, 1000);
    Put16(samples, -1000);
  }
  Sound sound = LoadSound(Register("test/stereo16.wav", Wav(2, 16, 44100, samples, 400)));
  ASSERT_TRUE(sound);
  Channel channel = PlaySound(sound);
  ChannelVolume(channel, -1);
  ChannelRate(channel, 2);
  std::vector<int16_t> out = Mix(60);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[1], -1000);
  EXPECT_EQ(out[2 * 49], 1000);
  EXPECT_EQ(out[2 * 50], 0);  // done after 50 frames at double rate
  EXPECT_FALSE(ChannelPlaying(channel));
}

TEST_F(SoundTest, ChannelsAddUpClipAndStop) {
  std::vector<uint8_t> loud;
  for (int i = 0; i < 100; ++i) Put16(loud, 30000);
  Sound sound = LoadSound(Register("test/loud.wav", Wav(1, 16, 44100, loud, 200)));
  Channel a = PlaySound(sound), b = PlaySound(sound);
  EXPECT_NE(a, b);
  EXPECT_EQ(Mix(1)[0], 32767);
  StopChannel(a);
  EXPECT_FALSE(ChannelPlaying(a));
  EXPECT_TRUE(ChannelPlaying(b));
  EXPECT_EQ(Mix(1)[0], 30000);
  StopChannel(b);
  StopChannel(0);
  EXPECT_FALSE(ChannelPlaying(0));
}

TEST_F(SoundTest, TheMusicSourceIsMixedIn) {
  SetMusicSource(
      [](void*, short* frames, int count) {
        for (int i = 0; i < count * 2; ++i) frames[i] = 123;
      },
      nullptr);
  std::vector<int16_t> out = Mix(4);
  EXPECT_EQ(out[7], 123);
  SetMusicSource(nullptr, nullptr);
  EXPECT_EQ(Mix(4)[7], 0);
}

TEST_F(SoundTest, OggVorbisDecodes) {
  Sound sound = LoadSound(Register("test/tone.ogg", OggTone()));
  ASSERT_TRUE(sound);
  ASSERT_GT(sound->frames.size(), 2u * 40000);
  EXPECT_EQ(sound->rate, 44100);
  int peak = 0;
  for (int16_t v : sound->frames) peak = std::max(peak, std::abs(static_cast<int>(v)));
  EXPECT_GT(peak, 10000);
  EXPECT_LT(peak, 20000);
}

TEST(SoundFiles, DamagedFilesAreRefusedOrCut) {
  // A data length past the file's end plays what is there.
  Sound cut = LoadSound(Register("test/cut.wav", Wav(1, 8, 8000, std::vector<uint8_t>(10, 128), 0xFFFFFFF0u)));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->frames.size(), 20u);
  std::vector<uint8_t> odd = Wav(3, 8, 8000, std::vector<uint8_t>(9, 128), 9);  // three channels
  EXPECT_FALSE(LoadSound(Register("test/three.wav", odd)));
  std::vector<uint8_t> truncated = Wav(1, 16, 8000, {}, 0);
  truncated.resize(30);
  EXPECT_FALSE(LoadSound(Register("test/truncated.wav", truncated)));
  EXPECT_FALSE(LoadSound(Register("test/noise.ogg", std::vector<uint8_t>(64, 'O'))));
  EXPECT_FALSE(LoadSound("incbin::test/none.ogg"));
}

TEST(SoundFiles, WithoutADeviceEverythingIsSafe) {
  CloseAudio();
  EXPECT_FALSE(AudioOpen());
  Sound sound = LoadSound(Register("test/quiet.wav", Wav(1, 8, 8000, std::vector<uint8_t>(10, 128), 10)));
  EXPECT_TRUE(sound);  // still loads
  Channel channel = PlaySound(sound);
  EXPECT_EQ(channel, 0);
  ChannelVolume(channel, 1);
  ChannelRate(channel, 1);
  EXPECT_FALSE(ChannelPlaying(channel));
  StopChannel(channel);
  EXPECT_EQ(PlaySound(nullptr), 0);
}

}  // namespace
