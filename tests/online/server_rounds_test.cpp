// Rounds on the real dedicated server ("qxr-server /AUTO") with real clients ("qxr /autojoin"):
// a tag or chase round that nobody can win any more ends with no winner and gives the
// administrator the chooser back (also a player made administrator later); the administrator's
// reset sends every player back to the lounge; a newcomer given a freed slot plays in no team.
// Which player the server draws for a tag or chase round is chance, so the players taking part
// in those rounds are protocol players run by the test; the real clients watch from the lounge.
// A protocol player without a name sees what every player is sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "online_checks.h"
#include "online_game.h"
#include "protocol_players.h"
#include "round_checks.h"
#include "scripted_collector.h"
#include "tests/net/protocol_client.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

using namespace onlinetest;
using protocol::Received;

// The server gives slots from 0 in the order of joining: Alice, the first, is the administrator.
const Cast AliceCast{" Alice  ", 0, 3}, BobCast{"  Bob   ", 1, 7};
std::string Name8(const std::string& name) { return AlignText(name, 8, "C"); }
const std::string Dave8 = Name8("Dave");
constexpr int DaveSkin = 12;
const std::string AdministratorLine = "<<<            YOU ARE THE GAME ADMINISTRATOR                 >>>";
const std::string NoWinnerLine = "Last winner was *no winner*";
constexpr int Watcher = 0;  // the protocol player without a name
constexpr int TagRoom = 27;

// What the lounge shows. The chooser opens at the page last used: its groups, or a group's
// page with its way back.
bool ChooserShown(const Shot& shot) {
  return BigTextAt(shot, "F1... Collect X items", 85, 194, {0, 255, 0}) ||
         BigTextAt(shot, "F10.. Back", 85, 356, {255, 255, 0});
}
bool NoGameShown(const Shot& shot) { return BigTextAt(shot, "No game started ", 128, 224, {0, 255, 255}); }
bool BannerShown(const Shot& shot, const std::string& title, const std::string& goal) {
  return BigTextAt(shot, AlignText(title, 32, "C"), 2, 216, {0, 255, 0}) &&
         BigTextAt(shot, AlignText(goal, 32, "C"), 2, 232, {0, 255, 0});
}
// The line under the banner, in a flickering shade of blue.
bool BannerCallShown(const Shot& shot, const std::string& call) {
  return FlickeringChannel(shot, call, 128, 284, {0, 255, 0}, 2) >= 0;
}
bool AdministratorTold(const Shot& shot) { return ChatLineShowing(shot, AdministratorLine, White, true) >= 0; }

// The minutes of the round clock in the HUD; -1 when no round clock is shown.
int ClockMinutes(const Shot& shot) {
  for (int minutes = 0; minutes < 60; ++minutes)
    for (int seconds = 0; seconds < 60; ++seconds) {
      const std::string text = ZeroPad(std::to_string(minutes), 2) + ":" + ZeroPad(std::to_string(seconds), 2);
      if (BigTextAt(shot, text, 410, 425, {0, 255, 255})) return minutes;
    }
  return -1;
}

// A screenshot taken once the test lets the program go on from the sync point name; the
// program then holds again until the test has seen the shot taken (LetLook).
void LookWhenLetGo(Script& play, double t, const std::string& name) {
  play.Sync(t, name).Shot(t + 1.0, name).Sync(t + 1.2, name + "-taken");
}
void LetLook(OnlineGame& game, const std::string& name, const std::vector<const Player*>& holders) {
  game.Release(name, holders);
  game.Release(name + "-taken", holders);
}

std::function<bool(const Received&)> HasLeft(int slot) {
  return [slot](const Received& got) { return std::count(got.leaves.begin(), got.leaves.end(), slot) > 0; };
}

