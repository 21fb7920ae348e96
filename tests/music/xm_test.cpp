// The XM loader and tick: packed cells, samples, the volume column, envelope, key-off fade.
#include <gtest/gtest.h>

#include "tests/music/music_test_support.h"

namespace {

using module_builder::XmBuilder;
using module_builder::XmCell;
using module_builder::XmInstrumentSpec;
using module_builder::XmSampleSpec;

void PlayRow(Tunemix_Player& song) {
  for (int t = 0; t < song.speed; ++t) song.Update();
}

TEST(MusicXm, HeaderAndPackedCells) {
  XmBuilder xm = music_test::SimpleXm();
  xm.songName = "  tune  ";
  xm.speed = 4;
  xm.bpm = 140;
  xm.orders = {0, 1, 0};
  xm.Cell(0, 1, 1) = {0x31, 0, 0, 0, 0};  // written as 0x81 0x31
  xm.Cell(1, 2, 0) = {97, 1, 0x40, 0xC, 0x20};
  xm.patterns[1].rows = 32;
  xm.patterns[1].cells.resize(32 * 2);
  xm.patterns[1].unpacked = true;
  xm.Cell(1, 3, 1) = {50, 1, 0x40, 0xC, 0x20};  // file note 50 is note 49, "C 4"
  auto song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->songName, "tune");
  EXPECT_EQ(song->defaultSpeed, 4);
  EXPECT_EQ(song->defaultTempo, 140);
  EXPECT_EQ(song->lastOrder, 2);
  EXPECT_EQ(song->channelCount, 2);
  const Tunemix_Track& t = *song->patterns[0]->tracks[1];
  EXPECT_EQ(t.notes[1], 48);
  EXPECT_EQ(t.instrumentNumbers[1] + t.volumes[1] + t.effects[1] + t.params[1], 0);
  const Tunemix_Pattern& p1 = *song->patterns[1];
  EXPECT_EQ(p1.rowCount, 32);
  EXPECT_EQ(p1.tracks[0]->notes[2], NoteKeyOff);
  EXPECT_EQ(p1.rowTexts[3], "---          |C 4 01 40 C20|");
  EXPECT_EQ(p1.tracks[1]->paramHigh[3], 2);
  EXPECT_EQ(p1.tracks[1]->paramLow[3], 0);
}

TEST(MusicXm, SamplesAndTheirDeltaCoding) {
  XmBuilder xm = music_test::SimpleXm();
  XmInstrumentSpec ins;
  XmSampleSpec wide;
  wide.sixteenBit = true;
  for (int i = 0; i < 500; ++i) wide.data.push_back(static_cast<int16_t>((i * 977) % 65536 - 32768));
  wide.loopStart = 200;
  wide.loopLength = 400;
  wide.loopType = 2;
  wide.panning = 255;
  wide.finetune = -64;
  wide.relativeNote = -12;
  wide.volume = 90;
  XmSampleSpec narrow;
  narrow.data = {0, 127 * 256, -128 * 256, -256};
  narrow.panning = 128;
  ins.samples = {wide, narrow};
  ins.keyMap[47] = 1;   // note 48
  ins.keyMap[48] = 5;   // beyond the samples: sample 0
  xm.instruments.push_back(ins);
  auto song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  Tunemix_Instrument& loaded = *song->instruments[2];
  EXPECT_EQ(loaded.sampleCount, 2);
  const Tunemix_Sample& w = *loaded.samples[0];
  EXPECT_EQ(w.length, 500);
  EXPECT_EQ(w.loopStart, 100);
  EXPECT_EQ(w.loopLength, 200);
  EXPECT_EQ(w.loopType, LoopPingPong);
  EXPECT_EQ(w.panning, 127);
  EXPECT_EQ(w.finetune, -0.5);
  EXPECT_EQ(w.relativeNote, -12);
  EXPECT_EQ(w.volume, 64);
  EXPECT_EQ(std::vector<int16_t>(w.data.begin(), w.data.end() - 1), wide.data);
  EXPECT_EQ(w.data.back(), 0);
  const Tunemix_Sample& n = *loaded.samples[1];
  EXPECT_EQ(n.data, (std::vector<int16_t>{0, 32512, -32768, -256, 0}));
  EXPECT_EQ(n.panning, 0);
  EXPECT_EQ(loaded.SampleForNote(48), loaded.samples[1]);
  EXPECT_EQ(loaded.SampleForNote(49), loaded.samples[0]);
}

