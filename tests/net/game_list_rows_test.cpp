// The game list read from a stand-in service in this process: which replies are lists of games
// (every row the honest service sends, fields cut to what is shown) and which are refused (HTML
// pages, binary data, addresses that are not addresses), leaving the rows as they were.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../client/client_test_support.h"
#include "net/game_list.h"

namespace {

using clienttest::RawReply;
using clienttest::StandInHttpService;
using Bodies = std::map<std::string, std::string>;

class GameListRows : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv("QXR_GAMELIST_HOST"); }

  // Fetches the list from a service answering with body (status 200) into games, which starts
  // with one row "kept"; the message shown, if any, goes to errors.
  bool Fetch(const std::string& body, std::vector<ListedGame>& games, std::string& errors) {
    StandInHttpService service(Bodies{{"/getLobby.php", body}});
    setenv("QXR_GAMELIST_HOST", service.Host().c_str(), 1);
    games = {{"kept", "Kept row            "}};
    testing::internal::CaptureStderr();
    const bool fetched = FetchGameList(games);
    errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, fetched ? "" : "I can not contact " + service.Host() + "\n");
    return fetched;
  }
  // The rows of an accepted list as "ip|description".
  std::vector<std::string> RowsOf(const std::string& body) {
    std::vector<ListedGame> games;
    std::string errors;
    std::vector<std::string> rows;
    if (!Fetch(body, games, errors)) return {"(refused)"};
    for (const ListedGame& game : games) rows.push_back(game.ip + "|" + game.description);
    return rows;
  }
  // True when the list was refused and the rows were left as they were.
  bool Refused(const std::string& body) {
    std::vector<ListedGame> games;
    std::string errors;
    const bool fetched = Fetch(body, games, errors);
    return !fetched && games.size() == 1 && games[0].ip == "kept";
  }
};

using Texts = std::vector<std::string>;

TEST_F(GameListRows, EveryRowOfAnHonestListIsKept) {
  EXPECT_EQ(RowsOf("203.0.113.7@Fish & Chips night@x@\r\nhost-1.example.org@\xA3" "5 a go@y@\r\n"
                 "10.0.0.1:7002@With a port@z@\r\n@No address@@\r\nno game here\r\n"),
            (Texts{"203.0.113.7|Fish & Chips night  ", "host-1.example.org|\xA3" "5 a go             ",
                  "10.0.0.1:7002|With a port         ", "|No address          ", "|                    "}));
  EXPECT_EQ(RowsOf(""), Texts{});
  EXPECT_EQ(RowsOf("\r\n1.2.3.4@After an empty line@x@\r\n"), Texts{});
  EXPECT_EQ(RowsOf("1.2.3.4@No ending"), Texts{"1.2.3.4|No ending           "});
}

TEST_F(GameListRows, FieldsAreCutAndRowsPastTwentyAreNotRead) {
  std::string many;
  for (int i = 1; i <= 25; ++i) many += "192.0.2." + std::to_string(i) + "@Game " + std::to_string(i) + "@x@\r\n";
  const Texts rows = RowsOf(many);
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_EQ(rows.back(), "192.0.2.20|Game 20             ");
  // Megabytes in the description or the third field: the row is kept, cut to what is shown.
  const std::string huge(3 * 1024 * 1024 / 2, 'D');
  EXPECT_EQ(RowsOf("192.0.2.1@" + huge + "@x@\r\n192.0.2.2@Small@" + huge + "\r\n"),
            (Texts{"192.0.2.1|" + std::string(20, 'D'), "192.0.2.2|Small               "}));
  // A line past the garbage that is never read does not matter.
  EXPECT_EQ(RowsOf("1.2.3.4@Fine@x@\r\n\r\n\x01\x02<html>"), Texts{"1.2.3.4|Fine                "});
}

TEST_F(GameListRows, HtmlPagesBinaryDataAndAddressesThatAreNoneAreRefused) {
  EXPECT_TRUE(Refused("<!DOCTYPE html>\r\n<html><body>Mail admin@example.org</body></html>\r\n"));
  EXPECT_TRUE(Refused("  <html>\r\n"));
  EXPECT_TRUE(Refused("<br />\n<b>Warning</b>: mysql_connect(): Access denied in x.php\n1.2.3.4@Game@x@\n"));
  EXPECT_TRUE(Refused(std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03@\xff", 12)));
  EXPECT_TRUE(Refused(std::string("1.2.3.4@Nul\0in it@x@\r\n", 22)));
  EXPECT_TRUE(Refused("1.2.3.4@Fine@x@\r\n5.6.7.8@Bell\x07@x@\r\n"));
  EXPECT_TRUE(Refused("<a href=x>1.2.3.4</a>@Game@x@\r\n"));
  EXPECT_TRUE(Refused("1.2.3.4 ; rm -rf@Game@x@\r\n"));
  EXPECT_TRUE(Refused("1.2.3.4:port@Game@x@\r\n"));
  EXPECT_TRUE(Refused("1.2.3.4:123456@Game@x@\r\n"));
  EXPECT_TRUE(Refused(std::string(254, 'a') + "@Too long a name@x@\r\n"));
  // An address of megabytes: the line is cut before its "@" is reached.
  EXPECT_TRUE(Refused(std::string(3 * 1024 * 1024, '7') + "@Huge@x@\r\n"));
  EXPECT_EQ(RowsOf(std::string(253, 'a') + "@Longest name@x@\r\n"), Texts{std::string(253, 'a') + "|Longest name        "});
}

TEST_F(GameListRows, ARefusedReplyLeavesTheRowsAsTheyWere) {
  StandInHttpService service(Bodies{});
  service.Answer("/getLobby.php", {"HTTP/1.0 404 Not Found\r\n\r\n1.2.3.4@Not a list@x@\r\n"});
  setenv("QXR_GAMELIST_HOST", service.Host().c_str(), 1);
  std::vector<ListedGame> games = {{"kept", "Kept row            "}};
  testing::internal::CaptureStderr();
  EXPECT_FALSE(FetchGameList(games));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "I can not contact " + service.Host() + "\n");
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].ip, "kept");
}

}  // namespace
