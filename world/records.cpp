// Definitions of the shared globals, with their start-up defaults.
#include "world/records.h"

GameVars Game;
PlayerType Players[MaxPlayers];
PlayersDetails Slots[MaxPlayers];
Byte MySlot = 0;

std::string WorldName = "maps";
Bank WorldBank = CreateBank(272640);
std::string RoomNames[RoomCount];
uint16_t TileGrid[33][18];
uint8_t CellGrid[33][18];
Bank CollisionMask = CreateBank(152000);
Bank CollisionMask2 = CreateBank(152000);
Byte RoomExits[4];
ropetype Rope;
Bank RopeTable = CreateBank(256);

PickupType Pickups[MaxPickups];
int LastPickup = -1;
int FirstPickupOfRoom[MaxPickups];
std::list<Pickk> RoomPickups;
std::list<Pickk> RoomHazards;
EnemyType Enemies[MaxEnemies];
int LastEnemy = -1;
std::list<EnemyPickk> RoomEnemies;

int ChainTargets[6];
int RaceRoomTable[10][4];
std::string ModeTexts[10][10];
int VisitCounts[256];

int Hosting = 0;
Byte HostMode = 0;
int IsAdmin = 0;
int AdminSlot = -1;
int RoundStartTime = 0, RoundEndTime = 0, RoundRunning = 0;
int RoomStateWait = 0;

ChatMessagesType ChatLines[15];

int JumpTable[5][18];
float JumpFactor[19];

int LastStepTime = 0;
int LastSendTime = 0;
int RoomStateDeadline = 0;
int PlayReady = 0;

int Moved = 0;
int AnimTick = 0;
int AnimCountdown = 0;
int AnimCounter = 0;
int AnimPhase = 0;
int JumpPhase = 0;
std::string RoomTitle;
int RoomStateAsked = 0;
int TagTargetSlot = 0;

int PlayerColourR[MaxPlayers], PlayerColourG[MaxPlayers], PlayerColourB[MaxPlayers];

Image TitleImage, MenuImage, LoadingImage, ServerImage, MouseImage;
Image TilesImage;
Image FontImage, InverseFontImage;
Image SmallFontImage, SmallInverseFontImage;
Image RopeImage;
Image PickupImage;
Image Enemy32Image;
Image Enemy64Image;
Image Enemy32x64Image;
Image DoorImage;
Image ConnectImage;
Image GoldenImage;
Image FlagBlueImage, FlagRedImage;
Image Skins[52];
int SkinCount = 50;
SpriteRef MouseSprite;

int SfxOn = 1;
int NoSound = 0;
int MusicOn = 0;
int AutoJoin = 0;
int FullScreenOption = 0;
int WindowOption = 0;
std::string PlayerName;
int SelectedSkin = 0;
std::string LastHostAddress;
std::string RegisterAnswer;
std::string GameDescription;
std::string HostPassword;
std::string ConnectPassword;
