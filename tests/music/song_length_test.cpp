// Measured song lengths: one pattern of each format, and the effects that move the song.
#include <gtest/gtest.h>

#include "tests/music/music_test_support.h"

namespace {

using module_builder::ModBuilder;
using module_builder::ModCell;
using module_builder::XmBuilder;

constexpr int ModTick44k = 882;  // 44100 / (125 * 0.4)

int ModLength(ModBuilder mod) {
  auto song = music_test::LoadMod(mod.Build());
  EXPECT_NE(song, nullptr);
  if (!song) return -1;
  EXPECT_EQ(song->SetInfo(InfoRate, 44100), 1);
  EXPECT_EQ(song->GetInfo(InfoLoop), 0);
  return song->GetInfo(InfoLength);
}

ModBuilder TwoOrders() {
  ModBuilder mod = music_test::SimpleMod();
  mod.orders = {0, 1};
  mod.Cell(1, 0, 0) = {60, 1, 0, 0};
  return mod;
}

TEST(MusicSongLength, OnePatternOfEachFormat) {
  auto mod = music_test::LoadMod(music_test::SimpleMod().Build());
  ASSERT_NE(mod, nullptr);
  EXPECT_EQ(mod->rate, 22050);
  EXPECT_EQ(mod->length, 64 * 6 * 441);
  EXPECT_EQ(ModLength(music_test::SimpleMod()), 64 * 6 * ModTick44k);

  auto xm = music_test::LoadXm(music_test::SimpleXm().Build());
  ASSERT_NE(xm, nullptr);
  EXPECT_EQ(xm->rate, 44100);
  EXPECT_EQ(xm->length, 64 * 6 * 875);
  EXPECT_EQ(xm->GetInfo(InfoLoop), 0);
  EXPECT_EQ(xm->SetInfo(InfoLoop, 1), 1);
  EXPECT_EQ(xm->GetInfo(InfoLoop), 1);
}

TEST(MusicSongLength, SpeedAndTempo) {
  ModBuilder mod = music_test::SimpleMod();
  mod.Cell(0, 32, 1) = {0, 0, 0xF, 0x03};
  EXPECT_EQ(ModLength(mod), (32 * 6 + 32 * 3) * ModTick44k);

  mod.Cell(0, 32, 1) = {0, 0, 0xF, 0xA0};  // tempo 160: 44100 / 64 = 689 frames a tick
  EXPECT_EQ(ModLength(mod), 32 * 6 * ModTick44k + 32 * 6 * 689);

  mod.Cell(0, 32, 1) = {0, 0, 0xF, 0x00};  // F00 changes nothing
  EXPECT_EQ(ModLength(mod), 64 * 6 * ModTick44k);

  XmBuilder xm = music_test::SimpleXm();
  xm.speed = 3;
  xm.bpm = 150;  // 44100 / (151 * 0.4)
  auto song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->length, 64 * 3 * 730);
}

TEST(MusicSongLength, PositionJumps) {
  ModBuilder mod = TwoOrders();
  mod.Cell(0, 15, 2) = {0, 0, 0xB, 0x01};  // forward to order 1 after row 15
  EXPECT_EQ(ModLength(mod), (16 + 64) * 6 * ModTick44k);

  mod = TwoOrders();
  mod.Cell(1, 9, 2) = {0, 0, 0xB, 0x00};  // backward: the end of a song that does not loop
  EXPECT_EQ(ModLength(mod), (64 + 10) * 6 * ModTick44k);

  // A jump to the order the song stands in repeats it for ever: measured as one pass.
  mod = music_test::SimpleMod();
  mod.Cell(0, 20, 1) = {0, 0, 0xB, 0x00};
  EXPECT_EQ(ModLength(mod), 21 * 6 * ModTick44k);

  // A jump to an order past the song's end but inside the order list plays that order's
  // pattern (the list holds 0 there), then the song ends; one past the list goes back to the start.
  mod = TwoOrders();
  mod.Cell(1, 4, 3) = {0, 0, 0xB, 0x7F};
  EXPECT_EQ(ModLength(mod), (64 + 5 + 64) * 6 * ModTick44k);
  mod.Cell(1, 4, 3) = {0, 0, 0xB, 0x80};
  EXPECT_EQ(ModLength(mod), (64 + 5) * 6 * ModTick44k);

  // The entry right after the song is stored: a jump there plays its pattern.
  mod = TwoOrders();
  mod.orders = {0, 1, 2};
  mod.songLengthField = 2;
  mod.Cell(2, 0, 0) = {48, 1, 0, 0};
  mod.Cell(2, 10, 1) = {0, 0, 0xD, 0x00};  // pattern 2 is 11 rows long
  mod.Cell(1, 4, 3) = {0, 0, 0xB, 0x02};
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);
  ASSERT_NE(song->patterns[2], nullptr);
  EXPECT_EQ(ModLength(mod), (64 + 5 + 11) * 6 * ModTick44k);
}

TEST(MusicSongLength, PatternBreaks) {
  ModBuilder mod = TwoOrders();
  mod.Cell(0, 9, 1) = {0, 0, 0xD, 0x20};  // to row 32 (the byte unchanged) of the next order
  EXPECT_EQ(ModLength(mod), (10 + 32) * 6 * ModTick44k);

  mod.Cell(0, 9, 1) = {0, 0, 0xD, 0x50};  // row 80 does not exist: one empty row, then the end
  EXPECT_EQ(ModLength(mod), (10 + 1) * 6 * ModTick44k);
  mod.Cell(0, 9, 1) = {0, 0, 0xD, 0x50};
  mod.orders = {0, 1, 0};                  // ... or the next order, until the break jumps back
  EXPECT_EQ(ModLength(mod), (10 + 1 + 10) * 6 * ModTick44k);

  mod = music_test::SimpleMod();
  mod.Cell(0, 40, 3) = {0, 0, 0xD, 0x00};  // a break on the only order repeats it
  EXPECT_EQ(ModLength(mod), 41 * 6 * ModTick44k);

  mod.Cell(0, 40, 3) = {0, 0, 0xD, 0x30};  // ... landing on a row not played yet, then repeating
  EXPECT_EQ(ModLength(mod), (41 + 16) * 6 * ModTick44k);
}

