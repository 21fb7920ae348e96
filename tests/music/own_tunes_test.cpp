// The tunes the content generator writes into the programs' "8bit_tunes" folder: each loads
// through the loader its name picks and plays, never silent, for a minute or two.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "music/loader_registry.h"
#include "music/music_module.h"
#include "platform/stream.h"

namespace {

constexpr int Rate = 44100;

TEST(MusicOwnTunes, EveryTuneLoadsAndPlaysForAMinuteOrTwo) {
  InitMusicModule();
  const std::filesystem::path folder = ProgramFolder() + "8bit_tunes";
  int mods = 0, xms = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    mods += entry.path().extension() == ".mod";
    xms += entry.path().extension() == ".xm";
    MusicPtr tune = LoadMusic(entry.path().string());
    ASSERT_NE(tune, nullptr);
    tune->SetInfo(InfoInterpolation, 2);
    ASSERT_EQ(tune->SetInfo(InfoRate, Rate), 1);
    const int frames = tune->GetInfo(InfoLength);
    EXPECT_GE(frames, 60 * Rate);
    EXPECT_LE(frames, 120 * Rate);

    // Every second of the tune, to its end, has sound in it, and none of it clips.
    tune->playing = 1;
    std::vector<int16_t> second(2 * Rate);
    for (int start = 0; start + Rate <= frames; start += Rate) {
      tune->FillBuffer(second.data(), 4 * Rate);
      double energy = 0;
      int peak = 0;
      for (int16_t v : second) {
        energy += static_cast<double>(v) * v;
        peak = std::max(peak, std::abs(static_cast<int>(v)));
      }
      EXPECT_GT(std::sqrt(energy / second.size()), 1000.0) << "second " << start / Rate;
      EXPECT_LT(peak, 32767) << "second " << start / Rate;
    }
    EXPECT_EQ(tune->GetInfo(InfoPlaying), 1);
  }
  EXPECT_GE(mods, 2);
  EXPECT_GE(xms, 2);
}

}  // namespace
