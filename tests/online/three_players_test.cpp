// Three real client programs playing together on loopback: a host (F3) and two joiners
// (/autojoin). They see each other move, chat, play a collect round from the lounge through the
// briefing room into room 32, take pickups the others stop seeing, hand a room's state to a
// newcomer, see the round won, and leave; everything is checked from their screenshots and
// files. Collecting 30 pickups takes a real player minutes of exact play, so the winner is a
// fourth player run by the test, which reports 30 pickups and claims the round as a client
// does; the host judges the claim and every screen shows the winner.
#include <gtest/gtest.h>

#include <algorithm>
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

// The times of the play, in seconds after all three programs were let go; the scripts stand
// still at each "until" point until the screens show what comes next depends on.
constexpr double Joined = 3.0, WalkApart = 3.5, WalkedInLounge = 6.0;
constexpr double ChatOpen = 6.5, ChatSent = 7.3, ChatSeen = 8.5;
constexpr double PickPage = 9.0, PickMode = 9.3;          // F1, F1: collect 30
constexpr double Announced = PickMode + 0.5, InBriefing = Announced + 3.0;
constexpr double InRoom32 = InBriefing + 1.0, FirstWalks = InRoom32 + 1.5;
// Joiner1 takes the first pickup on its way after about 1.6 s of walking.
constexpr double PickupGone = FirstWalks + 2.6, StillGone = PickupGone + 1.2;
// Joiner2 sets out once Joiner1 stands in room 33, which Joiner1 took pickups of, and gets the
// room's state from Joiner1 when it comes in.
constexpr double SecondWalks = StillGone + 0.5, SecondIn33 = SecondWalks + 1.0;
// Four moments half a second apart at which the two in room 33 are shot at once.
constexpr double BothIn33 = SecondIn33 + 0.5;
const char* const In33[] = {"in33", "in33b", "in33c", "in33d"};
constexpr double Won = BothIn33 + 3.0, InLoungeAgain = Won + 0.5;
constexpr double FirstLeaves = InLoungeAgain + 0.5, FirstGone = FirstLeaves + 2.0;
constexpr double SecondLeaves = FirstGone + 0.5, SecondGone = SecondLeaves + 2.0, HostLeaves = SecondGone + 0.5;

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
  const std::string chatLine = "Joiner1 :Hello & good luck";

  Script hostPlay = game.PlayOf(host), firstPlay = game.PlayOf(first), secondPlay = game.PlayOf(second);
  Script* plays[] = {&hostPlay, &firstPlay, &secondPlay};
  // All wait until everybody is in the lounge; the joiners walk apart (so that the name tags
  // stand free) and all wait until every screen shows them where they stopped; Joiner1 chats.
  for (Script* s : plays) s->Until(Joined, "lounge").Until(WalkedInLounge, "walked").Until(ChatSeen, "chat");
  firstPlay.Hold(WalkApart, Vk::Right).Release(WalkApart + 0.8, Vk::Right);
  secondPlay.Hold(WalkApart, Vk::Right).Release(WalkApart + 1.6, Vk::Right);
  firstPlay.Key(ChatOpen, Vk::Y).Type(ChatOpen + 0.3, "Hello & good luck").Key(ChatSent, Vk::Enter);
  // The host chooses "Collect 30"; once it is announced the joiners join it with F1; the
  // count-down is watched in the briefing room; the round starts in room 32.
  for (Script* s : plays) s->Sync(PickPage - 0.3, "pick").Until(Announced, "announced").Until(InBriefing, "countdown");
  hostPlay.Key(PickPage, Vk::F1).Key(PickMode, Vk::F1);
  firstPlay.KeyEvery(Announced + 0.2, Announced + 2.7, 0.5, Vk::F1);
  secondPlay.KeyEvery(Announced + 0.2, Announced + 2.7, 0.5, Vk::F1);
  for (Script* s : plays) s->Until(InRoom32, "room32");
  // Joiner1 walks right through room 32, taking its pickups, into room 33, until its screen shows
  // a pickup of room 33 taken; the others wait until the first pickup on its way is gone from
  // their screens. (Walks end on what the screen shows: a busy machine draws fewer frames a
  // second, and a walk of so many frames would go farther.)
  for (Script* s : plays) s->Sync(FirstWalks - 0.3, "walk");
  firstPlay.Hold(FirstWalks, Vk::Right).Until(FirstWalks + 0.5, "first33").Release(FirstWalks + 0.6, Vk::Right);
  for (Script* s : {&hostPlay, &secondPlay}) s->Until(PickupGone, "taken").Shot(StillGone, "taken2");
  // Joiner2 follows into room 33, where all wait until it has the room's state (its waiting
  // icon is gone); then the three programs meet and the two in room 33 are shot at once on
  // letting go, twice.
  secondPlay.Hold(SecondWalks, Vk::Right);
  for (Script* s : plays) s->Until(SecondWalks + 0.5, "second33");
  secondPlay.Release(SecondWalks + 0.6, Vk::Right);
  for (int k = 0; k < 4; ++k) {
    for (Script* s : plays) s->Sync(BothIn33 + 0.5 * k, In33[k]);
    for (Script* s : {&firstPlay, &secondPlay}) s->Shot(BothIn33 + 0.5 * k, In33[k]);
  }
  // The fourth player wins (see the top): everybody is back in the lounge, shown the winner;
  // then they leave one by one.
  for (Script* s : plays) s->Sync(Won - 0.3, "won").Until(Won, "winner").Until(InLoungeAgain, "lounge2");
  firstPlay.Key(FirstLeaves, Vk::Escape).Key(FirstGone + 2, Vk::F10);
  for (Script* s : {&hostPlay, &secondPlay}) s->Until(FirstGone, "left1");
  secondPlay.Key(SecondLeaves, Vk::Escape).Key(SecondGone + 1.5, Vk::F10);
  hostPlay.Until(SecondGone, "left2").Key(HostLeaves, Vk::Escape).Key(HostLeaves + 2.5, Vk::F10);

  // The fourth player joins once the three are in; it collects far from them.
  ScriptedCollector fourth(game.Port(), "Botty");
  game.StartHost(host, hostPlay);
  game.StartJoiner(first, firstPlay);
  game.StartJoiner(second, secondPlay, 1.0);
  EXPECT_TRUE(game.Go());
  game.AwaitScreens("lounge", players, [&](const Player&, const Shot& screen) { return EverybodyInTheLounge(screen, Everybody); });
  fourth.LetIn();
  AwaitTheWayToRoom32(game, players, Everybody, chatLine, FirstCast);
  game.Release("walk");
  const PickupFact firstOnTheWay = FirstPickupOfRoom32();
  const std::vector<PickupFact> pickups33 = RoomPickupFacts(33);
  game.AwaitScreens("first33", {&first}, [&](const Player&, const Shot& screen) {
    return InRoom(screen, 33) &&
           std::any_of(pickups33.begin(), pickups33.end(), [&](const PickupFact& p) { return !PickupShown(screen, p); });
  });
  // A quarter of the time the list shows the discovery share instead of Joiner1's score (1, or
  // more once the next pickups on its way are taken too).
  game.AwaitScreens("taken", {&host, &second}, [&](const Player&, const Shot& screen) {
    bool scoreListed = false;
    for (int score = 1; score <= 9; ++score)
      scoreListed = scoreListed || SmallTextAt(screen, std::to_string(score), 592, 9, SlotColour(1), true);
    return !PickupShown(screen, firstOnTheWay) && scoreListed;
  });
  // When Joiner2's screens last showed it outside room 33 and first showed it there with the
  // room's state (no longer waiting for it), by the times they were written: the state is no
  // older than that when it arrives, and its catch-up is reckoned from its age.
  double outside33 = 0, stateBy = 0;
  game.AwaitScreens("second33", players, [&](const Player& p, const Shot& screen) {
    if (&p != &second) return true;
    const double written = WrittenAt(p.File("second33.png"));
    if (!InRoom(screen, 33)) outside33 = written;
    if (!InRoom(screen, 33) || WaitingForRoomState(screen)) return false;
    stateBy = written;
    return true;
  });
  const double stateAgeMs = outside33 > 0 ? 1000 * (stateBy - outside33) : 1000;
  for (const char* point : In33) game.Release(point);
  AwaitTheWinAndTheLeaving(game, players, Everybody, fourth, " Botty  ", FirstCast, SecondCast);
  game.Finish(120);
  fourth.Finish();
  EXPECT_EQ(fourth.Slot(), 3);
  EXPECT_EQ(fourth.Winner(), " Botty  ") << "the host did not announce the fourth player's win";
  for (Player* p : players) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;

  // ---- The lounge: everybody sees everybody at the slot places, then where they walked.
  ExpectEverybodyInTheLounge(players, Everybody, "lounge");
  ExpectHeroesWhereTheyWalked(players, Everybody, "walked");
  // ---- The chat line, on every screen in the writer's colour, and in every chat log.
  ExpectChatLineEverywhere(players, chatLine, FirstCast, "chat");
  // ---- The count-down in the briefing room; the round starts in room 32 for all.
  ExpectCountDown(players, "briefing1", "briefing2", fourth.RoundStartedAt());
  ExpectRoundStartInRoom32(players, Everybody, "room32");

  // ---- The pickup Joiner1 took is gone for the host and Joiner2, and its score is listed.
  for (Player* p : {&host, &second}) {
    EXPECT_FALSE(PickupShown(ShotOf(*p, "taken"), firstOnTheWay)) << p->name;
    EXPECT_FALSE(PickupShown(ShotOf(*p, "taken2"), firstOnTheWay)) << p->name;
  }

  // ---- Room 33: Joiner2 arrived after Joiner1 took pickups there and sees what Joiner1 sees:
  // the same pickups missing, the enemies where Joiner1's screen has them at that moment.
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
  // Pairs of shots half a second apart: an enemy started afresh could meet Joiner1's at one
  // moment, not at two. The programs are let go at one moment, but on a busy machine one may
  // wake later than the other: the pairs shot within half a second of each other (the shots'
  // times tell) are compared, and at least two must be. A stall costs a program a world step
  // now and then. The newcomer's catch-up counts a step for every 16 ms of the state's age,
  // while enemies step every 40 ms at most: it runs ahead by up to 3 steps in 80 ms of the age.
  int moved = 0, compared = 0;
  for (const char* name : In33) {
    Shot ofFirst = ShotOf(first, name), ofSecond = ShotOf(second, name);
    const double apart = std::fabs(WrittenAt(first.File(std::string(name) + ".png")) -
                                   WrittenAt(second.File(std::string(name) + ".png")));
    if (apart >= 0.5) continue;
    ++compared;
    for (size_t e = 0; e < enemies33.size(); ++e) {
      const int ya = EnemyShownAt(ofFirst, enemies33[e]), yb = EnemyShownAt(ofSecond, enemies33[e]);
      EXPECT_GE(ya, 0) << name << ": Joiner1 does not show enemy " << e;
      EXPECT_GE(yb, 0) << name << ": Joiner2 does not show enemy " << e;
      const int allowed = static_cast<int>(enemies33[e].speed * (apart / 0.05 + 9 + stateAgeMs * 3 / 80));
      EXPECT_LE(std::abs(ya - yb), allowed) << name << ": enemy " << e << " at y " << ya << " for Joiner1, " << yb
                                            << " for Joiner2, shots " << apart << " s apart, the state "
                                            << stateAgeMs << " ms old at most";
      moved += std::abs(EnemyShownAt(b, enemies33[e]) - yb);
    }
  }
  EXPECT_GE(compared, 2) << "the two in room 33 were not shot at about the same time";
  EXPECT_GT(moved, 0) << "the enemies of room 33 stand still for Joiner2";

  // ---- The round won: every screen is back in the lounge and shows the winner.
  ExpectWinnerShown(players, " Botty  ", "winner");

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
