// InitMusicModule: tables, the loader list and the loaders in their matching order.
#include "music/music_module.h"

#include "music/loader_registry.h"
#include "music/mod_song.h"
#include "music/music_tables.h"
#include "music/stream_setup.h"
#include "music/xm_song.h"

int InitMusicModule() {
  static bool done = false;
  if (done) return 0;
  done = true;

  BuildMusicTables();
  MusicLoaders().clear();
  // Registration order is matching order and filter order: mod, xm, wav, ogg, mp3.
  TunemixLoader::Add(LoadMOD, "Protracker \".mod\"", "mod");
  TunemixLoader::Add(LoadXM, "Fasttracker \".xm\"", "xm");
  RegisterStreamLoaders();
  // Without an output device there is no MP3 decoding either: MP3 files then match no loader.
  if (!BindMusicOutput()) return 0;
  RegisterMp3Loader();
  return 0;
}
