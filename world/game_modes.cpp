// The chooser texts, the chain-race room table, the mode banners, chain targets and spectating.
#include "world/game_modes.h"

#include "platform/clock.h"
#include "platform/input.h"
#include "world/enter_room.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

const char* const GroupTexts[9] = {
    "F1... Collect X items", "F2... Timed Games", "F3... Race to games",  "F4... Gorbo Games",  "F5... Discovery Games",
    "F6... Chain Games",     "F7... Team Collect", "F8... Team Timed",    "F9... Gorbo Teams"};

const char* const RaceTexts[9] = {
    "F1... Lager run. First to 'Corner Shop'",
    "F2... Desert island disks. First to 'Desert Isle'",
    "F3... Space man. First to the 'Rocket Room'",
    "F4... Ulimate SHUMP. First to 'Space Invaders'",
    "F5... If I was a rich man. Race to 'Money Bags'",
    "F6... Thirsty work. First to 'The Drinking Hole'",
    "F7... Power Rangers. Race to the 'Emergency Generator'",
    "F8... Telly tw*ts. Race to 'Telly Tw*ts Hill'",
    "F9... First to peltos bumming parlour"};

const char* const RaceGoals[9] = {"Corner Shop",       "Desert Isle",         "Rocket Room",
                                  "Space Invaders",    "Money Bags",          "The Drinking Hole",
                                  "Emergency Generator", "Telly Tw*ts Hill",  "bumming parlour"};

const char* const HeroGameTexts[8] = {"F1... Gorbo Tag",       "F2... Find Golden Gorbo", "F3... British Bulldog",
                                      "F4... Pitfall Gorbo",   "F5... Assault Course",    "F6... Zonky Gorbo",
                                      "F7... Jail Break",      "F8... The Laboratory"};

// Banner lines of modes 30..37.
const char* const HeroGameBanners[8][2] = {
    {"-= Gorbo Tag =-", "Last Gorbo Wins"},     {"-= GOLDEN Gorbo =-", "Find a Golden Gorbo"},
    {"-= BULLDOG =-", "First to TAG"},          {"-Pitfall Gorbo-", "First to collect"},
    {"-Assault Course-", "First to collect"},   {"Zonky Gorbo", "First to Complete"},
    {"Jail Break", "First to Complete"},        {"The Laboratory", "First to Complete"}};

const int RaceRooms[9][3] = {{120, 227, 104}, {228, 81, 55},  {85, 134, 79},  {193, 212, 220}, {46, 37, 40},
                             {243, 255, 235}, {14, 159, 176}, {7, 230, 148},  {145, 159, 176}};

std::string Item(int n, const std::string& text) { return "F" + std::to_string(n) + "... " + text; }

void SetBanner(const std::string& title, const std::string& goal) {
  Game.bannerTitle = AlignText(title, 32, "C");
  Game.bannerGoal = AlignText(goal, 32, "C");
}

// The next (step 1) or previous (step -1) named player outside the lobby; stops when none.
void SpectateStep(int step) {
  Game.spectating = 0;
  int c = Game.viewedPlayer;
  for (int tries = 0; tries < MaxPlayers; ++tries) {
    c = (c + step + MaxPlayers) % MaxPlayers;
    if (c != MySlot && !Players[c].name.empty() && (Players[c].room < BriefingRoom || Players[c].room > LoungeRoom)) {
      Game.spectating = 1;
      break;
    }
  }
  if (!Game.spectating) {
    StopSpectating();
    return;
  }
  if (c != Game.viewedPlayer) {
    if (Hosting) Players[0].following = static_cast<Byte>(c);
    Game.viewedPlayer = static_cast<Byte>(c);
    Game.room = Players[c].room;
    EnterRoom();
  }
}

}  // namespace

