// What the stream-reader fuzzers share: the bytes served as an embedded file, and a source that
// opened played a little, across its loop, in requests of several sizes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "music/music.h"
#include "platform/stream.h"

// The input as the embedded file "fuzz.<extension>"; returns its url.
inline std::string ServeAsFile(const uint8_t* data, size_t size, const std::string& extension) {
  const std::string name = "fuzz." + extension;
  RegisterEmbeddedFile(name, data, size);
  return "incbin::" + name;
}

inline void FuzzPlayStream(TMusic& music) {
  music.SetInfo(InfoRate, 44100);
  music.SetInfo(InfoLoop, 1);
  music.playing = 1;
  std::vector<uint8_t> buffer(24000);
  for (int request : {1, 4, 2940, 24000, 2940, 7}) music.FillBuffer(buffer.data(), request);
  music.GetInfo(InfoLength);
}