// Alice and Bob, back in the lounge after a round won by nobody: Alice has the chooser again,
// Bob sees no game; both show that nobody won.
void ExpectEndedWithNoWinner(const Player& alice, const Player& bob) {
  for (const Player* p : {&alice, &bob}) {
    const bool administrator = p == &alice;
    Shot lounge = ShotOf(*p, "lounge");
    EXPECT_TRUE(InRoom(lounge, LoungeRoom)) << p->name;
    EXPECT_EQ(ChooserShown(lounge), administrator) << p->name;
    EXPECT_EQ(NoGameShown(lounge), !administrator) << p->name;
    EXPECT_TRUE(StatusShown(StatusLineShots(*p, "ended"), NoWinnerLine, administrator)) << p->name;
  }
}

class ServerRounds : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

TEST_F(ServerRounds, AChaseRoundNobodyJoinsEndsAndTheChooserComesBackAlsoForTheNextAdministrators) {
  OnlineGame game;
  ASSERT_TRUE(game.StartServer(SettingsText({"N", "Rounds", ""})));
  ProtocolPlayers bots(game.Port());
  Player& alice = game.AddJoiner("Alice", AliceCast.skin);
  Player& bob = game.AddJoiner("Bob", BobCast.skin);
  Script alicePlay = game.PlayOf(alice), bobPlay = game.PlayOf(bob);
  // Alice chooses "British Bulldog" (mode 32); nobody joins it in the ten seconds of the
  // count-down. Once the round has come and gone, Alice leaves, then Bob, who was given the
  // role; then Dave comes into the empty game.
  constexpr double Joined = 3.0, Pick = 4.0, Announced = Pick + 1.3, Over = Pick + 10.8;
  constexpr double AliceLeaves = Over + 3.0, AliceGone = AliceLeaves + 1.0, BobLeaves = AliceGone + 2.0;
  for (Script* s : {&alicePlay, &bobPlay}) {
    s->Sync(Joined, "joined").Sync(Pick - 0.4, "pick").Shot(Announced, "announced").Sync(Over, "over");
    ShootStatusLine(*s, Over + 1.0, "ended");
    s->Shot(Over + 2.0, "lounge");
  }
  alicePlay.Key(Pick, Vk::F4).Key(Pick + 0.3, Vk::F3);
  alicePlay.Key(AliceLeaves, Vk::Escape).Key(AliceLeaves + 2.0, Vk::F10);
  bobPlay.Sync(AliceGone, "alice-gone").Shot(AliceGone + 1.0, "administrator");
  bobPlay.Key(BobLeaves, Vk::Escape).Key(BobLeaves + 2.0, Vk::F10);

  game.StartJoiner(alice, alicePlay);
  game.StartJoiner(bob, bobPlay, 1.0);
  ASSERT_TRUE(game.Go());
  game.Release("joined");
  ASSERT_TRUE(bots.Connect(Watcher));
  game.Release("pick");
  EXPECT_TRUE(bots.WaitFor(Watcher, [](const Received& got) { return !got.winners.empty(); }))
      << "the round that nobody can win never ended";
  game.Release("over");
  EXPECT_TRUE(bots.WaitFor(Watcher, HasLeft(AliceCast.slot)));
  game.Release("alice-gone", {&bob});
  EXPECT_TRUE(bots.WaitFor(Watcher, HasLeft(BobCast.slot)));

  Player& dave = game.AddJoiner("Dave", DaveSkin);
  Script davePlay = game.PlayOf(dave);
  davePlay.Sync(2.5, "dave-in").Shot(3.5, "administrator").Key(4.5, Vk::Escape).Key(6.5, Vk::F10);
  game.StartJoiner(dave, davePlay);
  EXPECT_TRUE(bots.WaitFor(Watcher, [](const Received& got) { return got.names[0] == Dave8; }));
  game.Release("dave-in", {&dave});
  game.Finish(60);
  for (const Player* p : {&alice, &bob, &dave}) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;

  // The round started with nobody to catch and ended at once, won by nobody.
  const Received watched = bots.Got(Watcher);
  EXPECT_EQ(watched.roundStartSlots, std::vector<int>{-1});
  EXPECT_EQ(watched.winners, std::vector<std::string>{"no winner"});

  // The count-down: the banner on both screens, Alice's chooser hidden while it shows.
  for (const Player* p : {&alice, &bob}) {
    Shot announced = ShotOf(*p, "announced");
    EXPECT_TRUE(BannerShown(announced, "-= BULLDOG =-", "First to TAG")) << p->name;
    EXPECT_TRUE(BannerCallShown(announced, "Press F1 to join")) << p->name;
    EXPECT_FALSE(ChooserShown(announced)) << p->name;
  }
  ExpectEndedWithNoWinner(alice, bob);

  // Bob, given the role when Alice left, and Dave, made administrator as he came: both have
  // the chooser.
  for (const Player* p : {&bob, &dave}) {
    Shot administrator = ShotOf(*p, "administrator");
    EXPECT_TRUE(InRoom(administrator, LoungeRoom)) << p->name;
    EXPECT_TRUE(AdministratorTold(administrator)) << p->name;
    EXPECT_TRUE(ChooserShown(administrator)) << p->name;
  }
}

