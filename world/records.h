// The shared game records and the global state every part of the game reads and writes.
//
// The main of each program fills these once at start-up; nothing re-creates them. All of
// it is touched by the main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>

#include "platform/bank.h"
#include "platform/graphics.h"
#include "world/sprite.h"

using Byte = uint8_t;

constexpr int MaxPlayers = 16;
constexpr int MaxPickups = 1100;
constexpr int MaxEnemies = 1000;
constexpr int RoomCount = 256;              // room records 0..255 of a world (0 unused)
constexpr int RoomColumns = 32;
constexpr int RoomRows = 16;
constexpr int PlayfieldTop = 144;           // screen y of the playfield's first row
constexpr int BriefingRoom = 178;
constexpr int TeamRoom = 179;
constexpr int LoungeRoom = 180;
constexpr int SinglePlayerRoom = 32;
constexpr int NoPlayer = 99;                // `following` of a player who follows nobody

// Cell classes of CellGrid.
enum CellClass : uint8_t {
  CellEmpty = 0, CellSolid = 1, CellPlatform = 2, CellStairsLeft = 3, CellStairsRight = 4,
  CellConveyorRight = 6, CellConveyorLeft = 7
};

struct GameVars {
  int tagEventTime = 0;
  int awaitingRoomState = 0;
  int cheatMode = 0;
  int singlePlayer = 0;
  int chatEntryOpen = 0;
  int showNames = 1;
  int room = 32;
  int stepMs = 40;
  int sendIntervalMs = 50;
  int ropeRoom = 0;
  int chainIndex = 0;
  int dyingSteps = 0;
  int dayClock = 0;
  std::string amPm = "am";
  int dying = 0;
  int entryX = 0, entryY = 0;
  int entryMirrored = 0;
  int entryAlign = 0;
  int fallDistance = -1;
  int respawnBlink = 0;
  Byte gameMode = 0;
  int roundTime = 0;
  std::string bannerTitle;
  std::string bannerGoal;
  std::string statusText;
  int entryJumpStep = 0;
  int entryJumping = 0;
  int entryWalkDir = 0;
  int menuPage = 0;
  int goalReached = 0;
  int inGame = 0;
  Byte viewedPlayer = 0;
  int spectating = 0;
  int ownRoom = 0;
};

struct PlayerType {
  int lastX = 0, lastY = 0;
  Byte percent = 0;
  Byte lives = 9;
  int score = 0;
  int skin = 0;
  int walkDir = 0;            // 0 standing, 1 left, 2 right
  std::string name;           // 8 characters centred; "" = free slot
  SpriteRef sprite;
  int jumping = 0;
  float jumpStep = 0;
  int onConveyor = 0;
  int falling = 0;
  int onRope = 0;
  int ropeSegment = 0;
  int ropeGrabDelay = 0;
  int colourR = 0, colourG = 0, colourB = 0;
  int room = 0;
  int onStairs = 0;
  int stairKind = 0;          // 3 slope rising left, 4 rising right, 6 not on stairs
  int riding = 0;
  SpriteRef carrier;
  int team = 0;               // 0 none, 1 red, 2 blue
  Byte following = 0;
  int ping = 0;
};

struct PlayersDetails {
  int room = 0;
  int netId = 0;              // -1 = free slot
  int x = 0, y = 0;
  int frame = 0;              // the facing (mirrored) flag
  int score = 0;
  std::string name;           // "" = connected but not yet joined
  int skin = 0;
  Byte lives = 0;
  int tagged = 0;
  int team = 0;
  Byte following = 0;
  Byte percent = 0;
  int lastSeen = 0;
  int ping = 0;
};

struct PickupType {
  Byte room = 0;
  int x = 0;
  int y = 0;                  // within the playfield (screen y - 144)
  Byte kind = 0;              // picture frame kind*4
  Byte present = 0;           // 1 = not yet collected
};

struct EnemyType {
  int room = 0;
  int x = 0, y = 0;           // start; y within the playfield
  Byte kind = 0;              // 0..75; 73 and 74 are arrows
  int boundX1 = 0, boundY1 = 0;
  int boundX2 = 0, boundY2 = 0;
  int speed = 0;
  Byte facing = 0;            // 0 up, 1 down, 2 left, 3 right
  int moveType = 0;           // 1 horizontal, 2 vertical, 5 stationary
  int colourR = 0, colourG = 0, colourB = 0;
};

struct Pickk {
  SpriteRef sprite;
  int pickupIndex = 0;        // index into Pickups; the two flags of mode 80 use 2 (blue) and 1 (red)
};

struct EnemyPickk {
  SpriteRef sprite;
  int kind = 0;
  int enemyIndex = 0;
  int moveDir = 0;
  int animCount = 0;
  int stepDelay = 0;
  int stepDelayReload = 0;
};

struct ropetype {
  SpriteRef anchor;
  int segmentCount = 0;
  std::array<SpriteRef, 32> segments{};
  int swingLimit = 0;
  int swingPos = 0;
  int swingStep = 0;
};

