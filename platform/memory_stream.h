// A stream over bytes in memory: embedded files (borrowed, read only) and HTTP bodies (owned).
#pragma once

#include <cstring>
#include <vector>

#include "platform/stream.h"

class MemoryStream : public Stream {
 public:
  // Borrows data, which must outlive the stream (embedded files live for the whole run).
  MemoryStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit MemoryStream(std::vector<uint8_t> owned)
      : owned_(std::move(owned)), data_(owned_.data()), size_(owned_.size()) {}

  size_t Read(void* buffer, size_t count) override {
    size_t left = size_ - position_;
    if (count > left) count = left;
    if (count) std::memcpy(buffer, data_ + position_, count);
    position_ += count;
    return count;
  }
  size_t Write(const void*, size_t) override { return 0; }
  bool Eof() const override { return position_ >= size_; }
  long Position() const override { return static_cast<long>(position_); }
  bool Seek(long position) override {
    if (position < 0 || static_cast<size_t>(position) > size_) return false;
    position_ = static_cast<size_t>(position);
    return true;
  }
  long Size() const override { return static_cast<long>(size_); }

 private:
  std::vector<uint8_t> owned_;
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};
