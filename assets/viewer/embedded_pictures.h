// Reading the embedded pictures back through the platform's image loader, as the game cuts them.
#pragma once

#include <string>
#include <vector>

#include "assets/art/canvas.h"

struct PictureEntry {
  std::string name;  // embedded name
  int cellWidth;     // 0: the whole picture is one frame
  int cellHeight;
  int frames;
};

// Every picture of the start-up table, in its order (the skins at the end).
std::vector<PictureEntry> PictureTable();

// The frames of a picture, each a Canvas with transparent pixels 0; empty when it does not load.
std::vector<Canvas> LoadFrames(const PictureEntry& entry);
