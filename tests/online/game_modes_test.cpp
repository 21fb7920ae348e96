// Game modes played by real client programs on loopback, chosen by the host in the lounge: a
// tag round, whose tagged player is coloured on every screen and whose winner the host names,
// and a team collect round, which fills the team room, splits the players into red and blue and
// ends with the team's win on every screen.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "online_checks.h"
#include "online_game.h"
#include "round_checks.h"
#include "scripted_collector.h"
#include "tests/net/protocol_client.h"
#include "world/records.h"
#include "world/text_utils.h"
#include "world_facts.h"

namespace {

using namespace onlinetest;

const std::vector<Cast> Cast3 = {{" Hosty  ", 0, 3}, {"Joiner1 ", 1, 7}, {"Joiner2 ", 2, 12}};

class OnlineModes : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

// Three players: the host and two joiners, who wait at tick 3 until everybody is in the lounge.
struct ThreeInTheLounge {
  OnlineGame game;
  Player& host = game.AddHost("Hosty", Cast3[0].skin);
  Player& first = game.AddJoiner("Joiner1", Cast3[1].skin);
  Player& second = game.AddJoiner("Joiner2", Cast3[2].skin);
  std::vector<Player*> players = {&host, &first, &second};
  Script hostPlay = game.PlayOf(host), firstPlay = game.PlayOf(first), secondPlay = game.PlayOf(second);
  Script* plays[3] = {&hostPlay, &firstPlay, &secondPlay};