// Alice (the administrator) and Bob wait in the lounge; protocol players take part in the
// round Alice chooses, and the one the server draws leaves while the round runs.
class LoungeWatchesARound {
 public:
  LoungeWatchesARound() : bots_(game_.Port()) {}

  // Plays it: Alice picks the mode with the two keys; botCount protocol players join the round.
  // Returns the slot the server drew at the round start (-1 when the play broke down).
  int Play(int pageKey, int itemKey, int mode, int botCount) {
    if (!game_.StartServer(SettingsText({"N", "Rounds", ""}))) return -1;
    constexpr double Joined = 3.0, Pick = 4.0, Running = Pick + 11.0, Decided = Running + 1.5;
    for (Script* s : {&alicePlay_, &bobPlay_}) {
      s->Sync(Joined, "joined").Sync(Pick - 0.4, "pick");
      LookWhenLetGo(*s, Running, "running");
      s->Sync(Decided, "decided");
      ShootStatusLine(*s, Decided + 1.0, "ended");
      s->Shot(Decided + 2.0, "lounge");
    }
    alicePlay_.Key(Pick, pageKey).Key(Pick + 0.3, itemKey);
    alicePlay_.Key(Decided + 3.0, Vk::Escape).Key(Decided + 5.0, Vk::F10);
    bobPlay_.Key(Decided + 3.5, Vk::Escape).Key(Decided + 5.5, Vk::F10);
    game_.StartJoiner(alice_, alicePlay_);
    game_.StartJoiner(bob_, bobPlay_, 1.0);
    if (!game_.Go()) return -1;
    game_.Release("joined");
    for (int i = 1; i <= botCount; ++i) {
      if (!bots_.Connect(i, "Bot" + std::to_string(i))) ADD_FAILURE() << "bot " << i << " was not let in";
    }
    game_.Release("pick");

    // Each takes part as a client does: once the game is announced it asks to join and goes
    // to the briefing room; at the round start it enters the tag room.
    for (int i = 1; i <= botCount; ++i) {
      EXPECT_TRUE(bots_.WaitFor(i, [mode](const Received& got) {
        return std::any_of(got.gameModes.begin(), got.gameModes.end(), [mode](const MsgGameMode& m) { return m.gameMode == mode; });
      })) << "bot " << i << " was not told of the game";
      bots_.Do(i, [](protocol::ProtocolClient& c) { c.Send(MsgGameStateRequest{}); });
      EXPECT_TRUE(bots_.WaitFor(i, [](const Received& got) { return got.gameStates > 0; }));
      bots_.Do(i, [](protocol::ProtocolClient& c) {
        c.State().room = BriefingRoom;
        c.SendState(true);
      });
    }
    int drawn = -1;
    for (int i = 1; i <= botCount; ++i) {
      if (!bots_.WaitFor(i, [](const Received& got) { return !got.roundStartSlots.empty(); })) {
        ADD_FAILURE() << "bot " << i << " saw no round start";
        return -1;
      }
      drawn = bots_.Got(i).roundStartSlots[0];
      bots_.Do(i, [](protocol::ProtocolClient& c) { c.EnterRoom(TagRoom); });
    }
    // The lounge has been told that the round runs.
    EXPECT_TRUE(bots_.WaitFor(1, [mode](const Received& got) {
      return std::any_of(got.heartbeats.begin(), got.heartbeats.end(),
                         [mode](const MsgHeartbeat& h) { return h.gameMode == mode && h.running == 1; });
    }));
    LetLook(game_, "running", {&alice_, &bob_});

    for (int i = 1; i <= botCount; ++i) {
      if (bots_.Slot(i) == drawn) {
        leaver_ = i;
        EXPECT_TRUE(bots_.Got(i).winners.empty()) << "the round ended before anybody left";
        bots_.Leave(i);
      }
    }
    if (leaver_ < 0) ADD_FAILURE() << "the server drew slot " << drawn << ", none of the players taking part";
    stayer_ = leaver_ == 1 ? 2 : 1;
    EXPECT_TRUE(bots_.WaitFor(stayer_, [](const Received& got) { return !got.winners.empty(); }))
        << "the round nobody can win any more never ended";
    game_.Release("decided");
    game_.Finish(60);
    for (const Player* p : {&alice_, &bob_}) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;
    return drawn;
  }

