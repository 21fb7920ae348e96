// Loading the game's pictures (title, menu, tiles, fonts, enemies, skins ...) into the picture globals.
#pragma once

// Sets the mask colour to black and loads every picture of the start-up table in its order;
// the fifty skins come from "gorbo/" in registration order (EmbeddedSkinNames). Sets
// SkinCount to 50. Missing pictures stay Null (drawing them draws nothing).
void LoadPictures();
