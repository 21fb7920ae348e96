// Streams, files and banks: embedded files, local files, lines, 16-bit values, listings, bounds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sys/stat.h>

#include "platform/bank.h"
#include "platform/stream.h"

namespace {

std::string TempPath(const std::string& name) { return "/tmp/qxr_platform_" + std::to_string(getpid()) + "_" + name; }

TEST(EmbeddedFiles, OpenByNameReadOnly) {
  static const uint8_t data[] = {'l', 'i', 'n', 'e', '1', '\r', '\n', 'l', 'a', 's', 't', 0x34, 0x12};
  RegisterEmbeddedFile("test/embedded.txt", data, sizeof data);
  EXPECT_TRUE(EmbeddedFileExists("test/embedded.txt"));
  EXPECT_FALSE(EmbeddedFileExists("test/other.txt"));
  EXPECT_FALSE(ReadFile("incbin::test/other.txt"));
  StreamPtr s = ReadFile("incbin::test/embedded.txt");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Size(), 13);
  EXPECT_EQ(ReadLine(*s), "line1");
  EXPECT_FALSE(Eof(*s));
  uint8_t last[4];
  EXPECT_EQ(ReadBytes(*s, last, 4), 4u);
  EXPECT_EQ(ReadShort(*s), 0x1234);
  EXPECT_TRUE(Eof(*s));
  EXPECT_EQ(ReadByte(*s), 0);  // past the end reads 0
  EXPECT_EQ(ReadLine(*s), "");
  WriteByte(*s, 1);  // read only: nothing changes
  EXPECT_EQ(data[0], 'l');
  EXPECT_EQ(ReadAll("incbin::test/embedded.txt").size(), 13u);
}

TEST(LocalFiles, LinesEndCrLfAndValuesAreLittleEndian) {
  std::string path = TempPath("lines.txt");
  StreamPtr out = WriteFile(path);
  ASSERT_TRUE(out);
  WriteLine(*out, "Player \xA3");
  WriteShort(*out, 0xBEEF);
  WriteInt(*out, -2);
  WriteLine(*out, "");
  CloseFile(out);
  EXPECT_FALSE(out);

  std::vector<uint8_t> bytes = ReadAll(path);
  std::vector<uint8_t> expected = {'P', 'l', 'a', 'y', 'e', 'r', ' ', 0xA3, '\r', '\n', 0xEF, 0xBE, 0xFE, 0xFF, 0xFF, 0xFF, '\r', '\n'};
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(FileSize(path), 18);
  EXPECT_EQ(FileType(path), 1);

  StreamPtr in = ReadFile(path);
  EXPECT_EQ(ReadLine(*in), "Player \xA3");
  EXPECT_EQ(ReadShort(*in), 0xBEEF);
  EXPECT_EQ(ReadInt(*in), -2);
  EXPECT_EQ(ReadLine(*in), "");
  EXPECT_TRUE(Eof(*in));

  // Open for both: append at the end after reading, as the chat log does.
  StreamPtr both = OpenFile(path);
  ASSERT_TRUE(both);
  EXPECT_EQ(ReadLine(*both), "Player \xA3");
  SeekFile(*both, both->Size());
  WriteLine(*both, "more");
  SeekFile(*both, 0);
  EXPECT_EQ(ReadLine(*both), "Player \xA3");
  EXPECT_EQ(both->Size(), 24);
  CloseFile(both);
  EXPECT_TRUE(DeleteFile(path));
  EXPECT_FALSE(OpenFile(path));
  EXPECT_EQ(FileSize(path), 0);
  EXPECT_EQ(FileType(path), 0);
}

TEST(LocalFiles, ReadLineKeepsCrInsideALineAndReadsAFinalUnendedLine) {
  std::string path = TempPath("unix.txt");
  StreamPtr out = WriteFile(path);
  const char text[] = "a\rb\nlast";
  WriteBytes(*out, text, sizeof text - 1);
  CloseFile(out);
  StreamPtr in = ReadFile(path);
  EXPECT_EQ(ReadLine(*in), "a\rb");
  EXPECT_EQ(ReadLine(*in), "last");
  EXPECT_TRUE(Eof(*in));
  DeleteFile(path);
}

TEST(LocalFiles, ALongLineIsPassedOverInAFileAndTheNextLineFollows) {
  std::string path = TempPath("long.txt");
  StreamPtr out = WriteFile(path);
  const std::string longLine(100000, 'x');  // far longer than one read
  const std::string text = longLine + "\r\nabc\r\nend";
  WriteBytes(*out, text.data(), text.size());
  CloseFile(out);
  StreamPtr in = ReadFile(path);
  EXPECT_EQ(ReadLine(*in, 5), "xxxxx");
  EXPECT_EQ(ReadLine(*in, 3), "abc");
  EXPECT_FALSE(Eof(*in));
  EXPECT_EQ(ReadLine(*in, 2), "en");
  EXPECT_TRUE(Eof(*in));
  // Uncut, the long line comes back whole.
  SeekFile(*in, 0);
  EXPECT_EQ(ReadLine(*in), longLine);
  EXPECT_EQ(ReadLine(*in), "abc");
  DeleteFile(path);
}

