// The mixer's wide loops (AVX2, AVX-512) against its plain ones: the same output to the last
// bit, for songs with every loop type, many pitches and ramps, the game's own tunes and, where
// installed, real modules of the mixer benchmark.
#include <gtest/gtest.h>

#include <filesystem>

#include "music/mixer_simd.h"
#include "platform/stream.h"
#include "tests/music/music_test_support.h"

namespace {

using namespace module_builder;

std::vector<int16_t> Rendered(const std::vector<uint8_t>& file, bool xm, MixerLoops loops, int interpolation) {
  LimitMixerLoops(loops);
  std::shared_ptr<Tunemix_Player> song;
  if (xm) {
    song = music_test::LoadXm(file);
  } else {
    song = music_test::LoadMod(file);
  }
  std::vector<int16_t> out;
  if (song) {
    song->SetInfo(InfoInterpolation, interpolation);
    song->SetInfo(InfoRate, 44100);
    song->SetInfo(InfoLoop, 1);
    song->playing = 1;
    out = music_test::Render(*song, 20 * 44100);
  }
  LimitMixerLoops(MixerLoops::Avx512);
  return out;
}

// The AVX2 and AVX-512 loops against the plain ones (those this processor has).
void ExpectSameEveryWay(const std::vector<uint8_t>& file, bool xm, const std::string& what) {
  for (int interpolation : {1, 2}) {
    const auto plain = Rendered(file, xm, MixerLoops::Plain, interpolation);
    ASSERT_FALSE(plain.empty()) << what;
    for (MixerLoops loops : {MixerLoops::Avx2, MixerLoops::Avx512}) {
      const auto wide = Rendered(file, xm, loops, interpolation);
      ASSERT_EQ(wide.size(), plain.size()) << what;
      size_t differ = 0;
      while (differ < wide.size() && wide[differ] == plain[differ]) ++differ;
      EXPECT_EQ(differ, wide.size()) << what << ", interpolation " << interpolation << ", "
                                     << (loops == MixerLoops::Avx2 ? "AVX2" : "AVX-512")
                                     << " loops: first difference at frame " << differ / 2;
    }
  }
}

// Every loop type, notes over five octaves with slides, vibrato, retriggers and cuts.
XmBuilder LoopsAndPitches() {
  XmBuilder xm;
  xm.channels = 6;
  xm.orders = {0, 1};
  for (int type : {0, 1, 2}) {
    XmInstrumentSpec ins;
    XmSampleSpec s;
    for (int i = 0; i < 300 + 97 * type; ++i) s.data.push_back(static_cast<int16_t>((i * 7919 + type * 31) % 50000 - 25000));
    s.sixteenBit = true;
    s.loopType = type;
    s.loopStart = type == 2 ? 40 : 2 * (3 + 5 * type);
    s.loopLength = type == 0 ? 0 : 2 * (17 + 70 * type);
    ins.samples = {s};
    xm.instruments.push_back(ins);
  }
  for (int p = 0; p < 2; ++p) {
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < 6; ++c) {
        XmCell& cell = xm.Cell(p, r, c);
        if ((r + 2 * c) % 5 == 0) cell = {12 + (r * 7 + c * 11 + p * 5) % 80, 1 + (r + c) % 3, 0x10 + (r * 3 + c) % 65, 0, 0};
        else if ((r + c) % 5 == 2) cell = {0, 0, 0, 1 + (r + c) % 4, 0x20 + r};
        else if ((r + c) % 7 == 3) cell = {0, 0, 0, 0xE, 0x92};
        else if ((r + c) % 11 == 4) cell = {0, 0, 0, 0xE, 0xC3};
      }
    }
  }
  return xm;
}

TEST(MusicMixerPaths, WideAndPlainLoopsGiveTheSameOutput) {
  ExpectSameEveryWay(LoopsAndPitches().Build(), true, "loops and pitches");

  ModBuilder mod = music_test::SimpleMod();
  mod.orders = {0, 1};
  for (int r = 0; r < 64; ++r) {
    mod.Cell(0, r, r % 4) = {24 + (r * 5) % 60, 1, r % 3 == 0 ? 0x3 : 0x0, 0x47};
    mod.Cell(1, r, (r + 1) % 4) = {30 + (r * 7) % 50, 1, 0x4, 0x8F};
  }
  ExpectSameEveryWay(mod.Build(), false, "square MOD");

  // The game's own tunes, and real modules where their packages are installed.
  std::vector<std::filesystem::path> files;
  for (const char* folder : {"8bit_tunes"}) {
    const std::filesystem::path path = ProgramFolder() + folder;
    if (std::filesystem::exists(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) files.push_back(entry.path());
    }
  }
  for (const char* path : {"/usr/share/games/freedroid/sound/kollaps-tron.mod",
                           "/usr/share/games/freedroid/sound/AnarchyMenu1.mod",
                           "/usr/share/games/ceferino/music/menu.xm",
                           // Short forward loops of single waveforms at high steps, and loops
                           // from the sample's very start.
                           "/usr/share/games/bomberclone/music/cerror-bobmberclone.xm",
                           "/usr/share/games/bomberclone/music/mario_is_a_weenie.xm",
                           "/usr/share/games/bomberclone/music/cerror-bomberclone_numero_2.xm"}) {
    if (std::filesystem::exists(path)) files.emplace_back(path);
  }
  EXPECT_GE(files.size(), 4u);
  for (const auto& path : files) {
    ExpectSameEveryWay(ReadAll(path.string()), path.extension() == ".xm", path.filename().string());
  }
}

}  // namespace
