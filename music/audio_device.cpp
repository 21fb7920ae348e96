// The music output device on libqxrsound, the result names it prints, and the volume scale.
#include "music/audio_device.h"

#include <cmath>
#include <cstdio>

#include "music/audio_stream.h"
#include "platform/sound.h"
#include "platform/system.h"

namespace {

SO_Device* Device = nullptr;
SO_Buffer* PrimaryBuffer = nullptr;
SO_BufferDesc PrimaryDesc{};

}  // namespace

void TAudioDevice::Startup() {
  if (Device) return;
  // Without the sound-buffer library there is no music device: the game goes on without
  // music, and says which library is missing.
  if (!SoundOut.CreateDevice.IsBound()) {
    const std::string why = SoundOutputLibraryError().empty()
                                ? std::string("The sound-buffer library ") + SoundOutputLibraryFile + " is not loaded"
                                : SoundOutputLibraryError();
    std::printf("%s\n", why.c_str());
    std::fflush(stdout);
    return;
  }
  PrimaryDesc = SO_BufferDesc{};
  PrimaryDesc.size = sizeof(SO_BufferDesc);
  PrimaryDesc.flags = SO_BUFFER_PRIMARY;
  // The effects' sound device, when it is open, takes the music as well.
  const SO_Output output{AudioOpen() ? AudioFrameRate : 0, SetMusicSource};
  DSCheck(SoundOut.CreateDevice(&output, &Device, nullptr), "DirectSoundCreate8");
  if (!Device) return;
  DSCheck(SoundOut.SetCooperativeLevel(Device, ActiveWindow(), SO_LEVEL_PRIORITY), "SetCooperativeLevel");
  DSCheck(SoundOut.CreateSoundBuffer(Device, &PrimaryDesc, &PrimaryBuffer, nullptr), "CreateSoundBuffer");
}

void TAudioDevice::Shutdown() {
  StopAllAudioStreams();
  if (PrimaryBuffer) SoundOut.ReleaseBuffer(PrimaryBuffer);
  if (Device) SoundOut.ReleaseDevice(Device);
  PrimaryBuffer = nullptr;
  Device = nullptr;
}

void StartAudioDevice() { TAudioDevice::Startup(); }
void StopAudioDevice() { TAudioDevice::Shutdown(); }

SO_Device* MusicOutputDevice() { return Device; }

std::string DSResultName(int32_t result) {
  switch (static_cast<uint32_t>(result)) {
    case 0: return "DS_OK";
    case 0x8007000E: return "DSERR_OUTOFMEMORY";
    case 0x80004002: return "DSERR_NOINTERFACE";
    case 0x0878000A: return "DSERR_NO_VIRTUALIZATION";
    case 0x08780014: return "DSERR_INCOMPLETE";
    case 0x80004001: return "DSERR_UNSUPPORTED";
    case 0x80004005: return "DSERR_GENERIC";
    case 0x80070005: return "DSERR_ACCESSDENIED";
    case 0x80070057: return "DSERR_INVALIDPARAM";
    case 0x8878001E: return "DSERR_CONTROLUNAVAIL";
    case 0x88780032: return "DSERR_INVALIDCALL";
    case 0x88780046: return "DSERR_PRIOLEVELNEEDED";
    case 0x88780064: return "DSERR_BADFORMAT";
    case 0x88780078: return "DSERR_NODRIVER";
    case 0x88780082: return "DSERR_ALREADYINITIALIZED";
    case 0x88780096: return "DSERR_BUFFERLOST";
    case 0x887800A0: return "DSERR_OTHERAPPHASPRIO";
    case 0x887800AA: return "DSERR_UNINITIALIZED";
    case 0x887810B4: return "DSERR_BUFFERTOOSMALL";
    case 0x887810BE: return "DSERR_DS8_REQUIRED";
    case 0x887810C8: return "DSERR_SENDLOOP";
    case 0x887810D2: return "DSERR_BADSENDBUFFERGUID";
    case 0x887810DC: return "DSERR_FXUNAVAILABLE";
    case 0x88781161: return "DSERR_OBJECTNOTFOUND";
    default: return "UNKNOWN!";
  }
}

int DSCheck(int32_t result, const std::string& operation) {
  if (result != 0) {
    std::printf("%s = %s\n", operation.c_str(), DSResultName(result).c_str());
    std::fflush(stdout);
  }
  return 0;
}

int VolumeToAttenuation(float volume) {
  if (volume >= 1) return 0;
  if (volume <= 0) return SO_VOLUME_MIN;
  const int attenuation = static_cast<int>(3321.928 * std::log10(static_cast<double>(volume)));
  return attenuation < SO_VOLUME_MIN ? SO_VOLUME_MIN : attenuation;
}
