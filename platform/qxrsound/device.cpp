// The device: created on the program's sound output, attached to it, and let go of again.
#include <new>

#include "platform/qxrsound/export.h"
#include "platform/qxrsound/sound_layer.h"

namespace {

// One device at a time is attached to the output: the output has one music entry.
SO_Device* Attached = nullptr;

}  // namespace

namespace qxrsound {

void Unreference(SO_Device* device) {
  if (--device->references == 0) delete device;
}

}  // namespace qxrsound

SO_EXPORT int32_t SO_CreateDevice(const SO_Output* output, SO_Device** device, void* outer) {
  if (!device || outer) return SO_ERR_INVALIDPARAM;
  *device = nullptr;
  if (!output || output->rate <= 0 || !output->attach) return SO_ERR_NODRIVER;
  if (Attached) return SO_ERR_ALREADYINITIALIZED;
  auto* made = new (std::nothrow) SO_Device;
  if (!made) return SO_ERR_OUTOFMEMORY;
  made->output = *output;
  made->output.attach(qxrsound::MixDevice, made);
  Attached = made;
  *device = made;
  return SO_OK;
}

SO_EXPORT int32_t SO_SetCooperativeLevel(SO_Device* device, void* /*window: every level shares the output*/,
                                         uint32_t level) {
  if (!device || device->released) return SO_ERR_INVALIDPARAM;
  if (level < SO_LEVEL_NORMAL || level > SO_LEVEL_WRITEPRIMARY) return SO_ERR_INVALIDPARAM;
  device->level = level;
  return SO_OK;
}

SO_EXPORT uint32_t SO_ReleaseDevice(SO_Device* device) {
  if (!device || device->released) return 0;
  // Detached outside the lock: the output waits for a mix in progress, which takes the lock.
  device->output.attach(nullptr, nullptr);
  if (Attached == device) Attached = nullptr;
  {
    std::lock_guard<std::mutex> guard(device->mutex);
    device->released = true;
    for (SO_Buffer* buffer : device->playing) buffer->playing = false;
    device->playing.clear();
  }
  const uint32_t left = static_cast<uint32_t>(device->references - 1);
  qxrsound::Unreference(device);
  return left;
}
