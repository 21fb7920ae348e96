// Streams and files: local files, embedded files ("incbin::" + name) and HTTP GET.
//
// Reads past the end give 0 (or "") and set Eof; nothing throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Stream {
 public:
  virtual ~Stream() = default;
  virtual size_t Read(void* buffer, size_t count) = 0;        // bytes actually read
  virtual size_t Write(const void* buffer, size_t count) = 0; // bytes actually written
  virtual bool Eof() const = 0;
  virtual long Position() const = 0;
  virtual bool Seek(long position) = 0;
  virtual long Size() const = 0;                              // -1 when unknown (HTTP)
  virtual void Flush() {}                                     // hands what was written to the file system
};
using StreamPtr = std::shared_ptr<Stream>;

// Embedded files: registered once at start-up, opened read-only as "incbin::" + name.
void RegisterEmbeddedFile(const std::string& name, const uint8_t* data, size_t size);
bool EmbeddedFileExists(const std::string& name);

StreamPtr ReadFile(const std::string& url);   // read only; Null when missing
StreamPtr WriteFile(const std::string& path); // created anew (truncated); Null on failure
StreamPtr OpenFile(const std::string& path);  // existing file for reading and writing; Null when missing
void CloseFile(StreamPtr& stream);

// Everything a url names, read whole. Empty when missing.
std::vector<uint8_t> ReadAll(const std::string& url);

int ReadByte(Stream& s);            // 0..255
int ReadShort(Stream& s);           // 16-bit little-endian, 0..65535
int ReadInt(Stream& s);             // 32-bit little-endian
float ReadFloat(Stream& s);
std::string ReadLine(Stream& s);    // up to LF; a CR before it is dropped; 8-bit characters
// The same, keeping at most longest characters of the line: the rest of a longer line is passed
// over in large reads and never held in memory.
std::string ReadLine(Stream& s, size_t longest);
std::string ReadString(Stream& s);  // 32-bit length, then the characters
size_t ReadBytes(Stream& s, void* buffer, size_t count);
void WriteByte(Stream& s, int value);
void WriteShort(Stream& s, int value);
void WriteInt(Stream& s, int value);
void WriteLine(Stream& s, const std::string& line);  // the line, then CR LF
void WriteBytes(Stream& s, const void* buffer, size_t count);
bool Eof(Stream& s);
void FlushFile(Stream& s);  // what was written reaches the file now, not at CloseFile
bool SeekFile(Stream& s, long position);
long FilePos(Stream& s);

// Files and folders.
long FileSize(const std::string& path);  // 0 when missing
int FileType(const std::string& path);   // 0 missing, 1 file, 2 folder
// Entry names in the file system's own order, "." and ".." included; empty when missing.
std::vector<std::string> ListDirectory(const std::string& path);
bool DeleteFile(const std::string& path);
std::string ProgramFolder();             // folder of the running program, with a trailing '/'
bool ChangeDir(const std::string& path); // makes path the working folder; false when it cannot

// HTTP GET (HTTP/1.0). Sends "GET <path> HTTP/1.0", "Host: <host>" and an empty line and
// returns a stream over the reply's body. Only a complete reply with status 200 counts: the
// body as long as its Content-Length says, or everything up to the close without one. Null for
// anything else (a host that cannot be resolved or reached, another status, a reply cut off or
// still coming when timeoutMs have passed since the call; the whole request never takes
// longer). host may carry ":port".
StreamPtr OpenHttp(const std::string& host, const std::string& path, int timeoutMs = 5000);
