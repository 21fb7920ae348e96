// Streams: the embedded-file registry, local file streams, and the typed readers and writers.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <sys/stat.h>

#include "platform/memory_stream.h"
#include "platform/stream.h"

namespace {

const std::string EmbeddedPrefix = "incbin::";

struct EmbeddedFile {
  const uint8_t* data;
  size_t size;
};

std::map<std::string, EmbeddedFile>& EmbeddedFiles() {
  static std::map<std::string, EmbeddedFile> files;
  return files;
}

// A local file through stdio. Switching between reading and writing needs a seek in
// between, which Read and Write do for the caller.
class FileStream : public Stream {
 public:
  explicit FileStream(std::FILE* file) : file_(file) {}
  ~FileStream() override { std::fclose(file_); }
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  size_t Read(void* buffer, size_t count) override {
    Switch(LastRead);
    return std::fread(buffer, 1, count, file_);
  }
  size_t Write(const void* buffer, size_t count) override {
    Switch(LastWrite);
    return std::fwrite(buffer, 1, count, file_);
  }
  bool Eof() const override { return Position() >= Size(); }
  long Position() const override { return std::ftell(file_); }
  bool Seek(long position) override {
    if (position < 0) return false;
    last_ = LastSeek;
    return std::fseek(file_, position, SEEK_SET) == 0;
  }
  void Flush() override { std::fflush(file_); }
  long Size() const override {
    std::fflush(file_);
    struct stat info {};
    return fstat(fileno(file_), &info) == 0 ? static_cast<long>(info.st_size) : 0;
  }

 private:
  enum LastOperation { LastSeek, LastRead, LastWrite };
  void Switch(LastOperation next) {
    if (last_ != LastSeek && last_ != next) std::fseek(file_, 0, SEEK_CUR);
    last_ = next;
  }
  std::FILE* file_;
  LastOperation last_ = LastSeek;
};

// Opens a local file; an existing one must be a plain file (not a folder) unless it is made anew.
StreamPtr OpenLocal(const std::string& path, const char* mode, bool mustExist) {
  struct stat info {};
  if (mustExist && (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))) return nullptr;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) return nullptr;
  return std::make_shared<FileStream>(file);
}

}  // namespace

void RegisterEmbeddedFile(const std::string& name, const uint8_t* data, size_t size) {
  EmbeddedFiles()[name] = EmbeddedFile{data, size};
}

bool EmbeddedFileExists(const std::string& name) { return EmbeddedFiles().count(name) != 0; }

StreamPtr ReadFile(const std::string& url) {
  if (url.compare(0, EmbeddedPrefix.size(), EmbeddedPrefix) == 0) {
    auto found = EmbeddedFiles().find(url.substr(EmbeddedPrefix.size()));
    if (found == EmbeddedFiles().end()) return nullptr;
    return std::make_shared<MemoryStream>(found->second.data, found->second.size);
  }
  return OpenLocal(url, "rb", true);
}

StreamPtr WriteFile(const std::string& path) { return OpenLocal(path, "wb+", false); }
StreamPtr OpenFile(const std::string& path) { return OpenLocal(path, "rb+", true); }
void CloseFile(StreamPtr& stream) { stream.reset(); }

std::vector<uint8_t> ReadAll(const std::string& url) {
  std::vector<uint8_t> bytes;
  StreamPtr stream = ReadFile(url);
  if (!stream) return bytes;
  if (stream->Size() > 0) bytes.reserve(static_cast<size_t>(stream->Size()));
  uint8_t chunk[65536];
  while (size_t got = stream->Read(chunk, sizeof chunk)) bytes.insert(bytes.end(), chunk, chunk + got);
  return bytes;
}

int ReadByte(Stream& s) {
  uint8_t b = 0;
  s.Read(&b, 1);
  return b;
}

int ReadShort(Stream& s) {
  uint8_t b[2] = {0, 0};
  s.Read(b, 2);
  return b[0] | (b[1] << 8);
}

int ReadInt(Stream& s) {
  uint8_t b[4] = {0, 0, 0, 0};
  s.Read(b, 4);
  return static_cast<int>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

float ReadFloat(Stream& s) {
  auto bits = static_cast<uint32_t>(ReadInt(s));
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::string ReadLine(Stream& s) { return ReadLine(s, std::string::npos); }

std::string ReadLine(Stream& s, size_t longest) {
  // One more than is kept, to see whether a kept part that ends in CR is the line's end.
  const size_t held = longest == std::string::npos ? longest : longest + 1;
  std::string line;
  size_t length = 0;  // of the whole line
  char chunk[4096];
  for (;;) {
    const long start = s.Position();
    const size_t got = s.Read(chunk, sizeof chunk);
    if (got == 0) break;
    const auto* lineFeed = static_cast<const char*>(std::memchr(chunk, '\n', got));
    const size_t used = lineFeed != nullptr ? static_cast<size_t>(lineFeed - chunk) : got;
    if (line.size() < held) line.append(chunk, std::min(used, held - line.size()));
    length += used;
    if (lineFeed != nullptr) {
      s.Seek(start + static_cast<long>(used) + 1);  // the next line starts after the LF
      break;
    }
  }
  if (line.size() == length && !line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > longest) line.resize(longest);
  return line;
}

std::string ReadString(Stream& s) {
  int length = ReadInt(s);
  if (length <= 0) return "";
  // A corrupt length must not make us allocate gigabytes: never ask for more than is left.
  long size = s.Size();
  if (size >= 0) {
    long left = size - s.Position();
    if (left < length) length = static_cast<int>(left < 0 ? 0 : left);
  }
  std::string text(static_cast<size_t>(length), '\0');
  text.resize(s.Read(text.data(), text.size()));
  return text;
}

size_t ReadBytes(Stream& s, void* buffer, size_t count) { return s.Read(buffer, count); }

void WriteByte(Stream& s, int value) {
  auto b = static_cast<uint8_t>(value);
  s.Write(&b, 1);
}

void WriteShort(Stream& s, int value) {
  uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  s.Write(b, 2);
}

void WriteInt(Stream& s, int value) {
  auto v = static_cast<uint32_t>(value);
  uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                  static_cast<uint8_t>(v >> 24)};
  s.Write(b, 4);
}

void WriteLine(Stream& s, const std::string& line) {
  std::string ended = line + "\r\n";
  s.Write(ended.data(), ended.size());
}

void WriteBytes(Stream& s, const void* buffer, size_t count) { s.Write(buffer, count); }
bool Eof(Stream& s) { return s.Eof(); }
void FlushFile(Stream& s) { s.Flush(); }
bool SeekFile(Stream& s, long position) { return s.Seek(position); }
long FilePos(Stream& s) { return s.Position(); }
