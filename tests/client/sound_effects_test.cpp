// Sound effects and tunes: the jump-sound guard, channel upkeep, the logon sound, the tune list and its keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

#include "assets/embedded_files.h"
#include "client/sound_effects.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "platform/stream.h"
#include "world/records.h"

namespace fs = std::filesystem;

namespace {

// A scratch working folder for the files the effects and tunes are read from.
class ScratchFolder {
 public:
  ScratchFolder() : old_(fs::current_path()) {
    path_ = fs::temp_directory_path() / ("qxr_sfx_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++));
    fs::create_directories(path_);
    fs::current_path(path_);
  }
  ~ScratchFolder() {
    fs::current_path(old_);
    fs::remove_all(path_);
  }
  void Write(const std::string& name, const std::string& bytes) {
    fs::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }

 private:
  static inline int counter_ = 0;
  fs::path old_, path_;
};

// A 44-byte WAV header and a short tone of 16-bit mono samples.
std::string TinyWav() {
  std::string data(8000, '\0');
  for (size_t i = 0; i < data.size(); i += 2) data[i + 1] = (i / 2) % 40 < 20 ? 0x20 : -0x20;
  auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto le16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  return "RIFF" + le32(36 + uint32_t(data.size())) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(22050) +
         le32(44100) + le16(2) + le16(16) + "data" + le32(uint32_t(data.size())) + data;
}

// The four effects, from the embedded files (a short tone where a file is not there).
void RegisterEffects() {
  RegisterEmbeddedFiles();
  static const std::string tone = TinyWav();
  for (const char* name : {"sounds/jump.ogg", "sounds/Die.ogg", "sounds/Collect.ogg", "sounds/arrow.ogg"}) {
    if (!EmbeddedFileExists(name))
      RegisterEmbeddedFile(name, reinterpret_cast<const uint8_t*>(tone.data()), tone.size());
  }
}

class SoundEffects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterEffects();
    ASSERT_TRUE(OpenAudio());
  }
  void SetUp() override {
    SfxOn = 1;
    LoadSounds();
    ASSERT_TRUE(JumpSound && DieSound && CollectSound && ArrowSound);
    for (Channel c : SfxChannels) StopChannel(c);
    SfxChannels.clear();
  }
};

}  // namespace

TEST_F(SoundEffects, JumpSoundStartsAtMostOncePer60Ms) {
  JumpSoundTime = MilliSecs() - 1000;
  PlaySfx(JumpSound, 1.0f, 1.0f);
  ASSERT_EQ(SfxChannels.size(), 1u);

  // A second request 30 ms after the first start is dropped.
  JumpSoundTime -= 30;
  PlaySfx(JumpSound, 1.0f, 1.2f);
  EXPECT_EQ(SfxChannels.size(), 1u);

  // 70 ms after the first start it plays.
  JumpSoundTime -= 40;
  PlaySfx(JumpSound, 1.0f, 1.4f);
  EXPECT_EQ(SfxChannels.size(), 2u);

  // A start time in the future means the clock wrapped: the sound plays.
  JumpSoundTime = MilliSecs() + 100000;
  PlaySfx(JumpSound, 1.0f, 1.0f);
  EXPECT_EQ(SfxChannels.size(), 3u);
}

TEST_F(SoundEffects, OtherEffectsOverlapFreely) {
  JumpSoundTime = MilliSecs();
  PlaySfx(DieSound, -1.0f, 1.0f);
  PlaySfx(DieSound, -1.0f, 1.0f);
  PlayCollectSound();
  EXPECT_EQ(SfxChannels.size(), 3u);
  // None of them touches the jump sound's guard.
  PlaySfx(ArrowSound, -1.0f, 1.0f);
  EXPECT_EQ(SfxChannels.size(), 4u);
}

TEST_F(SoundEffects, PruningDropsOnlyFinishedChannels) {
  PlaySfx(DieSound, -1.0f, 1.0f);
  PlaySfx(CollectSound, -1.0f, 1.0f);
  ASSERT_EQ(SfxChannels.size(), 2u);
  Channel finished = SfxChannels.front();
  StopChannel(finished);
  PruneSfxChannels();
  ASSERT_EQ(SfxChannels.size(), 1u);
  EXPECT_NE(SfxChannels.front(), finished);
}