TEST(MusicXm, PanningOfSamplesAndEffects) {
  XmBuilder xm = music_test::SimpleXm();
  xm.instruments[0].samples[0].panning = 255;
  xm.Cell(0, 1, 0) = {0, 0, 0, 8, 0x00};
  xm.Cell(0, 2, 0) = {0, 0, 0xC8, 0, 0};  // volume-column pan: 8 * 8 - 128
  auto song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  song->Update();
  EXPECT_DOUBLE_EQ(song->chPan[0], 127 / 128.0);
  EXPECT_FLOAT_EQ(song->chLeftGain[0], 1 / 128.0f);
  EXPECT_EQ(song->chRightGain[0], 1.0f);
  for (int t = 1; t < 6; ++t) song->Update();
  PlayRow(*song);
  EXPECT_EQ(song->chPan[0], -1.0);  // 800: hard left
  PlayRow(*song);
  EXPECT_EQ(song->chPanning[0], -64);
  EXPECT_EQ(song->chPan[0], -0.5);
  EXPECT_EQ(song->chLeftGain[0], 1.0f);
  EXPECT_EQ(song->chRightGain[0], 0.5f);
}

TEST(MusicXm, VolumeColumn) {
  XmBuilder xm = music_test::SimpleXm();
  xm.instruments[0].samples[0].volume = 40;
  xm.Cell(0, 0, 0).volume = 0x50;
  xm.Cell(0, 1, 0).volume = 0x55;  // not a volume: nothing
  xm.Cell(0, 2, 0).volume = 0x65;  // down 5 on every tick
  xm.Cell(0, 3, 0).volume = 0x83;  // down 3 once
  xm.Cell(0, 4, 0).volume = 0x7F;  // up 15 a tick, at most 64
  xm.Cell(0, 5, 0).volume = 0x20;
  auto song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  const int expected[] = {64, 64, 34, 31, 64, 16};
  for (int r = 0; r < 6; ++r) {
    PlayRow(*song);
    EXPECT_EQ(song->chVolume[0], expected[r]) << "row " << r;
    EXPECT_EQ(song->chBaseGain[0], VolumeTable[expected[r]]);
  }
}

XmBuilder EnvelopeSong(int fadeout) {
  XmBuilder xm = music_test::SimpleXm();
  XmInstrumentSpec& ins = xm.instruments[0];
  ins.envelope = {{0, 64}, {10, 32}};
  ins.volumeType = 1;
  ins.fadeout = fadeout;
  xm.Cell(0, 2, 0).note = 97;
  return xm;
}

TEST(MusicXm, EnvelopeFollowsTheTicks) {
  auto song = music_test::LoadXm(EnvelopeSong(0).Build());
  ASSERT_NE(song, nullptr);
  for (int t = 0; t <= 5; ++t) song->Update();
  EXPECT_FLOAT_EQ(song->chGain[0], 0.75f);  // tick 5 of the note
  for (int t = 6; t <= 10; ++t) song->Update();
  EXPECT_EQ(song->chGain[0], 0.5);
  song->Update();
  EXPECT_EQ(song->chGain[0], 0.5);
}

TEST(MusicXm, KeyOffFadesOut) {
  auto song = music_test::LoadXm(EnvelopeSong(0).Build());
  ASSERT_NE(song, nullptr);
  PlayRow(*song);
  PlayRow(*song);
  EXPECT_GT(song->chGain[0], 0.0);
  song->Update();  // the key-off row: with no fade-out time the volume is 0 at once
  EXPECT_EQ(song->chKeyOff[0], 1);
  EXPECT_EQ(song->chGain[0], 0.0);

  song = music_test::LoadXm(EnvelopeSong(1024).Build());
  ASSERT_NE(song, nullptr);
  PlayRow(*song);
  PlayRow(*song);
  song->Update();
  EXPECT_EQ(song->chFadeout[0], 32768);
  EXPECT_EQ(song->chGain[0], 0.5 * 0.5);
  song->Update();
  EXPECT_EQ(song->chFadeout[0], 65536);
  EXPECT_EQ(song->chGain[0], 0.0);
  EXPECT_NE(song->chStep[0], 0.0);  // the sample runs on, silently
}

TEST(MusicXm, TickLengthAndRate) {
  auto song = music_test::LoadXm(music_test::SimpleXm().Build());
  ASSERT_NE(song, nullptr);
  song->Update();
  EXPECT_EQ(song->framesToTick, 875);
  EXPECT_DOUBLE_EQ(song->chStep[0], 8363.0 / 44100);
  EXPECT_EQ(song->masterVolume, 0.2);
  song->Restart();
  EXPECT_EQ(song->SetInfo(InfoRate, 22050), 1);
  EXPECT_EQ(song->length, 64 * 6 * FramesPerTick(22050, 126));
  EXPECT_EQ(song->SetInfoFloat(InfoMasterVolume, 0.7), 1);
  EXPECT_EQ(song->GetInfoFloat(InfoMasterVolume), 0.7);
  EXPECT_EQ(song->GetInfoFloat(99), 0.0);
}

}  // namespace
