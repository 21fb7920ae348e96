// Game modes: the lounge chooser from keys and clicks to a mode, who may choose, the banners of
// every group, starting a mode on the hosting client, spectating, chain-race targets, start
// places, and announcing a player's win.
#include <set>

#include "client/bitmap_text.h"
#include "net/net_globals.h"
#include "tests/world/hero_fixture.h"
#include "tests/world/sent_message.h"
#include "world/game_modes.h"
#include "world/team_rules.h"
#include "world/text_utils.h"

namespace {

constexpr int F1 = 112, F10 = 121;

class GameModes : public HeroTest {
 protected:
  void SetUp() override {
    HeroTest::SetUp();
    BindNetOnce();
    FillModeTexts();
    FillRaceRoomTable();
    for (int room : {SinglePlayerRoom, 41, BriefingRoom, TeamRoom, LoungeRoom}) world_.FloorRoom(room);
    Hosting = 1;
    StartIn(LoungeRoom, 32, 352, 0);
    Game.singlePlayer = 0;
    IsAdmin = 0;
    HostMode = 0;
    RoundStartTime = RoundRunning = 0;
    ClickDelay = 0;
    FlushMouse();
  }
  void TearDown() override {
    FlushMouse();
    Hosting = 0;
    IsAdmin = 0;
    HostMode = 0;
    RoundStartTime = RoundRunning = 0;
    HeroTest::TearDown();
  }

  // One frame of the lounge with a key hit.
  static void Press(int key) {
    InjectKeyHit(key);
    LoungeMenu();
    FlushKeys();
  }
  // One frame of the lounge with a click at (x, y).
  static void Click(int x, int y) {
    InjectMouse(x, y);
    InjectMouseClick(1);
    LoungeMenu();
    FlushMouse();
    ClickDelay = 0;
  }
  // Back in the lounge with no game.
  static void BackToTheLounge() {
    Game.room = LoungeRoom;
    HostMode = Game.gameMode = 0;
    Game.menuPage = 0;
  }
};

std::pair<std::string, std::string> Banner(int mode) {
  Game.bannerTitle = "unchanged";
  Game.bannerGoal = "unchanged";
  SetModeBanner(mode);
  return {Game.bannerTitle, Game.bannerGoal};
}
std::pair<std::string, std::string> Centred(const std::string& title, const std::string& goal) {
  return {AlignText(title, 32, "C"), AlignText(goal, 32, "C")};
}

// --- The chooser ----------------------------------------------------------------------------

TEST_F(GameModes, APageAndItemOfTheChooserStartTheirMode) {
  struct Choice { int page, item, mode; const char* world; };
  for (const Choice& c : {Choice{4, 6, 35, "original"}, Choice{1, 9, 9, "maps"}, Choice{2, 1, 10, "maps"},
                          Choice{6, 4, 53, "maps"}, Choice{9, 2, 81, "tower"}}) {
    BackToTheLounge();
    Press(F1 + c.page - 1);
    EXPECT_EQ(Game.menuPage, c.page);
    Press(F1 + c.item - 1);
    EXPECT_EQ(HostMode, c.mode) << "page " << c.page << " item " << c.item;
    EXPECT_EQ(Game.gameMode, c.mode);
    EXPECT_EQ(WorldName, c.world);
  }
  EXPECT_EQ(Game.bannerTitle, AlignText("DARK TOWER", 32, "C"));
}

TEST_F(GameModes, AClickOnAnItemStartsItsModeAndEmptyPlacesDoNothing) {
  Click(90, 194 + 3 * 18 + 4);  // the group page: item 4
  EXPECT_EQ(Game.menuPage, 4);
  Click(90, 194 + 8 * 18 + 4);  // where item 9 of page 4 would be: there is none
  Press(F1 + 8);
  EXPECT_EQ(HostMode, 0);
  EXPECT_EQ(Game.menuPage, 4);
  Click(90, 194 + 5 * 18 + 4);  // item 6
  EXPECT_EQ(HostMode, 35);
}

TEST_F(GameModes, F10GoesBackToTheGroupsAndStaysThere) {
  Press(F1 + 5);
  Press(F1 + 4);  // page 6 has four chains: item 5 is empty
  EXPECT_EQ(HostMode, 0);
  Press(F10);
  EXPECT_EQ(Game.menuPage, 0);
  Press(F10);
  EXPECT_EQ(Game.menuPage, 0);
  Click(90, 356 + 4);  // no "Back" button on the group page
  EXPECT_EQ(Game.menuPage, 0);
}

TEST_F(GameModes, AnAdministratorChoosesOnlyWhileNoGameIsAnnounced) {
  Hosting = 0;
  IsAdmin = 1;
  MySlot = 0;
  Game.bannerTitle = "";
  Press(F1 + 1);
  Press(F1 + 2);
  MsgStartGame asked;
  ASSERT_TRUE(SentMessage(asked));
  EXPECT_EQ(asked.gameMode, 12) << "the host is asked; the choice is its to make";
  EXPECT_EQ(HostMode, 0);

  BackToTheLounge();
  SetModeBanner(12);
  Press(F1);  // with a game announced F1 joins it instead of opening a page
  EXPECT_EQ(SentType(), MsgGameStateRequest::type);
  EXPECT_EQ(Game.menuPage, 0);
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 0) << "the host will tell what is left";

