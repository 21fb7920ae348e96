// Bitstreams: appending fields and reading them back without ever passing the end.
#include "platform/qxrnet/bitstream.h"

#include <algorithm>
#include <cstring>

#include "platform/qxrnet/export.h"

namespace {

bool Writable(RN_BitStream* s) { return s != nullptr && !s->ownedByPacket; }

size_t Remaining(const RN_BitStream& s) { return s.data.size() - s.readPos; }

}  // namespace

RN_EXPORT RN_BitStream* RN_BitStreamCreate1(int initialBytes) {
  auto* s = new RN_BitStream;
  s->data.reserve(static_cast<size_t>(std::clamp(initialBytes, 0, int{RN_MAX_PACKET_BYTES})));
  return s;
}

RN_EXPORT RN_BitStream* RN_BitStreamDestroy(RN_BitStream* stream) {
  if (Writable(stream)) delete stream;
  return nullptr;
}

RN_EXPORT void RN_BitStreamReset(RN_BitStream* stream) {
  if (!Writable(stream)) return;
  stream->data.clear();
  stream->readPos = 0;
  stream->pastEnd = false;
}

RN_EXPORT void RN_BitStreamWriteUnsignedChar(RN_BitStream* stream, int value) {
  if (Writable(stream)) stream->data.push_back(static_cast<uint8_t>(value & 0xFF));
}

RN_EXPORT void RN_BitStreamWriteShort(RN_BitStream* stream, int value) {
  if (!Writable(stream)) return;
  stream->data.push_back(static_cast<uint8_t>(value & 0xFF));
  stream->data.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

RN_EXPORT void RN_BitStreamWrite(RN_BitStream* stream, const void* bytes, int count) {
  if (!Writable(stream) || bytes == nullptr || count <= 0) return;
  const auto* p = static_cast<const uint8_t*>(bytes);
  stream->data.insert(stream->data.end(), p, p + count);
}

RN_EXPORT RN_BitStream* RN_BitStreamCreateFromPacket(RN_Packet* packet) {
  if (packet == nullptr) return nullptr;
  packet->stream.readPos = 0;
  packet->stream.pastEnd = false;
  return &packet->stream;
}

RN_EXPORT int RN_BitStreamReadUnsignedChar(RN_BitStream* stream) {
  if (stream == nullptr) return 0;
  if (Remaining(*stream) < 1) {
    stream->pastEnd = true;
    return 0;
  }
  return stream->data[stream->readPos++];
}

RN_EXPORT int RN_BitStreamReadShort(RN_BitStream* stream) {
  if (stream == nullptr) return 0;
  if (Remaining(*stream) < 2) {
    stream->readPos = stream->data.size();
    stream->pastEnd = true;
    return 0;
  }
  const unsigned low = stream->data[stream->readPos];
  const unsigned high = stream->data[stream->readPos + 1];
  stream->readPos += 2;
  return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

RN_EXPORT const unsigned char* RN_BitStreamRead(RN_BitStream* stream, int count) {
  static const unsigned char kNothing[1] = {0};
  if (stream == nullptr) return kNothing;
  const size_t wanted = static_cast<size_t>(std::clamp(count, 0, int{RN_MAX_PACKET_BYTES}));
  if (wanted == 0) return kNothing;
  const size_t available = Remaining(*stream);
  if (available >= wanted) {
    const unsigned char* p = stream->data.data() + stream->readPos;
    stream->readPos += wanted;
    return p;
  }
  stream->scratch.assign(wanted, 0);
  if (available > 0) std::memcpy(stream->scratch.data(), stream->data.data() + stream->readPos, available);
  stream->readPos = stream->data.size();
  stream->pastEnd = true;
  return stream->scratch.data();
}

RN_EXPORT int RN_BitStreamReadPastEnd(RN_BitStream* stream) {
  return stream == nullptr || stream->pastEnd ? 1 : 0;
}

RN_EXPORT int RN_BitStreamGetNumberOfBytesUsed(RN_BitStream* stream) {
  return stream == nullptr ? 0 : static_cast<int>(stream->data.size());
}
