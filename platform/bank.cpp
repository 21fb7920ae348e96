// Memory banks: bounds-checked byte, 16-bit and 32-bit access, and bank <-> stream copies.
#include "platform/bank.h"

#include "platform/stream.h"

namespace {

// True when count bytes from offset lie wholly inside the bank.
bool Inside(const Bank& bank, long offset, size_t count) {
  return bank && offset >= 0 && static_cast<size_t>(offset) <= bank->bytes.size() &&
         count <= bank->bytes.size() - static_cast<size_t>(offset);
}

}  // namespace

Bank CreateBank(size_t size) {
  auto bank = std::make_shared<BankData>();
  bank->bytes.assign(size, 0);
  return bank;
}

Bank LoadBank(const std::string& url) {
  StreamPtr stream = ReadFile(url);
  if (!stream) return nullptr;
  auto bank = std::make_shared<BankData>();
  uint8_t chunk[65536];
  while (size_t got = stream->Read(chunk, sizeof chunk)) bank->bytes.insert(bank->bytes.end(), chunk, chunk + got);
  return bank;
}

size_t BankSize(const Bank& bank) { return bank ? bank->bytes.size() : 0; }

void ResizeBank(const Bank& bank, size_t size) {
  if (bank) bank->bytes.resize(size, 0);
}

int PeekByte(const Bank& bank, long offset) {
  if (!Inside(bank, offset, 1)) return 0;
  return bank->bytes[offset];
}

int PeekShort(const Bank& bank, long offset) {
  if (!Inside(bank, offset, 2)) return 0;
  const uint8_t* p = &bank->bytes[offset];
  return p[0] | (p[1] << 8);
}

int PeekInt(const Bank& bank, long offset) {
  if (!Inside(bank, offset, 4)) return 0;
  const uint8_t* p = &bank->bytes[offset];
  return static_cast<int>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

void PokeByte(const Bank& bank, long offset, int value) {
  if (Inside(bank, offset, 1)) bank->bytes[offset] = static_cast<uint8_t>(value);
}

void PokeShort(const Bank& bank, long offset, int value) {
  if (!Inside(bank, offset, 2)) return;
  bank->bytes[offset] = static_cast<uint8_t>(value);
  bank->bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void PokeInt(const Bank& bank, long offset, int value) {
  if (!Inside(bank, offset, 4)) return;
  auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) bank->bytes[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Clips count so that offset..offset+count stays inside the bank; 0 when offset is outside.
static size_t ClipToBank(const Bank& bank, long offset, size_t count) {
  if (!bank || offset < 0 || static_cast<size_t>(offset) >= bank->bytes.size()) return 0;
  size_t room = bank->bytes.size() - static_cast<size_t>(offset);
  return count < room ? count : room;
}

size_t ReadBankBytes(const Bank& bank, Stream& s, long offset, size_t count) {
  count = ClipToBank(bank, offset, count);
  return count ? s.Read(&bank->bytes[offset], count) : 0;
}

size_t WriteBankBytes(const Bank& bank, Stream& s, long offset, size_t count) {
  count = ClipToBank(bank, offset, count);
  return count ? s.Write(&bank->bytes[offset], count) : 0;
}
