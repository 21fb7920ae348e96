// The loader registry: which loader a file name reaches, the filter text, the base class keys.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "music/loader_registry.h"
#include "tests/music/music_test_support.h"

namespace {

// Keeps the loader list as it was, so a test can register loaders of its own.
class MusicRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    InitMusicModule();
    saved_ = MusicLoaders();
  }
  void TearDown() override { MusicLoaders() = saved_; }

  std::vector<std::shared_ptr<TunemixLoader>> saved_;
};

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/qxr_music_XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return file;
  }

 private:
  std::string path_;
};

struct SilentMusic : TMusic {
  int FillBuffer(void*, int) override { return 0; }
};

TEST_F(MusicRegistry, InitRegistersEveryLoaderOnceInOrder) {
  InitMusicModule();
  std::vector<std::string> extensions;
  for (const auto& loader : MusicLoaders()) extensions.push_back(loader->extension);
  EXPECT_EQ(extensions, (std::vector<std::string>{"mod", "xm", "wav", "ogg", "mp3"}));
}

TEST_F(MusicRegistry, FileNamesReachTheirLoaderBySuffixOrPrefix) {
  TempFolder folder;
  const auto mod = music_test::SimpleMod().Build();
  const auto xm = music_test::SimpleXm().Build();
  for (const char* name : {"Song.MOD", "song.mod", "mod.song", "x.ogg.mod", "xm.mod"}) {
    auto music = LoadMusic(folder.Write(name, mod));
    EXPECT_NE(dynamic_cast<Tunemix_MOD*>(music.get()), nullptr) << name;
  }
  for (const char* name : {"tune.xm", "tune.Xm", "xm.tune.xm"}) {
    auto music = LoadMusic(folder.Write(name, xm));
    EXPECT_NE(dynamic_cast<Tunemix_XM*>(music.get()), nullptr) << name;
  }
  // The prefix test admits "xm.tune", but the XM loader itself wants a name ending in xm.
  EXPECT_EQ(LoadMusic(folder.Write("xm.tune", xm)), nullptr);
  EXPECT_EQ(LoadXM(folder.Write("tune.xm2", xm)), nullptr);
  EXPECT_EQ(LoadMusic(folder.Write("tune.txt", mod)), nullptr);
  EXPECT_EQ(LoadMusic(folder.Write("empty.mod", {})), nullptr);
  EXPECT_EQ(LoadMusic("/nonexistent/folder/song.mod"), nullptr);
}

TEST_F(MusicRegistry, FirstMatchingLoaderDecidesEvenWhenItFails) {
  MusicLoaders().clear();
  int secondCalls = 0;
  TunemixLoader::Add([](const std::string&) { return MusicPtr(); }, "first", "abc");
  TunemixLoader::Add([&](const std::string&) { ++secondCalls; return std::make_shared<SilentMusic>(); },
                     "second", "ABC");
  EXPECT_EQ(LoadMusic("folder/tune.abc"), nullptr);
  EXPECT_EQ(LoadMusic("folder/abc.tune"), nullptr);
  EXPECT_EQ(secondCalls, 0);
  // The prefix test looks at the file name only, not the folder.
  MusicLoaders().erase(MusicLoaders().begin());
  EXPECT_EQ(LoadMusic("abc.folder/tune"), nullptr);
  EXPECT_NE(LoadMusic("folder/ABC.tune"), nullptr);
  EXPECT_EQ(LoadMusic("bc"), nullptr);  // shorter than ".abc"
}

TEST_F(MusicRegistry, FilterTextListsLoadersInOrder) {
  EXPECT_EQ(MusicFileFilter(1, 1),
            "All supported:,mod,xm,wav,ogg,mp3;Protracker \".mod\":mod;Fasttracker \".xm\":xm;"
            "Microsoft Wave \".wav\":wav;Ogg Vorbis \".ogg\":ogg;ISO/MPEG Layer3 \".mp3\":mp3;All Files:*");
  EXPECT_EQ(MusicFileFilter(0, 1).substr(0, 22), "Protracker \".mod\":mod;");

  MusicLoaders().resize(2);
  EXPECT_EQ(MusicFileFilter(0, 0), "Protracker \".mod\":mod;Fasttracker \".xm\":xm");
  MusicLoaders().clear();
  EXPECT_EQ(MusicFileFilter(0, 1), "All Files:*");
  EXPECT_EQ(MusicFileFilter(1, 0), "All supported:");
}

TEST(MusicBase, InfoKeysOfTheBaseClass) {
  SilentMusic music;
  EXPECT_EQ(music.SetInfo(InfoFormat, 204), 0);
  EXPECT_EQ(music.GetInfo(InfoFormat), FormatStereo16);
  EXPECT_EQ(music.SetInfo(InfoFormat, FormatMono8), 1);
  EXPECT_EQ(music.GetInfo(InfoFormat), FormatMono8);
  EXPECT_EQ(music.GetInfo(6), 0);
  EXPECT_EQ(music.SetInfo(InfoTempo, 99), 0);
  EXPECT_EQ(music.SetInfo(InfoLoop, 0), 1);
  EXPECT_EQ(music.GetInfo(InfoLoop), 0);
  EXPECT_EQ(music.SetInfoFloat(InfoMasterVolume, 1.0), 0);
  EXPECT_EQ(BytesPerFrame(FormatMono8), 1);
  EXPECT_EQ(BytesPerFrame(FormatStereo8), 2);
  EXPECT_EQ(BytesPerFrame(FormatStereo16), 4);
  EXPECT_EQ(BytesPerFrame(199), 0);
  EXPECT_EQ(CloseMusic(nullptr), 0);
}

TEST(MusicBase, RenderToSampleRendersTheMeasuredSong) {
  auto song = music_test::LoadMod(music_test::SimpleMod().Build());
  ASSERT_NE(song, nullptr);
  song->SetInfo(InfoRate, 44100);
  const MusicSample sample = RenderMusicToSample(*song);
  EXPECT_EQ(sample.rate, 44100);
  EXPECT_EQ(sample.frames, 64 * 6 * 882);
  ASSERT_EQ(sample.data.size(), static_cast<size_t>(sample.frames) * 2);
  // The note sounds on channel 0, panned hard right.
  int loudRight = 0, loudLeft = 0;
  for (int f = 0; f < 2000; ++f) {
    loudLeft += sample.data[2 * f] != 0;
    loudRight += sample.data[2 * f + 1] != 0;
  }
  EXPECT_EQ(loudLeft, 0);
  EXPECT_GT(loudRight, 1000);
}

}  // namespace
