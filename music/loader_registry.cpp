// The loader list: matching a file name to its loader, and the filter text for file requesters.
#include "music/loader_registry.h"

#include <cctype>

namespace {

std::string Upper(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return text;
}

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// The last / first count characters, or the whole text when it is shorter.
std::string Right(const std::string& text, size_t count) {
  return count >= text.size() ? text : text.substr(text.size() - count);
}

std::string Left(const std::string& text, size_t count) { return text.substr(0, count); }

bool Matches(const TunemixLoader& loader, const std::string& url) {
  const std::string ext = Upper(loader.extension);
  const size_t k = ext.size();
  if (Upper(Right(url, k + 1)) == "." + ext) return true;
  const size_t slash = url.find_last_of('/');
  const std::string fileName = slash == std::string::npos ? url : url.substr(slash + 1);
  return Upper(Left(fileName, k + 1)) == ext + ".";
}

}  // namespace

std::vector<std::shared_ptr<TunemixLoader>>& MusicLoaders() {
  static std::vector<std::shared_ptr<TunemixLoader>> loaders;
  return loaders;
}

void TunemixLoader::Add(MusicLoadFunc loadFunc, const std::string& description,
                        const std::string& extension) {
  auto loader = std::make_shared<TunemixLoader>();
  loader->loadFunc = std::move(loadFunc);
  loader->description = description;
  loader->extension = extension;
  MusicLoaders().push_back(std::move(loader));
}

std::string TunemixLoader::Filter(int all, int anyFile) {
  std::string text;
  if (all) {
    text = "All supported:";
    for (const auto& loader : MusicLoaders()) text += "," + Lower(loader->extension);
  }
  for (const auto& loader : MusicLoaders()) {
    if (!text.empty()) text += ";";
    text += loader->description + ":" + Lower(loader->extension);
  }
  if (anyFile) {
    if (!text.empty()) text += ";";
    text += "All Files:*";
  }
  return text;
}

MusicPtr TunemixLoader::Load(const std::string& url) {
  for (const auto& loader : MusicLoaders()) {
    if (!Matches(*loader, url)) continue;
    return loader->loadFunc ? loader->loadFunc(url) : nullptr;
  }
  return nullptr;
}

MusicPtr LoadMusic(const std::string& url) { return TunemixLoader::Load(url); }

std::string MusicFileFilter(int all, int anyFile) { return TunemixLoader::Filter(all, anyFile); }

int CloseMusic(const MusicPtr& music) {
  if (music) music->Close();
  return 0;
}
