// Reading and writing "server_ip.txt".
#include "server/server_settings.h"

#include <algorithm>

#include "platform/stream.h"
#include "world/records.h"

namespace {

// Enough of a line to find its value once stray CRs are dropped; the rest is passed over
// unread into memory, however long it is.
constexpr size_t LineReadLimit = 256;

std::string SettingsLine(Stream& file, int length) {
  std::string line = ReadLine(file, LineReadLimit);
  line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
  line = line.substr(0, line.find('\0'));
  return line.substr(0, static_cast<size_t>(length));
}

}  // namespace

void ReadServerSettings() {
  StreamPtr file = ReadFile(ServerSettingsFile);
  if (!file) return;
  const std::pair<std::string*, int> values[] = {
      {&RegisterAnswer, RegisterAnswerLength}, {&GameDescription, TitleLength}, {&HostPassword, PasswordLength}};
  for (const auto& [value, length] : values) *value = file->Eof() ? std::string() : SettingsLine(*file, length);
  CloseFile(file);
}

bool WriteServerSettings() {
  StreamPtr file = WriteFile(ServerSettingsFile);
  if (!file) return false;
  long written = 0;
  for (const std::string* value : {&RegisterAnswer, &GameDescription, &HostPassword}) {
    WriteLine(*file, *value);
    written += static_cast<long>(value->size()) + 2;
  }
  const bool whole = file->Size() == written;  // a full disk keeps some of it back
  CloseFile(file);
  return whole;
}
