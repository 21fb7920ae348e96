// Images: loading pictures and cutting them into frames, masks, handles, pixel access,
// pixel-exact collision, and the per-image texture cache.
#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/image_data.h"
#include "platform/png_codec.h"
#include "platform/stream.h"
#include "platform/video_internal.h"

namespace {

uint32_t MaskRgb = 0x000000;  // black is transparent unless told otherwise
bool AutoMid = false;

constexpr int MaxTextureWidth = 4096;

// Loader flags: -1 (the defaults) and flag 1 apply the mask colour.
bool MaskedFlags(int flags) { return flags == -1 || (flags & 1) != 0; }

Image NewImage(int width, int height, int frames) {
  auto image = std::make_shared<ImageData>();
  image->width = width;
  image->height = height;
  image->frames = frames;
  image->pixels.assign(static_cast<size_t>(width) * height * frames, 0);
  image->columns = std::max(1, std::min(frames, MaxTextureWidth / std::max(1, width)));
  if (AutoMid) {
    image->handleX = width / 2;
    image->handleY = height / 2;
  }
  return image;
}

// A pixel counts for collision when it is not fully transparent.
inline bool Opaque(uint32_t argb) { return (argb >> 24) != 0; }

}  // namespace

ImageData::~ImageData() {
  if (texture && textureGeneration == RendererGeneration() && VideoRenderer()) SDL_DestroyTexture(texture);
}

SDL_Texture* ImageTexture(ImageData& image) {
  SDL_Renderer* renderer = VideoRenderer();
  if (!renderer) return nullptr;
  if (image.textureGeneration != RendererGeneration()) {
    image.texture = nullptr;  // the renderer that made it freed it
    image.textureStale = true;
  }
  if (image.texture && !image.textureStale) return image.texture;

  int rows = (image.frames + image.columns - 1) / image.columns;
  int atlasWidth = image.columns * image.width;
  int atlasHeight = rows * image.height;
  if (!image.texture) {
    image.texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, atlasWidth, atlasHeight);
    if (!image.texture) return nullptr;
    image.textureGeneration = RendererGeneration();
  }
  std::vector<uint32_t> atlas(static_cast<size_t>(atlasWidth) * atlasHeight, 0);
  for (int f = 0; f < image.frames; ++f) {
    const uint32_t* source = image.Frame(f);
    int left = (f % image.columns) * image.width;
    int top = (f / image.columns) * image.height;
    for (int y = 0; y < image.height; ++y)
      std::copy_n(source + static_cast<size_t>(y) * image.width, image.width,
                  atlas.begin() + static_cast<size_t>(top + y) * atlasWidth + left);
  }
  SDL_UpdateTexture(image.texture, nullptr, atlas.data(), atlasWidth * 4);
  SDL_SetTextureBlendMode(image.texture, SDL_BLENDMODE_BLEND);
  image.textureStale = false;
  return image.texture;
}

void SetMaskColor(int r, int g, int b) { MaskRgb = ((r & 255) << 16) | ((g & 255) << 8) | (b & 255); }
void AutoMidHandle(bool on) { AutoMid = on; }

Image LoadAnimImage(const std::string& url, int cellWidth, int cellHeight, int firstCell, int cellCount, int flags) {
  if (cellWidth <= 0 || cellHeight <= 0 || firstCell < 0 || cellCount <= 0) return nullptr;
  DecodedPicture picture;
  if (!DecodePng(ReadAll(url), picture)) return nullptr;
  int columns = picture.width / cellWidth;
  int rows = picture.height / cellHeight;
  if (static_cast<long>(firstCell) + cellCount > static_cast<long>(columns) * rows) return nullptr;

  if (MaskedFlags(flags)) {
    for (uint32_t& p : picture.argb)
      if ((p & 0xFFFFFF) == MaskRgb) p = 0;
  }
  Image image = NewImage(cellWidth, cellHeight, cellCount);
  for (int f = 0; f < cellCount; ++f) {
    int cell = firstCell + f;  // reading order: along a row, then the next row
    int left = (cell % columns) * cellWidth;
    int top = (cell / columns) * cellHeight;
    uint32_t* target = image->Frame(f);
    for (int y = 0; y < cellHeight; ++y)
      std::copy_n(picture.argb.begin() + static_cast<size_t>(top + y) * picture.width + left, cellWidth,
                  target + static_cast<size_t>(y) * cellWidth);
  }
  return image;
}

