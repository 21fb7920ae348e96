// Three real client programs playing together on loopback: a host (F3) and two joiners
// (/autojoin). They see each other move, chat, play a collect round from the lounge through the
// briefing room into room 32, take pickups the others stop seeing, hand a room's state to a
// newcomer, see the round won, and leave; everything is checked from their screenshots and
// files. Collecting 30 pickups takes a real player minutes of exact play, so the winner is a
// fourth player run by the test, which reports 30 pickups and claims the round as a client
// does; the host judges the claim and every screen shows the winner.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "online_checks.h"
#include "online_game.h"
#include "round_checks.h"
#include "scripted_collector.h"
#include "world_facts.h"
#include "world/records.h"

namespace {

using namespace onlinetest;

// Slots follow the order of joining: the host is 0, the joiners 1 and 2.
const Cast HostCast{" Hosty  ", 0, 3}, FirstCast{"Joiner1 ", 1, 7}, SecondCast{"Joiner2 ", 2, 12};
const std::vector<Cast> Everybody = {HostCast, FirstCast, SecondCast};

// The times of the play, in seconds after all three programs were let go.
constexpr double Joined = 3.0, InLounge = 3.2, WalkApart = 3.5, WalkedInLounge = 6.0;
constexpr double ChatOpen = 6.5, ChatSent = 7.3, ChatSeen = 8.5;
constexpr double PickPage = 9.0, PickMode = 9.3;          // F1, F1: collect 30
constexpr double BriefingEarly = 12.0, BriefingLate = 14.0;
constexpr double RoundStarts = PickMode + 10;              // the host's count-down
constexpr double InRoom32 = RoundStarts + 1.5, FirstWalks = RoundStarts + 3.0, FirstStops = RoundStarts + 10.3;
// Joiner1 takes the first pickup after about 1.6 s of walking, the second after 4.2 s.
constexpr double PickupGone = FirstWalks + 2.6, StillOne = FirstWalks + 3.8;
// Joiner2 comes into room 33 some 4.5 s after Joiner1: its slow enemy, 8 s to and fro, would be
// far from where Joiner1 sees it, had Joiner2 started the room afresh.
constexpr double SecondWalks = RoundStarts + 8.0, SecondStops = SecondWalks + 5.7;
constexpr double BothIn33 = SecondWalks + 5.8, LaterIn33 = BothIn33 + 0.5;
constexpr double Won = BothIn33 + 2.5, InLoungeAgain = Won + 2.0;
constexpr double FirstLeaves = InLoungeAgain + 0.5, FirstGone = FirstLeaves + 2.0;
constexpr double SecondLeaves = FirstGone + 0.5, HostLeaves = SecondLeaves + 2.5, AllDone = HostLeaves + 3;

class OnlineThreePlayers : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

TEST_F(OnlineThreePlayers, MoveChatPlayARoundShareRoomsAndLeave) {
  OnlineGame game;
  Player& host = game.AddHost("Hosty", HostCast.skin);
  Player& first = game.AddJoiner("Joiner1", FirstCast.skin);
  Player& second = game.AddJoiner("Joiner2", SecondCast.skin);
  const std::vector<Player*> players = {&host, &first, &second};

  Script hostPlay = game.PlayOf(host), firstPlay = game.PlayOf(first), secondPlay = game.PlayOf(second);
  Script* plays[] = {&hostPlay, &firstPlay, &secondPlay};
  // The programs meet once both joiners are in, before the game is chosen, before each joiner
  // sets out in room 32 and before the lounge again.
  for (Script* s : plays)
    s->Sync(Joined, "joined").Sync(PickPage - 0.3, "pick").Sync(FirstWalks - 0.3, "walk").Sync(SecondWalks - 0.3, "follow").Sync(Won - 0.3, "won");
  for (Script* s : plays) s->Shot(InLounge, "lounge").Shot(WalkedInLounge, "walked").Shot(ChatSeen, "chat");
  // The joiners walk apart in the lounge, so that the name tags stand free.
  firstPlay.Hold(WalkApart, Vk::Right).Release(WalkApart + 0.8, Vk::Right);
  secondPlay.Hold(WalkApart, Vk::Right).Release(WalkApart + 1.6, Vk::Right);
  // Joiner1 chats.
  firstPlay.Key(ChatOpen, Vk::Y).Type(ChatOpen + 0.3, "Hello & good luck").Key(ChatSent, Vk::Enter);
  // The host chooses "Collect 30"; the joiners join the announced game with F1.
  hostPlay.Key(PickPage, Vk::F1).Key(PickMode, Vk::F1);
  firstPlay.KeyEvery(PickMode + 0.5, PickMode + 3, 0.5, Vk::F1);
  secondPlay.KeyEvery(PickMode + 0.5, PickMode + 3, 0.5, Vk::F1);
  for (Script* s : plays) s->Shot(BriefingEarly, "briefing1").Shot(BriefingLate, "briefing2").Shot(InRoom32, "room32");
  // Joiner1 walks right through room 32, taking its pickups, into room 33.
  firstPlay.Hold(FirstWalks, Vk::Right).Release(FirstStops, Vk::Right);
  for (Script* s : {&hostPlay, &secondPlay}) s->Shot(PickupGone, "taken").Shot(StillOne, "taken2");
  // Joiner2 follows later and gets room 33's state from Joiner1.
  secondPlay.Hold(SecondWalks, Vk::Right).Release(SecondStops, Vk::Right);
  // A screenshot costs its program a world step or two: the first shots after the room's state
  // was handed over are compared.
  for (Script* s : {&firstPlay, &secondPlay}) s->Shot(BothIn33, "in33").Shot(LaterIn33, "in33later");
  // The fourth player wins (see the top): everybody is back in the lounge, shown the winner;
  // then they leave one by one.
  for (Script* s : plays) {
    ShootStatusLine(*s, Won + 1.0, "won");
    s->Shot(InLoungeAgain, "lounge2");
  }
  firstPlay.Key(FirstLeaves, Vk::Escape).Key(FirstGone + 2, Vk::F10);
  hostPlay.Shot(FirstGone, "left1");
  secondPlay.Shot(FirstGone, "left1");
  secondPlay.Key(SecondLeaves, Vk::Escape).Key(HostLeaves + 1, Vk::F10);
  hostPlay.Shot(SecondLeaves + 2, "left2");
  hostPlay.Key(HostLeaves, Vk::Escape).Key(AllDone - 0.5, Vk::F10);

  // The fourth player joins once the three are in; it collects far from them.
  ScriptedCollector fourth(game.Port(), "Botty");
  game.StartHost(host, hostPlay);
  game.StartJoiner(first, firstPlay);
  game.StartJoiner(second, secondPlay, 1.0);
  EXPECT_TRUE(game.Go());
  game.Release("joined");
  fourth.LetIn();
  for (const char* point : {"pick", "walk", "follow", "won"}) game.Release(point);
  fourth.Claim();
  game.Finish(30);
  fourth.Finish();
  EXPECT_EQ(fourth.Slot(), 3);
  EXPECT_EQ(fourth.Winner(), " Botty  ") << "the host did not announce the fourth player's win";
  for (Player* p : players) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;

  // ---- The lounge: everybody sees everybody at the slot places, then where they walked.
  ExpectEverybodyInTheLounge(players, Everybody, "lounge");
  ExpectHeroesWhereTheyWalked(players, Everybody, "walked");
  // ---- The chat line, on every screen in the writer's colour, and in every chat log.
  ExpectChatLineEverywhere(players, "Joiner1 :Hello & good luck", FirstCast, "chat");
  // ---- The count-down in the briefing room; the round starts in room 32 for all.
  ExpectCountDown(players, "briefing1", RoundStarts - BriefingEarly, "briefing2", RoundStarts - BriefingLate);
  ExpectRoundStartInRoom32(players, Everybody, "room32");
  const PickupFact firstOnTheWay = FirstPickupOfRoom32();

  // ---- The pickup Joiner1 took is gone for the host and Joiner2, and its score is listed.
  for (Player* p : {&host, &second}) {
    Shot taken = ShotOf(*p, "taken"), taken2 = ShotOf(*p, "taken2");
    EXPECT_FALSE(PickupShown(taken, firstOnTheWay)) << p->name;
    EXPECT_FALSE(PickupShown(taken2, firstOnTheWay)) << p->name;
    // A quarter of the time the list shows the discovery share instead: one of two shots 1.2 s
    // apart shows the score (1, or 2 once the next pickup on the way is taken too).
    bool scoreListed = false;
    for (const Shot* shot : {&taken, &taken2})
      for (const char* score : {"1", "2"}) scoreListed = scoreListed || SmallTextAt(*shot, score, 592, 9, SlotColour(1), true);
    EXPECT_TRUE(scoreListed) << p->name << " does not list Joiner1's score";
  }

  // ---- Room 33: Joiner2 arrived after Joiner1 took pickups there and sees what Joiner1 sees:
  // the same pickups missing, the enemies where Joiner1's screen has them at that moment.
  const std::vector<PickupFact> pickups33 = RoomPickupFacts(33);
  const std::vector<EnemyFact> enemies33 = RoomEnemyFacts(33);
  ASSERT_FALSE(enemies33.empty());
  Shot a = ShotOf(first, "in33"), b = ShotOf(second, "in33");
  ASSERT_TRUE(a.Loaded() && b.Loaded());
  EXPECT_TRUE(BigTextAt(b, playtest::Title(33), 0, 405, {255, 255, 0})) << "Joiner2 is not in room 33";
  int takenBefore = 0;
  for (const PickupFact& p : pickups33) {
    EXPECT_EQ(PickupShown(a, p), PickupShown(b, p)) << "pickup " << p.index;
    takenBefore += !PickupShown(b, p);
  }
  EXPECT_GE(takenBefore, 1) << "Joiner1 took none of room 33's pickups before Joiner2 came";
  // Two pairs of shots half a second apart: an enemy started afresh could meet Joiner1's at one
  // moment, not at both. The programs' frames drift apart a little (the shots' times tell by
  // how much), a stall costs a program a world step now and then, and the newcomer's catch-up
  // counts 16 ms a step, so it may run a few steps ahead.
  int moved = 0;
  for (const char* name : {"in33", "in33later"}) {
    Shot ofFirst = ShotOf(first, name), ofSecond = ShotOf(second, name);
    const double apart = std::fabs(WrittenAt(first.File(std::string(name) + ".png")) -
                                   WrittenAt(second.File(std::string(name) + ".png")));
    EXPECT_LT(apart, 0.5) << name << ": the two shots were not taken at about the same time";
    for (size_t e = 0; e < enemies33.size(); ++e) {
      const int ya = EnemyShownAt(ofFirst, enemies33[e]), yb = EnemyShownAt(ofSecond, enemies33[e]);
      EXPECT_GE(ya, 0) << name << ": Joiner1 does not show enemy " << e;
      EXPECT_GE(yb, 0) << name << ": Joiner2 does not show enemy " << e;
      const int allowed = static_cast<int>(enemies33[e].speed * (apart / 0.05 + 9));
      EXPECT_LE(std::abs(ya - yb), allowed) << name << ": enemy " << e << " at y " << ya << " for Joiner1, " << yb
                                            << " for Joiner2, shots " << apart << " s apart";
      moved += std::abs(EnemyShownAt(b, enemies33[e]) - yb);
    }
  }
  EXPECT_GT(moved, 0) << "the enemies of room 33 stand still for Joiner2";

  // ---- The round won: every screen is back in the lounge and shows the winner.
  ExpectWinnerShown(players, " Botty  ", "won");

  // ---- Back in the lounge; Joiner1 leaves: announced, its hero and its row gone.
  for (Player* p : players) EXPECT_TRUE(InRoom(ShotOf(*p, "lounge2"), LoungeRoom)) << p->name;
  for (Player* p : {&host, &second}) {
    ExpectLeft(*p, FirstCast, "lounge2", "left1", p == &host);
    EXPECT_GT(HeroSeen(ShotOf(*p, "left1"), HostCast.skin, SlotColour(0), 32, 352), 0.8) << p->name;
  }
  EXPECT_GE(ChatLineShowing(ShotOf(host, "left2"), "Joiner2  just left the game", White, true), 0);
  for (Player* p : players) EXPECT_EQ(ReadText(p->File("Chat.txt")).find("just left"), std::string::npos) << p->name;
}

}  // namespace
