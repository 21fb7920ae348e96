// A bounds-checked reader over a file held in memory, for the module loaders.
//
// Every read is bounded: a read past the end yields 0 (or the bytes that exist, zero-padded)
// and sets a sticky failure flag that the loader checks, so a truncated or lying file can
// neither read outside the buffer nor throw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/text.h"

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Failed() const { return failed_; }
  size_t Position() const { return position_; }
  size_t Size() const { return size_; }
  size_t Remaining() const { return size_ - position_; }

  // Moves to an absolute offset; beyond the end fails (and stays at the end).
  bool Seek(uint64_t offset);
  bool Skip(uint64_t count) { return Seek(position_ + count); }

  int U8();
  int S8();
  int U16LE();
  int U16BE();
  uint32_t U32LE();
  std::string Text(size_t count);  // one character per byte
  // A pointer to the next count bytes and moves past them; fewer when the data ends early
  // (count is lowered to what exists, and that is not a failure).
  const uint8_t* Take(size_t& count);

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool failed_ = false;
};