  IsAdmin = 0;
  Hosting = 1;
  Press(F1 + 1);
  Press(F1 + 2);
  EXPECT_EQ(HostMode, 12) << "the hosting player always chooses";
}

// --- Banners --------------------------------------------------------------------------------

TEST_F(GameModes, EveryGroupHasItsBanner) {
  EXPECT_EQ(Banner(1), Centred("First to collect", "30 pickups wins"));
  EXPECT_EQ(Banner(9), Centred("First to collect", "270 pickups wins"));
  EXPECT_EQ(Banner(10), Centred("-= Timed Game =-", "5 min"));
  EXPECT_EQ(Banner(19), Centred("-= Timed Game =-", "50 min"));
  EXPECT_EQ(Banner(20), Centred("-= RACE TO =-", "Corner Shop"));
  EXPECT_EQ(Banner(26), Centred("-= RACE TO =-", "Emergency Generator"));
  EXPECT_EQ(Banner(28), Centred("-= RACE TO =-", "bumming parlour"));
  EXPECT_EQ(Banner(29), std::make_pair(AlignText("-= RACE TO =-", 32, "C"), std::string("unchanged")));
  EXPECT_EQ(Banner(30), Centred("-= Gorbo Tag =-", "Last Gorbo Wins"));
  EXPECT_EQ(Banner(31), Centred("-= GOLDEN Gorbo =-", "Find a Golden Gorbo"));
  EXPECT_EQ(Banner(32), Centred("-= BULLDOG =-", "First to TAG"));
  EXPECT_EQ(Banner(33), Centred("-Pitfall Gorbo-", "First to collect"));
  EXPECT_EQ(Banner(34), Centred("-Assault Course-", "First to collect"));
  EXPECT_EQ(Banner(35), Centred("Zonky Gorbo", "First to Complete"));
  EXPECT_EQ(Banner(36), Centred("Jail Break", "First to Complete"));
  EXPECT_EQ(Banner(37), Centred("The Laboratory", "First to Complete"));
  EXPECT_EQ(Banner(40), Centred("Discovery", "10 %"));
  EXPECT_EQ(Banner(49), Centred("Discovery", "100 %"));
  EXPECT_EQ(Banner(50), Centred("Chain Race", "2 Rooms"));
  EXPECT_EQ(Banner(53), Centred("Chain Race", "5 Rooms"));
  EXPECT_EQ(Banner(59), Centred("Chain Race", "11 Rooms"));
  EXPECT_EQ(Banner(61), Centred("TEAM collect", "60 pickups wins"));
  EXPECT_EQ(Banner(69), Centred("TEAM collect", "300 pickups wins"));
  EXPECT_EQ(Banner(70), Centred("TEAM Timed Game", "5 min"));
  EXPECT_EQ(Banner(79), Centred("TEAM Timed Game", "50 min"));
  EXPECT_EQ(Banner(80), Centred("Capture", "The Flag"));
  EXPECT_EQ(Banner(81), Centred("DARK TOWER", "First to collect"));
  for (int mode : {0, 38, 39, 82, 255}) {
    EXPECT_EQ(Banner(mode), std::make_pair(std::string("unchanged"), std::string("unchanged"))) << mode;
  }
}