Image LoadImage(const std::string& url, int flags) {
  DecodedPicture picture;
  if (!DecodePng(ReadAll(url), picture)) return nullptr;
  if (MaskedFlags(flags)) {
    for (uint32_t& p : picture.argb)
      if ((p & 0xFFFFFF) == MaskRgb) p = 0;
  }
  Image image = NewImage(picture.width, picture.height, 1);
  image->pixels = std::move(picture.argb);
  return image;
}

Image CreateImage(int width, int height, int frames) {
  if (width <= 0 || height <= 0 || frames <= 0) return nullptr;
  return NewImage(width, height, frames);
}

void WriteImagePixels(const Image& image, int frame, const uint32_t* argb) {
  if (!image || !argb || frame < 0 || frame >= image->frames) return;
  std::copy_n(argb, static_cast<size_t>(image->width) * image->height, image->Frame(frame));
  if (image->texture && !image->textureStale && image->textureGeneration == RendererGeneration()) {
    // A live texture takes just this frame; the others stay as they are.
    SDL_Rect cell{(frame % image->columns) * image->width, (frame / image->columns) * image->height, image->width,
                  image->height};
    if (SDL_UpdateTexture(image->texture, &cell, image->Frame(frame), image->width * 4) == 0) return;
  }
  image->textureStale = true;
}

uint32_t ReadImagePixel(const Image& image, int frame, int x, int y) {
  if (!image || frame < 0 || frame >= image->frames || x < 0 || y < 0 || x >= image->width || y >= image->height)
    return 0;
  return image->Frame(frame)[static_cast<size_t>(y) * image->width + x];
}

int ImageWidth(const Image& image) { return image ? image->width : 0; }
int ImageHeight(const Image& image) { return image ? image->height : 0; }
int ImageFrames(const Image& image) { return image ? image->frames : 0; }

void SetImageHandle(const Image& image, int x, int y) {
  if (!image) return;
  image->handleX = x;
  image->handleY = y;
}

void MidHandleImage(const Image& image) {
  if (image) SetImageHandle(image, image->width / 2, image->height / 2);
}

int ImageXHandle(const Image& image) { return image ? image->handleX : 0; }
int ImageYHandle(const Image& image) { return image ? image->handleY : 0; }

bool ImagesCollide(const Image& a, float ax, float ay, int frameA, const Image& b, float bx, float by, int frameB) {
  if (!a || !b || frameA < 0 || frameA >= a->frames || frameB < 0 || frameB >= b->frames) return false;
  // Top-left corners on the screen, as DrawImage places them unscaled.
  int aLeft = static_cast<int>(std::floor(ax)) - a->handleX, aTop = static_cast<int>(std::floor(ay)) - a->handleY;
  int bLeft = static_cast<int>(std::floor(bx)) - b->handleX, bTop = static_cast<int>(std::floor(by)) - b->handleY;
  int left = std::max(aLeft, bLeft), right = std::min(aLeft + a->width, bLeft + b->width);
  int top = std::max(aTop, bTop), bottom = std::min(aTop + a->height, bTop + b->height);
  if (left >= right || top >= bottom) return false;
  const uint32_t* pa = a->Frame(frameA);
  const uint32_t* pb = b->Frame(frameB);
  for (int y = top; y < bottom; ++y) {
    const uint32_t* rowA = pa + static_cast<size_t>(y - aTop) * a->width + (left - aLeft);
    const uint32_t* rowB = pb + static_cast<size_t>(y - bTop) * b->width + (left - bLeft);
    for (int i = 0; i < right - left; ++i)
      if (Opaque(rowA[i]) && Opaque(rowB[i])) return true;
  }
  return false;
}
