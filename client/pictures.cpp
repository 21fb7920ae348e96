// Loading the game's pictures (title, menu, tiles, fonts, enemies, skins ...) into the picture globals.
#include "client/pictures.h"

#include "assets/embedded_files.h"
#include "assets/embedded_files.h"
#include "platform/graphics.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

// Strips are cut with flag 1, single pictures with the defaults.
constexpr int StripFlags = 1;

}  // namespace

void LoadPictures() {
  QernoFunctions loader;
  SetMaskColor(0, 0, 0);  // black is transparent in every picture
  TitleImage = loader.LoadImage("incbin::pictures/title.png");
  MenuImage = loader.LoadImage("incbin::pictures/selectgorbo.png");
  LoadingImage = loader.LoadImage("incbin::pictures/loading.png");
  ServerImage = loader.LoadImage("incbin::pictures/server.png");
  MouseImage = loader.LoadImage("incbin::pictures/mouse.png");
  TilesImage = loader.LoadAnimImage("incbin::pictures/tiles.png", 16, 16, 0, 528, StripFlags);
  FontImage = loader.LoadAnimImage("incbin::pictures/font.png", 16, 16, 0, 96, StripFlags);
  InverseFontImage = loader.LoadAnimImage("incbin::pictures/inversefont.png", 16, 16, 0, 96, StripFlags);
  SmallFontImage = loader.LoadAnimImage("incbin::pictures/font2.png", 8, 8, 0, 96, StripFlags);
  SmallInverseFontImage = loader.LoadAnimImage("incbin::pictures/invfont2.png", 8, 8, 0, 96, StripFlags);
  RopeImage = loader.LoadImage("incbin::pictures/rope.png");
  PickupImage = loader.LoadAnimImage("incbin::pictures/pickups.png", 16, 16, 0, 100, StripFlags);
  Enemy32Image = loader.LoadAnimImage("incbin::pictures/32x32.png", 32, 32, 0, 288, StripFlags);
  Enemy64Image = loader.LoadAnimImage("incbin::pictures/64x64.png", 64, 64, 0, 4, StripFlags);
  Enemy32x64Image = loader.LoadAnimImage("incbin::pictures/32x64.png", 32, 64, 0, 4, StripFlags);
  DoorImage = loader.LoadAnimImage("incbin::pictures/tunkodoor.png", 32, 32, 0, 4, StripFlags);
  ConnectImage = loader.LoadAnimImage("incbin::pictures/connect.png", 32, 32, 0, 12, StripFlags);
  GoldenImage = loader.LoadAnimImage("incbin::pictures/goldengorbo.png", 10, 16, 0, 4, StripFlags);
  FlagBlueImage = loader.LoadAnimImage("incbin::pictures/flag_blue.png", 32, 32, 0, 7, StripFlags);
  FlagRedImage = loader.LoadAnimImage("incbin::pictures/flag_red.png", 32, 32, 0, 7, StripFlags);
  Skins[0] = loader.LoadAnimImage("incbin::pictures/gorbo.png", 20, 32, 0, 4, StripFlags);
  const std::vector<std::string>& skins = EmbeddedSkinNames();
  for (size_t i = 0; i < skins.size() && i < 50; ++i)
    Skins[i + 1] = loader.LoadAnimImage("incbin::" + skins[i], 20, 32, 0, 4, StripFlags);
  SkinCount = 50;
}