  // What a player taking part who stayed was told.
  Received Stayer() { return bots_.Got(stayer_); }

  // While the round ran the lounge showed it could not be joined, and the chooser was hidden;
  // then it ended with no winner.
  void ExpectTheLoungeWaitedAndThenNobodyWon() {
    for (const Player* p : {&alice_, &bob_}) {
      Shot running = ShotOf(*p, "running");
      EXPECT_TRUE(BannerShown(running, "Game has", "Already Started")) << p->name;
      EXPECT_TRUE(BannerCallShown(running, "Wait for game End")) << p->name;
      EXPECT_FALSE(ChooserShown(running)) << p->name;
    }
    ExpectEndedWithNoWinner(alice_, bob_);
  }

 private:
  OnlineGame game_;
  ProtocolPlayers bots_;
  Player& alice_ = game_.AddJoiner("Alice", AliceCast.skin);
  Player& bob_ = game_.AddJoiner("Bob", BobCast.skin);
  Script alicePlay_ = game_.PlayOf(alice_), bobPlay_ = game_.PlayOf(bob_);
  int leaver_ = -1, stayer_ = 1;
};

TEST_F(ServerRounds, AChaseRoundWhoseOneToCatchLeavesEndsWithNoWinner) {
  LoungeWatchesARound round;
  const int target = round.Play(Vk::F4, Vk::F3, 32, 3);  // "British Bulldog": two chase the third
  ASSERT_GE(target, 0);
  const Received stayer = round.Stayer();
  EXPECT_EQ(stayer.winners, std::vector<std::string>{"no winner"});
  EXPECT_EQ(std::count(stayer.leaves.begin(), stayer.leaves.end(), target), 1);
  round.ExpectTheLoungeWaitedAndThenNobodyWon();
}

TEST_F(ServerRounds, ATagRoundWhoseTaggedPlayerLeavesEndsWithNoWinner) {
  LoungeWatchesARound round;
  const int tagged = round.Play(Vk::F4, Vk::F1, 30, 4);  // "Gorbo Tag": one tagged, three not
  ASSERT_GE(tagged, 0);
  const Received stayer = round.Stayer();
  EXPECT_EQ(stayer.winners, std::vector<std::string>{"no winner"}) << "three untagged players and nobody to tag them";
  EXPECT_TRUE(stayer.tagged.empty()) << "nobody was tagged after the start";
  round.ExpectTheLoungeWaitedAndThenNobodyWon();
}

