// The output stream: the ring buffer's set-up, play, pause and stop, and its refill behind
// the play cursor.
#include "music/audio_stream.h"

#include <algorithm>
#include <vector>

#include "music/audio_device.h"

namespace {

constexpr uint32_t StreamBufferFlags = SO_BUFFER_CTRLFREQUENCY | SO_BUFFER_CTRLPAN | SO_BUFFER_CTRLVOLUME |
                                       SO_BUFFER_GLOBALFOCUS | SO_BUFFER_GETCURRENTPOSITION2 |
                                       SO_BUFFER_LOCDEFER;

// Never destroyed: streams still alive at the program's end take themselves off it.
std::vector<TAudioStream*>& LiveStreams() {
  static auto* streams = new std::vector<TAudioStream*>;
  return *streams;
}

}  // namespace

TAudioStream::TAudioStream() {
  LiveStreams().push_back(this);
  AddHook(EventHookFunction, this, 0);
}

TAudioStream::~TAudioStream() {
  Stop();
  auto& streams = LiveStreams();
  streams.erase(std::remove(streams.begin(), streams.end(), this), streams.end());
}

AudioStreamPtr CreateAudioStream(MusicPtr music, int useTimer, int bufferBytes) {
  auto stream = std::make_shared<TAudioStream>();
  stream->music = std::move(music);
  stream->useTimer = useTimer;
  stream->bufferBytes = bufferBytes;
  return stream;
}

void StopAllAudioStreams() {
  const std::vector<TAudioStream*> streams = LiveStreams();
  for (TAudioStream* stream : streams) stream->Stop();
}

void TAudioStream::CreateBuffer() {
  if (!music) return;
  const int format = music->format;
  const int channels = format == FormatStereo8 || format == FormatStereo16 ? 2 : 1;
  const int bits = format == FormatMono8 || format == FormatStereo8 ? 8 : 16;
  waveFormat = SO_WaveFormat{};
  waveFormat.formatTag = 1;
  waveFormat.channels = static_cast<uint16_t>(channels);
  waveFormat.samplesPerSec = static_cast<uint32_t>(rate);
  waveFormat.blockAlign = static_cast<uint16_t>(bits / 8 * channels);
  waveFormat.avgBytesPerSec = static_cast<uint32_t>(rate) * waveFormat.blockAlign;
  waveFormat.bitsPerSample = static_cast<uint16_t>(bits);
  bufferDesc = SO_BufferDesc{};
  bufferDesc.size = sizeof(SO_BufferDesc);
  bufferDesc.flags = StreamBufferFlags;
  bufferDesc.bufferBytes = static_cast<uint32_t>(bufferBytes);
  bufferDesc.format = &waveFormat;
  // Without a device there is nothing to make a buffer on: the stream stays silent.
  if (!MusicOutputDevice()) return;
  DSCheck(SoundOut.CreateSoundBuffer(MusicOutputDevice(), &bufferDesc, &buffer, nullptr), "CreateSoundBuffer");
}

void TAudioStream::Play() {
  if (!music) return;
  rate = music->rate;
  if (!buffer) CreateBuffer();
  if (!buffer) return;
  DSCheck(SoundOut.Stop(buffer), "Stop");
  DSCheck(SoundOut.SetCurrentPosition(buffer, 0), "SetCurrentPosition");
  DSCheck(SoundOut.SetFrequency(buffer, static_cast<uint32_t>(rate * rateScale)), "SetFrequency");
  DSCheck(SoundOut.SetVolume(buffer, VolumeToAttenuation(volume)), "SetVolume");
  music->playing = 1;
  void* first = nullptr;
  void* second = nullptr;
  uint32_t firstBytes = 0, secondBytes = 0;
  if (SoundOut.Lock(buffer, 0, static_cast<uint32_t>(bufferBytes), &first, &firstBytes, &second, &secondBytes,
                    SO_LOCK_ENTIREBUFFER) == SO_OK) {
    music->FillBuffer(first, static_cast<int>(firstBytes));
    SoundOut.Unlock(buffer, first, firstBytes, second, secondBytes);
  }
  // The whole ring holds fresh music: the refill starts again from its beginning.
  writeCursor = 0;
  SoundOut.Play(buffer, 0, 0, SO_PLAY_LOOPING);
  playing = 1;
  StopTimer(timer);
  if (useTimer) timer = CreateTimer(timerHz);
}

void TAudioStream::Update() {
  if (!buffer || !music) return;
  uint32_t playCursor = 0;
  if (SoundOut.GetCurrentPosition(buffer, &playCursor, nullptr) != SO_OK) return;
  const int p = static_cast<int>(playCursor);
  const bool wrapped = p < writeCursor;
  const int n = wrapped ? bufferBytes - writeCursor + p : p - writeCursor;
  void* regions[2] = {nullptr, nullptr};
  uint32_t lengths[2] = {0, 0};
  // A request of 0 bytes fails the lock and writes nothing.
  if (SoundOut.Lock(buffer, static_cast<uint32_t>(writeCursor), static_cast<uint32_t>(n), &regions[0], &lengths[0],
                    &regions[1], &lengths[1], 0) == SO_OK) {
    for (int i = 0; i < 2; ++i) {
      if (lengths[i] == 0) continue;
      music->FillBuffer(regions[i], static_cast<int>(lengths[i]));
      writeCursor += static_cast<int>(lengths[i]);
    }
    SoundOut.Unlock(buffer, regions[0], lengths[0], regions[1], lengths[1]);
  }
  if (!wrapped) return;
  writeCursor = p;
  Update();
  if (music && music->playing == 0) Pause();
}

void TAudioStream::Stop() {
  StopTimer(timer);
  RemoveHook(EventHookFunction, this);
  if (buffer) {
    SoundOut.Stop(buffer);
    SoundOut.ReleaseBuffer(buffer);
    buffer = nullptr;
  }
  playing = 0;
  music = nullptr;
}

void TAudioStream::Pause() {
  if (buffer) SoundOut.Stop(buffer);
  if (music) music->playing = 0;
  playing = 0;
}

int TAudioStream::Playing() const { return music ? music->playing : 0; }

void TAudioStream::TogglePause() {
  if (paused) {
    if (buffer) SoundOut.Play(buffer, 0, 0, SO_PLAY_LOOPING);
    playing = 1;
    if (music) music->playing = 1;
    paused = 0;
  } else {
    if (buffer) SoundOut.Stop(buffer);
    if (music) music->playing = 0;
    playing = 0;
    paused = 1;
  }
}

void TAudioStream::SetVolume(float v) {
  volume = v;
  if (buffer) SoundOut.SetVolume(buffer, VolumeToAttenuation(v));
}

void TAudioStream::ApplyRate() {
  if (buffer) SoundOut.SetFrequency(buffer, static_cast<uint32_t>(rate * rateScale));
}

void TAudioStream::EventHookFunction(const Event& event, void* context) {
  static_cast<TAudioStream*>(context)->OnEvent(event);
}

void TAudioStream::OnEvent(const Event& event) {
  if (event.id == EventTimerTick && timer && event.source == timer.get()) Update();
}
