// Text and geometry helpers: alignment in fixed-width fields, zero padding, box overlap,
// cutting at separators, and the chat log.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/stream.h"
#include "world/text_utils.h"

namespace {

TEST(AlignText, CentresCutsAndTrims) {
  EXPECT_EQ(AlignText("Bob", 8, "C"), "  Bob   ");
  EXPECT_EQ(AlignText("abcdefghijklmnopqrs", 8, "C"), "abcdefgh");  // cut, not padded
  EXPECT_EQ(AlignText("  abcdefghij", 8, "C"), " abcdef ");  // cut to 8, trimmed to 6, centred
  EXPECT_EQ(AlignText("", 8, "C"), "        ");
  EXPECT_EQ(AlignText("Bob", 8, "c"), "  Bob   ");
  EXPECT_EQ(AlignText("\tBob\x01 ", 8, "C"), "  Bob   ");  // every code below 33 is trimmed
  EXPECT_EQ(AlignText("\xA3" "5", 4, "C"), " \xA3" "5 ");   // 8-bit characters are kept
}

TEST(AlignText, OtherModes) {
  EXPECT_EQ(AlignText("Bob", 6, "L"), "Bob   ");
  EXPECT_EQ(AlignText("Bob", 6, "right"), "   Bob");
  EXPECT_EQ(AlignText(" Bob ", 6, "X"), "Bob");
  EXPECT_EQ(AlignText(" Bob ", 6, ""), "Bob");
  EXPECT_EQ(AlignText("Bob", 0, "C"), "");
  EXPECT_EQ(AlignText("Bob", -3, "C"), "");
}

TEST(ZeroPad, PadsOrCuts) {
  EXPECT_EQ(ZeroPad("7", 2), "07");
  EXPECT_EQ(ZeroPad("", 2), "00");
  EXPECT_EQ(ZeroPad("123", 2), "12");
  EXPECT_EQ(ZeroPad(" 5 ", 3), "005");
  EXPECT_EQ(ZeroPad("5", 0), "");
  EXPECT_EQ(ZeroPad("5", -1), "");  // would never end when padded toward a negative width
}

TEST(RectsOverlap, EdgesCount) {
  EXPECT_EQ(RectsOverlap(0, 0, 10, 10, 10, 10, 5, 5), 1);  // corners touch
  EXPECT_EQ(RectsOverlap(0, 0, 10, 10, 11, 0, 5, 5), 0);
  EXPECT_EQ(RectsOverlap(0, 0, 10, 10, -5, 0, 5, 5), 1);
  EXPECT_EQ(RectsOverlap(0, 0, 10, 10, -6, 0, 5, 5), 0);
  EXPECT_EQ(RectsOverlap(0, 0, 10, 10, 2, 2, 3, 3), 1);  // inside
  EXPECT_EQ(RectsOverlap(0, 0, 10, 10, 0, 11, 5, 5), 0);
  QernoFunctions qerno;
  EXPECT_EQ(qerno.RectsOverlap(0, 0, 10, 10, 11, 0, 5, 5), 0);
  EXPECT_EQ(qerno.RectsOverlap(0, 0, 10, 10, 10, 0, 5, 5), 1);
  EXPECT_FALSE(qerno.LoadImage("incbin::no/such.png"));
  EXPECT_FALSE(qerno.LoadAnimImage("incbin::no/such.png", 16, 16, 0, 4, 1));
}

TEST(TextBefore, CutsAtTheFirstSeparator) {
  EXPECT_EQ(TextBefore("1.2.3.4@My game@x", "@"), "1.2.3.4");
  EXPECT_EQ(TextBefore("no separator", "@"), "");
  EXPECT_EQ(TextBefore("@first", "@"), "");
  EXPECT_EQ(TextBefore("a::b::c", "::"), "a");
  EXPECT_EQ(TextBefore("abc", ""), "");
}

TEST(ChatLog, LinesAreAppendedAtTheEndWithCrLf) {
  std::string path = "/tmp/qxr_chat_" + std::to_string(getpid()) + ".txt";
  AppendChatLog("nothing open");  // no log: nothing happens
  ChatLog = WriteFile(path);
  ASSERT_TRUE(ChatLog);
  AppendChatLog("banner");
  SeekFile(*ChatLog, 0);
  EXPECT_EQ(ReadLine(*ChatLog), "banner");  // reading moved the position...
  SeekFile(*ChatLog, 2);
  AppendChatLog("  Bob   :hello \xA3");  // ...but lines still go at the end
  CloseFile(ChatLog);
  std::vector<uint8_t> bytes = ReadAll(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "banner\r\n  Bob   :hello \xA3\r\n");
  DeleteFile(path);
}

}  // namespace