// --- Starting a mode on the hosting client ---------------------------------------------------

TEST_F(GameModes, TheHostingPlayerStartsATenSecondCountDown) {
  hero().score = 12;
  hero().lives = 3;
  hero().percent = 40;
  VisitCounts[41] = 2;
  Players[4].colourR = 1;
  BluePickupCount = 7;
  Game.statusText = "Last winner was *x*";
  for (int i = 0; i <= LastPickup; ++i) Pickups[i].present = 0;
  StartGameMode(62);  // page 7, item 2
  EXPECT_EQ(HostMode, 61);
  EXPECT_EQ(RoundStartTime - ModeSetTime, 10000);
  EXPECT_EQ(Game.roundTime, RoundStartTime);
  EXPECT_EQ(RoundRunning, 0);
  EXPECT_EQ(Game.room, TeamRoom);
  EXPECT_EQ(hero().score, 0);
  EXPECT_EQ(hero().lives, 9);
  EXPECT_EQ(hero().percent, 0);
  EXPECT_EQ(VisitCounts[41], 0);
  EXPECT_EQ(Players[4].colourR, PlayerColourR[4]);
  EXPECT_EQ(BluePickupCount, 0);
  EXPECT_EQ(Game.statusText, "");
  EXPECT_EQ(Game.bannerTitle, AlignText("TEAM collect", 32, "C"));
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 1);

  StartGameMode(5);
  EXPECT_EQ(Game.room, BriefingRoom) << "below the team modes the count-down is in the briefing room";
}

// --- Spectating -----------------------------------------------------------------------------

class Spectating : public GameModes {
 protected:
  void SetUp() override {
    GameModes::SetUp();
    Game.room = SinglePlayerRoom;
    EnterRoom();
    Game.ownRoom = SinglePlayerRoom;
    Game.viewedPlayer = 0;
    Seat(2, SinglePlayerRoom);
    Seat(5, 41);
  }
  static void Seat(int slot, int room) {
    Players[slot].name = "  P" + std::to_string(slot) + "    ";
    Players[slot].room = room;
  }
};

TEST_F(Spectating, NextGoesRoundThePlayersOutsideTheLobby) {
  Seat(3, BriefingRoom);
  Seat(4, LoungeRoom);
  std::vector<int> viewed;
  for (int i = 0; i < 3; ++i) {
    SpectateNext();
    viewed.push_back(Game.viewedPlayer);
  }
  EXPECT_EQ(viewed, (std::vector<int>{2, 5, 2}));
  EXPECT_EQ(Game.spectating, 1);
  EXPECT_EQ(Players[0].following, 2) << "the hosting player's record says whom it follows";
  SpectateNext();
  EXPECT_EQ(Game.room, 41) << "the view goes to the viewed player's room";
  SpectatePrevious();
  EXPECT_EQ(Game.viewedPlayer, 2);
  EXPECT_EQ(Game.room, SinglePlayerRoom);
}

