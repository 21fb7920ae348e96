// Loads libqxrsound.so and binds each of its device and buffer functions by name.
#include "music/sound_output_binding.h"

// Never destroyed: a source or stream still alive at the program's end releases through it.
SoundOutputLibrary& SoundOut = *new SoundOutputLibrary;

namespace {

// Never closed: the sound device's thread may call into it until the program's very end.
SharedLibrary& Library() {
  static auto* library = new SharedLibrary;
  return *library;
}

}  // namespace

bool BindSoundOutputLibrary(const std::string& fileName) {
  SharedLibrary library(fileName);
  if (!library.Loaded()) return false;
  Library() = std::move(library);
  const SharedLibrary& bound = Library();
  bound.BindTo(SoundOut.CreateDevice, "SO_CreateDevice");
  bound.BindTo(SoundOut.SetCooperativeLevel, "SO_SetCooperativeLevel");
  bound.BindTo(SoundOut.CreateSoundBuffer, "SO_CreateSoundBuffer");
  bound.BindTo(SoundOut.ReleaseDevice, "SO_ReleaseDevice");
  bound.BindTo(SoundOut.Play, "SO_Play");
  bound.BindTo(SoundOut.Stop, "SO_Stop");
  bound.BindTo(SoundOut.SetCurrentPosition, "SO_SetCurrentPosition");
  bound.BindTo(SoundOut.GetCurrentPosition, "SO_GetCurrentPosition");
  bound.BindTo(SoundOut.SetFrequency, "SO_SetFrequency");
  bound.BindTo(SoundOut.SetVolume, "SO_SetVolume");
  bound.BindTo(SoundOut.Lock, "SO_Lock");
  bound.BindTo(SoundOut.Unlock, "SO_Unlock");
  bound.BindTo(SoundOut.ReleaseBuffer, "SO_ReleaseBuffer");
  return true;
}
