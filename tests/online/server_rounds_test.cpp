// Rounds on the real dedicated server ("qxr-server /AUTO") with real clients ("qxr /autojoin"):
// a tag or chase round that nobody can win any more ends with no winner and gives the
// administrator the chooser back (also a player made administrator later); the administrator's
// reset sends every player back to the lounge; a newcomer given a freed slot plays in no team.
// Which player the server draws for a tag or chase round is chance, so the players taking part
// in those rounds are protocol players run by the test; the real clients watch from the lounge.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

std::string Name8(const std::string& name) { return AlignText(name, 8, "C"); }

// A protocol player without a name connects first and takes slot 0: it takes no part, is never
// made administrator, and is sent what every player is sent. The real clients come after it,
// one by one, so Alice (slot 1) is the administrator and Bob has slot 2.
constexpr int Watcher = 0;
constexpr int AliceSlot = 1, BobSlot = 2;
constexpr int AliceSkin = 3, BobSkin = 7, DaveSkin = 12;
constexpr int TagRoom = 27;
const std::string AdministratorLine = "<<<            YOU ARE THE GAME ADMINISTRATOR                 >>>";
const std::string NoWinnerLine = "Last winner was *no winner*";

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

// A screenshot taken a while after the test lets the program go on from the sync point name;
// the program then holds again until every program holding there has taken its own (LetLook),
// so that what one of them does next cannot show on the screenshot of another.
void LookWhenLetGo(Script& play, double t, const std::string& name, double after = 1.0) {
  play.Sync(t, name).Shot(t + after, name).Sync(t + after + 0.2, name + "-taken");
}
void LetLook(OnlineGame& game, const std::string& name, const std::vector<const Player*>& holders) {
  game.Release(name, holders);
  game.Release(name + "-taken", holders);
}

// What a player was told.
std::function<bool(const Received&)> ToldOfMode(int mode) {
  return [mode](const Received& got) {
    return std::any_of(got.gameModes.begin(), got.gameModes.end(), [mode](const MsgGameMode& m) { return m.gameMode == mode; }) ||
           std::any_of(got.heartbeats.begin(), got.heartbeats.end(), [mode](const MsgHeartbeat& h) { return h.gameMode == mode; });
  };
}
std::function<bool(const Received&)> ToldRunning(int mode) {
  return [mode](const Received& got) {
    return std::any_of(got.heartbeats.begin(), got.heartbeats.end(),
                       [mode](const MsgHeartbeat& h) { return h.gameMode == mode && h.running == 1; });
  };
}
std::function<bool(const Received&)> Named(int slot, const std::string& name) {
  return [slot, name8 = Name8(name)](const Received& got) { return got.names[slot] == name8; };
}
std::function<bool(const Received&)> HasLeft(int slot) {
  return [slot](const Received& got) { return std::count(got.leaves.begin(), got.leaves.end(), slot) > 0; };
}
std::function<bool(const Received&)> WinnerTold() {
  return [](const Received& got) { return !got.winners.empty(); };
}
// Every slot in slots is in room, as the server's states broadcast tells.
std::function<bool(const Received&)> AllIn(std::vector<int> slots, int room) {
  return [slots, room](const Received& got) {
    return std::all_of(slots.begin(), slots.end(), [&](int slot) { return got.lastState[slot].room == room; });
  };
}

// A protocol player joins the announced round as a client does: it asks to, goes to the
// briefing room (or the team room) and says so.
void TakePart(ProtocolPlayers& bots, int i, int mode, int room) {
  EXPECT_TRUE(bots.WaitFor(i, ToldOfMode(mode))) << "player " << i << " was not told of the game";
  bots.Do(i, [](protocol::ProtocolClient& c) { c.Send(MsgGameStateRequest{}); });
  EXPECT_TRUE(bots.WaitFor(i, [](const Received& got) { return got.gameStates > 0; }));
  bots.Do(i, [room](protocol::ProtocolClient& c) {
    c.State().room = room;
    c.SendState(true);
  });
}

// The dedicated server, its watcher, and the real clients that join at the start.
class ServerGame {
 public:
  ServerGame() : bots(game.Port()) {}

  Player& AddClient(const std::string& name, int skin) {
    Player& p = game.AddJoiner(name, skin);
    clients_.push_back(&p);
    return p;
  }

