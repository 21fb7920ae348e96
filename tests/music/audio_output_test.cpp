// The music output: streams on the sound-buffer library, played into the effects' own sound
// device (paused, and mixed here by hand), refilled behind the play cursor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <thread>

#include "music/audio_device.h"
#include "music/audio_stream.h"
#include "music/loader_registry.h"
#include "music/music_module.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/sound_internal.h"
#include "tests/music/stream_test_support.h"

namespace {

constexpr int RingBytes = 44100;

// Stereo 16-bit frames that count: frame n holds n and n ^ 0x5555 (as 16-bit values). Keeps
// the size of every request.
class CountingMusic : public TMusic {
 public:
  int next = 0;
  std::vector<int> requests;
  int stopAfterFrames = -1;  // the song ends there (playing cleared) when not negative

  int FillBuffer(void* buffer, int byteCount) override {
    requests.push_back(byteCount);
    auto* out = static_cast<int16_t*>(buffer);
    for (int f = 0; f < byteCount / 4; ++f, ++next) {
      const bool ended = stopAfterFrames >= 0 && next >= stopAfterFrames;
      out[2 * f] = ended ? 0 : static_cast<int16_t>(next);
      out[2 * f + 1] = ended ? 0 : static_cast<int16_t>(next ^ 0x5555);
      if (ended) playing = 0;
    }
    return 0;
  }
};

// Every sample the same value, in any format.
class ConstantMusic : public TMusic {
 public:
  int16_t value = 0;
  int FillBuffer(void* buffer, int byteCount) override {
    const bool eightBit = format == FormatMono8 || format == FormatStereo8;
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (int i = 0; i < byteCount; i += eightBit ? 1 : 2) {
      if (eightBit) bytes[i] = static_cast<uint8_t>((value >> 8) + 128);
      else std::memcpy(bytes + i, &value, 2);
    }
    return 0;
  }
};

class MusicOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    InitMusicModule();
    ASSERT_TRUE(OpenAudio());
    PauseAudioOutput(true);  // the device's own thread stays out: frames are mixed here
    StartAudioDevice();
    ASSERT_NE(MusicOutputDevice(), nullptr);
  }
  void TearDown() override { StopAudioDevice(); }

  // The device plays frameCount frames: what it gives out.
  static std::vector<int16_t> PlayFrames(int frameCount) {
    std::vector<int16_t> out(static_cast<size_t>(frameCount) * 2);
    if (frameCount > 0) MixAudio(out.data(), frameCount);
    return out;
  }

  static uint32_t PlayCursor(const TAudioStream& stream) {
    uint32_t cursor = 0;
    SoundOut.GetCurrentPosition(stream.buffer, &cursor, nullptr);
    return cursor;
  }
};

// Expects played to continue the counting sequence from *expected.
void ExpectCounting(const std::vector<int16_t>& played, int& expected) {
  for (size_t f = 0; f < played.size() / 2; ++f, ++expected) {
    ASSERT_EQ(played[2 * f], static_cast<int16_t>(expected)) << "frame " << expected;
    ASSERT_EQ(played[2 * f + 1], static_cast<int16_t>(expected ^ 0x5555)) << "frame " << expected;
  }
}

TEST_F(MusicOutput, TheRingHandsOverEveryByteInOrderAcrossWraps) {
  auto music = std::make_shared<CountingMusic>();
  AudioStreamPtr stream = CreateAudioStream(music, 0, RingBytes);
  stream->Play();
  ASSERT_NE(stream->buffer, nullptr);
  EXPECT_EQ(music->requests, std::vector<int>{RingBytes});
  EXPECT_EQ(music->playing, 1);

  std::mt19937 random(14);
  int expected = 0;
  for (int step = 0; step < 3000; ++step) {
    // Any whole number of frames up to most of the ring, now and then none at all, now and
    // then exactly to the ring's end.
    int frames = std::uniform_int_distribution<int>(0, 8000)(random);
    if (step % 17 == 0) frames = 0;
    if (step % 23 == 0 && PlayCursor(*stream) != 0) frames = (RingBytes - static_cast<int>(PlayCursor(*stream))) / 4;
    ExpectCounting(PlayFrames(frames), expected);
    if (HasFatalFailure()) {
      return;
    }
    const size_t requestsBefore = music->requests.size();
    stream->Update();
    if (frames == 0) {
      EXPECT_EQ(music->requests.size(), requestsBefore) << "a 0-byte lock writes nothing";
    }
  }
  EXPECT_GT(expected, 10 * RingBytes / 4);
}

