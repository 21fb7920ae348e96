// The clock and the random generator: wrap-safe differences, fast mode per flip, seeded sequences.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <regex>
#include <set>

#include "platform/clock.h"
#include "platform/graphics.h"

namespace {

TEST(Clock, DifferencesSurviveTheWrap) {
  EXPECT_EQ(MsSince(0x7FFFFFF0, static_cast<int>(0x80000010u)), 0x20);
  EXPECT_EQ(MsSince(-5, 5), 10);
  EXPECT_EQ(MsSince(100, 40), -60);
}

TEST(Clock, AHeldClockReadsTheHeldValueUntilReleased) {
  const int start = MilliSecs();
  HoldClock(start - 20000);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(MilliSecs(), start - 20000);
  HoldClock(-7);
  EXPECT_EQ(MilliSecs(), -7);
  ReleaseClock();
  const auto waited = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (MsSince(start, MilliSecs()) < 30 && std::chrono::steady_clock::now() < waited) Delay(1);
  EXPECT_GE(MsSince(start, MilliSecs()), 30) << "the released clock runs again";
}

TEST(Clock, DateAndTimeTexts) {
  EXPECT_TRUE(std::regex_match(CurrentDate(), std::regex("[0-9]{2} [A-Z][a-z]{2} [0-9]{4}"))) << CurrentDate();
  EXPECT_TRUE(std::regex_match(CurrentTime(), std::regex("[0-9]{2}:[0-9]{2}:[0-9]{2}"))) << CurrentTime();
}

TEST(Random, SeededSequencesRepeatAndStayInRange) {
  SeedRnd(42);
  std::vector<int> first;
  for (int i = 0; i < 50; ++i) first.push_back(Rand(1, 6));
  SeedRnd(42);
  std::set<int> seen;
  for (int i = 0; i < 50; ++i) {
    int v = Rand(1, 6);
    EXPECT_EQ(v, first[i]);
    seen.insert(v);
  }
  EXPECT_EQ(seen, (std::set<int>{1, 2, 3, 4, 5, 6}));  // both ends reachable
  for (int i = 0; i < 200; ++i) {
    int v = Rand(10, -10);  // either order
    EXPECT_GE(v, -10);
    EXPECT_LE(v, 10);
    float f = Rnd(0.5f, 1.0f);
    EXPECT_GE(f, 0.5f);
    EXPECT_LT(f, 1.0f);
  }
  EXPECT_EQ(Rand(7, 7), 7);
  SeedRnd(43);
  EXPECT_NE(std::vector<int>({Rand(0, 1000000), Rand(0, 1000000)}), std::vector<int>({first[0], first[1]}));
}

// Runs in a child process started with QXR_FAST=1 by the test below; skipped otherwise.
TEST(FastClockChild, AdvancesBySixtiethsPerFlipWithoutSleeping) {
  if (!std::getenv("QXR_FAST_CHILD")) GTEST_SKIP() << "run by FastClock.ThreeFlipsAreFiftyMilliseconds";
  ASSERT_TRUE(FastClock());
  ASSERT_TRUE(Graphics(640, 480));
  int start = MilliSecs();
  for (int i = 0; i < 3; ++i) Flip();
  EXPECT_EQ(MsSince(start, MilliSecs()), 50);
  for (int i = 0; i < 600; ++i) Flip();  // ten seconds of frames at once
  EXPECT_EQ(MsSince(start, MilliSecs()), 10050);
  Delay(1000);  // no sleep, but the time passes
  EXPECT_EQ(MsSince(start, MilliSecs()), 11050);
}

TEST(FastClock, ThreeFlipsAreFiftyMilliseconds) {
  // The fast clock is chosen once per process, so the check runs in a child of its own.
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = 0;
  std::string command = "QXR_FAST=1 QXR_FAST_CHILD=1 SDL_VIDEODRIVER=dummy '" + std::string(self) +
                        "' --gtest_filter=FastClockChild.* > /dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0);
}

}  // namespace
