// Files and folders: size, type, directory listing, deletion and the program's own folder.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "platform/stream.h"

long FileSize(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<long>(info.st_size);
}

int FileType(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return 0;
  if (S_ISDIR(info.st_mode)) return 2;
  return S_ISREG(info.st_mode) ? 1 : 0;
}

std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  DIR* folder = opendir(path.empty() ? "." : path.c_str());
  if (!folder) return names;
  while (dirent* entry = readdir(folder)) names.emplace_back(entry->d_name);
  closedir(folder);
  return names;
}

bool DeleteFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool ChangeDir(const std::string& path) { return !path.empty() && chdir(path.c_str()) == 0; }

std::string ProgramFolder() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return "./";
  std::string path(buffer, static_cast<size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}
