// The dedicated server's start-up: records, status window, settings or prompts, the server side,
// registration, the default world; then the status loop and the shutdown.
#include "server/server_main.h"

#include <string>

#include "assets/embedded_files.h"
#include "client/client_records.h"
#include "client/line_editor.h"
#include "client/window_icon.h"
#include "net/envelope.h"
#include "net/game_list.h"
#include "net/host_rules.h"
#include "net/host_step.h"
#include "net/host_start.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/termination.h"
#include "platform/text.h"
#include "server/server_settings.h"
#include "server/status_window.h"
#include "world/game_modes.h"
#include "world/pickups.h"
#include "world/records.h"
#include "world/text_utils.h"
#include "world/world_files.h"

namespace {

constexpr const char* ServerTitle = "DADUV Server v 2.13";
constexpr int ClosingDelayMs = 1000;
constexpr int NoSlot = 255;  // the server has no player of its own

void LoadSmallFont() {
  QernoFunctions loader;
  SetMaskColor(0, 0, 0);
  SmallFontImage = loader.LoadAnimImage("incbin::pictures/font2.png", 8, 8, 0, 96, 1);
}

void OpenStatusWindow() {
  AppTitle(ServerTitle);
  if (!Graphics(StatusWindowWidth, StatusWindowHeight, 0, 60)) RaiseError("Unable to open the status window");
}

bool AutomaticStart(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (UpperCase(argv[i]) == "/AUTO") return true;
  }
  return false;
}

std::string Ask(const std::string& prompt, const std::string& prefill, int maxLength) {
  EditBuffer = prefill;
  return InputLine(prompt, 0, 0, maxLength);
}

void AskSettings() {
  RegisterAnswer = UpperCase(TrimText(Ask("Register With the server ? ", RegisterAnswer, RegisterAnswerLength)));
  OwnAddress = Ask("Your IP (blank for automatic) :", "", OwnAddressLength);
  GameDescription = TrimText(Ask("Title: ", TrimText(GameDescription), TitleLength));
  HostPassword = TrimText(Ask("Password: ", TrimText(HostPassword), PasswordLength));
  PlayerName = "Server";
}

void StartServerSide() {
  NetInterface = NetLib.GetRakServerInterface();
  SelectedSkin = 1;
  StartHostInterface();
  if (!WriteServerSettings()) Notify(std::string("Can not write ") + ServerSettingsFile);
  RegisterServer();
}

void StartUp(int argc, char** argv) {
  RegisterEmbeddedFiles();
  LoadSmallFont();
  CreateChatLog();
  CreateClientRecords();
  MySlot = NoSlot;
  OpenStatusWindow();
  BindNetLibrary();
  FillModeTexts();
  FillRaceRoomTable();
  Hosting = 0;
  SetWindowIcon(StyleMinimizeBox);
  SelectWorld(0);
  Cls();
  Flip();

  const bool automatic = AutomaticStart(argc, argv);
  AdminSlot = -1;
  ReadServerSettings();
  if (!automatic) AskSettings();
  // Told to end during the start-up (at the questions, say): nothing has been started,
  // registered or written yet.
  if (QuitSignalled()) {
    ShowStatus("CLOSING DOWN");
    EndProgram(0);
  }
  StartServerSide();
  Game.menuPage = 0;
  CountConnections();
}

// Escape and termination signals close down with "CLOSING DOWN" shown; the window's close
// request leaves the last status line.
[[noreturn]] void StatusLoop() {
  while (!AppTerminate()) {
    if (KeyHit(Key::Escape) || QuitSignalled()) {
      ShowStatus("CLOSING DOWN");
      break;
    }
    HostNetUpdate();
    ShowStatus("Players Online " + std::to_string(ConnectionCount));
  }
  NetShutdown();
  Delay(ClosingDelayMs);
  EndProgram(0);
}

}  // namespace

void ServerMain(int argc, char** argv) {
  StartUp(argc, argv);
  StatusLoop();
}
