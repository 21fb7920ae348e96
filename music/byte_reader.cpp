// The module loaders' bounded reader and the name trimming they share.
#include "music/byte_reader.h"

bool ByteReader::Seek(uint64_t offset) {
  if (offset > size_) {
    position_ = size_;
    failed_ = true;
    return false;
  }
  position_ = static_cast<size_t>(offset);
  return true;
}

int ByteReader::U8() {
  if (position_ >= size_) {
    failed_ = true;
    return 0;
  }
  return data_[position_++];
}

int ByteReader::S8() {
  const int b = U8();
  return b >= 128 ? b - 256 : b;
}

int ByteReader::U16LE() {
  const int lo = U8();
  return lo | (U8() << 8);
}

int ByteReader::U16BE() {
  const int hi = U8();
  return (hi << 8) | U8();
}

uint32_t ByteReader::U32LE() {
  uint32_t value = 0;
  for (int shift = 0; shift < 32; shift += 8) value |= static_cast<uint32_t>(U8()) << shift;
  return value;
}

std::string ByteReader::Text(size_t count) {
  std::string text(count, '\0');
  for (size_t i = 0; i < count; ++i) text[i] = static_cast<char>(U8());
  return text;
}

const uint8_t* ByteReader::Take(size_t& count) {
  if (count > Remaining()) count = Remaining();
  const uint8_t* start = data_ + position_;
  position_ += count;
  return start;
}
