// The host's relays against players who abuse them: forged system lines, chat from connections
// that never joined, control and 8-bit bytes, and floods of chat lines, joins, team changes and
// room entries; what honest players send beside them passes as it is.
#include <chrono>
#include <string>
#include <vector>

#include "net/allowance.h"
#include "net/chat_window.h"
#include "tests/net/hosted_game.h"
#include "tests/net/scratch_chat_log.h"

namespace online_test {
namespace {

using HostChat = HostedGameTest;

TEST(PrintableChatLine, EverythingAPlayerCanSendStaysAsItIs) {
  std::string typed;
  for (int c = 32; c <= 122; ++c) typed += static_cast<char>(c);
  for (const std::string& line : {ChatLineFor(12, typed.substr(0, ChatTextLength)), ChatLineFor(3, typed.substr(ChatTextLength)),
                                  std::string("4: Made it to Home Sweet Home"), std::string("03:{braces|and~tilde}")}) {
    EXPECT_EQ(PrintableChatLine(line), line);
  }
}

TEST(PrintableChatLine, ControlAndEightBitBytesBecomeSpacesAndLongLinesAreCut) {
  EXPECT_EQ(PrintableChatLine("03:one\r\ntwo\x1b[2J\x7f\x80\x9b\xa3\xff!"), "03:one  two [2J     !");
  EXPECT_EQ(PrintableChatLine(std::string("03:a\0b", 6)), "03:a b");
  const std::string longest = "05:" + std::string(ChatTextLength, 'x');
  EXPECT_EQ(PrintableChatLine(longest + "overflow"), longest);
  EXPECT_EQ(PrintableChatLine(std::string(254, '9')).size(), static_cast<size_t>(LongestChatLine));
}

std::vector<std::string> Texts(const std::vector<MsgChat>& chats) {
  std::vector<std::string> texts;
  for (const MsgChat& chat : chats) texts.push_back(chat.text);
  return texts;
}

// The line a player sends after everything under test.
void SendMarker(RemotePlayer& writer) { writer.Send(MsgChat{ChatLineFor(writer.slot, "marker")}); }

TEST_F(HostChat, OfSystemLinesOnlyAPlayersOwnJoinNoticePassesAndOnlyOnce) {
  RemotePlayer& writer = Join("Writer");
  RemotePlayer& reader = Join("Reader");
  const std::string own = Name8("Writer");
  for (const std::string& forged :
       {SystemChatMark + "<<<            YOU ARE THE GAME ADMINISTRATOR                 >>>",
        SystemChatMark + Name8("Reader") + " just left the game", JoinNotice(Name8("Reader")), JoinNotice("Writer"),
        JoinNotice(own) + " again", SystemChatMark, std::string("\xA3"), SystemChatMark + "$" + own}) {
    writer.Send(MsgChat{forged});
  }
  writer.Send(MsgChat{JoinNotice(own)});
  writer.Send(MsgChat{JoinNotice(own)});
  SendMarker(writer);
  const std::string marker = ChatLineFor(writer.slot, "marker");
  // The marker comes last on the ordered chat channel: whatever was passed on came before it.
  ASSERT_TRUE(PumpUntil([&] {
    return !reader.Received<MsgChat>().empty() && reader.Received<MsgChat>().back().text == marker &&
           !writer.Received<MsgChat>().empty() && writer.Received<MsgChat>().back().text == marker;
  }));
  for (RemotePlayer* who : {&reader, &writer}) {
    EXPECT_EQ(Texts(who->Received<MsgChat>()), (std::vector<std::string>{JoinNotice(own), marker}));
  }
  EXPECT_EQ(ChatLines[12].text, own + " has just joined");
  EXPECT_EQ(ChatLines[12].colour, 99);
  EXPECT_EQ(ChatLines[13].text, own + ":marker");
  EXPECT_EQ(ChatLines[11].text, "") << "nothing else reached the host's chat window";
}

TEST_F(HostChat, ConnectionsThatHaveNotJoinedSayNothing) {
  RemotePlayer& reader = Join("Reader");
  RemotePlayer& stranger = Connect();
  stranger.Send(MsgChat{ChatLineFor(stranger.slot, "let me in")});
  stranger.Send(MsgChat{JoinNotice("        ")});
  stranger.Send(MsgChat{JoinNotice(Name8("Reader"))});
  Sync(stranger);
  SendMarker(reader);
  ASSERT_TRUE(PumpUntil([&] { return reader.CountOf(MsgChat::type) >= 1; }));
  EXPECT_EQ(Texts(reader.Received<MsgChat>()), (std::vector<std::string>{ChatLineFor(reader.slot, "marker")}));
  EXPECT_EQ(ChatLines[12].text, "");
}

TEST_F(HostChat, ControlAndEightBitBytesReachNobodysLogAndLongLinesAreCut) {
  ScratchChatLog log;
  RemotePlayer& writer = Join("Writer");
  RemotePlayer& reader = Join("Reader");
  const std::string raw = ChatLineFor(writer.slot, "bell\x07 esc\x1b[2J csi\x9b" "1m del\x7f pound\xA3 cr\rlf\n end");
  const std::string printable = ChatLineFor(writer.slot, "bell  esc [2J csi 1m del  pound  cr lf  end");
  writer.Send(MsgChat{raw});
  writer.Send(MsgChat{ChatLineFor(writer.slot, std::string(200, 'x'))});
  ASSERT_TRUE(PumpUntil([&] { return reader.CountOf(MsgChat::type) >= 2; }));
  const std::vector<std::string> relayed = Texts(reader.Received<MsgChat>());
  EXPECT_EQ(relayed[0], printable);
  EXPECT_EQ(relayed[1], ChatLineFor(writer.slot, std::string(ChatTextLength, 'x')));
  EXPECT_EQ(ChatLines[12].text, Name8("Writer") + printable.substr(2));
  EXPECT_EQ(log.Text(), Name8("Writer") + printable.substr(2) + "\r\n" + Name8("Writer") + ":" +
                            std::string(ChatTextLength, 'x') + "\r\n");
}

TEST_F(HostChat, AFloodIsCutToTheAllowanceWhileOthersChatOn) {
  ScratchChatLog log;
  RemotePlayer& flooder = Join("Flooder");
  RemotePlayer& honest = Join("Honest");
  RemotePlayer& reader = Join("Reader");
  const auto start = std::chrono::steady_clock::now();
  constexpr int Flood = 300;
  for (int i = 0; i < Flood; ++i) {
    flooder.Send(MsgChat{ChatLineFor(flooder.slot, "flood " + std::to_string(i))});
    if (i % 100 == 0) honest.Send(MsgChat{ChatLineFor(honest.slot, "honest " + std::to_string(i))});
  }
  SendMarker(flooder);
  Sync(flooder);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  // Relayed after every line of the flood, on the same ordered channel.
  const std::string last = ChatLineFor(honest.slot, "honest end");
  honest.Send(MsgChat{last});
  ASSERT_TRUE(PumpUntil([&] {
    const std::vector<std::string> texts = Texts(reader.Received<MsgChat>());
    return !texts.empty() && texts.back() == last;
  }));
  int flooded = 0, honestLines = 0;
  for (const std::string& text : Texts(reader.Received<MsgChat>())) {
    flooded += text.find("flood ") != std::string::npos || text.find("marker") != std::string::npos;
    honestLines += text.find("honest ") != std::string::npos;
  }
  // The burst, and a line for every interval the flood took at most.
  EXPECT_GE(flooded, AllowanceBurst);
  EXPECT_LE(flooded, AllowanceBurst + 1 + ms / AllowanceIntervalMs) << "after " << ms << " ms";
  EXPECT_EQ(honestLines, 4) << "the other player's lines all pass";
  const std::string text = log.Text();
  size_t logged = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++logged;
  EXPECT_EQ(logged, static_cast<size_t>(flooded + honestLines)) << "dropped lines are not logged";
}

// Floods of the messages the host answers with a table for everybody, or with a question to
// another player: each connection gets its allowance through, no more.
class HostRelayFlood : public HostedGameTest {
 protected:
  // The most of a flood that may pass after it lasted ms.
  static int Allowed(long long ms) { return AllowanceBurst + 1 + static_cast<int>(ms / AllowanceIntervalMs); }
  static long long MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  }
};

TEST_F(HostRelayFlood, JoinsAndTeamChangesPassUpToTheAllowance) {
  RemotePlayer& flooder = Join("Flooder");
  RemotePlayer& reader = Join("Reader");
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 200; ++i) {
    flooder.Send(MsgJoin{.nameAndSlot = Name8("Flooder") + std::to_string(flooder.slot), .skin = i % 2});
    flooder.Send(MsgMyTeam{.slot = flooder.slot, .team = TeamNone});
  }
  Sync(flooder);
  const long long ms = MsSince(start);
  Drain(reader);
  const int tables = static_cast<int>(reader.Received<MsgNameTable>().size() + reader.Received<MsgTeamTable>().size());
  EXPECT_GE(tables, AllowanceBurst - 1) << "its own join took one";
  EXPECT_LE(tables, Allowed(ms)) << "after " << ms << " ms";
  // Another player's join is answered as ever.
  Join("Late");
  EXPECT_TRUE(PumpUntil([&] {
    const std::vector<MsgNameTable> names = reader.Received<MsgNameTable>();
    return !names.empty() && names.back().table.find(Name8("Late")) != std::string::npos;
  }));
}

TEST_F(HostRelayFlood, RoomEntriesBeyondTheAllowanceGetThePickupsAlone) {
  RemotePlayer& flooder = Join("Flooder");
  RemotePlayer& reporter = Join("Reporter");
  Slots[reporter.slot].room = PickupRoom;
  constexpr int Entries = 100;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < Entries; ++i) flooder.Send(MsgEnterRoom{.slot = flooder.slot, .room = PickupRoom});
  Sync(flooder);
  const long long ms = MsSince(start);
  Drain(reporter);
  const int asked = static_cast<int>(reporter.Received<MsgRoomQuery>().size());
  EXPECT_GE(asked, AllowanceBurst);
  EXPECT_LE(asked, Allowed(ms)) << "after " << ms << " ms";
  // Every entry nobody was asked about is answered with the pickups.
  const size_t pickupsOnly = static_cast<size_t>(Entries - asked);
  EXPECT_TRUE(PumpUntil([&] { return flooder.Received<MsgRoomPickups>().size() >= pickupsOnly; }));
  Drain(flooder);
  EXPECT_EQ(flooder.Received<MsgRoomPickups>().size(), pickupsOnly);
}

}  // namespace
}  // namespace online_test
