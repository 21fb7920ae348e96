// RIFF/WAVE files: the header, the chunk walk to "data", and reading the PCM in a loop.
#include "music/wav_stream.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

// Format code for bits per sample and channels; 0 for a pair that cannot be played.
int WavFormat(int bits, int channels) {
  if (bits == 8 && channels == 1) return FormatMono8;
  if (bits == 8 && channels == 2) return FormatStereo8;
  if (bits == 16 && channels == 1) return FormatMono16;
  if (bits == 16 && channels == 2) return FormatStereo16;
  return 0;
}

uint32_t ReadSize(Stream& s) { return static_cast<uint32_t>(ReadInt(s)); }

// The tag at `at` when a chunk header can start there: four printable characters and, but for
// "data" (whose size a cut-short file may overstate), a body that ends inside the file; ""
// otherwise.
std::string ChunkTagAt(Stream& s, int64_t at, long fileSize) {
  if (at < 0 || at + 8 > fileSize || !s.Seek(static_cast<long>(at))) return "";
  const std::string tag = ReadTag(s);
  for (char c : tag) {
    if (c < 0x20 || c > 0x7E) return "";
  }
  if (tag != "data" && at + 8 + static_cast<int64_t>(ReadSize(s)) > fileSize) return "";
  return tag;
}

// Where the chunk after a body of `size` bytes at `body` begins. RIFF pads an odd body to an
// even length, but some writers leave the pad byte out. The padded place is taken unless the
// unpadded one holds the "data" chunk and the padded one does not, or the padded one holds
// no chunk at all and the unpadded one does.
int64_t NextChunk(Stream& s, int64_t body, uint32_t size, long fileSize) {
  const int64_t unpadded = body + size;
  const int64_t padded = unpadded + (size & 1);
  if (padded == unpadded) return padded;
  const std::string atPadded = ChunkTagAt(s, padded, fileSize);
  if (atPadded == "data") return padded;
  const std::string atUnpadded = ChunkTagAt(s, unpadded, fileSize);
  if (atUnpadded == "data" || (atPadded.empty() && !atUnpadded.empty())) return unpadded;
  return padded;
}

// Walks the chunks from the stream's position to "data". Sizes are unsigned and a chunk body
// may not reach past the end of the file, so a damaged size can neither walk backwards for
// ever nor promise more data than there is (a size cut short by the file's end is such a
// size).
// Returns false when there is no "data" chunk; else its start and size, cut to the file.
bool FindData(Stream& s, long& start, long& size) {
  const long fileSize = s.Size();
  for (;;) {
    const std::string tag = ReadTag(s);
    if (tag.empty()) return false;
    const uint32_t chunkSize = ReadSize(s);
    const long body = s.Position();
    if (tag == "data") {
      start = body;
      size = static_cast<long>(std::min<int64_t>(chunkSize, fileSize - body));
      return true;
    }
    const int64_t next = NextChunk(s, body, chunkSize, fileSize);
    if (next > fileSize || !s.Seek(static_cast<long>(next))) return false;
  }
}

}  // namespace

std::string ReadTag(Stream& stream) {
  char text[4];
  if (stream.Read(text, 4) != 4) return "";
  return std::string(text, 4);
}

std::shared_ptr<Tunemix_WavStream> Tunemix_WavStream::Open(const std::string& url) {
  StreamPtr file = ReadFile(url);
  if (!file) return nullptr;
  Stream& s = *file;
  if (ReadTag(s) != "RIFF") return nullptr;
  ReadSize(s);
  if (ReadTag(s) != "WAVE" || ReadTag(s) != "fmt ") return nullptr;
  const uint32_t fmtSize = ReadSize(s);
  const long fmtStart = s.Position();
  // A format record shorter than its 16 fixed bytes, or past the file's end, is no header.
  if (fmtSize < 16 || static_cast<int64_t>(fmtStart) + fmtSize > s.Size()) return nullptr;
  if (ReadShort(s) != 1) return nullptr;  // PCM only
  const int channels = ReadShort(s);
  const int rate = ReadInt(s);
  ReadInt(s);    // byte rate
  ReadShort(s);  // block align
  const int bits = ReadShort(s);
  const int format = WavFormat(bits, channels);
  if (format == 0) return nullptr;

  auto wav = std::make_shared<Tunemix_WavStream>();
  wav->stream = file;
  wav->rate = rate;
  wav->format = format;
  long start = 0, size = 0;
  const int64_t afterFmt = NextChunk(s, fmtStart, fmtSize, s.Size());
  if (afterFmt <= s.Size() && s.Seek(static_cast<long>(afterFmt)) && FindData(s, start, size)) {
    const int frameBytes = BytesPerFrame(format);
    wav->dataStart = static_cast<int>(start);
    // Whole frames only, and within what a position can count.
    wav->length = static_cast<int>(std::min<long>(size, INT32_MAX) / frameBytes * frameBytes);
  } else {
    wav->dataStart = static_cast<int>(std::min<long>(s.Size(), INT32_MAX));
  }
  s.Seek(wav->dataStart);
  return wav;
}

int Tunemix_WavStream::Close() { return 0; }

void Tunemix_WavStream::Rewind() {
  stream->Seek(dataStart);
  position = 0;
}

int Tunemix_WavStream::FillBuffer(void* buffer, int byteCount) {
  if (!buffer || byteCount <= 0) return 0;
  auto* out = static_cast<uint8_t*>(buffer);
  int done = 0;
  int passStart = position == 0 ? 0 : -1;  // where a pass that starts in this call starts
  while (done < byteCount) {
    const int wanted = static_cast<int>(std::min<int64_t>(byteCount - done, static_cast<int64_t>(length) - position));
    const int got = wanted > 0 ? static_cast<int>(stream->Read(out + done, static_cast<size_t>(wanted))) : 0;
    position += got;
    done += got;
    // The pass goes on, or it is over: at the data's end, or where a file cut short while
    // playing ends. The next pass starts at the first byte.
    if (position < length && got == wanted) continue;
    const bool emptyPass = position == 0;
    Rewind();
    // A looping tune goes on at once, without a gap; a pass without sound would never end.
    if (!loop || emptyPass) break;
    if (passStart >= 0) done = RepeatWholePasses(out, passStart, done, byteCount);
    passStart = done;
  }
  // What is left: the end of a tune that does not loop, or a file without sound.
  WriteSilence(out + done, byteCount - done);
  return 0;
}

MusicPtr LoadWAV(const std::string& url) {
  if (url.size() < 3) return nullptr;
  std::string ending = url.substr(url.size() - 3);
  for (char& c : ending) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (ending != "WAV") return nullptr;
  return Tunemix_WavStream::Open(url);
}
