// The client's settings file "ip.txt": reading, writing, loading into the globals, the name prompt.
#include "client/settings.h"

#include <cerrno>
#include <cstdlib>

#include "client/line_editor.h"
#include "platform/stream.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

// The number a settings line starts with; text that is not a number reads as 0.
int LeadingNumber(const std::string& text) {
  errno = 0;
  long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < -1000000 || value > 1000000) return 0;
  return static_cast<int>(value);
}

std::string CentredName(const std::string& name) {
  std::string trimmed = TrimText(name);
  return AlignText(trimmed.empty() ? "Guest" : trimmed, 8, "C");
}

}  // namespace

std::string ReadSettingsLine(int n) {
  StreamPtr file = ReadFile(SettingsFile);
  if (!file) return "";
  std::string line;
  for (int i = 1; i <= n; ++i) line = file->Eof() ? std::string() : TrimText(ReadLine(*file));
  CloseFile(file);
  return line;
}

int ValidSkin(int skin) { return skin >= 0 && skin <= SkinCount ? skin : 0; }

void SaveSettings() {
  StreamPtr file = WriteFile(SettingsFile);
  if (!file) return;  // a read-only folder: the settings just are not kept
  WriteLine(*file, PlayerName);
  WriteLine(*file, LastHostAddress);
  WriteLine(*file, std::to_string(SelectedSkin));
  WriteLine(*file, RegisterAnswer);
  WriteLine(*file, GameDescription);
  WriteLine(*file, HostPassword);
  // The connect password is written too, so saving the other lines does not lose it.
  WriteLine(*file, ConnectPassword);
  CloseFile(file);
}

void LoadSettings() {
  PlayerName = CentredName(ReadSettingsLine(1));
  LastHostAddress = ReadSettingsLine(2);
  // An index outside 0..50 would pick a picture past the skins: it reads as the default hero.
  SelectedSkin = ValidSkin(LeadingNumber(ReadSettingsLine(3)));
  RegisterAnswer = ReadSettingsLine(4);
  GameDescription = ReadSettingsLine(5);
  HostPassword = ReadSettingsLine(6);
  ConnectPassword = ReadSettingsLine(7);
}

void AskPlayerName() {
  EditBuffer = TrimText(PlayerName.substr(0, 8));
  std::string answer = InputLine("Name: ", 140, 140, 8);
  PlayerName = CentredName(answer.substr(0, 8));
  SaveSettings();
}