TEST_F(MusicOutput, ARefillAcrossTheEndWritesBothPartsThenCatchesUp) {
  auto music = std::make_shared<CountingMusic>();
  AudioStreamPtr stream = CreateAudioStream(music, 0, RingBytes);
  stream->Play();
  PlayFrames(10000);
  stream->Update();
  EXPECT_EQ(stream->writeCursor, 40000);
  PlayFrames((RingBytes - 40000 + 1000) / 4);
  ASSERT_EQ(PlayCursor(*stream), 1000u);
  music->requests.clear();
  stream->Update();
  EXPECT_EQ(music->requests, (std::vector<int>{4100, 1000}));
  EXPECT_EQ(stream->writeCursor, 1000);
}

TEST_F(MusicOutput, PauseAndResumeAtTheWrapLoseNothing) {
  auto music = std::make_shared<CountingMusic>();
  AudioStreamPtr stream = CreateAudioStream(music, 0, RingBytes);
  stream->Play();
  int expected = 0;
  for (int lap = 0; lap < 3; ++lap) {
    // To the ring's very end, in two steps with a refill between.
    ExpectCounting(PlayFrames(6000), expected);
    stream->Update();
    ExpectCounting(PlayFrames(RingBytes / 4 - 6000), expected);
    ASSERT_EQ(PlayCursor(*stream), 0u);
    stream->TogglePause();
    EXPECT_EQ(stream->paused, 1);
    EXPECT_EQ(stream->Playing(), 0);
    EXPECT_EQ(PlayFrames(700), std::vector<int16_t>(1400, 0));
    stream->Update();
    EXPECT_EQ(PlayCursor(*stream), 0u);
    stream->TogglePause();
    EXPECT_EQ(stream->Playing(), 1);
    stream->Update();
  }
}

TEST_F(MusicOutput, ASongThatEndsPausesTheStreamAtTheNextWrap) {
  auto music = std::make_shared<CountingMusic>();
  music->stopAfterFrames = 14000;
  AudioStreamPtr stream = CreateAudioStream(music, 0, RingBytes);
  stream->Play();
  for (int i = 0; i < 8 && stream->playing; ++i) {
    PlayFrames(3000);
    stream->Update();
  }
  EXPECT_EQ(stream->playing, 0);
  EXPECT_EQ(music->playing, 0);
  const uint32_t cursor = PlayCursor(*stream);
  EXPECT_EQ(PlayFrames(500), std::vector<int16_t>(1000, 0));
  EXPECT_EQ(PlayCursor(*stream), cursor);
}

TEST_F(MusicOutput, AStreamPlaysAtItsOwnRateFormatAndVolume) {
  auto music = std::make_shared<ConstantMusic>();
  music->rate = 22050;
  music->format = FormatMono16;
  music->value = 16000;
  AudioStreamPtr stream = CreateAudioStream(music, 0, RingBytes);
  stream->Play();
  EXPECT_EQ(stream->waveFormat.channels, 1);
  EXPECT_EQ(stream->waveFormat.blockAlign, 2);
  EXPECT_EQ(stream->waveFormat.avgBytesPerSec, 2u * 22050);
  std::vector<int16_t> played = PlayFrames(4410);
  EXPECT_EQ(PlayCursor(*stream), 2205u * 2);  // half as many frames of its own
  EXPECT_EQ(played, std::vector<int16_t>(played.size(), 16000));

  stream->SetVolume(0.5f);  // -9.99 dB
  played = PlayFrames(100);
  EXPECT_NEAR(played[10], 16000 * std::pow(10.0, -999 / 2000.0), 1);
  EXPECT_EQ(played[10], played[11]);

  auto eightBit = std::make_shared<ConstantMusic>();
  eightBit->format = FormatMono8;
  eightBit->rate = 11025;
  eightBit->value = -8192;
  stream = CreateAudioStream(eightBit, 0, RingBytes);
  stream->Play();
  EXPECT_EQ(stream->waveFormat.bitsPerSample, 8);
  EXPECT_EQ(stream->waveFormat.blockAlign, 1);
  EXPECT_EQ(PlayFrames(40)[20], -8192);
}

TEST_F(MusicOutput, TheTimerRefillsOnlyOnItsOwnTicks) {
  auto music = std::make_shared<CountingMusic>();
  AudioStreamPtr stream = CreateAudioStream(music, 1, RingBytes);
  stream->Play();
  ASSERT_NE(stream->timer, nullptr);
  EXPECT_EQ(stream->timer->Hertz(), 60);
  PlayFrames(1000);
  Timer other(60);
  stream->OnEvent(Event{EventTimerTick, &other});
  EXPECT_EQ(music->requests.size(), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  PollInput();  // the tick arrives while input is polled
  EXPECT_EQ(music->requests, (std::vector<int>{RingBytes, 4000}));
  stream->Stop();
  EXPECT_EQ(stream->timer, nullptr);
  EXPECT_EQ(stream->buffer, nullptr);
  EXPECT_EQ(stream->music, nullptr);
}

TEST_F(MusicOutput, WithoutADeviceStreamsAreSilentAndSafe) {
  StopAudioDevice();
  auto music = std::make_shared<CountingMusic>();
  AudioStreamPtr stream = CreateAudioStream(music, 1, RingBytes);
  stream->Play();
  EXPECT_EQ(stream->buffer, nullptr);
  stream->Update();
  stream->TogglePause();
  stream->SetVolume(0.2f);
  stream->Pause();
  EXPECT_TRUE(music->requests.empty());
  EXPECT_EQ(PlayFrames(100), std::vector<int16_t>(200, 0));
  stream->Stop();

  // No sound device at all: the device is not created, and says why.
  CloseAudio();
  testing::internal::CaptureStdout();
  StartAudioDevice();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "DirectSoundCreate8 = DSERR_NODRIVER\n");
  EXPECT_EQ(MusicOutputDevice(), nullptr);
}

