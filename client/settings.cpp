// The client's settings file "ip.txt": reading, writing, loading into the globals, the name prompt.
#include "client/settings.h"

#include <cerrno>
#include <cstdlib>

#include "client/line_editor.h"
#include "platform/stream.h"
#include "platform/termination.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

// Enough of a line to find its value behind any leading blanks; the rest is passed over.
constexpr size_t LineReadLimit = 256;

// The number a settings line starts with; text that is not a number reads as 0.
int LeadingNumber(const std::string& text) {
  errno = 0;
  long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < -1000000 || value > 1000000) return 0;
  return static_cast<int>(value);
}

std::string Cut(const std::string& text, int length) { return text.substr(0, static_cast<size_t>(length)); }

std::string CentredName(const std::string& name) {
  std::string trimmed = TrimText(name);
  return AlignText(trimmed.empty() ? "Guest" : trimmed, 8, "C");
}

}  // namespace

std::string ReadSettingsLine(int n) {
  StreamPtr file = ReadFile(SettingsFile);
  if (!file) return "";
  std::string line;
  for (int i = 1; i <= n; ++i) line = file->Eof() ? std::string() : TrimText(ReadLine(*file, LineReadLimit));
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
  LastHostAddress = Cut(ReadSettingsLine(2), HostAddressLength);
  // An index outside 0..50 would pick a picture past the skins: it reads as the default hero.
  SelectedSkin = ValidSkin(LeadingNumber(ReadSettingsLine(3)));
  RegisterAnswer = Cut(ReadSettingsLine(4), HostRegisterLength);
  GameDescription = Cut(ReadSettingsLine(5), DescriptionLength);
  HostPassword = Cut(ReadSettingsLine(6), HostPasswordLength);
  ConnectPassword = Cut(ReadSettingsLine(7), ConnectPasswordLength);
}

void AskPlayerName() {
  EditBuffer = TrimText(PlayerName.substr(0, NameLength));
  std::string answer = InputLine("Name: ", 140, 140, NameLength);
  if (QuitSignalled()) return;  // the program is ending: the settings stay as they are
  PlayerName = CentredName(answer.substr(0, NameLength));
  SaveSettings();
}
