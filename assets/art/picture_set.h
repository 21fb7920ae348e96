// Every picture of the game, drawn in code and encoded as PNG files under their embedded names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/art/canvas.h"

struct ContentFile {
  std::string name;            // embedded name, e.g. "pictures/tiles.png"
  std::vector<uint8_t> bytes;
};

// The fifty skin pictures of "gorbo/", in registration order.
const std::vector<std::string>& SkinFileNames();

// Every picture, in the order of the picture table (rope table and icon included).
std::vector<ContentFile> GeneratePictures();

// The pictures themselves (each built on request; cells laid out as the loader cuts them).
Canvas TilesPicture();                      // 16 x 16, 528 frames, 32 per row
Canvas FontPicture(bool big, bool inverse); // 16 x 16 or 8 x 8, 96 frames, 16 per row
Canvas PickupsPicture();                    // 16 x 16, 100 frames
Canvas GoldenPickupPicture();               // 10 x 16, 4 frames
Canvas FlagPicture(bool blue);              // 32 x 32, 7 frames
Canvas Enemies32Picture();                  // 32 x 32, 288 frames, 16 per row
Canvas Enemies64Picture();                  // 64 x 64, 4 frames
Canvas Enemies32x64Picture();               // 32 x 64, 4 frames
Canvas DoorPicture();                       // 32 x 32, 4 frames
Canvas HeroPicture(int skin);               // 20 x 32, 4 frames; 0 the default hero, 1..50 the skins
Canvas WaitingIconPicture();                // 32 x 32, 12 frames
Canvas MousePicture();
Canvas RopePicture();
Canvas WindowIconPicture();                 // 32 x 32
Canvas TitlePicture();                      // 640 x 480
Canvas MenuPicture();                       // 640 x 480
Canvas LoadingPicture();                    // 640 x 480
Canvas ServerBrowserPicture();              // 640 x 480

// The rope's swing table, 256 bytes: horizontal steps 0..127, vertical steps 128..255.
std::vector<uint8_t> RopeTableBytes();