  // Starts the server, lets the watcher in, and starts the clients with their plays, which
  // first hold at "joined" (at tick 3): each client after the first stays on the title screen
  // until the one before it has joined. False when the play broke down.
  bool Start(std::vector<Script*> plays) {
    if (!game.StartServer(SettingsText({"N", "Rounds", ""}))) return false;
    if (!bots.Connect(Watcher)) {
      ADD_FAILURE() << "the watcher was not let in";
      return false;
    }
    for (size_t k = 0; k < clients_.size(); ++k) {
      plays[k]->Sync(3.0, "joined");
      if (k == 0) {
        game.StartJoiner(*clients_[k], *plays[k]);
      } else {
        plays[k]->Sync(0.2, "in-" + clients_[k]->name);  // before it leaves the title
        game.StartJoiner(*clients_[k], *plays[k], 0.3);
      }
    }
    if (!game.Go()) return false;
    for (size_t k = 0; k < clients_.size(); ++k) {
      if (!bots.WaitFor(Watcher, Named(AliceSlot + static_cast<int>(k), clients_[k]->name))) {
        ADD_FAILURE() << clients_[k]->name << " did not join in slot " << AliceSlot + k;
        return false;
      }
      if (k + 1 < clients_.size()) game.Release("in-" + clients_[k + 1]->name, {clients_[k + 1]});
    }
    game.Release("joined");
    return true;
  }

  OnlineGame game;
  ProtocolPlayers bots;

 private:
  std::vector<Player*> clients_;
};

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
  ServerGame server;
  Player& alice = server.AddClient("Alice", AliceSkin);
  Player& bob = server.AddClient("Bob", BobSkin);
  Script alicePlay = server.game.PlayOf(alice), bobPlay = server.game.PlayOf(bob);
  // Alice chooses "British Bulldog" (mode 32); nobody joins it in the ten seconds of the
  // count-down. Once the round has come and gone, Alice leaves, then Bob, who was given the
  // role; then Dave comes into the empty game.
  constexpr double Pick = 4.0, Announced = Pick + 1.0, Over = Pick + 10.8;
  constexpr double AliceLeaves = Over + 3.0, AliceGone = AliceLeaves + 1.0, BobLeaves = AliceGone + 2.0;
  for (Script* s : {&alicePlay, &bobPlay}) {
    s->Sync(Pick - 0.4, "pick");
    LookWhenLetGo(*s, Announced, "announced");
    s->Sync(Over, "over");
    ShootStatusLine(*s, Over + 1.0, "ended");
    s->Shot(Over + 2.0, "lounge").Sync(Over + 2.2, "over-taken");
  }
  alicePlay.Key(Pick, Vk::F4).Key(Pick + 0.3, Vk::F3);
  alicePlay.Key(AliceLeaves, Vk::Escape).Key(AliceLeaves + 2.0, Vk::F10);
  bobPlay.Sync(AliceGone, "alice-gone").Shot(AliceGone + 1.0, "administrator");
  bobPlay.Key(BobLeaves, Vk::Escape).Key(BobLeaves + 2.0, Vk::F10);

  OnlineGame& game = server.game;
  ProtocolPlayers& bots = server.bots;
  ASSERT_TRUE(server.Start({&alicePlay, &bobPlay}));
  game.Release("pick");
  EXPECT_TRUE(bots.WaitFor(Watcher, ToldOfMode(32)));
  LetLook(game, "announced", {&alice, &bob});
  EXPECT_TRUE(bots.WaitFor(Watcher, WinnerTold())) << "the round that nobody can win never ended";
  LetLook(game, "over", {&alice, &bob});
  EXPECT_TRUE(bots.WaitFor(Watcher, HasLeft(AliceSlot)));
  game.Release("alice-gone", {&bob});
  EXPECT_TRUE(bots.WaitFor(Watcher, HasLeft(BobSlot)));

  Player& dave = game.AddJoiner("Dave", DaveSkin);
  Script davePlay = game.PlayOf(dave);
  davePlay.Sync(2.5, "dave-in").Shot(3.5, "administrator").Key(4.5, Vk::Escape).Key(6.5, Vk::F10);
  game.StartJoiner(dave, davePlay);
  EXPECT_TRUE(bots.WaitFor(Watcher, Named(AliceSlot, "Dave"))) << "Dave is given the first free slot";
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

