// Vorbisfile's input callbacks over one of our streams.
#include "platform/ogg_callbacks.h"

#include <climits>
#include <cstdio>

#include "platform/stream.h"

namespace {

size_t Read(void* destination, size_t size, size_t count, void* source) {
  if (size == 0 || count == 0) return 0;
  return static_cast<Stream*>(source)->Read(destination, size * count) / size;
}

// 0 when it could seek, else -1 (before the start, or past the end).
int Seek(void* source, ogg_int64_t offset, int origin) {
  auto* s = static_cast<Stream*>(source);
  long long target;
  switch (origin) {
    case SEEK_SET: target = offset; break;
    case SEEK_CUR: target = s->Position() + offset; break;
    case SEEK_END: target = s->Size() + offset; break;
    default: return -1;
  }
  if (target < 0 || target > LONG_MAX) return -1;
  return s->Seek(static_cast<long>(target)) ? 0 : -1;
}

long Tell(void* source) { return static_cast<Stream*>(source)->Position(); }

}  // namespace

ov_callbacks StreamOggCallbacks() { return ov_callbacks{Read, Seek, nullptr, Tell}; }