void FillModeTexts() {
  for (auto& row : ModeTexts)
    for (auto& text : row) text.clear();
  for (int i = 0; i < 9; ++i) ModeTexts[0][i] = GroupTexts[i];
  for (int n = 1; n <= 9; ++n) {
    ModeTexts[1][n - 1] = Item(n, "Collect " + std::to_string(n * 30));
    ModeTexts[2][n - 1] = Item(n, std::to_string(n * 5) + " minutes");
    ModeTexts[3][n - 1] = RaceTexts[n - 1];
    ModeTexts[5][n - 1] = Item(n, std::to_string(n * 10) + " percent");
    ModeTexts[7][n - 1] = Item(n, "Collect " + std::to_string(n * 30));
    ModeTexts[8][n - 1] = Item(n, std::to_string(n * 5) + " minutes");
  }
  for (int i = 0; i < 8; ++i) ModeTexts[4][i] = HeroGameTexts[i];
  for (int i = 0; i < 4; ++i) ModeTexts[6][i] = Item(i + 1, "Chain " + std::to_string(i + 2) + " Rooms");
  ModeTexts[9][0] = "F1... Capture the Flag";
  ModeTexts[9][1] = "F2... Dark Tower";
}

void FillRaceRoomTable() {
  for (auto& row : RaceRoomTable)
    for (int& room : row) room = 0;
  for (int row = 1; row <= 9; ++row)
    for (int column = 0; column < 3; ++column) RaceRoomTable[row][column] = RaceRooms[row - 1][column];
}

void SetModeBanner(int mode) {
  auto number = [](int value) { return std::to_string(value); };
  if (mode >= 1 && mode <= 9) {
    SetBanner("First to collect", number(mode * 30) + " pickups wins");
  } else if (mode >= 10 && mode <= 19) {
    SetBanner("-= Timed Game =-", number((mode - 9) * 5) + " min");
  } else if (mode >= 20 && mode <= 28) {
    SetBanner("-= RACE TO =-", RaceGoals[mode - 20]);
  } else if (mode == 29) {
    Game.bannerTitle = AlignText("-= RACE TO =-", 32, "C");
  } else if (mode >= 30 && mode <= 37) {
    SetBanner(HeroGameBanners[mode - 30][0], HeroGameBanners[mode - 30][1]);
  } else if (mode >= 40 && mode <= 49) {
    SetBanner("Discovery", number((mode - 39) * 10) + " %");
  } else if (mode >= 50 && mode <= 59) {
    SetBanner("Chain Race", number(mode - 48) + " Rooms");
  } else if (mode >= 60 && mode <= 69) {
    SetBanner("TEAM collect", number((mode - 59) * 30) + " pickups wins");
  } else if (mode >= 70 && mode <= 79) {
    SetBanner("TEAM Timed Game", number((mode - 69) * 5) + " min");
  } else if (mode == 80) {
    SetBanner("Capture", "The Flag");
  } else if (mode == 81) {
    SetBanner("DARK TOWER", "First to collect");
  }
}

void PickChainTargets() {
  for (int& target : ChainTargets) target = 0;
  int mode = Game.gameMode;
  if (mode < 50 || mode > 59) return;
  // Room for five targets and the closing 0: modes past 53 get five.
  int count = mode - 48 < 5 ? mode - 48 : 5;
  for (int k = 0; k < count; ++k) {
    int row;
    bool taken;
    do {
      row = static_cast<int>(Rnd(1.0f, 9.0f));
      if (row > 9) row = 9;
      taken = false;
      for (int target : ChainTargets) taken = taken || target == row;
    } while (taken);
    ChainTargets[k] = row;
  }
  for (int& target : ChainTargets) {
    if (target <= 0) continue;
    int column = static_cast<int>(Rnd(0.0f, 2.0f));
    if (column > 2) column = 2;
    target = RaceRoomTable[target][column];
  }
}

void SpectateNext() { SpectateStep(1); }
void SpectatePrevious() { SpectateStep(-1); }

void StopSpectating() {
  if (Hosting) Players[0].following = NoPlayer;
  Game.viewedPlayer = MySlot;
  Game.spectating = 0;
  if (Players[MySlot].sprite) Players[MySlot].sprite->Show();
  // ownRoom is only known once spectating has begun.
  if (Game.room != Game.ownRoom && ValidRoom(Game.ownRoom)) {
    Game.room = Game.ownRoom;
    EnterRoom();
    Moved = 1;
  }
}
