// The mixer's wide loops (AVX2, AVX-512) against its plain ones: the same output to the last
// bit, for songs with every loop type, many pitches and ramps, the game's own tunes and, where
// installed, real modules of the mixer benchmark.
#include <gtest/gtest.h>

#include <cstdio>
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

// Short forward loops (from the sample's start and later, 4 to 130 entries) played the way
// real tunes play them: arpeggios, vibrato, slides, sample offsets, instruments changing on a
// channel and the same note on several channels, over steps from about 0.05 to 4.
XmBuilder ShortLoopsAndEffects() {
  XmBuilder xm;
  xm.channels = 8;
  xm.orders = {0, 1, 0};
  const int loops[][2] = {{0, 32}, {2, 128}, {12, 26}, {0, 4}, {0, 105}, {1, 64}};
  for (const auto& loop : loops) {
    XmInstrumentSpec ins;
    XmSampleSpec s;
    const int end = loop[0] + loop[1];
    for (int i = 0; i < end + 3; ++i) s.data.push_back(static_cast<int16_t>((i * 7919 + end * 131) % 60000 - 30000));
    s.sixteenBit = true;
    s.loopType = 1;
    s.loopStart = 2 * loop[0];
    s.loopLength = 2 * loop[1];
    ins.samples = {s};
    xm.instruments.push_back(ins);
  }
  for (int p = 0; p < 2; ++p) {
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < 8; ++c) {
        XmCell& cell = xm.Cell(p, r, c);
        const int instrument = 1 + (r / 4 + c + p) % 6;
        const int note = 1 + (r * 5 + c * 13 + p * 7) % 95;
        switch ((r + 3 * c + p) % 8) {
          case 0: cell = {note, instrument, 0, 0x0, 0x37}; break;            // note with an arpeggio
          case 1: cell = {0, 0, 0, 0x0, 0x47}; break;                        // arpeggio on
          case 2: cell = {0, 0, 0, 0x4, 0x28 + r % 7}; break;                // vibrato
          case 3: cell = {note, instrument, 0, 0x9, (r * 3) % 5}; break;     // from a sample offset
          case 4: cell = {(note + 12) % 95 + 1, 0, 0, 0x3, 0x20}; break;     // slide to a note
          case 5: cell = {0, 0, 0, 0x1 + r % 2, 0x08}; break;                // slide up or down
          case 6: cell = {c < 4 ? 49 : 61, 1 + r % 6, 0x30 + c, 0, 0}; break;  // the same notes
          default: break;
        }
      }
    }
  }
  return xm;
}

// Channels set up directly at the edges of the wide loops' tables and kept passes: positions
// that are whole numbers at the loop's end or just below one, loops of four entries, steps of a
// quarter, a half and whole numbers, steps up to half the loop, steps that change and loops
// that change between two mixes. Returns the output, in pieces of several sizes.
std::vector<int16_t> RenderedAtTheEdges(MixerLoops loops) {
  LimitMixerLoops(loops);
  constexpr int Channels = 8;
  music_test::BareMixer mixer(Channels);
  mixer.interpolation = 2;
  mixer.masterVolume = 1.0 / 4;
  std::vector<std::shared_ptr<Tunemix_Sample>> samples;
  const int loopsOf[][2] = {{0, 4}, {1, 5}, {12, 26}, {0, 32}, {2, 64}, {0, 105}, {3, 128}, {0, 7}};
  for (const auto& loop : loopsOf) {
    auto s = std::make_shared<Tunemix_Sample>();
    const int end = loop[0] + loop[1];
    s->length = end + (loop[0] % 2);
    s->data.resize(s->length + 1);
    for (int i = 0; i < s->length; ++i) s->data[i] = static_cast<int16_t>((i * 4099 + end * 77) % 50000 - 25000);
    s->loopType = LoopForward;
    s->loopStart = loop[0];
    s->loopLength = loop[1];
    samples.push_back(s);
  }
  const double steps[] = {0.25, 0.5, 1.0, 2.0, 2.5, 3.9, 0.1234567, 1.75};
  const double pans[] = {0.0, -1.0, 1.0, 0.3};
  std::vector<int16_t> out;
  for (int round = 0; round < 24; ++round) {
    for (int c = 0; c < Channels; ++c) {
      const auto& s = samples[(c + round) % samples.size()];
      const double end = s->loopStart + s->loopLength;
      // Some channels keep playing; others start again at a position at an edge.
      if (round % 3 == 0 || c % 2 == 0) {
        const double starts[] = {end - 2, end - 1, end, end - 1 - 0x1p-40, 0.0, s->loopStart + 0.5,
                                 std::nextafter(end, 0.0), end - 2 + 0x1p-44};
        mixer.Play(c, s, std::min(steps[(c * 3 + round) % 8], 0.5 * s->loopLength), pans[c % 4]);
        mixer.chPosition[c] = starts[(c + round / 2) % 8];
        mixer.chGain[c] = 0.4;
      } else {
        // An arpeggio or slide: the same channel on at another step.
        mixer.chStep[c] *= round % 2 ? 1.0594630943592953 : 1.0 / 1.0594630943592953;
      }
    }
    // A loop moved in place keeps nothing made for the old one.
    if (round == 12) samples[3]->loopStart = 5, samples[3]->loopLength = 24;
    for (int frames : {1, 7, 735, 1024, 2000, 333}) {
      const auto piece = music_test::Render(mixer, frames);
      out.insert(out.end(), piece.begin(), piece.end());
    }
  }
  LimitMixerLoops(MixerLoops::Avx512);
  return out;
}

TEST(MusicMixerPaths, ShortLoopsAtTheirEdgesGiveTheSameOutputEveryWay) {
  const auto plain = RenderedAtTheEdges(MixerLoops::Plain);
  for (MixerLoops loops : {MixerLoops::Avx2, MixerLoops::Avx512}) {
    const auto wide = RenderedAtTheEdges(loops);
    ASSERT_EQ(wide.size(), plain.size());
    size_t differ = 0;
    while (differ < wide.size() && wide[differ] == plain[differ]) ++differ;
    EXPECT_EQ(differ, wide.size()) << (loops == MixerLoops::Avx2 ? "AVX2" : "AVX-512")
                                   << " loops: first difference at frame " << differ / 2;
  }
  // Not every processor has both: say which were compared.
  const MixerLoops widest = LimitMixerLoops(MixerLoops::Avx512);
  std::printf("compared the plain loops with %s\n", widest == MixerLoops::Avx512 ? "the AVX2 and AVX-512 loops"
                                                    : widest == MixerLoops::Avx2   ? "the AVX2 loops only"
                                                                                   : "themselves only");
}

TEST(MusicMixerPaths, WideAndPlainLoopsGiveTheSameOutput) {
  ExpectSameEveryWay(LoopsAndPitches().Build(), true, "loops and pitches");
  ExpectSameEveryWay(ShortLoopsAndEffects().Build(), true, "short loops and effects");

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
