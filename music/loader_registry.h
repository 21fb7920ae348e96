// The registry of music file formats: which loader opens which file, and the file-requester filter.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "music/music.h"

// Takes a url, returns the loaded music or Null when the file is not of its format or unusable.
using MusicLoadFunc = std::function<MusicPtr(const std::string& url)>;

class TunemixLoader {
 public:
  std::string description;
  MusicLoadFunc loadFunc;
  std::string extension;      // without the dot

  // Creates a loader at the end of the loader list (list order is the order of matching).
  static void Add(MusicLoadFunc loadFunc, const std::string& description, const std::string& extension);
  // "All supported:,ext,..." (when all), then "description:ext" per loader, then "All Files:*"
  // (when anyFile), joined by ";".
  static std::string Filter(int all, int anyFile);
  // The first loader whose extension ends the url (".mod") or begins its file name ("mod.")
  // loads it; its result is final, even Null. Null when no loader matches.
  static MusicPtr Load(const std::string& url);
};

// The loader list, in registration order.
std::vector<std::shared_ptr<TunemixLoader>>& MusicLoaders();

MusicPtr LoadMusic(const std::string& url);
std::string MusicFileFilter(int all, int anyFile);
int CloseMusic(const MusicPtr& music);  // Close unless Null; 0
