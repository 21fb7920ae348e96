// A connection's allowance of messages, driven by a clock the test sets.
#include <gtest/gtest.h>

#include <climits>

#include "net/allowance.h"

namespace {

// How many of count messages sent at clock now the allowance lets through.
int Passed(Allowance& allowance, int now, int count) {
  int passed = 0;
  for (int i = 0; i < count; ++i) passed += TakeAllowance(allowance, now) ? 1 : 0;
  return passed;
}

TEST(Allowance, ABurstPassesThenOneMessageForEveryInterval) {
  const int start = 1000;
  Allowance allowance;
  EXPECT_EQ(Passed(allowance, start, 100), AllowanceBurst);
  EXPECT_FALSE(TakeAllowance(allowance, start + AllowanceIntervalMs - 1));
  EXPECT_TRUE(TakeAllowance(allowance, start + AllowanceIntervalMs));
  EXPECT_FALSE(TakeAllowance(allowance, start + AllowanceIntervalMs));
  // A flood over a minute earns one message per interval, and no more.
  int passed = 0;
  for (int ms = AllowanceIntervalMs; ms <= 60000; ++ms) passed += Passed(allowance, start + ms, 5);
  EXPECT_EQ(passed, 60000 / AllowanceIntervalMs - 1);
}

TEST(Allowance, AQuietConnectionSavesUpOnlyOneBurst) {
  Allowance allowance;
  EXPECT_EQ(Passed(allowance, 0, 3), 3);
  EXPECT_EQ(Passed(allowance, 3600000, 100), AllowanceBurst);
  EXPECT_EQ(Passed(allowance, 7200000, 1), 1) << "full again an hour later";
  EXPECT_EQ(Passed(allowance, 7200000, 100), AllowanceBurst - 1);
}

TEST(Allowance, ABurstThenSteadyMessagesAtTheIntervalAreNeverRefused) {
  Allowance allowance;
  EXPECT_EQ(Passed(allowance, 0, AllowanceBurst), AllowanceBurst);
  for (int ms = AllowanceIntervalMs; ms < 3600000; ms += AllowanceIntervalMs) {
    ASSERT_TRUE(TakeAllowance(allowance, ms)) << "at " << ms << " ms";
  }
}

TEST(Allowance, TheClockWrappingChangesNothing) {
  const int start = INT_MAX - 100;
  Allowance allowance;
  EXPECT_EQ(Passed(allowance, start, 100), AllowanceBurst);
  const int later = static_cast<int>(static_cast<unsigned>(start) + AllowanceIntervalMs);  // past INT_MAX
  EXPECT_FALSE(TakeAllowance(allowance, later - 1));
  EXPECT_TRUE(TakeAllowance(allowance, later));
  EXPECT_FALSE(TakeAllowance(allowance, later));
}

TEST(Allowance, AClockGoingBackEarnsNothing) {
  Allowance allowance;
  EXPECT_EQ(Passed(allowance, 5000, 100), AllowanceBurst);
  EXPECT_EQ(Passed(allowance, 1000, 100), 0);
  EXPECT_EQ(Passed(allowance, 5000 + AllowanceIntervalMs, 100), 1);
}

}  // namespace
