// Writes a few small valid WAV, OGG and MP3 files as the stream fuzzers' starting corpus.
// Usage: fuzz_stream_seeds <wav folder> <ogg folder> <mp3 folder>
#include <cstdio>
#include <string>

#include "tests/music/stream_files.h"

using namespace stream_files;

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <wav folder> <ogg folder> <mp3 folder>\n", argv[0]);
    return 2;
  }
  const std::string wav = argv[1], ogg = argv[2], mp3 = argv[3];
  WriteFile(wav + "/mono16.wav", ToneWav(440, 22050, 300, 1, 16));
  WriteFile(wav + "/stereo8.wav", ToneWav(440, 11025, 300, 2, 8));
  WavSpec listed;
  listed.fmtSize = 18;
  listed.chunksBeforeData = {{"LIST", std::vector<uint8_t>(13, 'x')}};
  listed.data = Pcm({Sine(330, 8000, 200)}, 16);
  WriteFile(wav + "/listed.wav", Wav(listed));
  WriteFile(ogg + "/mono.ogg", ToneOgg(440, 22050, 2000, 1));
  WriteFile(ogg + "/stereo.ogg", ToneOgg(440, 44100, 2000, 2));
  WriteFile(ogg + "/three.ogg", ToneOgg(440, 8000, 1000, 3));
  WriteFile(mp3 + "/stereo.mp3", ToneMp3(440, 44100, 4000, 2));
  WriteFile(mp3 + "/mono.mp3", ToneMp3(440, 22050, 4000, 1));
  WriteFile(mp3 + "/silent.mp3", SilentMp3(3));
  return 0;
}
