// Sound buffers: creation from a description, play and stop, cursor, frequency, volume, lock.
#include <algorithm>
#include <cmath>
#include <new>

#include "platform/qxrsound/export.h"
#include "platform/qxrsound/sound_layer.h"

namespace {

bool FormatPlayable(const SO_WaveFormat& f) {
  return f.formatTag == 1 && (f.channels == 1 || f.channels == 2) && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
         f.blockAlign == f.channels * f.bitsPerSample / 8 && f.samplesPerSec >= SO_FREQUENCY_MIN &&
         f.samplesPerSec <= SO_FREQUENCY_MAX;
}

// A buffer the program may work on: a live secondary buffer of a device it still holds.
int32_t Usable(const SO_Buffer* buffer) {
  if (!buffer) return SO_ERR_INVALIDPARAM;
  if (buffer->primary) return SO_ERR_INVALIDCALL;
  return SO_OK;
}

void StopLocked(SO_Buffer* buffer) {
  auto& playing = buffer->device->playing;
  playing.erase(std::remove(playing.begin(), playing.end(), buffer), playing.end());
  buffer->playing = false;
}

}  // namespace

namespace qxrsound {

int32_t GainOf(int32_t hundredthsOfDecibel) {
  if (hundredthsOfDecibel >= SO_VOLUME_MAX) return 1 << 16;
  if (hundredthsOfDecibel <= SO_VOLUME_MIN) return 0;
  return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, hundredthsOfDecibel / 2000.0)));
}

}  // namespace qxrsound

SO_EXPORT int32_t SO_CreateSoundBuffer(SO_Device* device, const SO_BufferDesc* desc, SO_Buffer** buffer,
                                       void* outer) {
  if (!buffer) return SO_ERR_INVALIDPARAM;
  *buffer = nullptr;
  if (!device || device->released || !desc || desc->size != sizeof(SO_BufferDesc) || outer)
    return SO_ERR_INVALIDPARAM;
  auto* made = new (std::nothrow) SO_Buffer;
  if (!made) return SO_ERR_OUTOFMEMORY;
  made->device = device;
  made->flags = desc->flags;
  if (desc->flags & SO_BUFFER_PRIMARY) {
    if (desc->bufferBytes != 0 || desc->format) {
      delete made;
      return SO_ERR_INVALIDPARAM;
    }
    made->primary = true;
  } else {
    if (!desc->format || !FormatPlayable(*desc->format)) {
      delete made;
      return desc->format ? SO_ERR_BADFORMAT : SO_ERR_INVALIDPARAM;
    }
    const SO_WaveFormat& format = *desc->format;
    if (desc->bufferBytes < SO_BUFFER_MIN_BYTES || desc->bufferBytes > SO_BUFFER_MAX_BYTES ||
        desc->bufferBytes % format.blockAlign != 0) {
      delete made;
      return SO_ERR_INVALIDPARAM;
    }
    made->format = format;
    made->frequency = format.samplesPerSec;
    made->frames = desc->bufferBytes / format.blockAlign;
    try {
      // Starts silent: the middle value for 8-bit samples, 0 for 16-bit ones.
      made->data.assign(desc->bufferBytes, format.bitsPerSample == 8 ? 0x80 : 0);
    } catch (const std::bad_alloc&) {
      delete made;
      return SO_ERR_OUTOFMEMORY;
    }
  }
  ++device->references;
  *buffer = made;
  return SO_OK;
}

SO_EXPORT uint32_t SO_ReleaseBuffer(SO_Buffer* buffer) {
  if (!buffer) return 0;
  SO_Device* device = buffer->device;
  {
    std::lock_guard<std::mutex> guard(device->mutex);
    StopLocked(buffer);
  }
  delete buffer;
  qxrsound::Unreference(device);
  return 0;
}

SO_EXPORT int32_t SO_Play(SO_Buffer* buffer, uint32_t /*reserved*/, uint32_t /*priority*/, uint32_t flags) {
  if (!buffer) return SO_ERR_INVALIDPARAM;
  if (buffer->primary) return SO_OK;  // the primary buffer plays whatever is mixed into it
  std::lock_guard<std::mutex> guard(buffer->device->mutex);
  if (buffer->device->released) return SO_ERR_NODRIVER;
  buffer->looping = (flags & SO_PLAY_LOOPING) != 0;
  if (!buffer->playing) buffer->device->playing.push_back(buffer);
  buffer->playing = true;
  return SO_OK;
}