TEST_F(Spectating, WithNobodyOutsideTheLobbySpectatingStops) {
  SpectateNext();
  SpectateNext();
  ASSERT_EQ(Game.room, 41);
  Players[2].room = Players[5].room = LoungeRoom;
  SpectateNext();
  EXPECT_EQ(Game.spectating, 0);
  EXPECT_EQ(Game.viewedPlayer, MySlot);
  EXPECT_EQ(Players[0].following, NoPlayer);
  EXPECT_EQ(Game.room, SinglePlayerRoom) << "back to the own hero's room";
  EXPECT_FALSE(heroSprite().hidden);
}

// --- Chain races ----------------------------------------------------------------------------

TEST_F(GameModes, AChainRaceDrawsDistinctTargetsClosedByZero) {
  std::set<int> candidates;
  for (int row = 1; row <= 8; ++row)
    for (int column = 0; column <= 1; ++column) candidates.insert(RaceRoomTable[row][column]);
  for (int seed = 1; seed <= 30; ++seed) {
    SeedRnd(seed);
    for (int mode : {50, 53, 59}) {
      Game.gameMode = static_cast<Byte>(mode);
      PickChainTargets();
      const int count = mode == 50 ? 2 : 5;
      std::set<int> drawn;
      for (int k = 0; k < count; ++k) {
        EXPECT_TRUE(candidates.count(ChainTargets[k])) << "mode " << mode << " target " << ChainTargets[k];
        drawn.insert(ChainTargets[k]);
      }
      EXPECT_EQ(drawn.size(), static_cast<size_t>(count)) << "mode " << mode;
      for (int k = count; k < 6; ++k) EXPECT_EQ(ChainTargets[k], 0) << "mode " << mode;
    }
  }
  Game.gameMode = 40;
  PickChainTargets();
  for (int target : ChainTargets) EXPECT_EQ(target, 0);
}

// --- Start places ---------------------------------------------------------------------------

TEST_F(GameModes, EveryStartPlaceIsInsideThePlayfield) {
  for (int firstX : {32, 300, 336}) {
    for (int slot = 0; slot < MaxPlayers; ++slot) {
      const int x = StartPlaceX(slot, firstX);
      EXPECT_GE(x, 0) << firstX << " " << slot;
      EXPECT_LE(x + 16, 512) << "slot " << slot << " from " << firstX;
    }
  }
  for (int slot = 0; slot <= 14; ++slot) EXPECT_EQ(StartPlaceX(slot, 32), 32 + 32 * slot);
  EXPECT_EQ(StartPlaceX(4, 336), 464);
}

TEST_F(GameModes, TheLastSlotStartsInsideTheRoom) {
  MySlot = 15;
  Players[15].sprite = Players[0].sprite;
  Game.room = SinglePlayerRoom;
  Game.gameMode = 5;
  PlaceAtRoomStart();
  EXPECT_LE(Players[15].sprite->x + 16, 512);
  Players[15].sprite.reset();
  MySlot = 0;
}

// --- Announcing a player's win ----------------------------------------------------------------

TEST_F(GameModes, AWinIsAnnouncedByNameOrByTeam) {
  Hosting = 0;  // a joined client claims its win from the host
  Game.gameMode = 5;
  AnnouncePlayerWin(0);
  MsgWinner claim;
  ASSERT_TRUE(SentMessage(claim));
  EXPECT_EQ(claim.text, "  HERO  ");

  Game.gameMode = 62;
  hero().team = TeamRed;
  AnnouncePlayerWin(0);
  ASSERT_TRUE(SentMessage(claim));
  EXPECT_EQ(claim.text, "** RED WIN **");
  hero().team = TeamBlue;
  AnnouncePlayerWin(0);
  ASSERT_TRUE(SentMessage(claim));
  EXPECT_EQ(claim.text, "** BLUE WIN **");

  hero().team = TeamNone;
  MarkNothingSent();
  AnnouncePlayerWin(0);
  EXPECT_EQ(SentType(), NothingSentType) << "a player without a team wins nothing for a team";
}

}  // namespace
