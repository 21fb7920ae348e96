// Loads libqxrsound.so and binds each of its device and buffer functions by name.
#include "music/sound_output_binding.h"

// Never destroyed: a source or stream still alive at the program's end releases through it.
SoundOutputLibrary& SoundOut = *new SoundOutputLibrary;

namespace {

std::string& LoadError() {
  static auto* error = new std::string;
  return *error;
}

}  // namespace

const std::string& SoundOutputLibraryError() { return LoadError(); }

bool BindSoundOutputLibrary(const std::string& fileName) {
  std::string why;
  const SharedLibrary* library = LoadLibraryForGood(fileName, &why);
  if (!library) {
    LoadError() = "Unable to load the sound-buffer library " + fileName + ": " + why;
    return false;
  }
  LoadError().clear();
  library->BindTo(SoundOut.CreateDevice, "SO_CreateDevice");
  library->BindTo(SoundOut.SetCooperativeLevel, "SO_SetCooperativeLevel");
  library->BindTo(SoundOut.CreateSoundBuffer, "SO_CreateSoundBuffer");
  library->BindTo(SoundOut.ReleaseDevice, "SO_ReleaseDevice");
  library->BindTo(SoundOut.Play, "SO_Play");
  library->BindTo(SoundOut.Stop, "SO_Stop");
  library->BindTo(SoundOut.SetCurrentPosition, "SO_SetCurrentPosition");
  library->BindTo(SoundOut.GetCurrentPosition, "SO_GetCurrentPosition");
  library->BindTo(SoundOut.SetFrequency, "SO_SetFrequency");
  library->BindTo(SoundOut.SetVolume, "SO_SetVolume");
  library->BindTo(SoundOut.Lock, "SO_Lock");
  library->BindTo(SoundOut.Unlock, "SO_Unlock");
  library->BindTo(SoundOut.ReleaseBuffer, "SO_ReleaseBuffer");
  return true;
}
