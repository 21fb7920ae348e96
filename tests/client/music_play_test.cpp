// The real client plays the tune chosen with F6 from its "8bit_tunes" folder, for every kind of
// tune file, into SDL's disk audio driver: the captured sound has the tune's pitch. With
// "/NOSOUND" nothing sounds, and a tune that cannot be loaded leaves the game running.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "client/pictures.h"
#include "client_test_support.h"
#include "platform/graphics.h"
#include "screen_support.h"
#include "tests/music/music_test_support.h"
#include "tests/music/stream_test_support.h"

namespace {

using clienttest::ClientRun;
using clienttest::ScratchFolder;

// Both questions answered, the title left, F6 in the menu (the first tune), about three seconds
// of the menu at its real pace, then F10.
constexpr const char* ChooseTheFirstTune = "1 type n\n2 key 13\n4 type n\n5 key 13\n13 key 32\n30 key 117\n210 key 121\n";

struct Played {
  ClientRun run;
  bool captured = false;             // the sound device was opened at all
  std::vector<int16_t> lastSecond;   // stereo samples of the last full second before the exit
  std::vector<int16_t> all;          // stereo samples of everything before the exit
};

// Runs the client installed in home, started from another folder, with the disk audio driver
// writing what the sound device plays into a file; at the real pace, so that there is sound to
// capture, or else as fast as it runs.
Played PlayFirstTune(const ScratchFolder& home, const std::vector<std::string>& arguments = {}, bool realPace = true) {
  ScratchFolder elsewhere;
  const std::string capture = elsewhere.File("played.raw");
  Played played;
  played.run = clienttest::RunClientProgram(clienttest::InstallClient(home.Path()), elsewhere.Path(),
                                            ChooseTheFirstTune, arguments,
                                            {{"QXR_FAST", realPace ? "0" : "1"}, {"SDL_AUDIODRIVER", "disk"},
                                             {"SDL_DISKAUDIOFILE", capture}},
                                            60);
  played.captured = FileType(capture) == 1;
  std::vector<int16_t> all = stream_test::Samples(ReadAll(capture));
  // Leave out the last fifth of a second, where the program is closing.
  const size_t end = all.size() > 2 * 8820 ? all.size() - 2 * 8820 : 0;
  const size_t begin = end > 2 * 44100 ? end - 2 * 44100 : 0;
  played.lastSecond.assign(all.begin() + static_cast<long>(begin), all.begin() + static_cast<long>(end));
  played.all.assign(all.begin(), all.begin() + static_cast<long>(end));
  return played;
}

double Loudness(const std::vector<int16_t>& samples) {
  double sum = 0;
  for (int16_t s : samples) sum += static_cast<double>(s) * s;
  return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

void ExpectTunePlays(const std::string& fileName, const std::vector<uint8_t>& bytes, double hz) {
  ScratchFolder home;
  ASSERT_EQ(mkdir(home.File("8bit_tunes").c_str(), 0755), 0);
  stream_files::WriteFile(home.File("8bit_tunes/" + fileName), bytes);
  Played played = PlayFirstTune(home);
  ASSERT_FALSE(played.run.timedOut) << played.run.errors;
  EXPECT_EQ(played.run.exitCode, 0) << played.run.errors;
  ASSERT_TRUE(played.captured);
  ASSERT_EQ(played.lastSecond.size(), 2u * 44100) << "less than a second of sound was captured";
  EXPECT_GT(Loudness(played.lastSecond), 500) << fileName;
  // Left and right together carry the tune at its own pitch.
  std::vector<int16_t> mixed(played.lastSecond.size() / 2);
  for (size_t f = 0; f < mixed.size(); ++f) mixed[f] = static_cast<int16_t>((played.lastSecond[2 * f] + played.lastSecond[2 * f + 1]) / 2);
  EXPECT_NEAR(stream_test::ToneFrequency(mixed, 44100), hz, hz * 0.01) << fileName;
}

TEST(ClientMusic, PlaysAModTune) {
  // A square wave of 16 frames played at 8,363 Hz.
  ExpectTunePlays("song.mod", music_test::SimpleMod().Build(), 8363.0 / 16);
}

TEST(ClientMusic, PlaysAnXmTune) {
  module_builder::XmBuilder xm = music_test::SimpleXm();
  xm.instruments[0].samples[0].data = module_builder::Square16(64, 32, 16384);
  ExpectTunePlays("song.xm", xm.Build(), 8363.0 / 32);
}

TEST(ClientMusic, PlaysAnOggTune) {
  ExpectTunePlays("tone.ogg", stream_files::ToneOgg(440, 44100, 2 * 44100, 2), 440);
}

TEST(ClientMusic, PlaysAWavTuneAtItsOwnRate) {
  ExpectTunePlays("tone.wav", stream_files::ToneWav(330, 22050, 2 * 22050, 1), 330);
}

TEST(ClientMusic, PlaysAnMp3Tune) {
  ExpectTunePlays("tone.mp3", stream_files::ToneMp3(392, 32000, 2 * 32000, 1), 392);
}

TEST(ClientMusic, AWavTuneShorterThanTheRingLoopsWithoutAGap) {
  // Half a second of 8-bit sound at 8 kHz: the 44,100-byte ring holds 5.5 seconds of it, which
  // used to play as the tune and then five seconds of silence.
  ScratchFolder home;
  ASSERT_EQ(mkdir(home.File("8bit_tunes").c_str(), 0755), 0);
  stream_files::WriteFile(home.File("8bit_tunes/short.wav"), stream_files::ToneWav(440, 8000, 4000, 1, 8));
  Played played = PlayFirstTune(home);
  ASSERT_FALSE(played.run.timedOut) << played.run.errors;
  EXPECT_EQ(played.run.exitCode, 0) << played.run.errors;
  ASSERT_TRUE(played.captured);
  // From the tune's start to the exit (some two seconds at the real pace, four loops): never
  // as much as a refill (735 frames) of quiet.
  ASSERT_GT(played.all.size(), 2u * 44100) << "less than a second of sound was captured";
  EXPECT_GT(Loudness(played.lastSecond), 500);
  EXPECT_LT(stream_test::LongestQuietRun(played.all, 0, true), 735u);
}

TEST(ClientMusic, WithoutTheSoundBufferLibraryTheGameGoesOnWithoutMusicAndSaysWhy) {
  clienttest::OpenScreenWithPictures();  // the fonts, to compare the screenshot with
  ScratchFolder home;
  ASSERT_EQ(mkdir(home.File("8bit_tunes").c_str(), 0755), 0);
  stream_files::WriteFile(home.File("8bit_tunes/tone.wav"), stream_files::ToneWav(330, 22050, 22050, 1));
  const std::string program = clienttest::InstallClient(home.Path());
  ASSERT_EQ(unlink(home.File("libqxrsound.so").c_str()), 0);
  // The title, the menu, F6 (the tune), a look at the menu, then F10.
  const ClientRun run = clienttest::RunClientProgram(
      program, home.Path(), 
      "1 type n\n2 key 13\n4 type n\n5 key 13\n13 key 32\n30 key 117\n40 shot menu.png\n41 key 121\n", {}, {}, 60,
      true);
  ASSERT_FALSE(run.timedOut) << run.errors;
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.errors.find("not found"), std::string::npos) << run.errors;
  EXPECT_NE(run.output.find("Unable to load the sound-buffer library libqxrsound.so"), std::string::npos)
      << run.output;
  // The menu was reached and the tune chosen, though nothing plays it.
  const Image menu = LoadImage(home.File("menu.png"), 0);
  ASSERT_EQ(ImageWidth(menu), 640);
  int opaque = 0;
  const int wrong = clienttest::TextMismatches([&menu](int x, int y) { return ReadImagePixel(menu, 0, x, y) & 0xFFFFFF; },
                                               FontImage, "F6...Music tone.wav", 90, 204, 0, 255, 0, &opaque, true);
  EXPECT_GT(opaque, 40);
  EXPECT_EQ(wrong, 0);
}

TEST(ClientMusic, NoSoundKeepsEverythingSilent) {
  ScratchFolder home;
  ASSERT_EQ(mkdir(home.File("8bit_tunes").c_str(), 0755), 0);
  stream_files::WriteFile(home.File("8bit_tunes/tone.ogg"), stream_files::ToneOgg(440, 44100, 44100, 2));
  Played played = PlayFirstTune(home, {"/NOSOUND"});
  EXPECT_FALSE(played.captured);
  ASSERT_FALSE(played.run.timedOut) << played.run.errors;
  EXPECT_EQ(played.run.exitCode, 0) << played.run.errors;
  EXPECT_EQ(Loudness(played.lastSecond), 0);
}

TEST(ClientMusic, ATuneThatCannotBeLoadedLeavesTheGameRunning) {
  // A folder where a file should be: its loader cannot open it and raises its error.
  for (const char* name : {"broken.mp3", "broken.ogg"}) {
    ScratchFolder home;
    ASSERT_EQ(mkdir(home.File("8bit_tunes").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(home.File(std::string("8bit_tunes/") + name).c_str(), 0755), 0);
    Played played = PlayFirstTune(home, {}, false);
    ASSERT_FALSE(played.run.timedOut) << played.run.errors;
    EXPECT_EQ(played.run.exitCode, 0) << name << played.run.errors;
  }
}

}  // namespace
