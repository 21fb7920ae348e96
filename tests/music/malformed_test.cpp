// Malformed modules: each gives Null from the loader or plays without a fault (the suite
// also runs under AddressSanitizer and UndefinedBehaviorSanitizer).
#include <gtest/gtest.h>

#include "tests/music/music_test_support.h"

namespace {

using module_builder::ModBuilder;
using module_builder::ModSampleSpec;
using module_builder::XmBuilder;
using module_builder::XmCell;
using module_builder::XmInstrumentSpec;

void ExpectPlaysSafely(const std::shared_ptr<Tunemix_Player>& song) {
  ASSERT_NE(song, nullptr);
  EXPECT_GE(song->length, 0);
  music_test::PlayEveryWay(*song, 20000);
}

TEST(MusicMalformedMod, CountsBeyondTheTablesAreRefused) {
  for (int songLength : {129, 255}) {
    ModBuilder mod = music_test::SimpleMod();
    mod.songLengthField = songLength;
    EXPECT_EQ(music_test::LoadMod(mod.Build()), nullptr) << songLength;
  }
  ModBuilder mod = music_test::SimpleMod();
  mod.orders = {0, 200};  // a pattern number beyond the 128 patterns
  EXPECT_EQ(music_test::LoadMod(mod.Build()), nullptr);

  // A song of all 128 orders is fine; the entry after a shorter song may hold anything.
  mod = music_test::SimpleMod();
  mod.orders.assign(128, 0);
  ExpectPlaysSafely(music_test::LoadMod(mod.Build()));
  mod.orders = {0, 255};
  mod.songLengthField = 1;
  ExpectPlaysSafely(music_test::LoadMod(mod.Build()));
}

TEST(MusicMalformedMod, ShortFilesAreRefusedAndShortSamplesKept) {
  const std::vector<uint8_t> good = music_test::SimpleMod().Build();
  const size_t samplesStart = 1084 + 1024;
  for (size_t cut : {size_t{0}, size_t{19}, size_t{500}, size_t{1083}, size_t{1500}, samplesStart - 1}) {
    std::vector<uint8_t> file(good.begin(), good.begin() + cut);
    EXPECT_EQ(music_test::LoadMod(file), nullptr) << cut;
  }
  std::vector<uint8_t> file(good.begin(), good.begin() + samplesStart + 10);
  auto song = music_test::LoadMod(file);
  ExpectPlaysSafely(song);
  EXPECT_EQ(song->instruments[1]->samples[0]->length, 10);
  EXPECT_EQ(song->instruments[1]->samples[0]->loopLength, 10);  // the loop was 64 bytes
}

TEST(MusicMalformedMod, EveryTruncationLoadsOrIsRefused) {
  ModBuilder mod = music_test::SimpleMod();
  mod.Cell(0, 1, 1) = {60, 1, 0xE, 0x93};
  const std::vector<uint8_t> good = mod.Build();
  for (size_t cut = 0; cut < good.size(); cut += 7) {
    std::vector<uint8_t> file(good.begin(), good.begin() + cut);
    auto song = music_test::LoadMod(file);
    if (song) music_test::PlayEveryWay(*song, 2000);
  }
}

TEST(MusicMalformedMod, SampleFieldsBeyondTheirRanges) {
  ModBuilder mod = music_test::SimpleMod();
  ModSampleSpec& s = mod.samples[0];
  s.volume = 200;
  s.finetune = 255;
  s.loopStartWords = 20;
  s.loopLengthWords = 60000;  // far past the sample's 32 words
  ModSampleSpec pastEnd = s;
  pastEnd.loopStartWords = 40000;
  mod.samples.push_back(pastEnd);
  mod.Cell(0, 0, 1) = {48, 2, 0, 0};
  auto song = music_test::LoadMod(mod.Build());
  ExpectPlaysSafely(song);
  const Tunemix_Sample& a = *song->instruments[1]->samples[0];
  EXPECT_EQ(a.volume, 64);
  EXPECT_EQ(a.loopStart, 40);
  EXPECT_EQ(a.loopLength, 24);
  EXPECT_EQ(song->instruments[2]->samples[0]->loopType, LoopNone);
}

TEST(MusicMalformedMod, EffectsWithUnusableValues) {
  ModBuilder mod = music_test::SimpleMod();
  mod.Cell(0, 0, 1) = {48, 1, 0xE, 0x90};  // retrigger every 0 ticks
  mod.Cell(0, 1, 1) = {0, 0, 0x9, 0xFF};   // offset past the sample
  mod.Cell(0, 2, 2) = {50, 9, 0, 0};       // an instrument the file does not have
  mod.Cell(0, 3, 2) = {0, 0, 0x1, 0xFF};   // portamento on a silent channel
  mod.Cell(0, 4, 0) = {0, 0, 0xE, 0x5F};
  mod.Cell(0, 5, 1) = {0, 0, 0x4, 0xFF};   // deep vibrato with a random wave
  mod.Cell(0, 4, 1) = {0, 0, 0xE, 0x4F};
  mod.Cell(0, 6, 3) = {0, 0, 0x7, 0xFF};
  mod.Cell(0, 7, 3) = {0, 0, 0xE, 0x7B};
  mod.Cell(0, 8, 0) = {0, 0, 0xD, 0xFF};   // break to row 255
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);
  song->SetInfo(InfoRate, 44100);
  EXPECT_EQ(song->length, 10 * 6 * 882);  // row 255 plays as an empty row, then the song ends
  ExpectPlaysSafely(song);
}

