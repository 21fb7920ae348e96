// Test pictures: real PNG files made with the platform's encoder and registered as embedded files.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <list>
#include <string>
#include <vector>

#include "platform/png_codec.h"
#include "platform/stream.h"

// Encodes argb (width*height pixels) as a PNG and registers it as "incbin::<name>".
inline std::string RegisterTestPicture(const std::string& name, int width, int height,
                                       const std::vector<uint32_t>& argb) {
  static std::list<std::vector<uint8_t>> keep;  // embedded data must outlive every stream
  std::string flat = name;
  for (char& c : flat)
    if (c == '/') c = '_';
  std::string path = "/tmp/qxr_platform_test_" + std::to_string(getpid()) + "_" + flat;
  if (!EncodePng(path, width, height, argb.data())) return "";
  std::ifstream in(path, std::ios::binary);
  keep.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  in.close();
  std::remove(path.c_str());
  RegisterEmbeddedFile(name, keep.back().data(), keep.back().size());
  return "incbin::" + name;
}

// A picture of one colour.
inline std::vector<uint32_t> Filled(int width, int height, uint32_t argb) {
  return std::vector<uint32_t>(static_cast<size_t>(width) * height, argb);
}
