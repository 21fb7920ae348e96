// The software mixer: exact output, loops, ramps, panning, master gain and clipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "music/mixer.h"
#include "tests/music/music_test_support.h"

namespace {

using music_test::BareMixer;

std::shared_ptr<Tunemix_Sample> Constant(int length, int value) {
  auto s = std::make_shared<Tunemix_Sample>();
  s->data.assign(length + 1, static_cast<int16_t>(value));
  s->data[length] = 0;
  s->length = length;
  return s;
}

TEST(MusicMixer, CentredChannelAtHalfMasterVolume) {
  BareMixer mixer(1);
  mixer.Play(0, Constant(100, 20000), 1.0);
  const auto out = music_test::Render(mixer, 3);
  EXPECT_EQ(out, (std::vector<int16_t>{10000, 10000, 10000, 10000, 10000, 10000}));
  EXPECT_EQ(mixer.position, 3);
}

TEST(MusicMixer, SumsAreClippedSymmetrically) {
  BareMixer mixer(2);
  mixer.masterVolume = 1.0;
  mixer.Play(0, Constant(10, -20000), 1.0, -1.0);
  mixer.Play(1, Constant(10, -20000), 1.0, -1.0);
  auto out = music_test::Render(mixer, 1);
  EXPECT_EQ(out[0], -32767);
  EXPECT_EQ(out[1], 0);
  mixer.Play(0, Constant(10, 30000), 1.0, 1.0);
  mixer.Play(1, Constant(10, 30000), 1.0, 1.0);
  out = music_test::Render(mixer, 1);
  EXPECT_EQ(out[1], 32767);
}

TEST(MusicMixer, PartialPanUsesTheChannelGains) {
  BareMixer mixer(1);
  mixer.masterVolume = 1.0;
  mixer.Play(0, Constant(10, 1000), 1.0, 0.5);
  mixer.chLeftGain[0] = 0.5f;
  mixer.chRightGain[0] = 1.0f;
  const auto out = music_test::Render(mixer, 1);
  EXPECT_EQ(out[0], 500);
  EXPECT_EQ(out[1], 1000);
}

TEST(MusicMixer, FadeInAndCrossfadeRamps) {
  BareMixer mixer(1);
  mixer.masterVolume = 1.0;
  mixer.Play(0, Constant(100, 1000), 1.0, 1.0);
  mixer.chFadeIn[0] = 4;
  auto out = music_test::Render(mixer, 5);
  for (int f = 0; f < 5; ++f) EXPECT_EQ(out[2 * f + 1], (std::vector<int>{0, 250, 500, 750, 1000})[f]);

  // A channel that stops while a crossfade runs fades its last value out.
  mixer.chSample[0] = nullptr;
  mixer.chCrossfade[0] = 4;
  out = music_test::Render(mixer, 5);
  for (int f = 0; f < 5; ++f) EXPECT_EQ(out[2 * f + 1], (std::vector<int>{1000, 750, 500, 250, 0})[f]);
}

TEST(MusicMixer, NonLoopingSampleStopsAfterItsGuardFrame) {
  BareMixer mixer(1);
  mixer.Play(0, Constant(100, 2000), 1.0);
  mixer.chPosition[0] = 99;
  const auto out = music_test::Render(mixer, 3);
  EXPECT_EQ(out[0], 1000);  // d[99]
  EXPECT_EQ(out[2], 0);     // d[100], the guard entry
  EXPECT_EQ(out[4], 0);
  EXPECT_EQ(mixer.chStep[0], 0.0);
  EXPECT_EQ(mixer.chPosition[0], 0.0);
}

TEST(MusicMixer, ForwardAndPingPongLoops) {
  BareMixer mixer(1);
  auto s = Constant(100, 0);
  s->loopType = LoopForward;
  s->loopStart = 10;
  s->loopLength = 20;
  mixer.Play(0, s, 1.0);
  mixer.chPosition[0] = 30.5;
  music_test::Render(mixer, 1);
  EXPECT_EQ(mixer.chPosition[0], 11.5);

  s->loopType = LoopPingPong;
  mixer.chPosition[0] = 31;
  mixer.chStep[0] = 1.0;
  music_test::Render(mixer, 1);
  EXPECT_EQ(mixer.chStep[0], -1.0);
  EXPECT_EQ(mixer.chPosition[0], 28.0);  // reflected to 29, then one step back
  mixer.chPosition[0] = 9;
  music_test::Render(mixer, 1);
  EXPECT_EQ(mixer.chStep[0], 1.0);
  EXPECT_EQ(mixer.chPosition[0], 12.0);
}

// A forward loop of length 0 plays on to the sample's end, then from the loop start to the
// end again, every interpolation alike.
TEST(MusicMixer, ForwardLoopOfLengthZeroRepeatsTheTail) {
  for (int interpolation : {0, 1, 2}) {
    BareMixer mixer(1);
    mixer.interpolation = interpolation;
    auto s = Constant(100, 1000);
    s->loopType = LoopForward;
    s->loopStart = 60;
    s->loopLength = 0;
    s->FitLoop();
    EXPECT_EQ(s->loopType, LoopForward);
    mixer.Play(0, s, 0.75);
    mixer.chPosition[0] = 98.0;
    music_test::Render(mixer, 3);  // 98, 98.75, 99.5
    EXPECT_EQ(mixer.chPosition[0], 100.25);
    music_test::Render(mixer, 1);  // 100.25 is past the end: 60.25
    EXPECT_EQ(mixer.chPosition[0], 61.0);
    const auto out = music_test::Render(mixer, 2000);
    int silent = 0;
    for (size_t i = 0; i < out.size(); i += 2) silent += out[i] == 0;
    EXPECT_LT(silent, 200) << "interpolation " << interpolation;  // only near the guard frame
    EXPECT_GE(mixer.chPosition[0], 60.0);
    EXPECT_LE(mixer.chPosition[0], 101.0);
  }
}

TEST(MusicMixer, StepsLongerThanTheLoopStayInsideTheSample) {
  for (int loopType : {LoopForward, LoopPingPong}) {
    for (int interpolation : {0, 1, 2}) {
      BareMixer mixer(1);
      mixer.interpolation = interpolation;
      auto s = Constant(64, 100);
      s->loopType = loopType;
      s->loopStart = 60;
      s->loopLength = 3;
      mixer.Play(0, s, 37.25);
      music_test::Render(mixer, 500);
      EXPECT_NE(mixer.chStep[0], 0.0);
      EXPECT_GE(mixer.chPosition[0] - mixer.chStep[0], 0.0);
      EXPECT_LE(std::fabs(mixer.chPosition[0] - mixer.chStep[0]), 64.0);
    }
  }
}

TEST(MusicMixer, RunawayStepsStopTheChannel) {
  for (double step : {double(INFINITY), -double(INFINITY), double(NAN), 1e300}) {
    BareMixer mixer(1);
    auto s = Constant(16, 100);
    s->loopType = LoopForward;
    s->loopLength = 16;
    mixer.Play(0, s, step);
    music_test::Render(mixer, 4);
    SUCCEED();
  }
}

// Cubic interpolation in single precision, as written: 0.5 (2 y0 + (y1 - ym) t + ...).
float CubicAt(const Tunemix_Sample& s, double p) {
  const int i = static_cast<int>(p);
  const float ym = s.data[i - 1], y0 = s.data[i], y1 = s.data[i + 1], y2 = s.data[i + 2];
  const float t = static_cast<float>(p - i);
  return 0.5f * (2.0f * y0 + (y1 - ym) * t + (2.0f * ym - 5.0f * y0 + 4.0f * y1 - y2) * t * t +
                 (3.0f * y0 - ym - 3.0f * y1 + y2) * t * t * t);
}

TEST(MusicMixer, CubicInterpolationFollowsTheFormula) {
  constexpr int Channels = 8, Frames = 400;
  BareMixer mixer(Channels);
  mixer.masterVolume = 1.0;
  mixer.interpolation = 2;
  auto s = Constant(1000, 0);
  for (int i = 0; i < 1000; ++i) s->data[i] = static_cast<int16_t>((i * 7919) % 60000 - 30000);
  s->loopType = LoopForward;
  s->loopLength = 1000;
  for (int c = 0; c < Channels; ++c) {
    mixer.Play(c, s, 0.37 + 0.11 * c, c == 0 ? 1.0 : -1.0);
    mixer.chGain[c] = 0.8 / Channels;
    mixer.chPosition[c] = 1.5 + 3.3 * c;
  }
  const auto out = music_test::Render(mixer, Frames);
  // Channel 0 alone on the right: every frame, truncated.
  double p = 1.5;
  for (int f = 0; f < Frames; ++f, p += 0.37) {
    ASSERT_EQ(out[2 * f + 1], static_cast<int16_t>(CubicAt(*s, p) * (0.8 / Channels))) << "frame " << f;
  }
  // Every channel's last value, to the last bit.
  for (int c = 0; c < Channels; ++c) {
    double q = 1.5 + 3.3 * c;
    for (int f = 0; f < Frames - 1; ++f) q += 0.37 + 0.11 * c;
    EXPECT_EQ(mixer.chLastValue[c], CubicAt(*s, q) * (0.8 / Channels)) << "channel " << c;
  }
}

TEST(MusicMixer, ChannelRateKeepsDirectionAndBufferSizeIsWholeFrames) {
  BareMixer mixer(1);
  mixer.rate = 1000;
  mixer.SetChannelRate(0, 500);
  EXPECT_EQ(mixer.chStep[0], -0.5);
  mixer.chStep[0] = 1;
  mixer.SetChannelRate(0, 500);
  EXPECT_EQ(mixer.chStep[0], 0.5);

  std::vector<int16_t> buffer(6, 12345);
  mixer.FillBuffer(buffer.data(), 10);
  EXPECT_EQ(buffer[3], 0);
  EXPECT_EQ(buffer[4], 12345);
  EXPECT_EQ(mixer.position, 2);
  EXPECT_EQ(mixer.SetInfo(InfoFormat, FormatMono8), 0);
  EXPECT_EQ(mixer.format, FormatStereo16);
  EXPECT_EQ(mixer.SetInfo(InfoRate, 0), 0);
  EXPECT_EQ(mixer.rate, 1000);
}

TEST(MusicMixer, FramesPerTickInSinglePrecision) {
  EXPECT_EQ(FramesPerTick(44100, 125), 882);
  EXPECT_EQ(FramesPerTick(22050, 125), 441);
  EXPECT_EQ(FramesPerTick(44100, 126), 875);  // 874 in double precision
  EXPECT_EQ(FramesPerTick(44100, 0), FramesPerTick(44100, 1));
  EXPECT_GT(FramesPerTick(2147483647, 1), 0);
}

// A MOD song played at 8363 Hz steps its samples exactly one frame per output frame.
TEST(MusicMixer, SquareWavesPannedHardLeftAndRightExactly) {
  module_builder::ModBuilder mod;
  module_builder::ModSampleSpec square;
  square.data = module_builder::Square8(16, 8, 64);  // +16384 x4, -16384 x4, ...
  square.loopLengthWords = 8;
  module_builder::ModSampleSpec small = square;
  small.data = module_builder::Square8(16, 4, 32);   // +8192 x2, -8192 x2, ...
  mod.samples = {square, small};
  mod.Cell(0, 0, 0) = {48, 1, 0, 0};  // channel 0: hard right
  mod.Cell(0, 0, 1) = {48, 2, 0, 0};  // channel 1: hard left
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);
  song->SetInfo(InfoRate, 8363);
  song->SetInfo(InfoInterpolation, 0);
  music_test::RenderToFirstTick(*song);
  const auto out = music_test::Render(*song, 17);

  // Both ramps start with the note: the first four frames are scaled by 0, 1/16, 1/4, 9/16.
  const std::vector<int> right = {0, 512, 2048, 4608, -8192, -8192, -8192, -8192,
                                  8192, 8192, 8192, 8192, -8192, -8192, -8192, -8192, 0};
  const std::vector<int> left = {0, 256, -1024, -2304, 4096, 4096, -4096, -4096,
                                 4096, 4096, -4096, -4096, 4096, 4096, -4096, -4096, 0};
  for (int f = 0; f < 17; ++f) {
    EXPECT_EQ(out[2 * f], left[f]) << "frame " << f;
    EXPECT_EQ(out[2 * f + 1], right[f]) << "frame " << f;
  }
}

}  // namespace