// Plays music as the game does (a 44,100-byte ring refilled every 60th of a second) for
// `seconds`: what the device gives out.
std::vector<int16_t> PlayAsTheGameDoes(MusicPtr music, double seconds) {
  music->SetInfo(InfoInterpolation, 2);
  music->SetInfo(InfoRate, 44100);
  music->SetInfo(InfoLoop, 1);
  AudioStreamPtr stream = CreateAudioStream(music, 0, RingBytes);
  stream->Play();
  std::vector<int16_t> played;
  constexpr int RefillFrames = AudioFrameRate / 60;
  for (int refill = 0; refill < seconds * 60; ++refill) {
    std::vector<int16_t> part(2 * RefillFrames);
    MixAudio(part.data(), RefillFrames);
    played.insert(played.end(), part.begin(), part.end());
    stream->Update();
  }
  stream->Stop();
  return played;
}

TEST_F(MusicOutput, ShortTunesLoopAtTheirOwnLengthWithoutAGap) {
  stream_test::TempFolder folder;
  struct Tune {
    std::string name;
    std::vector<uint8_t> bytes;
    double seconds;  // one pass
  };
  const Tune tunes[] = {
      // Shorter than the ring at Play: 0.5 s of 8-bit at 8 kHz (the ring holds 5.5 s of it), a
      // second at 22,050 Hz (the ring holds two).
      {"short.wav", stream_files::ToneWav(440, 8000, 4000, 1, 8), 0.5},
      {"second.wav", stream_files::ToneWav(330, 22050, 22050, 1, 16), 1.0},
      // Passes that end inside refills.
      {"stereo.wav", stream_files::ToneWav(523, 44100, 10001, 2, 16), 10001 / 44100.0},
      {"tone.ogg", stream_files::ToneOgg(440, 44100, 13337, 2), 13337 / 44100.0},
      {"mono.ogg", stream_files::ToneOgg(392, 16000, 7000, 1), 7000 / 16000.0},
  };
  for (const Tune& tune : tunes) {
    MusicPtr music = LoadMusic(folder.Write(tune.name, tune.bytes));
    ASSERT_NE(music, nullptr) << tune.name;
    const std::vector<int16_t> played = PlayAsTheGameDoes(music, 7.0);
    // Several loops, each followed at once by the next pass: no quiet stretch anywhere near a
    // refill's length (735 frames), where the tune's end used to leave the rest of a refill,
    // or of the whole ring, silent.
    ASSERT_GT(7.0 / tune.seconds, 5) << tune.name;
    EXPECT_LT(stream_test::LongestQuietRun(played, 0, true), 20u) << tune.name;
  }
}

TEST(MusicOutputChecks, VolumesResultNamesAndChecks) {
  EXPECT_EQ(VolumeToAttenuation(1.0f), 0);
  EXPECT_EQ(VolumeToAttenuation(2.0f), 0);
  EXPECT_EQ(VolumeToAttenuation(0.5f), -999);
  EXPECT_EQ(VolumeToAttenuation(0.1f), -3321);
  EXPECT_EQ(VolumeToAttenuation(0.0001f), -10000);
  EXPECT_EQ(VolumeToAttenuation(0.0f), -10000);
  EXPECT_EQ(VolumeToAttenuation(-1.0f), -10000);

  testing::internal::CaptureStdout();
  EXPECT_EQ(DSCheck(static_cast<int32_t>(0x88780078), "CreateSoundBuffer"), 0);
  EXPECT_EQ(DSCheck(1, "Stop"), 0);
  EXPECT_EQ(DSCheck(0, "Play"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "CreateSoundBuffer = DSERR_NODRIVER\nStop = UNKNOWN!\n");
  EXPECT_EQ(DSResultName(0), "DS_OK");
  EXPECT_EQ(DSResultName(static_cast<int32_t>(0x88781161)), "DSERR_OBJECTNOTFOUND");
}

}  // namespace
