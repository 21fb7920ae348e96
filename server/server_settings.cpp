// Reading and writing "server_ip.txt".
#include "server/server_settings.h"

#include "platform/stream.h"
#include "world/records.h"

namespace {

std::string SettingsLine(Stream& file) {
  std::string line = ReadLine(file);
  const size_t zero = line.find('\0');
  return zero == std::string::npos ? line : line.substr(0, zero);
}

}  // namespace

void ReadServerSettings() {
  StreamPtr file = OpenFile(ServerSettingsFile);
  if (!file) return;
  SeekFile(*file, 0);
  std::string* values[] = {&RegisterAnswer, &GameDescription, &HostPassword};
  for (std::string* value : values) *value = file->Eof() ? std::string() : SettingsLine(*file);
  CloseFile(file);
}

bool WriteServerSettings() {
  StreamPtr file = OpenFile(ServerSettingsFile);
  if (!file) {
    StreamPtr made = WriteFile(ServerSettingsFile);
    CloseFile(made);
    file = OpenFile(ServerSettingsFile);
  }
  if (!file) return false;
  SeekFile(*file, 0);
  WriteLine(*file, RegisterAnswer);
  WriteLine(*file, GameDescription);
  WriteLine(*file, HostPassword);
  CloseFile(file);
  return true;
}
