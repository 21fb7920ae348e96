// The registration request of a hosted game: its four query forms and the encoding of values.
#include <gtest/gtest.h>

#include "net/game_list.h"
#include "net/net_globals.h"
#include "world/records.h"

namespace {

class RegistrationQuery : public ::testing::Test {
 protected:
  void SetUp() override {
    GameDescription = "Fun & games";
    PlayerName = "  Bob   ";
    SelectedSkin = 7;
  }
  void TearDown() override {
    GameDescription.clear();
    HostPassword.clear();
    OwnAddress.clear();
    PlayerName.clear();
  }
};

const std::string Description = "Fun%20%26%20games";
const std::string Tail = "&name=%20%20Bob%20%20%20&char=7";

TEST_F(RegistrationQuery, HasOneOfFourFormsWithTheKeysInTheirOrder) {
  HostPassword = "secret";
  OwnAddress = "10.0.0.1";
  EXPECT_EQ(RegistrationPath(), "/newServer.php?password=Y&description=" + Description + "&ip=10.0.0.1" + Tail);
  OwnAddress = " ";  // left blank at set-up: the service sees the address itself
  EXPECT_EQ(RegistrationPath(), "/newServer.php?password=Y&description=" + Description + Tail);
  HostPassword = "";
  OwnAddress = "host.example";
  EXPECT_EQ(RegistrationPath(), "/newServer.php?password=N&ip=host.example&description=" + Description + Tail);
  OwnAddress = "1.2.3";  // five characters do not count as an address
  EXPECT_EQ(RegistrationPath(), "/newServer.php?password=N&description=" + Description + Tail);
}

TEST_F(RegistrationQuery, ValuesCannotBreakTheRequestLineOrTheQuery) {
  EXPECT_EQ(QueryValue("a b&c=d#e%f+g?h\r\n\x7f\xa3"), "a%20b%26c%3Dd%23e%25f%2Bg%3Fh%0D%0A%7F%A3");
  EXPECT_EQ(QueryValue("Zone-1_x.y~!"), "Zone-1_x.y~!") << "everything else is sent as it is";
  GameDescription = "x&password=Y";
  HostPassword = "";
  OwnAddress = "";
  EXPECT_EQ(RegistrationPath(), "/newServer.php?password=N&description=x%26password%3DY" + Tail);
}

}  // namespace
