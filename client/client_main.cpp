// The client's entry: the start-up sequence, the title screen, and the loop between menu and play.
#include "client/client_main.h"

#include "assets/embedded_files.h"
#include "client/client_records.h"
#include "client/command_line.h"
#include "client/game_session.h"
#include "client/line_editor.h"
#include "client/main_menu.h"
#include "client/pictures.h"
#include "client/sound_effects.h"
#include "client/startup_question.h"
#include "client/title_screen.h"
#include "client/version_check.h"
#include "client/window_icon.h"
#include "music/audio_device.h"
#include "music/music_module.h"
#include "net/netlib_binding.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/stream.h"
#include "platform/system.h"
#include "platform/termination.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/static_data.h"
#include "world/text_utils.h"

namespace {

constexpr const char* WindowTitle = "QXR ONLINE v 2.13";

void OpenWindow() {
  AppTitle(WindowTitle);
  if (!Graphics(640, 480, 0, 60)) RaiseError("Unable to open a 640 x 480 screen");
  AutoMidHandle(false);
  SetWindowIcon(0);
}

// Full screen without asking under FullScreenOption, windowed under WindowOption, else the
// question decides.
void AskFullScreen() {
  bool fullScreen = FullScreenOption != 0;
  if (!fullScreen && !WindowOption) fullScreen = AskStartUpQuestion("Fullscreen ?: ");
  // A screen that cannot go full screen keeps (or gets back) its window.
  if (fullScreen && !Graphics(640, 480, 32, 60)) Graphics(640, 480, 0, 60);
}

}  // namespace

void RunClientStartup(int argc, char** argv) {
  RegisterEmbeddedFiles();
  InitMusicModule();
  LoadPictures();
  CreateChatLog();
  CreateClientRecords();
  ParseCommandLine(argc, argv);
  OpenWindow();

  FillModeTexts();
  FillRaceRoomTable();
  for (int& first : FirstPickupOfRoom) first = 0;

  BindNetLibrary();

  EditBuffer.clear();
  PlayerName = AlignText("Guest", 8, "C");
  FlushKeys();

  if (!AutoJoin) AskVersionCheck();
  AskFullScreen();

  if (!NoSound) {
    OpenAudio();
    StartAudioDevice();  // the music plays on the effects' device
  }
  HidePointer();
  FlushKeys();
  LoadSounds();

  ReadMovementTables();
  ListTunes(TuneFolder);
}

namespace {

// Menu and play by turns until the menu is left for the exit.
[[noreturn]] void MenuLoop() {
  for (;;) {
    if (RunMainMenu() == MenuResult::Exit) ExitProgram();
    PlayGame();
    if (QuitSignalled()) ExitProgram();  // the game was left to end the program
  }
}

}  // namespace

void ClientMain(int argc, char** argv) {
  RunClientStartup(argc, argv);
  TitleScreen();
  for (int i = 0; i < 3; ++i) SeedRnd(Rand(0, MilliSecs()));
  MouseSprite = sprite::Create(MouseImage, 0, 0);
  MenuLoop();
}
