// A game hosted by the real dedicated server on loopback: "qxr-server /AUTO" with its settings
// file registers with a stand-in game list, three real clients join it with "/autojoin" and see
// each other, chat, play a collect round chosen by the first of them (the game administrator)
// and leave, while the server's status line follows the count; SIGTERM then logs the game off
// and ends the server. Collecting 30 pickups takes a real player minutes of exact play, so the
// round is won by a fourth player run by the test, which claims it as a client does; the server
// judges the claim and every screen shows the winner.
#include <gtest/gtest.h>
#include <signal.h>

#include <sstream>
#include <string>
#include <vector>

#include "online_checks.h"
#include "online_game.h"
#include "round_checks.h"
#include "scripted_collector.h"
#include "world/records.h"
#include "world_facts.h"

namespace {

using namespace onlinetest;

// The server gives slots from 0 in the order of joining: Alice, the first, is the administrator.
const Cast AliceCast{" Alice  ", 0, 3}, BobCast{"  Bob   ", 1, 7}, CaraCast{"  Cara  ", 2, 12};
const std::vector<Cast> Everybody = {AliceCast, BobCast, CaraCast};
const std::string AdministratorLine = "<<<            YOU ARE THE GAME ADMINISTRATOR                 >>>";

// The times of the play, in seconds after the three clients were let go (they leave the title,
// and join, a second apart); the scripts stand still at each "until" point until the screens
// show what comes next depends on.
constexpr double Joined = 3.2, WalkApart = 3.6, WalkedInLounge = 5.6;
constexpr double ChatOpen = 5.8, ChatSent = 6.6, ChatSeen = 7.6;
constexpr double PickPage = 8.3, PickMode = 8.6;  // F1, F1: collect 30
constexpr double Announced = PickMode + 0.5, InBriefing = Announced + 3.0;
constexpr double InRoom32 = InBriefing + 1.0, BobWalks = InRoom32 + 1.0;
// Bob walks right until his screen shows the first pickup on his way taken.
constexpr double PickupGone = BobWalks + 1.0, StillGone = PickupGone + 1.2;
constexpr double Won = StillGone + 0.5, InLoungeAgain = Won + 0.5;
constexpr double CaraLeaves = InLoungeAgain + 0.3, CaraGone = CaraLeaves + 1.5;
constexpr double BobLeaves = CaraGone + 0.3, BobGone = BobLeaves + 1.5, AliceLeaves = BobGone + 0.3;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class OnlineDedicatedServer : public ::testing::Test {
 protected:
  void SetUp() override { PreparePictures(); }
};

TEST_F(OnlineDedicatedServer, ThreeClientsJoinChatPlayARoundChosenByTheAdministratorAndLeave) {
  clienttest::StandInHttpService gameList(clienttest::GameListAnswers);
  OnlineGame game;
  game.UseWebServices(gameList.Host(), clienttest::UnreachableHost());
  ASSERT_TRUE(game.StartServer(SettingsText({"Y", "Loopback Game", ""})));

  Player& alice = game.AddJoiner("Alice", AliceCast.skin);
  Player& bob = game.AddJoiner("Bob", BobCast.skin);
  Player& cara = game.AddJoiner("Cara", CaraCast.skin);
  const std::vector<Player*> players = {&alice, &bob, &cara};
  Script alicePlay = game.PlayOf(alice), bobPlay = game.PlayOf(bob), caraPlay = game.PlayOf(cara);
  Script* plays[] = {&alicePlay, &bobPlay, &caraPlay};
  const std::string chatLine = BobCast.name8 + ":Hello & good luck";
  // All wait until everybody is in the lounge; Bob and Cara walk apart (so that the name tags
  // stand free) and all wait until every screen shows them where they stopped; Bob chats.
  for (Script* s : plays) s->Until(Joined, "lounge").Until(WalkedInLounge, "walked").Until(ChatSeen, "chat");
  bobPlay.Hold(WalkApart, Vk::Right).Release(WalkApart + 0.8, Vk::Right);
  caraPlay.Hold(WalkApart, Vk::Right).Release(WalkApart + 1.6, Vk::Right);
  bobPlay.Key(ChatOpen, Vk::Y).Type(ChatOpen + 0.3, "Hello & good luck").Key(ChatSent, Vk::Enter);
  // The administrator chooses "Collect 30"; once it is announced everybody, the administrator
  // too, joins it with F1; the count-down is watched in the briefing room; the round starts
  // in room 32.
  for (Script* s : plays) s->Sync(PickPage - 0.3, "pick").Until(Announced, "announced");
  alicePlay.Key(PickPage, Vk::F1).Key(PickMode, Vk::F1);
  for (Script* s : plays) s->KeyEvery(Announced + 0.2, Announced + 2.7, 0.5, Vk::F1).Until(InBriefing, "countdown");
  for (Script* s : plays) s->Until(InRoom32, "room32");
  // Bob walks right through room 32 until his screen shows the first pickup on his way taken;
  // Alice and Cara wait until it is gone from theirs.
  for (Script* s : plays) s->Sync(BobWalks - 0.3, "walk");
  bobPlay.Hold(BobWalks, Vk::Right).Until(BobWalks + 0.5, "bobtook").Release(BobWalks + 0.6, Vk::Right);
  for (Script* s : {&alicePlay, &caraPlay}) s->Until(PickupGone, "taken").Shot(StillGone, "taken2");
  // The fourth player wins; everybody is back in the lounge, shown the winner; then they leave
  // one by one (Escape in the lounge, then F10 in the menu ends the program).
  for (Script* s : plays) s->Sync(Won - 0.3, "won").Until(Won, "winner").Until(InLoungeAgain, "lounge2");
  caraPlay.Key(CaraLeaves, Vk::Escape).Key(CaraLeaves + 2, Vk::F10);
  for (Script* s : {&alicePlay, &bobPlay}) s->Until(CaraGone, "left1");
  bobPlay.Key(BobLeaves, Vk::Escape).Key(BobLeaves + 2, Vk::F10);
  alicePlay.Until(BobGone, "left2").Key(AliceLeaves, Vk::Escape).Key(AliceLeaves + 2, Vk::F10);

  ScriptedCollector fourth(game.Port(), "Botty");
  game.StartJoiner(alice, alicePlay);
  game.StartJoiner(bob, bobPlay, 1.0);
  game.StartJoiner(cara, caraPlay, 2.0);
  EXPECT_TRUE(game.Go());
  game.AwaitScreens("lounge", players, [&](const Player& p, const Shot& screen) {
    return EverybodyInTheLounge(screen, Everybody) &&
           (&p == &alice ? ChatLineShowing(screen, AdministratorLine, White, true) >= 0
                         : BigTextAt(screen, "No game started ", 128, 224, {0, 255, 255}));
  });
  fourth.LetIn();
  AwaitTheWayToRoom32(game, players, Everybody, chatLine, BobCast);
  game.Release("walk");
  const PickupFact firstOnTheWay = FirstPickupOfRoom32();
  game.AwaitScreens("bobtook", {&bob}, [&](const Player&, const Shot& screen) { return !PickupShown(screen, firstOnTheWay); });
  game.AwaitScreens("taken", {&alice, &cara}, [&](const Player&, const Shot& screen) { return !PickupShown(screen, firstOnTheWay); });
  AwaitTheWinAndTheLeaving(game, players, Everybody, fourth, " Botty  ", CaraCast, BobCast);
  game.Finish(120);
  fourth.Finish();
  EXPECT_EQ(fourth.Slot(), 3);
  EXPECT_TRUE(fourth.SawRoundStart());
  EXPECT_EQ(fourth.Winner(), " Botty  ") << "the server did not announce the fourth player's win";
  for (Player* p : players) EXPECT_EQ(p->run.exitCode, 0) << p->name << ":\n" << p->run.errors;

  // ---- The server: its status line followed the count, one line per change; SIGTERM logs
  // the game off and ends it; its chat log keeps only its banner.
  servertest::ServerProcess& server = game.Server();
  EXPECT_TRUE(server.WaitForOutput("Players Online 1\nPlayers Online 0\n", 60000)) << server.Output();
  const std::vector<std::string> counts = {"0", "1", "2", "3", "4", "3", "2", "1", "0"};
  std::vector<std::string> expected;
  for (const std::string& n : counts) expected.push_back("Players Online " + n);
  EXPECT_EQ(Lines(server.Output()), expected);
  server.Signal(SIGTERM);
  EXPECT_EQ(server.WaitExit(), 0) << server.Errors();
  const std::vector<std::string> requests = gameList.Paths();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].rfind("/newServer.php?password=N&description=Loopback%20Game&", 0), 0u) << requests[0];
  EXPECT_EQ(requests[1], "/logoff.php");
  const std::string serverChat = ReadText(game.ServerFile("Chat.txt"));
  EXPECT_EQ(serverChat.rfind("Zarnaby Online Chat Log. Created ", 0), 0u) << serverChat;
  EXPECT_EQ(Lines(serverChat).size(), 1u) << serverChat;

  // ---- The lounge: everybody sees everybody at the slot places, then where they walked;
  // only Alice is told she is the administrator, and only she has the chooser, the others no
  // game yet.
  ExpectEverybodyInTheLounge(players, Everybody, "lounge");
  for (Player* p : players) {
    Shot lounge = ShotOf(*p, "lounge");
    const bool administrator = p == &alice;
    EXPECT_EQ(ChatLineShowing(lounge, AdministratorLine, White, true) >= 0, administrator) << p->name;
    EXPECT_EQ(BigTextAt(lounge, "F1... Collect X items", 85, 194, {0, 255, 0}), administrator) << p->name;
    EXPECT_EQ(BigTextAt(lounge, "No game started ", 128, 224, {0, 255, 255}), !administrator) << p->name;
  }
  ExpectHeroesWhereTheyWalked(players, Everybody, "walked");

  // ---- Bob's line, relayed by the server to every screen and every chat log.
  ExpectChatLineEverywhere(players, chatLine, BobCast, "chat");

  // ---- The administrator's choice, announced to all in the lounge; the count-down in the
  // briefing room; the round starts in room 32 for all.
  for (Player* p : players) {
    Shot announced = ShotOf(*p, "announced");
    EXPECT_TRUE(BigTextAt(announced, "        First to collect        ", 2, 216, {0, 255, 0})) << p->name;
    EXPECT_TRUE(BigTextAt(announced, "        30 pickups wins         ", 2, 232, {0, 255, 0})) << p->name;
  }
  ExpectCountDown(players, "briefing1", "briefing2", fourth.RoundStartedAt());
  ExpectRoundStartInRoom32(players, Everybody, "room32");
  // The server forwards the pickup Bob took: Alice and Cara stop seeing it.
  for (Player* p : {&alice, &cara}) {
    EXPECT_FALSE(PickupShown(ShotOf(*p, "taken"), firstOnTheWay)) << p->name;
    EXPECT_FALSE(PickupShown(ShotOf(*p, "taken2"), firstOnTheWay)) << p->name;
  }

  // ---- The round won: every screen is back in the lounge and shows the winner.
  ExpectWinnerShown(players, " Botty  ", "winner");

  // ---- They leave one by one.
  for (Player* p : {&alice, &bob}) ExpectLeft(*p, CaraCast, "lounge2", "left1", p == &alice);
  EXPECT_GE(ChatLineShowing(ShotOf(alice, "left2"), BobCast.name8 + " just left the game", White, true), 0);
}

}  // namespace
