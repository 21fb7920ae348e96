// Writes a few small valid MOD and XM files as the fuzzers' starting corpus.
// Usage: fuzz_seed_corpus <mod folder> <xm folder>
#include <cstdio>
#include <fstream>
#include <string>

#include "music/module_builder.h"

using namespace module_builder;

namespace {

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

ModBuilder ModSeed(const std::string& signature, int channels, bool effects) {
  ModBuilder mod;
  mod.signature = signature;
  mod.channels = channels;
  ModSampleSpec a;
  a.data = Square8(32, 8, 60);
  a.loopLengthWords = 16;
  ModSampleSpec b;
  b.data = Square8(20, 4, 30);
  b.finetune = 9;
  mod.samples = {a, b};
  mod.orders = {0, 1, 0};
  mod.Cell(0, 0, 0) = {48, 1, 0, 0};
  mod.Cell(0, 1, channels - 1) = {36, 2, 0xC, 40};
  mod.Cell(1, 0, 0) = {50, 1, 3, 4};
  if (effects) {
    mod.Cell(0, 2, 0) = {0, 0, 0x4, 0x37};
    mod.Cell(0, 3, 0) = {0, 0, 0xE, 0x60};
    mod.Cell(0, 4, 0) = {0, 0, 0xE, 0x62};
    mod.Cell(0, 5, 0) = {0, 0, 0x0, 0x47};
    mod.Cell(1, 6, 0) = {0, 0, 0xA, 0x04};
    mod.Cell(1, 7, 0) = {0, 0, 0xE, 0x93};
    mod.Cell(1, 8, 0) = {0, 0, 0xD, 0x10};
  }
  return mod;
}

XmBuilder XmSeed(bool sixteenBit, bool envelope) {
  XmBuilder xm;
  xm.channels = 4;
  xm.orders = {0, 1};
  XmInstrumentSpec ins;
  XmSampleSpec s;
  s.data = Square16(24, 8, 12000);
  s.sixteenBit = sixteenBit;
  s.loopType = 2;
  s.loopLength = sixteenBit ? 48 : 24;
  ins.samples = {s};
  if (envelope) {
    ins.envelope = {{0, 64}, {4, 20}, {8, 40}};
    ins.volumeType = 7;
    ins.sustainPoint = 2;
    ins.loopStartPoint = 1;
    ins.loopEndPoint = 3;
    ins.fadeout = 800;
  }
  xm.instruments = {ins, XmInstrumentSpec{}};
  xm.Cell(0, 0, 0) = {49, 1, 0x40, 0, 0};
  xm.Cell(0, 1, 1) = {61, 1, 0x65, 0x1, 0x10};
  xm.Cell(0, 2, 0) = {97, 0, 0, 0, 0};
  xm.Cell(1, 0, 2) = {40, 1, 0xC4, 0x8, 0x40};
  xm.Cell(1, 1, 3) = {0, 0, 0xF3, 0xE, 0xE1};
  return xm;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <mod folder> <xm folder>\n", argv[0]);
    return 2;
  }
  const std::string mods = argv[1], xms = argv[2];
  Write(mods + "/four.mod", ModSeed("M.K.", 4, false).Build());
  Write(mods + "/effects.mod", ModSeed("M.K.", 4, true).Build());
  Write(mods + "/eight.mod", ModSeed("8CHN", 8, true).Build());
  Write(mods + "/old.mod", ModSeed("", 4, true).Build());
  Write(xms + "/plain.xm", XmSeed(false, false).Build());
  Write(xms + "/envelope.xm", XmSeed(false, true).Build());
  Write(xms + "/wide.xm", XmSeed(true, true).Build());
  return 0;
}