SO_EXPORT int32_t SO_Stop(SO_Buffer* buffer) {
  if (!buffer) return SO_ERR_INVALIDPARAM;
  std::lock_guard<std::mutex> guard(buffer->device->mutex);
  StopLocked(buffer);
  return SO_OK;
}

SO_EXPORT int32_t SO_SetCurrentPosition(SO_Buffer* buffer, uint32_t position) {
  if (int32_t result = Usable(buffer)) return result;
  if (position >= buffer->data.size()) return SO_ERR_INVALIDPARAM;
  std::lock_guard<std::mutex> guard(buffer->device->mutex);
  buffer->cursor = static_cast<uint64_t>(position / buffer->format.blockAlign) << 32;
  return SO_OK;
}

SO_EXPORT int32_t SO_GetCurrentPosition(SO_Buffer* buffer, uint32_t* playCursor, uint32_t* writeCursor) {
  if (int32_t result = Usable(buffer)) return result;
  uint32_t frame;
  {
    std::lock_guard<std::mutex> guard(buffer->device->mutex);
    frame = static_cast<uint32_t>(buffer->cursor >> 32);
  }
  // The mix reads the play cursor's frame and the next one; writing is safe after those.
  if (playCursor) *playCursor = frame * buffer->format.blockAlign;
  if (writeCursor) *writeCursor = (frame + 2) % buffer->frames * buffer->format.blockAlign;
  return SO_OK;
}

SO_EXPORT int32_t SO_SetFrequency(SO_Buffer* buffer, uint32_t hertz) {
  if (int32_t result = Usable(buffer)) return result;
  if (!(buffer->flags & SO_BUFFER_CTRLFREQUENCY)) return SO_ERR_CONTROLUNAVAIL;
  if (hertz == SO_FREQUENCY_ORIGINAL) hertz = buffer->format.samplesPerSec;
  if (hertz < SO_FREQUENCY_MIN || hertz > SO_FREQUENCY_MAX) return SO_ERR_INVALIDPARAM;
  std::lock_guard<std::mutex> guard(buffer->device->mutex);
  buffer->frequency = hertz;
  return SO_OK;
}

SO_EXPORT int32_t SO_SetVolume(SO_Buffer* buffer, int32_t hundredthsOfDecibel) {
  if (int32_t result = Usable(buffer)) return result;
  if (!(buffer->flags & SO_BUFFER_CTRLVOLUME)) return SO_ERR_CONTROLUNAVAIL;
  if (hundredthsOfDecibel > SO_VOLUME_MAX || hundredthsOfDecibel < SO_VOLUME_MIN) return SO_ERR_INVALIDPARAM;
  const int32_t gain = qxrsound::GainOf(hundredthsOfDecibel);
  std::lock_guard<std::mutex> guard(buffer->device->mutex);
  buffer->gain = gain;
  return SO_OK;
}

SO_EXPORT int32_t SO_Lock(SO_Buffer* buffer, uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes,
                          void** second, uint32_t* secondBytes, uint32_t flags) {
  if (int32_t result = Usable(buffer)) return result;
  if (!first || !firstBytes) return SO_ERR_INVALIDPARAM;
  const uint32_t size = static_cast<uint32_t>(buffer->data.size());
  if (flags & SO_LOCK_ENTIREBUFFER) bytes = size;
  if (buffer->locked || offset >= size || bytes == 0 || bytes > size) return SO_ERR_INVALIDPARAM;
  const uint32_t toEnd = size - offset;
  const uint32_t wrapped = bytes > toEnd ? bytes - toEnd : 0;
  // Only a caller that takes a second region may lock across the end.
  if (wrapped && (!second || !secondBytes)) return SO_ERR_INVALIDPARAM;
  *first = buffer->data.data() + offset;
  *firstBytes = bytes - wrapped;
  if (second) *second = wrapped ? buffer->data.data() : nullptr;
  if (secondBytes) *secondBytes = wrapped;
  buffer->locked = true;
  buffer->lockedFirst = *first;
  buffer->lockedSecond = wrapped ? buffer->data.data() : nullptr;
  return SO_OK;
}

SO_EXPORT int32_t SO_Unlock(SO_Buffer* buffer, void* first, uint32_t /*firstBytes*/, void* second,
                            uint32_t /*secondBytes*/) {
  if (int32_t result = Usable(buffer)) return result;
  if (!buffer->locked || first != buffer->lockedFirst || second != buffer->lockedSecond) return SO_ERR_INVALIDPARAM;
  buffer->locked = false;
  buffer->lockedFirst = buffer->lockedSecond = nullptr;
  return SO_OK;
}