  // The host chooses page then item at t; once it is announced the joiners join it.
  void Choose(double t, int pageKey, int itemKey) {
    for (Script* s : plays) s->Until(3.0, "lounge").Sync(t - 0.3, "pick").Until(t + 0.6, "announced");
    hostPlay.Key(t, pageKey).Key(t + 0.3, itemKey);
    firstPlay.KeyEvery(t + 0.8, t + 3.3, 0.5, Vk::F1);
    secondPlay.KeyEvery(t + 0.8, t + 3.3, 0.5, Vk::F1);
  }
  // Runs the game to the choice: everybody in the lounge (then inTheLounge is called), the
  // choice announced to the joiners.
  void PlayToTheChoice(const std::function<void()>& inTheLounge = [] {}) {
    game.AwaitScreens("lounge", players, [&](const Player&, const Shot& screen) { return EverybodyInTheLounge(screen, Cast3); });
    inTheLounge();
    game.Release("pick");
    game.AwaitScreens("announced", players, [&](const Player& p, const Shot& screen) {
      return &p == &host || !BigTextAt(screen, "No game started ", 128, 224, {0, 255, 255});
    });
  }
  // Everybody leaves from the lounge, the joiners first; the programs end.
  void LeaveAt(double t) {
    firstPlay.Key(t, Vk::Escape).Key(t + 4.5, Vk::F10);
    secondPlay.Key(t + 0.5, Vk::Escape).Key(t + 4.5, Vk::F10);
    hostPlay.Key(t + 2.5, Vk::Escape).Key(t + 5.0, Vk::F10);
  }
  void Start() {
    game.StartHost(host, hostPlay);
    game.StartJoiner(first, firstPlay);
    game.StartJoiner(second, secondPlay, 1.0);
  }
};

// The players of the tag round tinted as its screen shows them: the slot of the one "it" (in
// the tagged colour, hero and row alike), the others each in its own colour; -1 when not so.
int TaggedOnScreen(const Shot& screen) {
  int tagged = -1;
  for (const Cast& c : Cast3) {
    const int x = 32 * c.slot + 32;
    if (HeroSeen(screen, c.skin, TaggedColour, x, 352) > 0.8 && ListedPlayer(screen, c.name8, TaggedColour, false)) {
      if (tagged >= 0) return -1;
      tagged = c.slot;
    } else if (HeroSeen(screen, c.skin, SlotColour(c.slot), x, 352) <= 0.8) {
      return -1;
    }
  }
  return tagged;
}

TEST_F(OnlineModes, TagColoursTheTaggedOnEveryScreenAndTheHostNamesTheWinner) {
  ThreeInTheLounge three;
  constexpr double Pick = 4.0, Starts = Pick + 0.3 + 10, Seen = Starts + 2.0;
  // The round starts in room 27, each player at its slot's place. Joiner1 walks to the left
  // wall past the host once the tagging begins (5 s in): when either of them is "it", the other
  // is tagged, two of three are, and Joiner2 wins. Joiner2 sets out later; when it was "it"
  // from the start, it tags the host on its way and Joiner1 wins.
  constexpr double FirstWalks = Starts + 6.5, SecondWalks = Starts + 10.5, Over = Starts + 13.0;
  three.Choose(Pick, Vk::F4, Vk::F1);  // "Gorbo Games", "Gorbo Tag": mode 30
  for (Script* s : three.plays) s->Until(Seen, "tagged").Sync(FirstWalks - 0.5, "chase").Until(Over, "over");
  three.firstPlay.Hold(FirstWalks, Vk::Left).Release(FirstWalks + 1.5, Vk::Left);
  three.secondPlay.Hold(SecondWalks, Vk::Left).Release(SecondWalks + 1.5, Vk::Left);
  three.LeaveAt(Over + 1.5);
  three.Start();
  ASSERT_TRUE(three.game.Go());
  three.PlayToTheChoice();
  three.game.AwaitScreens("tagged", three.players, [&](const Player&, const Shot& screen) {
    return InRoom(screen, 27) && TaggedOnScreen(screen) >= 0;
  });
  three.game.Release("chase");
  three.game.AwaitScreens("over", three.players, [&](const Player& p, const Shot& screen) {
    return WinnerShown(screen, Cast3[1].name8, &p == &three.host) || WinnerShown(screen, Cast3[2].name8, &p == &three.host);
  });
  three.game.Finish(120);
  for (Player* p : three.players) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;

  // Exactly one player is "it", the same one on every screen: its hero, and its row in the list.
  int it = -1;
  for (Player* p : three.players) {
    Shot tagged(p->File("tagged.png"));
    ASSERT_TRUE(tagged.Loaded()) << p->name;
    EXPECT_TRUE(BigTextAt(tagged, playtest::Title(27), 0, 405, {255, 255, 0})) << p->name << " is not in room 27";
    int seenTagged = -1, count = 0;
    for (const Cast& c : Cast3) {
      const int x = 32 * c.slot + 32;
      if (HeroSeen(tagged, c.skin, TaggedColour, x, 352) > 0.8) {
        seenTagged = c.slot;
        ++count;
        EXPECT_TRUE(ListedPlayer(tagged, c.name8, TaggedColour, false)) << p->name << " lists " << c.name8;
      } else {
        EXPECT_GT(HeroSeen(tagged, c.skin, SlotColour(c.slot), x, 352), 0.8) << p->name << " shows " << c.name8;
      }
    }
    EXPECT_EQ(count, 1) << p->name << " shows " << count << " tagged players";
    if (it < 0) it = seenTagged;
    EXPECT_EQ(seenTagged, it) << p->name << " shows another player tagged";
  }
  ASSERT_GE(it, 0);

  const std::string winner = it == 2 ? Cast3[1].name8 : Cast3[2].name8;
  for (Player* p : three.players) {
    EXPECT_TRUE(WinnerShown(Shot(p->File("over.png")), winner, p == &three.host))
        << p->name << " does not show " << winner << " as the winner (\"it\" was slot " << it << ")";
  }
}

TEST_F(OnlineModes, TeamCollectFillsTheTeamRoomAndEndsWithTheTeamsWin) {
  ThreeInTheLounge three;
  constexpr double Pick = 4.0, Starts = Pick + 0.3 + 10;
  three.Choose(Pick, Vk::F7, Vk::F1);  // "Team Collect", "Collect 30": mode 60
  // In the team room during the count-down; when the round starts its side walls open: the host
  // and Joiner2 leave it on the left (red), Joiner1 on the right (blue). Each team starts in
  // room 32 with its keys let go; Joiner1 sets out again and takes the first two pickups of its
  // way some 8.5 and 11 s after the start. A fourth player run by the test joins blue and
  // reports 28 pickups at the start: Joiner1's second pickup is blue's 30th.
  constexpr double InTeamRoom = Pick + 3.5, Joined = Starts + 6.6, Over = Starts + 13.0;
  // The round's start is waited for by what the fourth player hears (the walls open then).
  for (Script* s : three.plays)
    s->Until(InTeamRoom, "teamroom").Until(Starts + 0.2, "opened").Until(Joined, "joined").Until(Over, "over");
  three.hostPlay.Hold(Starts + 0.5, Vk::Left).Release(Starts + 1.5, Vk::Left);
  three.secondPlay.Hold(Starts + 0.5, Vk::Left).Release(Starts + 2.5, Vk::Left);
  three.firstPlay.Hold(Starts + 0.5, Vk::Right).Hold(Starts + 7.0, Vk::Right).Release(Over - 0.5, Vk::Right);
  three.LeaveAt(Over + 1.5);
  // The fourth player, run in this process once the three are in, served all along.
  const std::vector<PickupFact> far = FarPickups(28);
  std::atomic<bool> threeIn{false};
  std::atomic<int> fourthSlot{-1};
  std::atomic<bool> roundStarted{false};
  std::string won;
  std::thread fourthPlays([&] {
    while (!threeIn) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    protocol::ProtocolClient fourth;
    fourth.State().room = 100;
    if (!fourth.Connect(three.game.Port(), "", 60000)) return;
    fourthSlot = fourth.Slot();
    fourth.Join("Botty");
    roundStarted = fourth.PumpUntil([&] { return fourth.Got().roundStarts > 0; }, 180000);
    if (!roundStarted) return;
    fourth.Send(MsgJoinBlue{.slot = fourth.Slot()});
    for (const PickupFact& p : far) {
      fourth.State().room = p.room;
      fourth.State().score += 1;
      fourth.MoveTo(p.x, p.y + PlayfieldTop - 16);
      fourth.TakePickup(p.room, p.index);
    }
    if (fourth.PumpUntil([&] { return !fourth.Got().winners.empty(); }, 180000)) won = fourth.Got().winners.back();
    fourth.Leave();
    fourth.PumpFor(200);
  });
  three.Start();
  EXPECT_TRUE(three.game.Go());
  three.PlayToTheChoice([&] { threeIn = true; });
  three.game.AwaitScreens("teamroom", three.players, [&](const Player&, const Shot& room) {
    if (!InRoom(room, TeamRoom) || !BigTextAt(room, AlignText("TEAM collect", 32, "C"), 2, 216, {0, 255, 0})) return false;
    for (const Cast& c : Cast3)
      if (HeroSeen(room, c.skin, SlotColour(c.slot), 32 * c.slot + 32, 352) <= 0.8) return false;
    return true;
  });
  three.game.AwaitScreens("opened", three.players, [&](const Player&, const Shot&) { return roundStarted.load(); });
  three.game.AwaitScreens("joined", three.players, [&](const Player&, const Shot& joined) {
    return ListedPlayer(joined, Cast3[0].name8, RedTeam, false) && ListedPlayer(joined, Cast3[2].name8, RedTeam, false) &&
           ListedPlayer(joined, Cast3[1].name8, BlueTeam, false);
  });
  three.game.AwaitScreens("over", three.players, [&](const Player& p, const Shot& screen) {
    return InRoom(screen, LoungeRoom) && StatusShown({screen}, "** BLUE WIN **", &p == &three.host);
  });
  three.game.Finish(120);
  fourthPlays.join();
  EXPECT_EQ(fourthSlot, 3);
  EXPECT_TRUE(roundStarted) << "the fourth player saw no round start";
  EXPECT_EQ(won, "** BLUE WIN **");
  for (Player* p : three.players) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;

  for (Player* p : three.players) {
    Shot room(p->File("teamroom.png"));
    EXPECT_TRUE(BigTextAt(room, playtest::Title(TeamRoom), 0, 405, {255, 255, 0})) << p->name;
    EXPECT_TRUE(BigTextAt(room, AlignText("TEAM collect", 32, "C"), 2, 216, {0, 255, 0})) << p->name;
    for (const Cast& c : Cast3)
      EXPECT_GT(HeroSeen(room, c.skin, SlotColour(c.slot), 32 * c.slot + 32, 352), 0.8) << p->name << ", " << c.name8;

    Shot joined(p->File("joined.png"));
    EXPECT_TRUE(ListedPlayer(joined, Cast3[0].name8, RedTeam, false)) << p->name;
    EXPECT_TRUE(ListedPlayer(joined, Cast3[2].name8, RedTeam, false)) << p->name;
    EXPECT_TRUE(ListedPlayer(joined, Cast3[1].name8, BlueTeam, false)) << p->name;
    EXPECT_TRUE(BigTextAt(joined, "RED", 548, 380, {255, 0, 0})) << p->name;
    EXPECT_TRUE(BigTextAt(joined, "BLUE", 540, 425, {0, 0, 255})) << p->name;

    const Shot over(p->File("over.png"));
    EXPECT_TRUE(InRoom(over, LoungeRoom)) << p->name;
    EXPECT_TRUE(StatusShown({over}, "** BLUE WIN **", p == &three.host)) << p->name;
  }
}

}  // namespace