TEST(MusicSongLength, SongLengthZeroAndEmptyPatterns) {
  // A song length of 0 plays the first order once.
  ModBuilder mod = TwoOrders();
  mod.songLengthField = 0;
  EXPECT_EQ(ModLength(mod), 64 * 6 * ModTick44k);

  XmBuilder xm = music_test::SimpleXm();
  xm.orders = {0, 1};
  xm.songLengthField = 0;
  xm.Cell(1, 0, 0) = {61, 1, 0, 0, 0};
  auto song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->lastOrder, -1);
  EXPECT_EQ(song->length, 64 * 6 * 875);

  // A pattern of 0 rows loads; played, it passes as one empty row.
  xm = music_test::SimpleXm();
  xm.orders = {0};
  xm.Cell(1, 0, 0) = {61, 1, 0, 0, 0};
  xm.patterns[1].rowsField = 0;
  song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->patterns[1]->rowCount, 0);
  EXPECT_EQ(song->length, 64 * 6 * 875);
  xm.orders = {1, 0};
  song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->length, (1 + 64) * 6 * 875);
}

TEST(MusicSongLength, PatternLoopsAndDelays) {
  ModBuilder mod = music_test::SimpleMod();
  mod.Cell(0, 4, 1) = {0, 0, 0xE, 0x60};
  mod.Cell(0, 8, 1) = {0, 0, 0xE, 0x62};  // rows 4..8 three times
  EXPECT_EQ(ModLength(mod), (64 + 2 * 5) * 6 * ModTick44k);

  mod = music_test::SimpleMod();
  mod.Cell(0, 10, 1) = {0, 0, 0xE, 0xE2};  // two rows' worth of ticks more
  EXPECT_EQ(ModLength(mod), (64 + 2) * 6 * ModTick44k);

  XmBuilder xm = music_test::SimpleXm();
  xm.Cell(0, 4, 1) = {0, 0, 0, 0xE, 0x60};
  xm.Cell(0, 8, 1) = {0, 0, 0, 0xE, 0x62};
  xm.Cell(0, 20, 0) = {0, 1, 0, 0xE, 0xE1};  // the XM delay belongs to a channel with an instrument
  auto song = music_test::LoadXm(xm.Build());
  ASSERT_NE(song, nullptr);
  EXPECT_EQ(song->length, (64 + 10 + 1) * 6 * 875);
}

TEST(MusicSongLength, BackwardJumpEndsPlayWithoutLoop) {
  ModBuilder mod = TwoOrders();
  mod.Cell(1, 0, 2) = {0, 0, 0xB, 0x00};
  auto song = music_test::LoadMod(mod.Build());
  ASSERT_NE(song, nullptr);
  song->SetInfo(InfoRate, 44100);
  song->playing = 1;
  music_test::RenderToFirstTick(*song);
  music_test::Render(*song, 64 * 6 * ModTick44k);
  EXPECT_EQ(song->GetInfo(InfoPlaying), 1);
  EXPECT_EQ(song->GetInfo(InfoOrder), 1);
  music_test::Render(*song, 6 * ModTick44k);
  EXPECT_EQ(song->GetInfo(InfoPlaying), 0);

  // With the loop flag on the same song plays on.
  song->SetInfo(InfoRate, 44100);
  song->SetInfo(InfoLoop, 1);
  song->playing = 1;
  music_test::Render(*song, 3 * 64 * 6 * ModTick44k);
  EXPECT_EQ(song->GetInfo(InfoPlaying), 1);
}

TEST(MusicSongLength, ALoopingSongStartsAgain) {
  auto song = music_test::LoadMod(music_test::SimpleMod().Build());
  ASSERT_NE(song, nullptr);
  song->SetInfo(InfoRate, 44100);
  song->SetInfo(InfoLoop, 1);
  song->playing = 1;
  music_test::RenderToFirstTick(*song);
  // Refilled a tick at a time, as the output stream does in small pieces.
  for (int t = 0; t < 64 * 6 + 2; ++t) music_test::Render(*song, ModTick44k);
  EXPECT_EQ(song->GetInfo(InfoPlaying), 1);
  EXPECT_EQ(song->GetInfo(InfoOrder), 0);
  EXPECT_EQ(song->GetInfo(InfoRow), 0);
  EXPECT_EQ(song->GetInfo(InfoTick), 2);
  EXPECT_EQ(song->GetInfo(InfoPosition), 3 * ModTick44k);  // counted again from the new start
}

TEST(MusicSongLength, RowEventsReportEveryRow) {
  auto song = music_test::LoadMod(music_test::SimpleMod().Build());
  ASSERT_NE(song, nullptr);
  int rows = 0;
  song->onRowEvent = [&](const MusicRowEvent& e) {
    EXPECT_EQ(e.source, song.get());
    EXPECT_EQ(e.data, 6);  // the MOD tick counts past the speed before the row ends
    ++rows;
  };
  EXPECT_EQ(song->SetInfo(InfoRowEvents, 1), 1);
  song->playing = 1;
  music_test::RenderToFirstTick(*song);
  music_test::Render(*song, 10 * 6 * 441);
  EXPECT_EQ(rows, 10);
}

}  // namespace
