// The embedded files: every name of the game's file table opens through "incbin::" after registration.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "assets/embedded_files.h"
#include "platform/stream.h"

namespace {

class EmbeddingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterEmbeddedFiles(); }
};

std::vector<std::string> WorldFileNames() {
  std::vector<std::string> names;
  for (const char* world : {"maps", "pitfall", "assault", "tower", "original", "jailbreak", "laboratory"})
    for (const char* suffix : {".dat", "_e.dat", "_p.dat"}) names.push_back(std::string(world) + suffix);
  return names;
}

// The pictures of the start-up table, the rope table and the window icon.
const std::vector<std::string> PictureNames = {
    "pictures/title.png",       "pictures/selectgorbo.png", "pictures/loading.png",    "pictures/server.png",
    "pictures/mouse.png",       "pictures/tiles.png",       "pictures/font.png",       "pictures/inversefont.png",
    "pictures/font2.png",       "pictures/invfont2.png",    "pictures/rope.png",       "pictures/pickups.png",
    "pictures/32x32.png",       "pictures/64x64.png",       "pictures/32x64.png",      "pictures/tunkodoor.png",
    "pictures/connect.png",     "pictures/goldengorbo.png", "pictures/flag_blue.png",  "pictures/flag_red.png",
    "pictures/gorbo.png",       "pictures/rope.bin",        "pictures/icon.png"};

const std::vector<std::string> SoundNames = {"sounds/arrow.ogg", "sounds/Collect.ogg", "sounds/Die.ogg",
                                             "sounds/jump.ogg"};

void ExpectOpens(const std::string& name) {
  EXPECT_TRUE(EmbeddedFileExists(name)) << name;
  StreamPtr stream = ReadFile("incbin::" + name);
  ASSERT_TRUE(stream) << name;
  EXPECT_GT(stream->Size(), 0) << name;
  std::vector<uint8_t> whole = ReadAll("incbin::" + name);
  EXPECT_EQ(static_cast<long>(whole.size()), stream->Size()) << name;
}

}  // namespace

TEST_F(EmbeddingTest, EveryPictureSoundAndTheRopeTableOpensByName) {
  for (const std::string& name : PictureNames) ExpectOpens(name);
  for (const std::string& name : SoundNames) ExpectOpens(name);
}

TEST_F(EmbeddingTest, TheSevenWorldsOpenByName) {
  for (const std::string& name : WorldFileNames()) ExpectOpens(name);
}

TEST_F(EmbeddingTest, FiftyDistinctSkinsInTheirFolderOpenByName) {
  const std::vector<std::string>& skins = EmbeddedSkinNames();
  ASSERT_EQ(skins.size(), 50u);
  std::set<std::string> distinct(skins.begin(), skins.end());
  EXPECT_EQ(distinct.size(), 50u);
  for (const std::string& skin : skins) {
    EXPECT_EQ(skin.rfind("gorbo/", 0), 0u) << skin;
    ExpectOpens(skin);
  }
  // The default hero is a picture of its own, not one of the fifty.
  EXPECT_EQ(distinct.count("pictures/gorbo.png"), 0u);
}

TEST_F(EmbeddingTest, TheTableHoldsNinetyNineFilesAndNothingOutsideItOpens) {
  size_t count = WorldFileNames().size() + SoundNames.size() + EmbeddedSkinNames().size() + 1 /* a skin twice */ +
                 PictureNames.size();
  EXPECT_EQ(count, 99u);
  EXPECT_FALSE(EmbeddedFileExists("pictures/nothing.png"));
  EXPECT_FALSE(ReadFile("incbin::gorbo/gorbo51.png"));
}

TEST_F(EmbeddingTest, RegisteringAgainChangesNothing) {
  std::vector<uint8_t> before = ReadAll("incbin::pictures/rope.bin");
  RegisterEmbeddedFiles();
  EXPECT_EQ(ReadAll("incbin::pictures/rope.bin"), before);
}
