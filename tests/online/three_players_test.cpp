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
#include "scripted_collector.h"
#include "world_facts.h"
#include "world/records.h"

namespace {

using namespace onlinetest;

// Slots follow the order of joining: the host is 0, the joiners 1 and 2.
struct Cast {
  std::string name8;  // the name centred in 8 characters, as every screen draws it
  int slot, skin;
};
const Cast HostCast{" Hosty  ", 0, 3}, FirstCast{"Joiner1 ", 1, 7}, SecondCast{"Joiner2 ", 2, 12};
const Cast Everybody[] = {HostCast, FirstCast, SecondCast};

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

  Shot ShotOf(const Player& p, const std::string& name) { return Shot(p.File(name + ".png")); }
};

TEST_F(OnlineThreePlayers, MoveChatPlayARoundShareRoomsAndLeave) {
  OnlineGame game;
  Player& host = game.AddHost("Hosty", HostCast.skin);
  Player& first = game.AddJoiner("Joiner1", FirstCast.skin);
  Player& second = game.AddJoiner("Joiner2", SecondCast.skin);
  Player* players[] = {&host, &first, &second};

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
    for (int i = 0; i < 3; ++i) s->Shot(Won + 1.0 + 0.3 * i, "won" + std::to_string(i));
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
  for (Player* p : players) {
    Shot lounge = ShotOf(*p, "lounge");
    ASSERT_TRUE(lounge.Loaded()) << p->name;
    EXPECT_TRUE(BigTextAt(lounge, playtest::Title(LoungeRoom), 0, 405, {255, 255, 0})) << p->name;
    for (const Cast& c : Everybody) {
      EXPECT_GT(HeroSeen(lounge, c.skin, SlotColour(c.slot), 32 * c.slot + 32, 352), 0.8) << p->name << " sees " << c.name8;
      EXPECT_TRUE(ListedPlayer(lounge, c.name8, SlotColour(c.slot), true)) << p->name << " lists " << c.name8;
    }
  }
  // Each hero where its own screen shows it, on every screen, after the joiners walked.
  for (const Cast& c : Everybody) {
    // The host's own tag is partly under its chooser: its place is taken from a joiner's screen.
    const Player& shower = c.slot == 0 ? first : *players[c.slot];
    const std::vector<Place> own = HeroPlaces(ShotOf(shower, "walked"), c.name8, c.skin, SlotColour(c.slot));
    ASSERT_EQ(own.size(), 1u) << c.name8 << " on its own screen";
    if (c.slot != 0) {
      EXPECT_GT(own[0].x, 32 * c.slot + 32 + 30) << c.name8 << " did not walk";
    }
    EXPECT_EQ(own[0].y, 352);
    for (Player* p : players) {
      Shot walked = ShotOf(*p, "walked");
      EXPECT_GT(HeroSeen(walked, c.skin, SlotColour(c.slot), own[0].x, own[0].y), 0.8)
          << p->name << " does not show " << c.name8 << " at " << own[0].x << "," << own[0].y;
      // The host's chooser covers the name tags' row; the joiners show them whole.
      if (p == &host) continue;
      const std::vector<Place> seen = HeroPlaces(walked, c.name8, c.skin, SlotColour(c.slot));
      ASSERT_EQ(seen.size(), 1u) << p->name << " does not see " << c.name8;
      EXPECT_EQ(seen[0], own[0]) << p->name << " sees " << c.name8 << " at " << seen[0].x << "," << seen[0].y
                                 << ", its own screen at " << own[0].x << "," << own[0].y;
    }
  }

  // ---- The chat line, on every screen in the writer's colour, and in every chat log.
  const std::string line = "Joiner1 :Hello & good luck";
  for (Player* p : players) {
    EXPECT_GE(ChatLineShowing(ShotOf(*p, "chat"), line, SlotColour(1)), 0) << p->name;
    EXPECT_NE(ReadText(p->File("Chat.txt")).find(line + "\r\n"), std::string::npos)
        << p->name << "'s Chat.txt:\n" << ReadText(p->File("Chat.txt"));
  }

  // ---- The count-down in the briefing room, on every screen.
  for (Player* p : players) {
    Shot early = ShotOf(*p, "briefing1"), late = ShotOf(*p, "briefing2");
    EXPECT_TRUE(BigTextAt(early, playtest::Title(BriefingRoom), 0, 405, {255, 255, 0})) << p->name;
    EXPECT_TRUE(BigTextAt(early, "        First to collect        ", 2, 216, {0, 255, 0})) << p->name;
    EXPECT_TRUE(BigTextAt(early, "        30 pickups wins         ", 2, 232, {0, 255, 0})) << p->name;
    int shownEarly = -1, shownLate = -1;
    for (int n = 0; n <= 10; ++n) {
      if (BigTextAt(early, std::to_string(n), 240, 254, {0, 255, 255})) shownEarly = n;
      if (BigTextAt(late, std::to_string(n), 240, 254, {0, 255, 255})) shownLate = n;
    }
    // Whole seconds left, by a clock set from the host's with the ping added.
    EXPECT_NEAR(shownEarly, RoundStarts - BriefingEarly - 0.5, 1.5) << p->name;
    EXPECT_NEAR(shownLate, RoundStarts - BriefingLate - 0.5, 1.5) << p->name;
    EXPECT_GT(shownEarly, shownLate) << p->name;
  }

  // ---- The round starts in room 32 for all, each at its slot's place; its pickups are there.
  const std::vector<PickupFact> pickups32 = RoomPickupFacts(SinglePlayerRoom);
  ASSERT_FALSE(pickups32.empty());
  const PickupFact& firstOnTheWay = pickups32[0];  // (208, 224): on Joiner1's way right
  ASSERT_EQ(firstOnTheWay.y, 224);
  for (Player* p : players) {
    Shot room32 = ShotOf(*p, "room32");
    EXPECT_TRUE(BigTextAt(room32, playtest::Title(SinglePlayerRoom), 0, 405, {255, 255, 0})) << p->name;
    for (const Cast& c : Everybody)
      EXPECT_GT(HeroSeen(room32, c.skin, SlotColour(c.slot), 32 * c.slot + 32, 352), 0.8) << p->name << ", " << c.name8;
    EXPECT_TRUE(PickupShown(room32, firstOnTheWay)) << p->name;
  }

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
  for (Player* p : players) {
    std::vector<Shot> won;
    for (int i = 0; i < 3; ++i) won.push_back(ShotOf(*p, "won" + std::to_string(i)));
    EXPECT_TRUE(BigTextAt(won[0], playtest::Title(LoungeRoom), 0, 405, {255, 255, 0})) << p->name;
    EXPECT_TRUE(StatusShown(won, "Last winner was * Botty  *", p == &host)) << p->name << " does not show the winner";
  }

  // ---- Back in the lounge; Joiner1 leaves: announced, its hero and its row gone.
  for (Player* p : players) EXPECT_TRUE(BigTextAt(ShotOf(*p, "lounge2"), playtest::Title(LoungeRoom), 0, 405, {255, 255, 0})) << p->name;
  for (Player* p : {&host, &second}) {
    Shot before = ShotOf(*p, "lounge2"), after = ShotOf(*p, "left1");
    EXPECT_GE(ChatLineShowing(after, "Joiner1  just left the game", White, true), 0) << p->name;
    EXPECT_TRUE(ListedPlayer(before, FirstCast.name8, SlotColour(1), true)) << p->name;
    EXPECT_FALSE(ListedPlayer(after, FirstCast.name8, SlotColour(1), true)) << p->name;
    EXPECT_GT(HeroSeen(before, FirstCast.skin, SlotColour(1), 64, 352), 0.8) << p->name;
    EXPECT_LT(HeroSeen(after, FirstCast.skin, SlotColour(1), 64, 352), 0.5) << p->name;
    EXPECT_GT(HeroSeen(after, HostCast.skin, SlotColour(0), 32, 352), 0.8) << p->name;
  }
  EXPECT_GE(ChatLineShowing(ShotOf(host, "left2"), "Joiner2  just left the game", White, true), 0);
  for (Player* p : players) EXPECT_EQ(ReadText(p->File("Chat.txt")).find("just left"), std::string::npos) << p->name;
}

}  // namespace
