// The sound-buffer library libqxrsound.so, loaded at start-up and bound function by function.
//
// A name the library lacks is bound to the placeholder that raises an error when called.
#pragma once

#include <string>

#include "platform/library.h"
#include "platform/qxrsound/qxrsound.h"

struct SoundOutputLibrary {
  BoundFunction<int32_t(const SO_Output*, SO_Device**, void*)> CreateDevice;
  BoundFunction<int32_t(SO_Device*, void*, uint32_t)> SetCooperativeLevel;
  BoundFunction<int32_t(SO_Device*, const SO_BufferDesc*, SO_Buffer**, void*)> CreateSoundBuffer;
  BoundFunction<uint32_t(SO_Device*)> ReleaseDevice;
  BoundFunction<int32_t(SO_Buffer*, uint32_t, uint32_t, uint32_t)> Play;
  BoundFunction<int32_t(SO_Buffer*)> Stop;
  BoundFunction<int32_t(SO_Buffer*, uint32_t)> SetCurrentPosition;
  BoundFunction<int32_t(SO_Buffer*, uint32_t*, uint32_t*)> GetCurrentPosition;
  BoundFunction<int32_t(SO_Buffer*, uint32_t)> SetFrequency;
  BoundFunction<int32_t(SO_Buffer*, int32_t)> SetVolume;
  BoundFunction<int32_t(SO_Buffer*, uint32_t, uint32_t, void**, uint32_t*, void**, uint32_t*, uint32_t)> Lock;
  BoundFunction<int32_t(SO_Buffer*, void*, uint32_t, void*, uint32_t)> Unlock;
  BoundFunction<uint32_t(SO_Buffer*)> ReleaseBuffer;
};

extern SoundOutputLibrary& SoundOut;

constexpr const char* SoundOutputLibraryFile = "libqxrsound.so";

// Loads the library (from the program's folder first) and binds every function; false, with
// nothing bound, when it cannot be loaded.
bool BindSoundOutputLibrary(const std::string& fileName = SoundOutputLibraryFile);
// Why the library could not be loaded, naming it; "" when it was bound.
const std::string& SoundOutputLibraryError();