TEST_F(ServerRounds, TheAdministratorsResetSendsEveryPlayerBackToTheLounge) {
  OnlineGame game;
  ASSERT_TRUE(game.StartServer(SettingsText({"N", "Rounds", ""})));
  ProtocolPlayers bots(game.Port());
  Player& alice = game.AddJoiner("Alice", AliceCast.skin);
  Player& bob = game.AddJoiner("Bob", BobCast.skin);
  Script alicePlay = game.PlayOf(alice), bobPlay = game.PlayOf(bob);
  Script* plays[] = {&alicePlay, &bobPlay};
  // F1 from a second after the choice on: the banner is shown by then, so the administrator's
  // F1 joins the game rather than pick a page of the chooser.
  const auto joinAnnounced = [&](double t) {
    for (Script* s : plays) s->KeyEvery(t, t + 2.5, 0.5, Vk::F1);
  };
  // 1. Alice chooses "Collect 30"; both go to the briefing room, where Alice presses Escape.
  constexpr double Joined = 3.0, Pick = 4.0, Briefing = Pick + 4.0, Reset1 = Briefing + 1.0;
  // 2. Alice goes back to the chooser's groups (it opens at the page last used) and chooses a
  // 5-minute timed game; both join; in the round Alice presses Escape.
  constexpr double Pick2 = Reset1 + 2.5, Start2 = Pick2 + 10.8, Reset2 = Start2 + 3.0;
  // 3. Alice chooses a 20-minute timed game; both join it.
  constexpr double Pick3 = Reset2 + 2.5, Start3 = Pick3 + 10.8, Reset3 = Start3 + 3.0;
  for (Script* s : plays) {
    s->Sync(Joined, "joined").Sync(Pick - 0.4, "pick").Shot(Briefing, "briefing").Sync(Reset1, "reset1");
    s->Shot(Reset1 + 1.0, "after1").Sync(Start2, "start2").Shot(Start2 + 1.5, "timed5").Sync(Reset2, "reset2");
    s->Shot(Reset2 + 1.0, "after2").Sync(Start3, "start3").Shot(Start3 + 1.5, "timed20").Sync(Reset3, "reset3");
  }
  alicePlay.Key(Pick, Vk::F1).Key(Pick + 0.3, Vk::F1);
  joinAnnounced(Pick + 1.2);
  alicePlay.Key(Briefing + 0.5, Vk::Escape);
  alicePlay.Key(Pick2 - 0.3, Vk::F10).Key(Pick2, Vk::F2).Key(Pick2 + 0.3, Vk::F1);
  joinAnnounced(Pick2 + 1.2);
  alicePlay.Key(Start2 + 2.5, Vk::Escape);
  alicePlay.Key(Pick3 - 0.3, Vk::F10).Key(Pick3, Vk::F2).Key(Pick3 + 0.3, Vk::F4);
  joinAnnounced(Pick3 + 1.2);
  alicePlay.Key(Start3 + 2.5, Vk::Escape);
  // Everybody is in the lounge again: they leave.
  alicePlay.Key(Reset3 + 0.5, Vk::Escape).Key(Reset3 + 2.5, Vk::F10);
  bobPlay.Key(Reset3 + 1.0, Vk::Escape).Key(Reset3 + 3.0, Vk::F10);

  game.StartJoiner(alice, alicePlay);
  game.StartJoiner(bob, bobPlay, 1.0);
  ASSERT_TRUE(game.Go());
  game.Release("joined");
  ASSERT_TRUE(bots.Connect(Watcher));
  game.Release("pick");
  const auto resets = [](int n) { return [n](const Received& got) { return got.resets >= n; }; };
  const auto roundStarts = [](int n) { return [n](const Received& got) { return got.roundStarts >= n; }; };
  EXPECT_TRUE(bots.WaitFor(Watcher, resets(1))) << "the reset in the briefing room reached nobody";
  game.Release("reset1");
  EXPECT_TRUE(bots.WaitFor(Watcher, roundStarts(1)));
  game.Release("start2");
  EXPECT_TRUE(bots.WaitFor(Watcher, resets(2))) << "the reset in a running round reached nobody";
  game.Release("reset2");
  EXPECT_TRUE(bots.WaitFor(Watcher, roundStarts(2)));
  game.Release("start3");
  EXPECT_TRUE(bots.WaitFor(Watcher, resets(3)));
  game.Release("reset3");
  game.Finish(60);
  for (const Player* p : {&alice, &bob}) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;

  const Received watched = bots.Got(Watcher);
  EXPECT_EQ(watched.resets, 3);
  EXPECT_EQ(watched.roundStarts, 2) << "the collect round, ended in its count-down, never started";
  EXPECT_TRUE(watched.winners.empty());
  for (const Player* p : {&alice, &bob}) {
    const bool administrator = p == &alice;
    EXPECT_TRUE(InRoom(ShotOf(*p, "briefing"), BriefingRoom)) << p->name;
    for (const char* after : {"after1", "after2"}) {
      Shot lounge = ShotOf(*p, after);
      EXPECT_TRUE(InRoom(lounge, LoungeRoom)) << p->name << ", " << after;
      EXPECT_EQ(ChooserShown(lounge), administrator) << p->name << ", " << after;
      EXPECT_EQ(NoGameShown(lounge), !administrator) << p->name << ", " << after;
    }
    // Each timed round runs by its own clock on every screen, the second one too.
    Shot timed5 = ShotOf(*p, "timed5"), timed20 = ShotOf(*p, "timed20");
    EXPECT_TRUE(InRoom(timed5, SinglePlayerRoom)) << p->name;
    EXPECT_EQ(ClockMinutes(timed5), 4) << p->name;
    EXPECT_TRUE(InRoom(timed20, SinglePlayerRoom)) << p->name;
    EXPECT_EQ(ClockMinutes(timed20), 19) << p->name;
  }
}

