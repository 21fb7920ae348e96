// Inside the platform layer: what an Image holds (pixels of every frame, handle, texture cache).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics.h"

struct SDL_Texture;

struct ImageData {
  int width = 0;    // one frame
  int height = 0;
  int frames = 0;
  int handleX = 0;
  int handleY = 0;
  // The CPU copy, frame after frame, each width*height pixels 0xAARRGGBB; collision and
  // ReadImagePixel read it, the texture is made from it.
  std::vector<uint32_t> pixels;

  // Frames sit in the texture in a grid of this many columns (kept under 4096 pixels wide).
  int columns = 1;
  SDL_Texture* texture = nullptr;
  unsigned textureGeneration = 0;
  bool textureStale = true;

  ImageData() = default;
  ImageData(const ImageData&) = delete;
  ImageData& operator=(const ImageData&) = delete;
  ~ImageData();

  const uint32_t* Frame(int frame) const { return pixels.data() + static_cast<size_t>(frame) * width * height; }
  uint32_t* Frame(int frame) { return pixels.data() + static_cast<size_t>(frame) * width * height; }
};

// The image's texture for the current renderer, made or refreshed when needed; nullptr
// without a renderer.
SDL_Texture* ImageTexture(ImageData& image);
