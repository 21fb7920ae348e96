// The "/ADMIN" chat command of the game administrator: handing the role to a named player.
#include <gtest/gtest.h>

#include "client/chat_entry.h"
#include "tests/world/sent_message.h"
#include "world/records.h"

namespace {

class AdminCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    BindNetOnce();
    for (PlayerType& p : Players) p.name.clear();
    for (ChatMessagesType& line : ChatLines) line = ChatMessagesType{};
    Game.singlePlayer = 0;
    MySlot = 2;
    IsAdmin = 1;
    Players[2].name = "   Me   ";
    Players[3].name = "  Bob   ";
    Players[4].name = "        ";  // a player who gave no name
  }
  void TearDown() override {
    IsAdmin = 0;
    MySlot = 0;
    for (PlayerType& p : Players) p.name.clear();
  }
};

TEST_F(AdminCommand, HandsTheRoleToTheNamedPlayer) {
  HandleChatLine("/admin Bob ");
  MsgAdminHandOver handOver;
  ASSERT_TRUE(SentMessage(handOver));
  EXPECT_EQ(handOver.slot, 3);
  EXPECT_EQ(IsAdmin, 0);
  EXPECT_EQ(ChatLines[13].text, "Player Bob is now the admin ");
}

TEST_F(AdminCommand, ABlankOrUnknownNameHandsTheRoleToNobody) {
  for (const char* line : {"/ADMIN", "/ADMIN    ", "/ADMIN bob"}) {
    MarkNothingSent();
    HandleChatLine(line);
    EXPECT_EQ(SentType(), NothingSentType) << line;
    EXPECT_EQ(IsAdmin, 1) << line;
  }
  EXPECT_EQ(ChatLines[12].text, "Player  not found ");
  EXPECT_EQ(ChatLines[13].text, "Player bob not found ") << "names match exactly";
}

}  // namespace
