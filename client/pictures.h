// Loading the game's pictures (title, menu, tiles, fonts, enemies, skins ...) into the picture globals.
#pragma once

#include <string>
#include <vector>

// Names of the fifty skin pictures of "gorbo/", in registration order.
const std::vector<std::string>& SkinPictureNames();

// Sets the mask colour to black and loads every picture of the start-up table in its order;
// sets SkinCount to 50. Missing pictures stay Null (drawing them draws nothing).
void LoadPictures();