// Alice (the administrator) and Bob wait in the lounge; protocol players 1..n take part in the
// round Alice chooses, and the one the server draws leaves while the round runs.
class LoungeWatchesARound {
 public:
  // Plays it: Alice picks the mode with the two keys; botCount protocol players join the round.
  // Returns the slot the server drew at the round start (-1 when the play broke down).
  int Play(int pageKey, int itemKey, int mode, int botCount) {
    constexpr double Pick = 4.0, Running = Pick + 11.0, Decided = Running + 1.5;
    for (Script* s : {&alicePlay_, &bobPlay_}) {
      s->Sync(Pick - 0.4, "pick");
      LookWhenLetGo(*s, Running, "running");
      s->Sync(Decided, "decided");
      ShootStatusLine(*s, Decided + 1.0, "ended");
      s->Shot(Decided + 2.0, "lounge").Sync(Decided + 2.2, "decided-taken");
    }
    alicePlay_.Key(Pick, pageKey).Key(Pick + 0.3, itemKey);
    alicePlay_.Key(Decided + 3.0, Vk::Escape).Key(Decided + 5.0, Vk::F10);
    bobPlay_.Key(Decided + 3.5, Vk::Escape).Key(Decided + 5.5, Vk::F10);
    if (!server_.Start({&alicePlay_, &bobPlay_})) return -1;
    for (int i = 1; i <= botCount; ++i) {
      if (!bots_.Connect(i, "Bot" + std::to_string(i))) {
        ADD_FAILURE() << "player " << i << " was not let in";
        return -1;
      }
    }
    game_.Release("pick");

    // They go to the briefing room in the count-down and into the tag room at the start.
    for (int i = 1; i <= botCount; ++i) TakePart(bots_, i, mode, BriefingRoom);
    int drawn = -1;
    for (int i = 1; i <= botCount; ++i) {
      if (!bots_.WaitFor(i, [](const Received& got) { return !got.roundStartSlots.empty(); })) {
        ADD_FAILURE() << "player " << i << " saw no round start";
        return -1;
      }
      drawn = bots_.Got(i).roundStartSlots[0];
      bots_.Do(i, [](protocol::ProtocolClient& c) { c.EnterRoom(TagRoom); });
    }
    // The lounge has been told that the round runs.
    if (!bots_.WaitFor(Watcher, ToldRunning(mode))) {
      ADD_FAILURE() << "nobody was told that the round runs";
      return -1;
    }
    LetLook(game_, "running", {&alice_, &bob_});

    for (int i = 1; i <= botCount; ++i) {
      if (bots_.Slot(i) != drawn) continue;
      leaver_ = i;
      EXPECT_TRUE(bots_.Got(Watcher).winners.empty()) << "the round ended before anybody left";
      bots_.Leave(i);
    }
    if (leaver_ < 0) {
      ADD_FAILURE() << "the server drew slot " << drawn << ", none of the players taking part";
      return -1;
    }
    stayer_ = leaver_ == 1 ? 2 : 1;
    EXPECT_TRUE(bots_.WaitFor(stayer_, WinnerTold())) << "the round nobody can win any more never ended";
    LetLook(game_, "decided", {&alice_, &bob_});
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
  ServerGame server_;
  OnlineGame& game_ = server_.game;
  ProtocolPlayers& bots_ = server_.bots;
  Player& alice_ = server_.AddClient("Alice", AliceSkin);
  Player& bob_ = server_.AddClient("Bob", BobSkin);
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
  ServerGame server;
  Player& alice = server.AddClient("Alice", AliceSkin);
  Player& bob = server.AddClient("Bob", BobSkin);
  Script alicePlay = server.game.PlayOf(alice), bobPlay = server.game.PlayOf(bob);
  Script* plays[] = {&alicePlay, &bobPlay};
  // F1 from a second after the choice on: the banner is shown by then, so the administrator's
  // F1 joins the game rather than pick a page of the chooser.
  const auto joinAnnounced = [&](double t, double until) {
    for (Script* s : plays) s->KeyEvery(t, until, 0.3, Vk::F1);
  };
  // 1. Alice chooses "Collect 30"; both go to the briefing room, where Alice presses Escape
  // early in the ten seconds of the count-down.
  constexpr double Pick = 4.0, Briefing = Pick + 2.6, Reset1 = Briefing + 1.5;
  // 2. Alice goes back to the chooser's groups (it opens at the page last used) and chooses a
  // 5-minute timed game; both join; in the round Alice presses Escape.
  constexpr double Pick2 = Reset1 + 2.5, Joined2 = Pick2 + 9.0, Start2 = Pick2 + 10.8, Reset2 = Start2 + 3.5;
  // 3. Alice chooses a 20-minute timed game; both join it.
  constexpr double Pick3 = Reset2 + 2.5, Joined3 = Pick3 + 9.0, Start3 = Pick3 + 10.8, Reset3 = Start3 + 3.5;
  // Before each round the test waits until both are in the briefing room.
  for (Script* s : plays) {
    s->Sync(Pick - 0.4, "pick");
    LookWhenLetGo(*s, Briefing, "briefing", 0.1);
    LookWhenLetGo(*s, Reset1, "reset1");
    s->Sync(Joined2, "joined2");
    LookWhenLetGo(*s, Start2, "start2", 1.5);
    LookWhenLetGo(*s, Reset2, "reset2");
    s->Sync(Joined3, "joined3");
    LookWhenLetGo(*s, Start3, "start3", 1.5);
    s->Sync(Reset3, "reset3");
  }
  alicePlay.Key(Pick, Vk::F1).Key(Pick + 0.3, Vk::F1);
  joinAnnounced(Pick + 1.2, Briefing - 0.2);
  alicePlay.Key(Briefing + 0.4, Vk::Escape);
  alicePlay.Key(Pick2 - 0.3, Vk::F10).Key(Pick2, Vk::F2).Key(Pick2 + 0.3, Vk::F1);
  joinAnnounced(Pick2 + 1.2, Pick2 + 3.7);
  alicePlay.Key(Start2 + 2.5, Vk::Escape);
  alicePlay.Key(Pick3 - 0.3, Vk::F10).Key(Pick3, Vk::F2).Key(Pick3 + 0.3, Vk::F4);
  joinAnnounced(Pick3 + 1.2, Pick3 + 3.7);
  alicePlay.Key(Start3 + 2.5, Vk::Escape);
  // Everybody is in the lounge again: they leave.
  alicePlay.Key(Reset3 + 0.5, Vk::Escape).Key(Reset3 + 2.5, Vk::F10);
  bobPlay.Key(Reset3 + 1.0, Vk::Escape).Key(Reset3 + 3.0, Vk::F10);

  OnlineGame& game = server.game;
  ProtocolPlayers& bots = server.bots;
  ASSERT_TRUE(server.Start({&alicePlay, &bobPlay}));
  game.Release("pick");
  const auto resets = [](int n) { return [n](const Received& got) { return got.resets >= n; }; };
  const auto roundStarts = [](int n) { return [n](const Received& got) { return got.roundStarts >= n; }; };
  const auto bothBriefed = AllIn({AliceSlot, BobSlot}, BriefingRoom);
  const auto bothInTheLounge = AllIn({AliceSlot, BobSlot}, LoungeRoom);
  EXPECT_TRUE(bots.WaitFor(Watcher, bothBriefed));
  LetLook(game, "briefing", {&alice, &bob});
  EXPECT_TRUE(bots.WaitFor(Watcher, resets(1))) << "the reset in the briefing room reached nobody";
  EXPECT_EQ(bots.Got(Watcher).roundStarts, 0) << "the reset was to come in the count-down";
  LetLook(game, "reset1", {&alice, &bob});
  EXPECT_TRUE(bots.WaitFor(Watcher, bothInTheLounge));
  EXPECT_TRUE(bots.WaitFor(Watcher, bothBriefed));
  game.Release("joined2");
  EXPECT_TRUE(bots.WaitFor(Watcher, roundStarts(1)));
  LetLook(game, "start2", {&alice, &bob});
  EXPECT_TRUE(bots.WaitFor(Watcher, resets(2))) << "the reset in a running round reached nobody";
  LetLook(game, "reset2", {&alice, &bob});
  EXPECT_TRUE(bots.WaitFor(Watcher, bothInTheLounge));
  EXPECT_TRUE(bots.WaitFor(Watcher, bothBriefed));
  game.Release("joined3");
  EXPECT_TRUE(bots.WaitFor(Watcher, roundStarts(2)));
  LetLook(game, "start3", {&alice, &bob});
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
    for (const char* after : {"reset1", "reset2"}) {
      Shot lounge = ShotOf(*p, after);
      EXPECT_TRUE(InRoom(lounge, LoungeRoom)) << p->name << ", " << after;
      EXPECT_EQ(ChooserShown(lounge), administrator) << p->name << ", " << after;
      EXPECT_EQ(NoGameShown(lounge), !administrator) << p->name << ", " << after;
    }
    // Each timed round runs by its own clock on every screen, the second one too.
    Shot timed5 = ShotOf(*p, "start2"), timed20 = ShotOf(*p, "start3");
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
  ServerGame server;
  Player& alice = server.AddClient("Alice", AliceSkin);
  Script alicePlay = server.game.PlayOf(alice);
  constexpr int Bluey = 1, Newby = 2;
  constexpr int TeamCollect = 60, TeamTarget = 30;  // "TEAM collect", "Collect 30"
  const std::vector<PickupFact> far = FarPickups(2 * TeamTarget);
  ASSERT_TRUE(std::all_of(far.begin(), far.end(), [](const PickupFact& p) { return p.room >= 100; }));
  // Alice chooses "TEAM collect" and stays in the lounge. A protocol player joins the round,
  // goes blue and quits the game; the newcomer is given its slot, joins the round and takes 30
  // pickups in no team, then goes red and takes 30 more.
  constexpr double Pick = 4.0, Blue = Pick + 11.0, NewbyIn = Blue + 2.0, Won = NewbyIn + 2.0;
  alicePlay.Sync(Pick - 0.4, "pick");
  LookWhenLetGo(alicePlay, Blue, "blue");
  LookWhenLetGo(alicePlay, NewbyIn, "newby");
  alicePlay.Sync(Won, "won");
  ShootStatusLine(alicePlay, Won + 1.0, "won");
  alicePlay.Key(Pick, Vk::F7).Key(Pick + 0.3, Vk::F1).Key(Won + 3.0, Vk::Escape).Key(Won + 5.0, Vk::F10);

  OnlineGame& game = server.game;
  ProtocolPlayers& bots = server.bots;
  ASSERT_TRUE(server.Start({&alicePlay}));
  ASSERT_TRUE(bots.Connect(Bluey, "Bluey"));
  const int slot = bots.Slot(Bluey);
  game.Release("pick");

  TakePart(bots, Bluey, TeamCollect, TeamRoom);
  EXPECT_TRUE(bots.WaitFor(Bluey, [](const Received& got) { return got.roundStarts > 0; }));
  bots.Do(Bluey, [](protocol::ProtocolClient& c) { c.Send(MsgJoinBlue{.slot = c.Slot()}); });
  EXPECT_TRUE(bots.WaitFor(Bluey, [slot](const Received& got) {
    return std::count(got.joinedBlue.begin(), got.joinedBlue.end(), slot) > 0;
  }));
  LetLook(game, "blue", {&alice});
  bots.Leave(Bluey);

  ASSERT_TRUE(bots.Connect(Newby, "Newby"));
  ASSERT_EQ(bots.Slot(Newby), slot) << "the newcomer is given the freed slot";
  TakePart(bots, Newby, TeamCollect, TeamRoom);
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
  EXPECT_TRUE(bots.WaitFor(Newby, WinnerTold()));
  game.Release("won");
  game.Finish(60);
  EXPECT_EQ(alice.run.exitCode, 0) << alice.run.errors;

  const Received newby = bots.Got(Newby);
  EXPECT_EQ(newby.winners, std::vector<std::string>{"** RED WIN **"});
  ASSERT_FALSE(newby.teamTables.empty());
  const std::vector<TeamTableEntry> told = {{AliceSlot, 0}, {slot, 0}};
  EXPECT_EQ(newby.teamTables[0].entries, told) << "the newcomer is told it plays in no team";

  // Alice saw the player go blue, the newcomer in its slot's own colour, and red win.
  EXPECT_TRUE(ListedPlayer(ShotOf(alice, "blue"), Name8("Bluey"), BlueTeam, false));
  Shot newbyIn = ShotOf(alice, "newby");
  EXPECT_TRUE(ListedPlayer(newbyIn, Name8("Newby"), SlotColour(slot), false));
  EXPECT_FALSE(ListedPlayer(newbyIn, Name8("Newby"), BlueTeam, false));
  EXPECT_TRUE(StatusShown(StatusLineShots(alice, "won"), "** RED WIN **", true));
}

}  // namespace