TEST(MusicMalformedMod, RunawayPitchStaysSafe) {
  ModBuilder mod = music_test::SimpleMod();
  for (int r = 0; r < 64; ++r) mod.Cell(0, r, 0).effect = 1, mod.Cell(0, r, 0).param = 0xFF;
  mod.Cell(0, 0, 0).note = 48;
  mod.Cell(0, 0, 0).instrument = 1;
  mod.Cell(0, 0, 3) = {48, 1, 2, 0xFF};
  for (int r = 1; r < 64; ++r) mod.Cell(0, r, 3) = {0, 0, 2, 0xFF};
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);
  song->SetInfo(InfoRate, 44100);
  song->SetInfo(InfoLoop, 1);
  for (int interpolation = 0; interpolation < 3; ++interpolation) {
    song->SetInfo(InfoInterpolation, interpolation);
    music_test::Render(*song, 64 * 6 * 882 * 3);
  }
}

TEST(MusicMalformedMod, UnusableSettings) {
  auto song = music_test::LoadMod(music_test::SimpleMod().Build());
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->SetInfo(InfoRate, 0), 0);
  EXPECT_EQ(song->SetInfo(InfoRate, -44100), 0);
  EXPECT_EQ(song->rate, 22050);
  EXPECT_EQ(song->SetInfo(InfoFormat, FormatMono8), 0);
  EXPECT_EQ(song->SetInfo(InfoRate, 2147483647), 1);
  EXPECT_EQ(song->SetInfo(InfoRate, 1), 1);
  for (int tempo : {0, -5, 2147483647}) {
    for (int speed : {0, -1, 1000}) {
      song->SetInfo(InfoTempo, tempo);
      song->SetInfo(InfoSpeed, speed);
      song->SetInfo(InfoLoop, 1);
      song->playing = 1;
      music_test::Render(*song, 3000);
    }
  }
  song->SetInfoFloat(InfoMasterVolume, 1e300);
  music_test::Render(*song, 100);
  song->SetInfoFloat(InfoMasterVolume, NAN);
  const auto out = music_test::Render(*song, 100);
  for (int16_t v : out) EXPECT_EQ(v, 0);
}

XmBuilder XmWithInstrument() {
  XmBuilder xm = music_test::SimpleXm();
  xm.Cell(0, 1, 1) = {30, 1, 0x40, 0, 0};
  return xm;
}

TEST(MusicMalformedXm, HeaderCountsBeyondTheTablesAreRefused) {
  auto refuse = [](XmBuilder xm, const char* what) {
    EXPECT_EQ(music_test::LoadXm(xm.Build()), nullptr) << what;
  };
  XmBuilder xm = XmWithInstrument();
  xm.channelsField = 0;
  refuse(xm, "no channels");
  xm.channelsField = 33;
  refuse(xm, "33 channels");
  xm = XmWithInstrument();
  xm.patternCountField = 257;
  refuse(xm, "257 patterns");
  xm = XmWithInstrument();
  xm.instrumentCountField = 256;
  refuse(xm, "256 instruments");
  xm = XmWithInstrument();
  xm.songLengthField = 1025;
  refuse(xm, "song length 1025");
  xm = XmWithInstrument();
  xm.patterns[0].rowsField = 257;
  refuse(xm, "257 rows");
  xm = XmWithInstrument();
  xm.patterns[0].packing = 1;
  refuse(xm, "packing 1");
  xm = XmWithInstrument();
  xm.instruments[0].sampleCountField = 129;
  refuse(xm, "129 samples");

  // Up to the limits they load.
  xm = XmWithInstrument();
  xm.songLengthField = 1024;
  xm.channels = 32;
  xm.patterns.clear();
  xm.Cell(0, 0, 31) = {49, 1, 0, 0, 0};
  ExpectPlaysSafely(music_test::LoadXm(xm.Build()));
}