struct ChatMessagesType {
  std::string text;
  int colour = 0;             // slot whose colour draws the line; 99 = system line
};

// --- Shared globals -------------------------------------------------------------------

extern GameVars Game;
extern PlayerType Players[MaxPlayers];
extern PlayersDetails Slots[MaxPlayers];
extern Byte MySlot;

extern std::string WorldName;                 // "maps" at start
extern Bank WorldBank;                        // 272,640 bytes: the loaded rooms file
extern std::string RoomNames[RoomCount];
extern uint16_t TileGrid[33][18];             // [column, row]
extern uint8_t CellGrid[33][18];
extern Bank CollisionMask;                    // 152,000 bytes, 512 per row, row 0 = screen y 144
extern Bank CollisionMask2;
extern Byte RoomExits[4];                     // up, right, down, left; 0 = none
extern ropetype Rope;
extern Bank RopeTable;                        // 256 bytes

extern PickupType Pickups[MaxPickups];
extern int LastPickup;                        // -1 when none
extern int FirstPickupOfRoom[MaxPickups];     // by room number; -1 = none
extern std::list<Pickk> RoomPickups;
extern std::list<Pickk> RoomHazards;
extern EnemyType Enemies[MaxEnemies];
extern int LastEnemy;
extern std::list<EnemyPickk> RoomEnemies;

extern int ChainTargets[6];
extern int RaceRoomTable[10][4];
extern std::string ModeTexts[10][10];
extern int VisitCounts[256];

extern int Hosting;
extern Byte HostMode;
extern int IsAdmin;
extern int AdminSlot;
extern int RoundStartTime, RoundEndTime, RoundRunning;
extern int RoomStateWait;

extern ChatMessagesType ChatLines[15];

// Movement tables, filled at start-up from the static data list.
extern int JumpTable[5][18];
extern float JumpFactor[19];

extern int LastStepTime;                      // clock of the last world step
extern int LastSendTime;                      // clock of the last own-state message
extern int RoomStateDeadline;

// World-step and room-entry state shared by the world, the net code and the HUD.
extern int Moved;                             // 1 when the own position changed since the last own-state message
extern int AnimTick;                          // 1 during the world step in which the animation clock ticked
extern int AnimCountdown;                     // world steps left to the next animation tick
extern int AnimCounter;                       // pickup animation counter (the game loop wraps it at 4)
extern int AnimPhase;                         // four-phase animation 0..3 (conveyors, lives icons)
extern int JumpPhase;                         // jump-table row chosen at take-off, 0..3
extern std::string RoomTitle;                 // the shown room's name centred in 33 characters
extern int RoomStateAsked;                    // 1 when the host asked another player for this room's state
extern int TagTargetSlot;                     // mode 32: the slot to catch (the world step names it)
extern int PlayReady;                         // 0 while a game's first room is entered, 1 after

// Player colours per slot.
extern int PlayerColourR[MaxPlayers], PlayerColourG[MaxPlayers], PlayerColourB[MaxPlayers];

// Pictures (Null in the dedicated server, which draws no game).
extern Image TitleImage, MenuImage, LoadingImage, ServerImage, MouseImage;
extern Image TilesImage;                      // 16x16, 528 frames
extern Image FontImage, InverseFontImage;     // 16x16, 96 frames
extern Image SmallFontImage, SmallInverseFontImage;  // 8x8, 96 frames
extern Image RopeImage;
extern Image PickupImage;                     // 16x16, 100 frames
extern Image Enemy32Image;                    // 32x32, 288 frames
extern Image Enemy64Image;                    // 64x64, 4 frames
extern Image Enemy32x64Image;                 // 32x64, 4 frames
extern Image DoorImage;                       // 32x32, 4 frames
extern Image ConnectImage;                    // 32x32, 12 frames
extern Image GoldenImage;                     // 10x16, 4 frames
extern Image FlagBlueImage, FlagRedImage;     // 32x32, 7 frames
extern Image Skins[52];                       // [0] the default hero, [1..50] the skins
extern int SkinCount;                         // 50: valid skin indices are 0..SkinCount
extern SpriteRef MouseSprite;

// Switches from the command line and the settings.
extern int SfxOn;
extern int NoSound;
extern int MusicOn;
extern int AutoJoin;
extern int FullScreenOption;
extern int WindowOption;
extern std::string PlayerName;                // 8 characters, centred
extern int SelectedSkin;

// The rest of the client's settings (its "ip.txt"); the server keeps the register answer,
// description and password in its own settings file.
extern std::string LastHostAddress;           // last host address typed when joining
extern std::string RegisterAnswer;            // "Y" registers a hosted game with the game list
extern std::string GameDescription;           // description of a hosted game
extern std::string HostPassword;              // password of a hosted game; "" = none
extern std::string ConnectPassword;           // password typed for joining a game

// Slot and skin helpers that guard every array index taken from outside.
inline bool ValidSlot(int slot) { return slot >= 0 && slot < MaxPlayers; }
inline bool ValidRoom(int room) { return room >= 1 && room <= 255; }