TEST_F(SoundEffects, LogonSoundOnlyFromANonEmptyFileWithEffectsOn) {
  {
    ScratchFolder folder;  // no custom/logon.wav
    LoadSounds();
    EXPECT_FALSE(LogonSound);
    PlayLogonSound();
    EXPECT_TRUE(SfxChannels.empty());
  }
  {
    ScratchFolder folder;
    folder.Write("custom/logon.wav", "");
    LoadSounds();
    EXPECT_FALSE(LogonSound);
  }
  {
    ScratchFolder folder;
    folder.Write("custom/logon.wav", TinyWav());
    SfxOn = 0;
    LoadSounds();
    EXPECT_FALSE(LogonSound);
    SfxOn = 1;
    LoadSounds();
    ASSERT_TRUE(LogonSound);
    PlayLogonSound();
    EXPECT_EQ(SfxChannels.size(), 1u);
  }
}

TEST_F(SoundEffects, NoSoundPlaysWhileEffectsAreOff) {
  SfxOn = 0;
  PlayCollectSound();
  PlayLogonSound();
  EXPECT_TRUE(SfxChannels.empty());
  SfxOn = 1;
}

TEST(TuneList, ListsVisibleNamesAfterOff) {
  ScratchFolder folder;
  folder.Write("8bit_tunes/song.mod", "x");
  folder.Write("8bit_tunes/theme.xm", "x");
  folder.Write("8bit_tunes/.hidden.ogg", "x");
  ListTunes("8bit_tunes/");
  EXPECT_EQ(Tunes[0], "OFF");
  ASSERT_EQ(TuneCount, 2);
  EXPECT_EQ((std::set<std::string>{Tunes[1], Tunes[2]}), (std::set<std::string>{"song.mod", "theme.xm"}));
  EXPECT_EQ(Tunes[3], "");
}

TEST(TuneList, KeepsAtMost99Names) {
  ScratchFolder folder;
  for (int i = 0; i < 120; ++i) folder.Write("8bit_tunes/t" + std::to_string(i) + ".mod", "x");
  ListTunes("8bit_tunes/");
  EXPECT_EQ(TuneCount, 99);
  EXPECT_FALSE(Tunes[99].empty());
}

TEST(TuneList, MissingFolderLeavesOnlyOff) {
  ScratchFolder folder;
  ListTunes("8bit_tunes/");
  EXPECT_EQ(Tunes[0], "OFF");
  EXPECT_EQ(TuneCount, 0);
}

TEST(TuneList, MenuKeyCyclesThroughOffAndPlayKeySkipsIt) {
  ScratchFolder folder;
  folder.Write("8bit_tunes/a.mod", "x");
  folder.Write("8bit_tunes/b.mod", "x");
  ListTunes("8bit_tunes/");
  TuneIndex = 0;
  MusicOn = 0;

  // In the menu: OFF -> tune 1 -> tune 2 -> OFF.
  NextTune(0);
  EXPECT_EQ(TuneIndex, 1);
  EXPECT_EQ(MusicOn, 1);
  NextTune(0);
  EXPECT_EQ(TuneIndex, 2);
  NextTune(0);
  EXPECT_EQ(TuneIndex, 0);
  EXPECT_EQ(MusicOn, 0);

  // In play: tune 1 -> tune 2 -> tune 1.
  NextTune(1);
  NextTune(1);
  EXPECT_EQ(TuneIndex, 2);
  NextTune(1);
  EXPECT_EQ(TuneIndex, 1);
  EXPECT_EQ(MusicOn, 1);

  // Stopping keeps the selection.
  StopTune();
  EXPECT_EQ(TuneIndex, 1);
  EXPECT_EQ(MusicOn, 1);
  TuneIndex = 0;
  MusicOn = 0;
}

TEST(TuneList, EmptyFolderMenuKeyStaysOffPlayKeySelectsNothingToPlay) {
  ScratchFolder folder;
  fs::create_directories("8bit_tunes");
  ListTunes("8bit_tunes/");
  TuneIndex = 0;
  NextTune(0);
  EXPECT_EQ(TuneIndex, 0);
  EXPECT_EQ(MusicOn, 0);
  NextTune(1);
  EXPECT_EQ(TuneIndex, 1);
  EXPECT_EQ(MusicOn, 1);
  EXPECT_EQ(Tunes[1], "");
  TuneIndex = 0;
  MusicOn = 0;
}