TEST(MusicMalformedXm, OrdersNamingMissingPatternsPlayEmptyPatterns) {
  XmBuilder xm = XmWithInstrument();
  xm.orders = {0, 7, 255, 0};
  auto song = music_test::LoadXm(xm.Build());
  ExpectPlaysSafely(song);
  ASSERT_NE(song->patterns[7], nullptr);
  EXPECT_EQ(song->patterns[7]->rowCount, 64);
  EXPECT_EQ(song->patterns[7]->trackCount, 2);
  EXPECT_EQ(song->length, 3 * 64 * 6 * 875 + 64 * 6 * 875);
}

TEST(MusicMalformedXm, InstrumentsWithoutSamplesOrWithFaultyFields) {
  XmBuilder xm = XmWithInstrument();
  XmInstrumentSpec empty;      // no samples at all
  xm.instruments.push_back(empty);
  XmInstrumentSpec odd = xm.instruments[0];
  for (int& k : odd.keyMap) k = 200;
  odd.envelope = {{0, 64}, {5, 900}, {3, 10}};  // a level past 64, ticks out of order
  odd.volumePointCount = 200;
  odd.sustainPoint = 90;
  odd.loopStartPoint = 77;
  odd.loopEndPoint = 3;
  odd.volumeType = 7;
  odd.fadeout = 65535;
  odd.samples[0].volume = 255;
  odd.samples[0].loopStart = 0x7FFFFFF0;
  odd.samples[0].loopLength = 0xFFFFFFF0;
  xm.instruments.push_back(odd);
  for (int r = 0; r < 16; ++r) {
    xm.Cell(0, 4 * r, 0) = {1 + 6 * r, 2, 0, 0, 0};      // notes on the empty instrument
    xm.Cell(0, 4 * r + 1, 0) = {0, 0, 0, 4, 0x8F};         // vibrato on its missing sample
    xm.Cell(0, 4 * r + 2, 1) = {1 + 6 * r, 3, 0xF5, 3, 9};
    xm.Cell(0, 4 * r + 3, 1) = {97, 0, 0x6F, 0xE, 0x90};
  }
  xm.Cell(0, 63, 0) = {99, 1, 0, 0, 0};  // a note past key-off
  auto song = music_test::LoadXm(xm.Build());
  ExpectPlaysSafely(song);
  EXPECT_EQ(song->instruments[2]->sampleCount, 0);
  const Tunemix_Instrument& o = *song->instruments[3];
  EXPECT_EQ(o.volumePointCount, 12);
  EXPECT_EQ(o.volumePoints[1]->value, 900 / 64.0f);  // a level past 64 keeps its value
  EXPECT_EQ(o.sustainIndex, 11);
  EXPECT_EQ(o.keyMap[10], 0);
  EXPECT_EQ(o.samples[0]->volume, 64);
  EXPECT_EQ(o.samples[0]->loopType, LoopNone);
}

TEST(MusicMalformedXm, LyingSampleLengthsAndTruncations) {
  XmBuilder xm = XmWithInstrument();
  xm.instruments[0].samples[0].lengthField = 0xFFFFFFFF - 1;
  ExpectPlaysSafely(music_test::LoadXm(xm.Build()));

  xm = XmWithInstrument();
  xm.instruments.push_back(xm.instruments[0]);
  xm.instruments[1].samples[0].sixteenBit = true;
  xm.instruments[1].samples[0].loopType = 2;
  xm.Cell(0, 8, 1) = {40, 2, 0, 0, 0};
  const std::vector<uint8_t> good = xm.Build();
  for (size_t cut = 0; cut < good.size(); cut += 5) {
    std::vector<uint8_t> file(good.begin(), good.begin() + cut);
    auto song = music_test::LoadXm(file);
    if (song) music_test::PlayEveryWay(*song, 2000);
  }
}

TEST(MusicMalformedXm, ExtremeSpeedsAndTempos) {
  for (int speed : {0, 1, 65535}) {
    for (int bpm : {0, 1, 65535}) {
      XmBuilder xm = XmWithInstrument();
      xm.speed = speed;
      xm.bpm = bpm;
      xm.Cell(0, 10, 0) = {0, 0, 0, 0xE, 0xEF};
      ExpectPlaysSafely(music_test::LoadXm(xm.Build()));
    }
  }
}

TEST(MusicMalformedXm, JumpsThatNeverEndAreMeasuredOnce) {
  XmBuilder xm = XmWithInstrument();
  xm.orders = {0, 1};
  xm.Cell(1, 0, 0) = {0, 0, 0, 0xB, 0x01};  // order 1 jumps to itself
  xm.Cell(1, 0, 1) = {0, 0, 0, 0xD, 0x05};  // ... at row 5
  xm.Cell(1, 9, 1) = {0, 0, 0, 0xB, 0x01};  // and row 9 back to its row 0
  auto song = music_test::LoadXm(xm.Build());
  ExpectPlaysSafely(song);
  EXPECT_EQ(song->length, (64 + 1 + 5) * 6 * 875);
}

}  // namespace
