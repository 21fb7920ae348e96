// A hosting client in the test process: its own hero in slot 0 in the lounge of a small test
// world, driven from outside by remote players on real connections (host_driver.h).
#pragma once

#include "net/host_rules.h"
#include "tests/net/host_driver.h"
#include "tests/world/hero_fixture.h"
#include "tests/world/sent_message.h"
#include "world/game_modes.h"
#include "world/team_rules.h"

namespace online_test {

// Every slot free and every other player drawn off screen in its own colour, as a new session
// leaves them; slot 0 keeps the own hero.
inline void EmptyAllSlots() {
  FreeAllSlots();
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    PlayerType& p = Players[slot];
    p.colourR = PlayerColourR[slot];
    p.colourG = PlayerColourG[slot];
    p.colourB = PlayerColourB[slot];
    if (slot == 0) continue;
    if (p.sprite) p.sprite->Remove();
    p.sprite = sprite::Create(Skins[0], 0, 0);
    p.sprite->ResetHandle();
    p.sprite->SetPosition(999, 999);
  }
}

class HostedGameTest : public HeroTest, protected HostDriver {
 protected:
  static constexpr int PickupRoom = 40;       // holds pickups 0..2
  static constexpr int OtherPickupRoom = 41;  // holds pickups 3 and 4

  void SetUp() override {
    HeroTest::SetUp();
    FillModeTexts();
    FillRaceRoomTable();
    for (int room : {SinglePlayerRoom, 27, PickupRoom, OtherPickupRoom, 42, BriefingRoom, TeamRoom, LoungeRoom})
      world_.FloorRoom(room, "Room " + std::to_string(room));
    world_.FillColumn(TeamRoom, 0, TestSolid);  // the side walls a team round opens
    world_.FillColumn(TeamRoom, 31, TestSolid);
    for (int x : {100, 200, 300}) world_.AddPickup(PickupRoom, x, 200, 1);
    for (int x : {150, 250}) world_.AddPickup(OtherPickupRoom, x, 200, 1);
    Hosting = 1;
    ClearRoundState();
    StartIn(LoungeRoom, 32, 352, 0);
    Game.singlePlayer = 0;
    MySlot = 0;
    EmptyAllSlots();
    Slots[0].name = Players[0].name = Name8("Host");
    StartHost();
  }

  void TearDown() override {
    StopHost();
    Hosting = 0;
    ClearRoundState();
    EmptyAllSlots();
    ChatLog = nullptr;
    HeroTest::TearDown();
  }
};

}  // namespace online_test