// A player's team stays with the player: the newcomer given a freed slot is not scored for the
// team its last player was in. The newcomer is a protocol player that takes its pickups in far
// rooms at once (collecting 30 takes a real player minutes); unlike a real client it does not
// tell the server a team when it enters the lounge, so nothing but the server's own record
// decides which team its pickups count for.
TEST_F(ServerRounds, ANewcomerGivenAFreedSlotIsNotScoredForTheTeamOfItsLastPlayer) {
  OnlineGame game;
  ASSERT_TRUE(game.StartServer(SettingsText({"N", "Rounds", ""})));
  ProtocolPlayers bots(game.Port());
  constexpr int Bluey = 1, Newby = 2;
  constexpr int TeamTarget = 30;  // "TEAM collect", "Collect 30"
  const std::vector<PickupFact> far = FarPickups(2 * TeamTarget);
  ASSERT_TRUE(std::all_of(far.begin(), far.end(), [](const PickupFact& p) { return p.room >= 100; }));
  Player& alice = game.AddJoiner("Alice", AliceCast.skin);
  Script alicePlay = game.PlayOf(alice);
  // Alice chooses "TEAM collect" (mode 60) and stays in the lounge. A protocol player joins
  // the round, goes blue and quits the game; the newcomer is given its slot, joins the round
  // and takes 30 pickups in no team, then goes red and takes 30 more.
  constexpr double Joined = 3.0, Pick = 4.0, Blue = Pick + 11.0, NewbyIn = Blue + 2.0, Won = NewbyIn + 2.0;
  alicePlay.Sync(Joined, "joined").Sync(Pick - 0.4, "pick");
  LookWhenLetGo(alicePlay, Blue, "blue");
  LookWhenLetGo(alicePlay, NewbyIn, "newby");
  alicePlay.Sync(Won, "won");
  ShootStatusLine(alicePlay, Won + 1.0, "won");
  alicePlay.Key(Pick, Vk::F7).Key(Pick + 0.3, Vk::F1).Key(Won + 3.0, Vk::Escape).Key(Won + 5.0, Vk::F10);
  game.StartJoiner(alice, alicePlay);
  ASSERT_TRUE(game.Go());
  game.Release("joined");
  ASSERT_TRUE(bots.Connect(Bluey, "Bluey"));
  const int slot = bots.Slot(Bluey);
  game.Release("pick");

  // Joining the announced round as a client does: into the team room, out on a side at the start.
  const auto takePart = [&](int i) {
    EXPECT_TRUE(bots.WaitFor(i, [](const Received& got) { return !got.heartbeats.empty() || !got.gameModes.empty(); }));
    bots.Do(i, [](protocol::ProtocolClient& c) { c.Send(MsgGameStateRequest{}); });
    EXPECT_TRUE(bots.WaitFor(i, [](const Received& got) { return got.gameStates > 0; }));
    bots.Do(i, [](protocol::ProtocolClient& c) {
      c.State().room = TeamRoom;
      c.SendState(true);
    });
  };
  takePart(Bluey);
  EXPECT_TRUE(bots.WaitFor(Bluey, [](const Received& got) { return got.roundStarts > 0; }));
  bots.Do(Bluey, [](protocol::ProtocolClient& c) { c.Send(MsgJoinBlue{.slot = c.Slot()}); });
  EXPECT_TRUE(bots.WaitFor(Bluey, [slot](const Received& got) {
    return std::count(got.joinedBlue.begin(), got.joinedBlue.end(), slot) > 0;
  }));
  LetLook(game, "blue", {&alice});
  bots.Leave(Bluey);

  ASSERT_TRUE(bots.Connect(Newby, "Newby"));
  ASSERT_EQ(bots.Slot(Newby), slot) << "the newcomer is given the freed slot";
  takePart(Newby);
  LetLook(game, "newby", {&alice});
  const auto collect = [&](size_t from, size_t to) {
    bots.Do(Newby, [&](protocol::ProtocolClient& c) {
      for (size_t k = from; k < to; ++k) {
        c.State().room = far[k].room;
        c.State().score += 1;
        c.MoveTo(far[k].x, far[k].y + PlayfieldTop - 16);
        c.TakePickup(far[k].room, far[k].index);
      }
      c.Send(MsgGameModeRequest{.slot = c.Slot()});  // answered once the pickups are counted
    });
  };
  const auto answers = [](size_t n) { return [n](const Received& got) { return got.gameModes.size() >= n; }; };
  const size_t announced = bots.Got(Newby).gameModes.size();
  collect(0, TeamTarget);
  EXPECT_TRUE(bots.WaitFor(Newby, answers(announced + 1)));
  EXPECT_TRUE(bots.Got(Newby).winners.empty()) << "the newcomer's pickups were counted for the team it never chose";
  bots.Do(Newby, [](protocol::ProtocolClient& c) { c.Send(MsgJoinRed{.slot = c.Slot()}); });
  collect(TeamTarget, 2 * TeamTarget);
  EXPECT_TRUE(bots.WaitFor(Newby, [](const Received& got) { return !got.winners.empty(); }));
  game.Release("won");
  game.Finish(60);
  EXPECT_EQ(alice.run.exitCode, 0) << alice.run.errors;

  const Received newby = bots.Got(Newby);
  EXPECT_EQ(newby.winners, std::vector<std::string>{"** RED WIN **"});
  ASSERT_FALSE(newby.teamTables.empty());
  const std::vector<TeamTableEntry> told = {{AliceCast.slot, 0}, {slot, 0}};
  EXPECT_EQ(newby.teamTables[0].entries, told) << "the newcomer is told it plays in no team";

  // Alice saw the player go blue, the newcomer in its slot's own colour, and red win.
  EXPECT_TRUE(ListedPlayer(ShotOf(alice, "blue"), Name8("Bluey"), BlueTeam, false));
  Shot newbyIn = ShotOf(alice, "newby");
  EXPECT_TRUE(ListedPlayer(newbyIn, Name8("Newby"), SlotColour(slot), false));
  EXPECT_FALSE(ListedPlayer(newbyIn, Name8("Newby"), BlueTeam, false));
  EXPECT_TRUE(StatusShown(StatusLineShots(alice, "won"), "** RED WIN **", true));
}

}  // namespace
