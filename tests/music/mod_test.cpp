// The MOD loader and tick: signatures, instruments, periods, notes and effects on the channels.
#include <gtest/gtest.h>

#include "tests/music/music_test_support.h"

namespace {

using module_builder::ModBuilder;
using module_builder::ModSampleSpec;

ModSampleSpec Square(int volume = 64) {
  ModSampleSpec s;
  s.data = module_builder::Square8(256, 16, 64);
  s.volume = volume;
  s.loopLengthWords = 128;
  return s;
}

// Plays the ticks of one row.
void PlayRow(Tunemix_Player& song) {
  for (int t = 0; t < song.speed; ++t) song.Update();
}

TEST(MusicMod, SignaturesChooseChannelsAndInstruments) {
  const struct {
    const char* signature;
    int channels;
  } cases[] = {{"M.K.", 4}, {"M!K!", 4}, {"FLT8", 8}, {"6CHN", 6}, {"16CH", 16}, {"TDZ1", 1},
               {"11CH", 11}, {"32CN", 32}, {"OCTA", 8}, {"N.T.", 32}};
  for (const auto& c : cases) {
    ModBuilder mod = music_test::SimpleMod();
    mod.signature = c.signature;
    mod.channels = c.channels;
    mod.patterns.clear();
    mod.Cell(0, 0, c.channels - 1) = {48, 1, 0, 0};
    auto song = music_test::LoadMod(mod.Build());
    ASSERT_NE(song, nullptr) << c.signature;
    EXPECT_EQ(song->channelCount, c.channels) << c.signature;
    EXPECT_EQ(song->instrumentCount, 31);
    EXPECT_EQ(song->patterns[0]->trackCount, c.channels);
    EXPECT_EQ(song->patterns[0]->tracks[c.channels - 1]->notes[0], 48) << c.signature;
  }
}

TEST(MusicMod, FifteenInstrumentFilesAndUnknownSignatures) {
  ModBuilder mod = music_test::SimpleMod();
  mod.signature = "";
  mod.Cell(0, 1, 2) = {25, 1, 0xC, 0x20};
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->instrumentCount, 15);
  EXPECT_EQ(song->channelCount, 4);
  EXPECT_EQ(song->patterns[0]->tracks[0]->notes[0], 48);  // pattern data from offset 600
  EXPECT_EQ(song->patterns[0]->rowTexts[1], "---          |---          |C 2 01    C20|---          |");
  ASSERT_NE(song->instruments[1], nullptr);
  EXPECT_EQ(song->instruments[1]->samples[0]->length, 64);

  // Case matters: "m.k." at 1080 is no signature, so the file is read as 15 instruments.
  std::vector<uint8_t> file = mod.Build();
  file.resize(2000, 0);
  file[1080] = 'm', file[1081] = '.', file[1082] = 'k', file[1083] = '.';
  song = music_test::LoadMod(file);
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->instrumentCount, 15);
}

TEST(MusicMod, InstrumentHeaders) {
  ModBuilder mod;
  ModSampleSpec tiny;  // one word: no instrument, and no data bytes stored for it
  tiny.lengthWords = 1;
  ModSampleSpec looped = Square(40);
  looped.name = "  bass  ";
  looped.finetune = 15;
  looped.loopStartWords = 8;
  looped.loopLengthWords = 16;
  ModSampleSpec plain = Square(255);  // beyond the volume table
  plain.name = "";
  plain.finetune = 7;
  plain.loopLengthWords = 1;          // one word: no loop
  mod.samples = {tiny, looped, plain};
  mod.Cell(0, 0, 0) = {48, 3, 0, 0};
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);

  EXPECT_EQ(song->instruments[1], nullptr);
  const Tunemix_Sample& bass = *song->instruments[2]->samples[0];
  EXPECT_EQ(bass.name, "bass");
  EXPECT_EQ(bass.volume, 40);
  EXPECT_EQ(bass.finetune, -0.125);
  EXPECT_EQ(bass.loopType, LoopForward);
  EXPECT_EQ(bass.loopStart, 16);
  EXPECT_EQ(bass.loopLength, 32);
  EXPECT_EQ(bass.data[0], 64 * 256);  // the first byte after the patterns is this sample's
  EXPECT_EQ(bass.owner, song->instruments[2].get());
  const Tunemix_Sample& other = *song->instruments[3]->samples[0];
  EXPECT_EQ(other.name, "Unknown");
  EXPECT_EQ(other.volume, 64);
  EXPECT_EQ(other.finetune, 0.875);
  EXPECT_EQ(other.loopType, LoopNone);
  EXPECT_EQ(song->chPanning, (std::vector<double>{1.0, -1.0, -1.0, 1.0}));
}

TEST(MusicMod, PeriodsToNotes) {
  EXPECT_EQ(PeriodToNote(428), 48);
  EXPECT_EQ(PeriodToNote(430), 48);
  EXPECT_EQ(PeriodToNote(450), 48);
  EXPECT_EQ(PeriodToNote(453), 47);
  EXPECT_EQ(PeriodToNote(6868), 0);
  EXPECT_EQ(PeriodToNote(14), 107);
  testing::internal::CaptureStdout();
  EXPECT_EQ(PeriodToNote(13), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "TUNEMIX - NO NEAR MATCH FOUND FOR 13 - NOTE WAS DISCARDED!!\n");
}

