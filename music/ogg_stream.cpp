// Ogg Vorbis files through vorbisfile: opening on our own stream, decoding, looping, mixing down.
#include "music/ogg_stream.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/ogg_callbacks.h"

namespace {

// Which side each channel of a Vorbis channel layout goes to: L left, R right, C both, X none.
const char* ChannelSides(int channels) {
  switch (channels) {
    case 1: return "C";
    case 2: return "LR";
    case 3: return "LCR";
    case 4: return "LRLR";
    case 5: return "LCRLR";
    case 6: return "LCRLRX";
    case 7: return "LCRLRCX";
    case 8: return "LCRLRLRX";
    default: return nullptr;  // no layout: even channels left, odd ones right
  }
}

// Mixes frames of `channels` interleaved samples to `outputs` (1 or 2) channels.
void MixDown(const short* in, int channels, int frames, unsigned char* out, int outputs) {
  const char* sides = ChannelSides(channels);
  for (int f = 0; f < frames; ++f) {
    const short* frame = in + static_cast<size_t>(f) * channels;
    long left = 0, right = 0, leftWeight = 0, rightWeight = 0;
    for (int c = 0; c < channels; ++c) {
      const char side = sides ? sides[c] : (c % 2 ? 'R' : 'L');
      if (side == 'L' || side == 'C') left += frame[c], ++leftWeight;
      if (side == 'R' || side == 'C') right += frame[c], ++rightWeight;
    }
    const long l = leftWeight ? left / leftWeight : 0;
    const long r = rightWeight ? right / rightWeight : 0;
    const short mixed[2] = {static_cast<short>(outputs == 1 ? (l + r) / 2 : l), static_cast<short>(r)};
    std::memcpy(out + static_cast<size_t>(f) * 2 * outputs, mixed, 2 * static_cast<size_t>(outputs));
  }
}

}  // namespace

Tunemix_OGG::~Tunemix_OGG() { CloseDecoder(); }

bool Tunemix_OGG::OpenDecoder() {
  if (!stream) return false;
  auto file = std::make_unique<OggVorbis_File>();
  // On failure vorbisfile clears what it made itself.
  if (ov_open_callbacks(stream.get(), file.get(), nullptr, 0, StreamOggCallbacks()) != 0) return false;
  decoder = std::move(file);
  return true;
}

void Tunemix_OGG::CloseDecoder() {
  if (decoder) ov_clear(decoder.get());
  decoder.reset();
}

std::shared_ptr<Tunemix_OGG> Tunemix_OGG::Open(const std::string& url) {
  auto ogg = std::make_shared<Tunemix_OGG>();
  ogg->stream = ReadFile(url);
  if (!ogg->OpenDecoder()) return nullptr;
  const vorbis_info* info = ov_info(ogg->decoder.get(), -1);
  if (!info || info->channels < 1 || info->rate <= 0 || info->rate > INT_MAX) return nullptr;
  ogg->outputChannels_ = info->channels == 1 ? 1 : 2;
  ogg->rate = static_cast<int>(info->rate);
  ogg->format = ogg->outputChannels_ == 1 ? FormatMono16 : FormatStereo16;
  ogg->sampleCount = std::max<long long>(ov_pcm_total(ogg->decoder.get(), -1), 0);
  // A length a position cannot count is treated as unknown: the data's own end ends the pass.
  const long long bytes = ogg->sampleCount * 2 * ogg->outputChannels_;
  ogg->length = bytes <= INT_MAX ? static_cast<int>(bytes) : 0;
  return ogg;
}

MusicPtr LoadOGG(const std::string& url) { return Tunemix_OGG::Open(url); }

int Tunemix_OGG::Close() {
  TMusic::Close();
  CloseDecoder();
  carry_.clear();
  stream.reset();
  return 0;
}

void Tunemix_OGG::Rewind() {
  CloseDecoder();
  carry_.clear();
  if (stream) stream->Seek(0);
  position = 0;
  OpenDecoder();
}

int Tunemix_OGG::Decode(unsigned char* out, int byteCount) {
  const int frameBytes = 2 * outputChannels_;
  const int room = byteCount / frameBytes * frameBytes;
  // First what a part with fewer channels than expected gave beyond the last request.
  int done = std::min(room, static_cast<int>(carry_.size()));
  if (done > 0) {
    std::memcpy(out, carry_.data(), static_cast<size_t>(done));
    carry_.erase(carry_.begin(), carry_.begin() + done);
  }
  while (decoder && done < room) {
    // Every part of a chained file may have its own channel count: ask for the frames still
    // wanted in the channels of the part being read.
    const vorbis_info* current = ov_info(decoder.get(), -1);
    const int currentChannels = current && current->channels > 0 ? current->channels : 1;
    const int framesWanted = (room - done) / frameBytes;
    sectionSamples_.resize(static_cast<size_t>(framesWanted) * currentChannels);
    int section = 0;
    const long got = ov_read(decoder.get(), reinterpret_cast<char*>(sectionSamples_.data()),
                             framesWanted * currentChannels * 2, 0, 2, 1, &section);
    if (got == OV_HOLE) continue;  // a gap in the data: carry on after it
    if (got <= 0) break;           // the end, or damage that ends the pass
    const vorbis_info* info = ov_info(decoder.get(), section);
    const int channels = info && info->channels > 0 ? info->channels : 1;
    const int frames = static_cast<int>(got / (2 * channels));
    if (frames == 0) continue;
    converted_.resize(static_cast<size_t>(frames) * frameBytes);
    if (channels == outputChannels_) std::memcpy(converted_.data(), sectionSamples_.data(), converted_.size());
    else MixDown(sectionSamples_.data(), channels, frames, converted_.data(), outputChannels_);
    const int fits = std::min(room - done, static_cast<int>(converted_.size()));
    std::memcpy(out + done, converted_.data(), static_cast<size_t>(fits));
    carry_.insert(carry_.end(), converted_.begin() + fits, converted_.end());
    done += fits;
  }
  return done;
}

int Tunemix_OGG::FillBuffer(void* buffer, int byteCount) {
  if (!buffer || byteCount <= 0) return 0;
  auto* out = static_cast<unsigned char*>(buffer);
  const int frameBytes = 2 * outputChannels_;
  int done = 0;
  int passStart = position == 0 ? 0 : -1;  // where a pass that starts in this call starts
  while (done < byteCount && !silent_) {
    const int room = (byteCount - done) / frameBytes * frameBytes;
    if (room == 0) break;
    const bool passEnds = length > 0 && static_cast<long long>(position) + room >= length;
    const int wanted = passEnds ? length - position : room;
    const int got = Decode(out + done, wanted);
    const bool emptyPass = position == 0 && got == 0;
    position += got;
    done += got;
    // The pass is over at the reported length, or where the data ends before it.
    if (!passEnds && got == wanted) break;
    if (emptyPass) {
      silent_ = true;  // nothing to loop: never decode in vain again
      break;
    }
    Rewind();
    // A looping tune goes on at once, without a gap.
    if (!loop) break;
    if (passStart >= 0) done = RepeatWholePasses(out, passStart, done, done + (byteCount - done) / frameBytes * frameBytes);
    passStart = done;
  }
  // What is left: the end of a tune that does not loop, or a file without sound.
  WriteSilence(out + done, byteCount - done);
  return 0;
}
