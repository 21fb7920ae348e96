// Tables, note names and pitch, row texts, sample conversion and wrapping, envelopes.
#include <gtest/gtest.h>

#include "music/instrument.h"
#include "music/music_module.h"
#include "music/music_tables.h"
#include "music/pattern.h"
#include "music/player.h"

namespace {

TEST(MusicTables, ValuesAtTheirEdges) {
  InitMusicModule();
  EXPECT_EQ(NoteNames[0], "xxx");
  EXPECT_EQ(NoteNames[1], "C 0");
  EXPECT_EQ(NoteNames[2], "C#0");
  EXPECT_EQ(NoteNames[49], "C 4");
  EXPECT_EQ(NoteNames[108], "B 8");
  EXPECT_FLOAT_EQ(VolumeTable[62], 62.0f / 63.0f);
  EXPECT_EQ(VolumeTable[63], 0.9920635f);
  EXPECT_EQ(VolumeTable[64], 1.0f);
  EXPECT_EQ(VibratoRamp[0], 0.0f);
  EXPECT_EQ(VibratoRamp[31], -0.96875f);
  EXPECT_EQ(VibratoRamp[32], 1.0f);
  EXPECT_EQ(VibratoRamp[63], 0.03125f);
  EXPECT_EQ(VibratoSine[16], 1.0f);
  EXPECT_EQ(VibratoSine[48], -1.0f);
  EXPECT_NEAR(VibratoSine[1], 0.0980171f, 1e-7);
  EXPECT_NEAR(VibratoSine[32], 0.0f, 1e-7);
  EXPECT_EQ(VibratoSquare[31], 1.0f);
  EXPECT_EQ(VibratoSquare[32], -1.0f);
}

TEST(MusicTables, NoteNamesAndFrequencies) {
  InitMusicModule();
  EXPECT_EQ(Tunemix_Player::NoteName(0), ">>>");
  EXPECT_EQ(Tunemix_Player::NoteName(1), "C 0");
  EXPECT_EQ(Tunemix_Player::NoteName(-5), "<<<");
  EXPECT_EQ(Tunemix_Player::NoteName(109), ">>>");
  Tunemix_Sample sample;
  EXPECT_DOUBLE_EQ(Tunemix_Player::NoteToFrequency(sample, 48), 8363.0);
  EXPECT_DOUBLE_EQ(Tunemix_Player::NoteToFrequency(sample, 60), 2 * 8363.0);
  sample.relativeNote = 12;
  EXPECT_DOUBLE_EQ(Tunemix_Player::NoteToFrequency(sample, 48), 2 * 8363.0);
  sample.relativeNote = 0;
  sample.finetune = -12;
  EXPECT_DOUBLE_EQ(Tunemix_Player::NoteToFrequency(sample, 48), 8363.0 / 2);
}

TEST(MusicPatterns, RowTexts) {
  InitMusicModule();
  auto pattern = Tunemix_Pattern::Create(2, 4);
  Tunemix_Track& t = *pattern->tracks[0];
  t.notes[0] = 49;
  t.instrumentNumbers[0] = 1;
  t.volumes[0] = 64;
  t.effects[0] = 0xC;
  t.params[0] = 0x20;
  t.notes[1] = NoteKeyOff;
  t.params[2] = 0x37;
  t.instrumentNumbers[3] = 0x1AB;
  pattern->BuildRowTexts();
  EXPECT_EQ(t.RowText(0), "C 4 01 40 C20");
  EXPECT_EQ(t.RowText(1), " |           ");
  EXPECT_EQ(t.RowText(2), "---       037");
  EXPECT_EQ(t.RowText(3), "--- AB       ");
  EXPECT_EQ(pattern->tracks[1]->RowText(0), "---          ");
  EXPECT_EQ(pattern->rowTexts[0], "C 4 01 40 C20|---          |");
  EXPECT_EQ(pattern->rowTexts[2], "---       037|---          |");
  ASSERT_EQ(pattern->rowTexts.size(), 5u);
  EXPECT_EQ(pattern->rowTexts[4], "");
}

TEST(MusicSamples, ConversionKeepsAGuardEntry) {
  Tunemix_Sample eight;
  const uint8_t bytes[] = {0x00, 0x7F, 0x80, 0xFF};
  eight.SetData(bytes, 4, 1);
  EXPECT_EQ(eight.length, 4);
  EXPECT_EQ(eight.data, (std::vector<int16_t>{0, 32512, -32768, -256, 0}));
  Tunemix_Sample sixteen;
  const uint8_t words[] = {0xFF, 0x7F, 0x00, 0x80, 0x01};
  sixteen.SetData(words, 5, 2);
  EXPECT_EQ(sixteen.length, 2);
  EXPECT_EQ(sixteen.data, (std::vector<int16_t>{32767, -32768, 0}));
}

TEST(MusicSamples, WrapPositionByLoopType) {
  Tunemix_Sample s;
  s.length = 100;
  s.loopType = LoopForward;
  s.loopStart = 20;
  s.loopLength = 80;
  EXPECT_EQ(s.WrapPosition(101, 0), 21);
  EXPECT_EQ(s.WrapPosition(-0.5, 0), -1.0);
  s.loopType = LoopNone;
  EXPECT_EQ(s.WrapPosition(100, 0), 100);
  EXPECT_EQ(s.WrapPosition(100.5, 0), -1.0);
  s.loopType = LoopPingPong;
  s.loopStart = 10;
  s.loopLength = 20;
  EXPECT_EQ(s.WrapPosition(31, 1), 29);
  EXPECT_EQ(s.WrapPosition(31, 0), 31);
  EXPECT_EQ(s.WrapPosition(9, -1), 11);
}

TEST(MusicSamples, FitLoopKeepsTheLoopInsideTheData) {
  Tunemix_Sample s;
  s.length = 100;
  s.loopType = LoopForward;
  s.loopStart = 90;
  s.loopLength = 50;
  s.FitLoop();
  EXPECT_EQ(s.loopLength, 10);
  s.loopStart = 100;
  s.FitLoop();
  EXPECT_EQ(s.loopType, LoopNone);
  s.loopType = LoopPingPong;
  s.loopStart = 0;
  s.loopLength = 0;
  s.FitLoop();
  EXPECT_EQ(s.loopType, LoopNone);
  // A forward loop of length 0 is kept: the mixer's rule repeats the sample's tail.
  s.loopType = LoopForward;
  s.loopStart = 40;
  s.FitLoop();
  EXPECT_EQ(s.loopType, LoopForward);
  EXPECT_EQ(s.WrapPosition(50.5, 0), 50.5);
  EXPECT_EQ(s.WrapPosition(100.5, 0), 100.5);  // a neighbour past the end: nothing there
}

TEST(MusicInstruments, KeyMapAndEnvelope) {
  Tunemix_Instrument ins;
  ins.samples[0] = std::make_shared<Tunemix_Sample>();
  ins.samples[2] = std::make_shared<Tunemix_Sample>();
  ins.keyMap[60] = 2;
  EXPECT_EQ(ins.SampleForNote(60), ins.samples[2]);
  EXPECT_EQ(ins.SampleForNote(1), ins.samples[0]);
  EXPECT_EQ(ins.SampleForNote(96), nullptr);
  EXPECT_EQ(ins.SampleForNote(0), nullptr);

  int tick = 5, index = 0;
  EXPECT_EQ(ins.EnvelopeValue(tick, index), 1.0f);  // no points, no flags
  ins.AddEnvelopePoint(0, 64);
  ins.AddEnvelopePoint(10, 32);
  ins.volumePointCount = 2;
  ins.volumeFlags = 1;
  EXPECT_FLOAT_EQ(ins.EnvelopeValue(tick, index), 0.75f);
  EXPECT_EQ(index, 0);
  tick = 10;
  EXPECT_EQ(ins.EnvelopeValue(tick, index), 0.5f);
  EXPECT_EQ(index, 1);
  tick = 30;
  EXPECT_EQ(ins.EnvelopeValue(tick, index), 0.5f);
}

TEST(MusicInstruments, EnvelopeSustainAndLoop) {
  Tunemix_Instrument ins;
  ins.AddEnvelopePoint(0, 64);
  ins.AddEnvelopePoint(10, 32);
  ins.AddEnvelopePoint(20, 0);
  ins.volumePointCount = 3;
  ins.volumeFlags = 3;
  ins.SetSustain(2);
  EXPECT_EQ(ins.sustainIndex, 1);
  int tick = 10, index = 0;
  EXPECT_EQ(ins.EnvelopeValue(tick, index), 0.5f);
  for (tick = 11; tick < 40; ++tick) EXPECT_EQ(ins.EnvelopeValue(tick, index), 0.5f);

  // A loop from point 2 to point 3 brings the tick back to the loop start.
  ins.volumeFlags = 5;
  ins.SetLoop(2, 3);
  tick = 20;
  index = 1;
  EXPECT_EQ(ins.EnvelopeValue(tick, index), 0.0f);
  EXPECT_EQ(index, 2);
  tick = 21;
  EXPECT_EQ(ins.EnvelopeValue(tick, index), 0.5f);
  EXPECT_EQ(tick, 10);
  EXPECT_EQ(index, 1);
}

TEST(MusicInstruments, PointNumbersBeyondThePointsStayInside) {
  Tunemix_Instrument ins;
  ins.SetSustain(5);  // before any point
  ins.AddEnvelopePoint(0, 64);
  ins.AddEnvelopePoint(4, 0);
  ins.volumePointCount = 200;
  ins.volumeFlags = 7;
  ins.SetSustain(200);
  ins.SetLoop(100, 255);
  EXPECT_EQ(ins.sustainIndex, 1);
  EXPECT_EQ(ins.loopEndIndex, 1);
  for (int start = 0; start < 300; start += 7) {
    int tick = start, index = start;
    const float v = ins.EnvelopeValue(tick, index);
    EXPECT_GE(v, 0.0f);
    EXPECT_LE(v, 1.0f);
  }
}

}  // namespace