TEST(MusicMod, NoteStartsAndTickLength) {
  ModBuilder mod;
  mod.samples = {Square(50), Square(20)};
  mod.Cell(0, 0, 0) = {48, 1, 0, 0};
  mod.Cell(0, 1, 0) = {60, 2, 3, 0};        // tone portamento: new sample and volume only
  mod.Cell(0, 2, 0) = {60, 1, 0xE, 0xD2};   // note delay: starts on tick 2
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);

  song->Update();
  EXPECT_EQ(song->framesToTick, 441);  // tempo 125 at 22050 Hz
  EXPECT_EQ(song->chPitch[0], 48);
  EXPECT_DOUBLE_EQ(song->chStep[0], 8363.0 / 22050);
  EXPECT_EQ(song->chVolume[0], 50);
  EXPECT_EQ(song->chFadeIn[0], 4);
  EXPECT_EQ(song->chGain[0], VolumeTable[50]);
  EXPECT_EQ(song->chPan[0], 1.0);
  for (int t = 1; t < 6; ++t) song->Update();

  song->chPosition[0] = 17.5;
  song->Update();  // row 1, tick 0
  EXPECT_EQ(song->chSample[0], song->instruments[2]->samples[0]);
  EXPECT_EQ(song->chVolume[0], 20);
  EXPECT_EQ(song->chPitch[0], 48);
  EXPECT_EQ(song->chPosition[0], 17.5);
  EXPECT_DOUBLE_EQ(song->chStep[0], 8363.0 / 22050);
  EXPECT_EQ(song->chPortaTarget[0], 60);
  for (int t = 1; t < 6; ++t) song->Update();

  song->Update();  // row 2, tick 0: the note is set, the sample not yet started
  EXPECT_EQ(song->chPitch[0], 60);
  EXPECT_EQ(song->chPosition[0], 17.5);
  song->Update();
  song->Update();  // tick 2
  EXPECT_EQ(song->chPosition[0], 0.0);
  EXPECT_DOUBLE_EQ(song->chStep[0], 2 * 8363.0 / 22050);
}

TEST(MusicMod, VolumeEffects) {
  ModBuilder mod;
  mod.samples = {Square()};
  mod.Cell(0, 0, 0) = {48, 1, 0xC, 62};
  mod.Cell(0, 1, 0) = {0, 0, 0xE, 0xA5};  // 62 + 5: 64
  mod.Cell(0, 2, 0) = {0, 0, 0xE, 0xAF};  // stays 64
  mod.Cell(0, 3, 0) = {0, 0, 0xC, 3};
  mod.Cell(0, 4, 0) = {0, 0, 0xE, 0xB5};  // 3 - 5: 0
  mod.Cell(0, 5, 0) = {0, 0, 0xC, 200};   // at most 64
  mod.Cell(0, 6, 0) = {0, 0, 0xA, 0x1F};  // both nibbles: nothing
  mod.Cell(0, 7, 0) = {0, 0, 0xA, 0x01};  // down 1 on every tick, tick 0 too without a note
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);
  const int expected[] = {62, 64, 64, 3, 0, 64, 64, 58};
  for (int r = 0; r < 8; ++r) {
    PlayRow(*song);
    EXPECT_EQ(song->chVolume[0], expected[r]) << "row " << r;
    EXPECT_EQ(song->chBaseGain[0], VolumeTable[expected[r]]);
  }
}

TEST(MusicMod, PitchEffects) {
  ModBuilder mod;
  mod.samples = {Square()};
  mod.Cell(0, 0, 0) = {48, 1, 0x0, 0x37};  // arpeggio
  mod.Cell(0, 1, 0) = {0, 0, 0xE, 0x58};   // finetune -8 is raised to -7
  mod.Cell(0, 2, 0) = {0, 0, 0xE, 0x57};
  mod.Cell(0, 3, 0) = {0, 0, 0x1, 0x10};   // portamento up 16 units a tick
  mod.Cell(0, 4, 0) = {0, 0, 0xF, 0x1F};
  mod.Cell(0, 5, 0) = {0, 0, 0xF, 0x20};
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);
  Tunemix_Sample& sample = *song->instruments[1]->samples[0];
  EXPECT_EQ(sample.finetune, 0.0);  // measuring the song left its tuning alone
  song->chArpState[0] = 0;          // the measurement left the arpeggio where the song ended
  const double base = 8363.0 / 22050;
  const double steps[] = {base, base * std::pow(2.0, 3 / 12.0), base * std::pow(2.0, 7 / 12.0)};
  for (int t = 0; t < 6; ++t) {
    song->Update();
    EXPECT_NEAR(song->chStep[0], steps[t % 3], 1e-12) << "tick " << t;
  }
  PlayRow(*song);
  EXPECT_EQ(sample.finetune, -0.875);
  PlayRow(*song);
  EXPECT_EQ(sample.finetune, 0.875);
  PlayRow(*song);
  EXPECT_DOUBLE_EQ(song->chPitch[0], 48 + 6 * 16 * song->portaStep);
  PlayRow(*song);
  EXPECT_EQ(song->speed, 31);
  for (int t = 0; t < 31; ++t) song->Update();
  EXPECT_EQ(song->tempo, 32);
}

}  // namespace
