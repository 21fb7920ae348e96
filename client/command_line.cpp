// The client's command-line options: each argument upper-cased and compared whole.
#include "client/command_line.h"

#include "platform/text.h"
#include "world/records.h"

namespace {

struct Spelling {
  const char* text;
  CommandLineOption option;
};

// "WINDOW" without the slash and "A" and "F" without it are not options, while the other
// long names are: the table keeps the game's own spellings.
constexpr Spelling Spellings[] = {
    {"/NOSOUND", OptionNoSound},       {"NOSOUND", OptionNoSound},   {"/NOMUSIC", OptionNoMusic},
    {"NOMUSIC", OptionNoMusic},        {"/AUTOJOIN", OptionAutoJoin}, {"AUTOJOIN", OptionAutoJoin},
    {"/A", OptionAutoJoin},            {"/FULLSCREEN", OptionFullScreen}, {"FULLSCREEN", OptionFullScreen},
    {"/F", OptionFullScreen},          {"/WINDOW", OptionWindow},    {"W", OptionWindow},
    {"/W", OptionWindow},
};

}  // namespace

CommandLineOption ParseOption(const std::string& argument) {
  std::string upper = UpperCase(argument);
  for (const Spelling& spelling : Spellings)
    if (upper == spelling.text) return spelling.option;
  return OptionNone;
}

void ParseCommandLine(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    switch (ParseOption(argv[i] ? argv[i] : "")) {
      case OptionNoSound:
        SfxOn = 0;
        NoSound = 1;
        break;
      case OptionNoMusic: MusicOn = 0; break;
      case OptionAutoJoin: AutoJoin = 1; break;
      case OptionFullScreen: FullScreenOption = 1; break;
      case OptionWindow: WindowOption = 1; break;
      case OptionNone: break;
    }
  }
}
