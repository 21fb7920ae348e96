// Memory banks: fixed-size byte buffers with bounds-checked byte and 16-bit access.
//
// Access outside the bank reads 0 and writes nothing, so a bad offset can never reach
// outside the buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Stream;

struct BankData {
  std::vector<uint8_t> bytes;
};
using Bank = std::shared_ptr<BankData>;

Bank CreateBank(size_t size);                 // zero-filled
Bank LoadBank(const std::string& url);        // a whole file as a bank; Null when missing
size_t BankSize(const Bank& bank);
void ResizeBank(const Bank& bank, size_t size);
int PeekByte(const Bank& bank, long offset);  // 0..255
int PeekShort(const Bank& bank, long offset); // 16-bit little-endian, 0..65535
int PeekInt(const Bank& bank, long offset);
void PokeByte(const Bank& bank, long offset, int value);
void PokeShort(const Bank& bank, long offset, int value);
void PokeInt(const Bank& bank, long offset, int value);
// Stream <-> bank; counts are clipped to the bank. Return the bytes moved.
size_t ReadBankBytes(const Bank& bank, Stream& s, long offset, size_t count);
size_t WriteBankBytes(const Bank& bank, Stream& s, long offset, size_t count);