TEST(EmbeddedFiles, AReadLineWithALimitCutsTheLineAndGoesOnAfterIt) {
  static const std::string text = std::string(100000, 'x') + "\r\nabc\r\nabcd\r\nab\r\r\n\r\nend";
  RegisterEmbeddedFile("test/long_lines.txt", reinterpret_cast<const uint8_t*>(text.data()), text.size());
  StreamPtr s = ReadFile("incbin::test/long_lines.txt");
  ASSERT_TRUE(s);
  EXPECT_EQ(ReadLine(*s, 3), "xxx");
  EXPECT_EQ(ReadLine(*s, 3), "abc");   // exactly the limit: its CR LF ends it as usual
  EXPECT_EQ(ReadLine(*s, 3), "abc");   // one more: cut, the CR goes with the rest
  EXPECT_EQ(ReadLine(*s, 3), "ab\r");  // a CR inside the line stays
  EXPECT_EQ(ReadLine(*s, 0), "");
  EXPECT_EQ(ReadLine(*s, 3), "end");
  EXPECT_TRUE(Eof(*s));
}

TEST(LocalFiles, ReadStringSurvivesACorruptLength) {
  std::string path = TempPath("string.bin");
  StreamPtr out = WriteFile(path);
  WriteInt(*out, 0x7FFFFFFF);
  WriteBytes(*out, "abc", 3);
  CloseFile(out);
  StreamPtr in = ReadFile(path);
  EXPECT_EQ(ReadString(*in), "abc");
  DeleteFile(path);
}

TEST(Folders, ListingHoldsDotEntriesAndEveryName) {
  std::string folder = TempPath("folder");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  for (const char* name : {"b.mod", "a.xm", ".hidden"}) {
    StreamPtr f = WriteFile(folder + "/" + name);
    ASSERT_TRUE(f);
  }
  std::vector<std::string> names = ListDirectory(folder);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", ".hidden", "a.xm", "b.mod"}));
  EXPECT_EQ(FileType(folder), 2);
  EXPECT_EQ(FileSize(folder), 0);
  EXPECT_FALSE(ReadFile(folder));  // a folder is no file
  EXPECT_TRUE(ListDirectory(folder + "/missing").empty());
  for (const char* name : {"b.mod", "a.xm", ".hidden"}) DeleteFile(folder + "/" + name);
  rmdir(folder.c_str());
  EXPECT_EQ(ProgramFolder().back(), '/');
}

TEST(Banks, PeekAndPokeStayInside) {
  Bank bank = CreateBank(4);
  EXPECT_EQ(BankSize(bank), 4u);
  PokeShort(bank, 0, 0x1234);
  EXPECT_EQ(PeekByte(bank, 0), 0x34);
  EXPECT_EQ(PeekByte(bank, 1), 0x12);
  EXPECT_EQ(PeekShort(bank, 0), 0x1234);
  PokeByte(bank, 3, 0x1FF);
  EXPECT_EQ(PeekByte(bank, 3), 0xFF);
  PokeInt(bank, 0, -1);
  EXPECT_EQ(PeekInt(bank, 0), -1);
  EXPECT_EQ(PeekShort(bank, 2), 0xFFFF);

  // Outside the bank: reads give 0, writes change nothing, a value may not straddle the end.
  EXPECT_EQ(PeekByte(bank, 4), 0);
  EXPECT_EQ(PeekByte(bank, -1), 0);
  EXPECT_EQ(PeekShort(bank, 3), 0);
  EXPECT_EQ(PeekInt(bank, 1), 0);
  PokeByte(bank, 4, 1);
  PokeByte(bank, -1, 1);
  PokeShort(bank, 3, 0);
  PokeInt(bank, 2, 0);
  EXPECT_EQ(PeekInt(bank, 0), -1);
  EXPECT_EQ(PeekByte(nullptr, 0), 0);
  PokeByte(nullptr, 0, 1);

  ResizeBank(bank, 6);
  EXPECT_EQ(PeekShort(bank, 4), 0);
  PokeShort(bank, 4, 7);
  EXPECT_EQ(PeekShort(bank, 4), 7);
}

TEST(Banks, LoadAndCopyFromStreams) {
  static const uint8_t data[] = {1, 2, 3, 4, 5};
  RegisterEmbeddedFile("test/bank.bin", data, sizeof data);
  Bank loaded = LoadBank("incbin::test/bank.bin");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(BankSize(loaded), 5u);
  EXPECT_EQ(PeekByte(loaded, 4), 5);
  EXPECT_FALSE(LoadBank("incbin::test/none.bin"));

  Bank bank = CreateBank(3);
  StreamPtr s = ReadFile("incbin::test/bank.bin");
  EXPECT_EQ(ReadBankBytes(bank, *s, 1, 10), 2u);  // clipped to the bank
  EXPECT_EQ(PeekByte(bank, 0), 0);
  EXPECT_EQ(PeekByte(bank, 2), 2);
  EXPECT_EQ(ReadBankBytes(bank, *s, 5, 1), 0u);
}

}  // namespace
