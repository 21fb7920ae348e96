// What every screen of three players in a collect round shows, checked the same way whoever
// hosts the game (a hosting client or the dedicated server): everybody in the lounge, the
// heroes where they walked, a chat line, the count-down, the start in room 32, the winner and
// a player who left. The players are given in slot order; slot 0 has the game chooser (the
// hosting player, or the administrator on a server), which covers the name tags' row.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "online_checks.h"
#include "online_game.h"
#include "scripted_collector.h"
#include "world/records.h"
#include "world_facts.h"

namespace onlinetest {

// A player as every screen shows it.
struct Cast {
  std::string name8;  // the name centred in 8 characters
  int slot, skin;
};

inline Shot ShotOf(const Player& p, const std::string& name) { return Shot(p.File(name + ".png")); }

inline bool InRoom(const Shot& shot, int room) { return BigTextAt(shot, playtest::Title(room), 0, 405, {255, 255, 0}); }

// A screen of the lounge showing every hero at its slot's place and every name in the list.
inline bool EverybodyInTheLounge(const Shot& screen, const std::vector<Cast>& cast) {
  if (!InRoom(screen, LoungeRoom)) return false;
  for (const Cast& c : cast)
    if (HeroSeen(screen, c.skin, SlotColour(c.slot), 32 * c.slot + 32, 352) <= 0.8 ||
        !ListedPlayer(screen, c.name8, SlotColour(c.slot), true))
      return false;
  return true;
}

// Every hero at its slot's place in the lounge, and every name in the lounge's list.
inline void ExpectEverybodyInTheLounge(const std::vector<Player*>& players, const std::vector<Cast>& cast,
                                       const std::string& shotName) {
  for (const Player* p : players) {
    Shot lounge = ShotOf(*p, shotName);
    ASSERT_TRUE(lounge.Loaded()) << p->name;
    EXPECT_TRUE(InRoom(lounge, LoungeRoom)) << p->name;
    for (const Cast& c : cast) {
      EXPECT_GT(HeroSeen(lounge, c.skin, SlotColour(c.slot), 32 * c.slot + 32, 352), 0.8) << p->name << " sees " << c.name8;
      EXPECT_TRUE(ListedPlayer(lounge, c.name8, SlotColour(c.slot), true)) << p->name << " lists " << c.name8;
    }
  }
}

// The screen of player p shows each walker's hero where the walker's own latest screen at the
// "until" point shows it (found by its name tag), right of its slot's place: every walk has come
// through to this screen. On slot 0's screen the chooser covers the tags: the heroes are looked
// for at those places.
inline bool WalkersShownWhereTheyStand(const std::vector<Player*>& players, const std::vector<Cast>& cast,
                                       const std::string& point, const Player& p, const Shot& screen) {
  for (const Cast& c : cast) {
    if (c.slot == 0) continue;  // stands still
    const std::vector<Place> own =
        HeroPlaces(Shot(players[c.slot]->File("until-" + point + ".png")), c.name8, c.skin, SlotColour(c.slot));
    if (own.size() != 1 || own[0].x <= 32 * c.slot + 32 + 30) return false;
    const bool seen = &p == players[0] ? HeroSeen(screen, c.skin, SlotColour(c.slot), own[0].x, own[0].y) > 0.8
                                       : HeroPlaces(screen, c.name8, c.skin, SlotColour(c.slot)) == own;
    if (!seen) return false;
  }
  return true;
}

// Each hero, found by its name tag where its own screen shows it, at that place on every
// screen; those of slots other than 0 have walked right from their slot's place.
inline void ExpectHeroesWhereTheyWalked(const std::vector<Player*>& players, const std::vector<Cast>& cast,
                                        const std::string& shotName) {
  for (const Cast& c : cast) {
    // Slot 0's own tag is partly under its chooser: its place is taken from slot 1's screen.
    const Player& shower = c.slot == 0 ? *players[1] : *players[c.slot];
    const std::vector<Place> own = HeroPlaces(ShotOf(shower, shotName), c.name8, c.skin, SlotColour(c.slot));
    ASSERT_EQ(own.size(), 1u) << c.name8 << " on its own screen";
    if (c.slot != 0) {
      EXPECT_GT(own[0].x, 32 * c.slot + 32 + 30) << c.name8 << " did not walk";
    }
    EXPECT_EQ(own[0].y, 352);
    for (const Player* p : players) {
      Shot walked = ShotOf(*p, shotName);
      EXPECT_GT(HeroSeen(walked, c.skin, SlotColour(c.slot), own[0].x, own[0].y), 0.8)
          << p->name << " does not show " << c.name8 << " at " << own[0].x << "," << own[0].y;
      if (p == players[0]) continue;
      const std::vector<Place> seen = HeroPlaces(walked, c.name8, c.skin, SlotColour(c.slot));
      ASSERT_EQ(seen.size(), 1u) << p->name << " does not see " << c.name8;
      EXPECT_EQ(seen[0], own[0]) << p->name << " sees " << c.name8 << " at " << seen[0].x << "," << seen[0].y
                                 << ", its own screen at " << own[0].x << "," << own[0].y;
    }
  }
}

// A player's chat line on every screen in the writer's colour, and in every chat log.
inline void ExpectChatLineEverywhere(const std::vector<Player*>& players, const std::string& line, const Cast& writer,
                                     const std::string& shotName) {
  for (const Player* p : players) {
    EXPECT_GE(ChatLineShowing(ShotOf(*p, shotName), line, SlotColour(writer.slot)), 0) << p->name;
    EXPECT_NE(ReadText(p->File("Chat.txt")).find(line + "\r\n"), std::string::npos)
        << p->name << "'s Chat.txt:\n" << ReadText(p->File("Chat.txt"));
  }
}

// The whole seconds the briefing room's count-down shows; -1 when the screen shows none.
inline int CountDownShown(const Shot& screen) {
  if (!InRoom(screen, BriefingRoom)) return -1;
  for (int n = 0; n <= 10; ++n)
    if (BigTextAt(screen, std::to_string(n), 240, 254, {0, 255, 255})) return n;
  return -1;
}

// The briefing room of "Collect 30" counting down: screens early and late, compared with the
// time left until roundStart by the moments they were written (seconds since the epoch).
inline void ExpectCountDown(const std::vector<Player*>& players, const std::string& earlyShot,
                            const std::string& lateShot, double roundStart) {
  ASSERT_GT(roundStart, 0) << "the round start was not seen";
  for (const Player* p : players) {
    Shot early = ShotOf(*p, earlyShot), late = ShotOf(*p, lateShot);
    EXPECT_TRUE(InRoom(early, BriefingRoom)) << p->name;
    EXPECT_TRUE(BigTextAt(early, "        First to collect        ", 2, 216, {0, 255, 0})) << p->name;
    EXPECT_TRUE(BigTextAt(early, "        30 pickups wins         ", 2, 232, {0, 255, 0})) << p->name;
    const int shownEarly = CountDownShown(early), shownLate = CountDownShown(late);
    // Whole seconds left, by a clock set from the host's with the ping added.
    const double earlyLeft = roundStart - WrittenAt(p->File(earlyShot + ".png"));
    const double lateLeft = roundStart - WrittenAt(p->File(lateShot + ".png"));
    EXPECT_NEAR(shownEarly, earlyLeft - 0.5, 1.5) << p->name;
    EXPECT_NEAR(shownLate, lateLeft - 0.5, 1.5) << p->name;
    EXPECT_GT(shownEarly, shownLate) << p->name;
  }
}

// The first pickup of room 32, at (208, 224): on the way of a player who walks right.
inline PickupFact FirstPickupOfRoom32() {
  const std::vector<PickupFact> pickups = RoomPickupFacts(SinglePlayerRoom);
  return pickups.empty() ? PickupFact{} : pickups[0];
}

// Room 32 with every hero at its slot's place and the room's first pickup there.
inline bool RoundStartedInRoom32(const Shot& screen, const std::vector<Cast>& cast) {
  if (!InRoom(screen, SinglePlayerRoom) || !PickupShown(screen, FirstPickupOfRoom32())) return false;
  for (const Cast& c : cast)
    if (HeroSeen(screen, c.skin, SlotColour(c.slot), 32 * c.slot + 32, 352) <= 0.8) return false;
  return true;
}

// The round started in room 32 for all, each hero at its slot's place, the room's pickups there.
inline void ExpectRoundStartInRoom32(const std::vector<Player*>& players, const std::vector<Cast>& cast,
                                     const std::string& shotName) {
  const PickupFact pickup = FirstPickupOfRoom32();
  ASSERT_EQ(pickup.y, 224);
  for (const Player* p : players) {
    Shot room32 = ShotOf(*p, shotName);
    EXPECT_TRUE(InRoom(room32, SinglePlayerRoom)) << p->name;
    for (const Cast& c : cast)
      EXPECT_GT(HeroSeen(room32, c.skin, SlotColour(c.slot), 32 * c.slot + 32, 352), 0.8) << p->name << ", " << c.name8;
    EXPECT_TRUE(PickupShown(room32, pickup)) << p->name;
  }
}

// The lounge showing the winner in its status line (which flickers in a random shade of red,
// too dark to be read in about one frame of six: a screen that shows it is waited for).
inline bool WinnerShown(const Shot& screen, const std::string& winner8, bool chooser) {
  return InRoom(screen, LoungeRoom) && StatusShown({screen}, "Last winner was *" + winner8 + "*", chooser);
}

// Every screen back in the lounge after the round, showing the winner.
inline void ExpectWinnerShown(const std::vector<Player*>& players, const std::string& winner8, const std::string& shotName) {
  for (const Player* p : players) {
    const Shot won = ShotOf(*p, shotName);
    EXPECT_TRUE(InRoom(won, LoungeRoom)) << p->name;
    EXPECT_TRUE(WinnerShown(won, winner8, p == players[0])) << p->name << " does not show the winner";
  }
}

// The way of a collect round from the lounge to room 32, the same whoever hosts: every screen
// shows the walkers where they stopped (the "until" point "walked"), then the writer's chat line
// ("chat"); the choice is let go (the sync point "pick"), and every screen shows the game
// announced ("announced"), the count-down in the briefing room ("countdown"), then the round's
// start in room 32 ("room32").
inline void AwaitTheWayToRoom32(OnlineGame& game, const std::vector<Player*>& players, const std::vector<Cast>& cast,
                                const std::string& chatLine, const Cast& writer) {
  game.AwaitScreens("walked", players, [&](const Player& p, const Shot& screen) {
    return WalkersShownWhereTheyStand(players, cast, "walked", p, screen);
  });
  game.AwaitScreens("chat", players, [&](const Player&, const Shot& screen) {
    return ChatLineShowing(screen, chatLine, SlotColour(writer.slot)) >= 0;
  });
  game.Release("pick");
  game.AwaitScreens("announced", players, [&](const Player&, const Shot& screen) {
    return BigTextAt(screen, "        First to collect        ", 2, 216, {0, 255, 0});
  });
  // The count-down: every screen in the briefing room shows a number, then a smaller one; the
  // first is kept as "briefing1.png", the second as "briefing2.png".
  std::map<const Player*, int> first;
  game.AwaitScreens("countdown", players, [&](const Player& p, const Shot& screen) {
    const int shown = CountDownShown(screen);
    if (shown < 0) return false;
    if (first.count(&p) == 0) {
      if (KeepScreen(p.File("countdown.png"), p.File("briefing1.png"))) first[&p] = shown;
      return false;
    }
    return shown < first[&p] && KeepScreen(p.File("countdown.png"), p.File("briefing2.png"));
  });
  game.AwaitScreens("room32", players, [&](const Player&, const Shot& screen) { return RoundStartedInRoom32(screen, cast); });
}

// A screen of the lounge after a round: every name in the lounge's list, and every hero at its
// slot's place where the game chooser (on slot 0's screen) does not cover it.
inline bool EverybodyBackInTheLounge(const Shot& screen, const std::vector<Cast>& cast, bool chooser) {
  if (!InRoom(screen, LoungeRoom)) return false;
  for (const Cast& c : cast) {
    const int x = 32 * c.slot + 32;
    if (!ListedPlayer(screen, c.name8, SlotColour(c.slot), true)) return false;
    if (!(chooser && x + 16 > 85) && HeroSeen(screen, c.skin, SlotColour(c.slot), x, 352) <= 0.8) return false;
  }
  return true;
}

// A screen of the lounge where a player who left is announced and no longer listed.
inline bool LeftShown(const Shot& screen, const Cast& gone) {
  return ChatLineShowing(screen, gone.name8 + " just left the game", White, true) >= 0 &&
         !ListedPlayer(screen, gone.name8, SlotColour(gone.slot), true);
}

// A player who left the lounge, on the screen of one who stayed: announced, its row gone, and,
// where no chooser covers its place, its hero gone.
inline void ExpectLeft(const Player& screen, const Cast& gone, const std::string& before, const std::string& after,
                       bool chooser) {
  Shot shotBefore = ShotOf(screen, before), shotAfter = ShotOf(screen, after);
  EXPECT_GE(ChatLineShowing(shotAfter, gone.name8 + " just left the game", White, true), 0) << screen.name;
  EXPECT_TRUE(ListedPlayer(shotBefore, gone.name8, SlotColour(gone.slot), true)) << screen.name;
  EXPECT_FALSE(ListedPlayer(shotAfter, gone.name8, SlotColour(gone.slot), true)) << screen.name;
  const int x = 32 * gone.slot + 32;
  if (chooser && x + 16 > 85) return;  // the chooser's items start at x 85
  EXPECT_GT(HeroSeen(shotBefore, gone.skin, SlotColour(gone.slot), x, 352), 0.8) << screen.name;
  EXPECT_LT(HeroSeen(shotAfter, gone.skin, SlotColour(gone.slot), x, 352), 0.5) << screen.name;
}

// The end of a collect round, the same whoever hosts: the fourth player (winner8, as the game
// shows its name) is let go from "won" and claims the round; every screen shows it the winner
// ("winner") and everybody back in the lounge ("lounge2"); then firstGone leaves and the
// screens of the others announce it ("left1"), then secondGone leaves and slot 0's screen
// announces it ("left2").
inline void AwaitTheWinAndTheLeaving(OnlineGame& game, const std::vector<Player*>& players,
                                     const std::vector<Cast>& cast, ScriptedCollector& fourth,
                                     const std::string& winner8, const Cast& firstGone, const Cast& secondGone) {
  game.Release("won");
  fourth.Claim();
  game.AwaitScreens("winner", players, [&](const Player& p, const Shot& screen) {
    return WinnerShown(screen, winner8, &p == players[0]);
  });
  game.AwaitScreens("lounge2", players, [&](const Player& p, const Shot& screen) {
    return EverybodyBackInTheLounge(screen, cast, &p == players[0]);
  });
  std::vector<Player*> stayed;
  for (size_t i = 0; i < players.size(); ++i)
    if (static_cast<int>(i) != firstGone.slot) stayed.push_back(players[i]);
  game.AwaitScreens("left1", stayed, [&](const Player&, const Shot& screen) { return LeftShown(screen, firstGone); });
  game.AwaitScreens("left2", {players[0]}, [&](const Player&, const Shot& screen) { return LeftShown(screen, secondGone); });
}

}  // namespace onlinetest
