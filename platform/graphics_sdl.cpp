// The screen on SDL's renderer: opening it, the drawing state, drawing, flip and pacing, read-back.
#include <SDL.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "platform/clock.h"
#include "platform/image_data.h"
#include "platform/input.h"
#include "platform/png_codec.h"
#include "platform/system.h"
#include "platform/video_internal.h"

namespace {

struct DrawState {
  Uint8 red = 255, green = 255, blue = 255;
  float alpha = 1;
  int blend = BlendMask;
  float scaleX = 1, scaleY = 1;
  float rotation = 0;
  Uint8 clsRed = 0, clsGreen = 0, clsBlue = 0;
};

DrawState State;
SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
unsigned Generation = 1;
int ScreenWidth = 0, ScreenHeight = 0;
double FrameMs = 1000.0 / 60;
int Flips = 0;
std::chrono::steady_clock::time_point NextFrame;
bool Paced = false;
double ExcusedMs = 0;

Uint8 Clamp255(int v) { return static_cast<Uint8>(v < 0 ? 0 : v > 255 ? 255 : v); }

SDL_BlendMode SdlBlend(int mode) {
  switch (mode) {
    case BlendSolid: return SDL_BLENDMODE_NONE;
    case BlendLight: return SDL_BLENDMODE_ADD;
    case BlendShade: return SDL_BLENDMODE_MOD;
    default: return SDL_BLENDMODE_BLEND;
  }
}

// Mask blending draws the opaque pixels at full strength; the others honour the alpha.
Uint8 SdlAlpha() {
  if (State.blend == BlendMask || State.blend == BlendSolid) return 255;
  return Clamp255(static_cast<int>(std::lround(State.alpha * 255)));
}

void PaceFrame() {
  if (FastClock()) {
    AdvanceFastClock();
    return;
  }
  auto now = std::chrono::steady_clock::now();
  auto frame = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double, std::milli>(FrameMs));
  const auto excused = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double, std::milli>(ExcusedMs));
  ExcusedMs = 0;
  // After a long stall start afresh rather than racing to catch up.
  if (!Paced || now - NextFrame - excused > 4 * frame) NextFrame = now;
  Paced = true;
  NextFrame += frame;
  if (NextFrame > now) std::this_thread::sleep_until(NextFrame);
}

}  // namespace

void ExcuseFromPacing(double ms) { ExcusedMs += ms; }

SDL_Window* VideoWindow() { return Window; }
SDL_Renderer* VideoRenderer() { return Renderer; }
unsigned RendererGeneration() { return Generation; }
int FlipCount() { return Flips; }

bool Graphics(int width, int height, int depth, int hertz) {
  if (width <= 0 || height <= 0) return false;
  // Termination signals are ours (platform/termination.h), not SDL's to turn into a close request.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  FrameMs = 1000.0 / (hertz > 0 ? hertz : 60);
  // A headless run always draws into a window-sized buffer, so tests read what they drew.
  bool fullScreen = depth != 0 && !Headless();
  ScreenWidth = width;
  ScreenHeight = height;

  if (Window) {
    // Reopening: change the window in place so the renderer, and with it every texture, stays.
    SDL_SetWindowFullscreen(Window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!fullScreen) SDL_SetWindowSize(Window, width, height);
    SDL_RenderSetLogicalSize(Renderer, width, height);
    return true;
  }

  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  Uint32 flags = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
  Window = SDL_CreateWindow(AppTitleText().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                            flags);
  if (!Window) return false;
  if (!Headless()) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_ACCELERATED);
  if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
  if (!Renderer) {
    SDL_DestroyWindow(Window);
    Window = nullptr;
    return false;
  }
  ++Generation;
  SDL_RenderSetLogicalSize(Renderer, width, height);
  SDL_StartTextInput();
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderClear(Renderer);
  return true;
}

void EndGraphics() {
  if (Renderer) SDL_DestroyRenderer(Renderer);  // frees every texture made with it
  if (Window) SDL_DestroyWindow(Window);
  Renderer = nullptr;
  Window = nullptr;
  ++Generation;
}

bool GraphicsOpen() { return Renderer != nullptr; }
int GraphicsWidth() { return ScreenWidth; }
int GraphicsHeight() { return ScreenHeight; }

void SetClsColor(int r, int g, int b) {
  State.clsRed = Clamp255(r);
  State.clsGreen = Clamp255(g);
  State.clsBlue = Clamp255(b);
}

void Cls() {
  if (!Renderer) return;
  SDL_SetRenderDrawColor(Renderer, State.clsRed, State.clsGreen, State.clsBlue, 255);
  SDL_RenderClear(Renderer);
}

void Flip() {
  ++Flips;
  PollInput();
  RunInputScript(Flips);  // after the real events, so the next loop pass sees both
  if (Renderer) SDL_RenderPresent(Renderer);
  PaceFrame();
}

void SetColor(int r, int g, int b) {
  State.red = Clamp255(r);
  State.green = Clamp255(g);
  State.blue = Clamp255(b);
}
void SetAlpha(float alpha) { State.alpha = alpha < 0 ? 0 : alpha > 1 ? 1 : alpha; }
void SetBlend(int mode) { State.blend = mode; }
void SetScale(float scaleX, float scaleY) {
  State.scaleX = scaleX;
  State.scaleY = scaleY;
}
void SetRotation(float degrees) { State.rotation = degrees; }
int ColorRed() { return State.red; }
int ColorGreen() { return State.green; }
int ColorBlue() { return State.blue; }

void DrawImage(const Image& image, float x, float y, int frame) {
  if (!image || !Renderer || frame < 0 || frame >= image->frames) return;
  if (State.scaleX == 0 || State.scaleY == 0) return;
  SDL_Texture* texture = ImageTexture(*image);
  if (!texture) return;

  SDL_Rect source{(frame % image->columns) * image->width, (frame / image->columns) * image->height, image->width,
                  image->height};
  bool flipX = State.scaleX < 0, flipY = State.scaleY < 0;
  float sx = std::fabs(State.scaleX), sy = std::fabs(State.scaleY);
  // The handle lands on (x, y); mirroring flips the picture about it.
  float handleX = (flipX ? image->width - image->handleX : image->handleX) * sx;
  float handleY = (flipY ? image->height - image->handleY : image->handleY) * sy;
  SDL_FRect target{x - handleX, y - handleY, image->width * sx, image->height * sy};

  SDL_SetTextureColorMod(texture, State.red, State.green, State.blue);
  SDL_SetTextureAlphaMod(texture, SdlAlpha());
  SDL_SetTextureBlendMode(texture, SdlBlend(State.blend));
  if (State.rotation == 0 && !flipX && !flipY) {
    SDL_RenderCopyF(Renderer, texture, &source, &target);
  } else {
    SDL_FPoint centre{handleX, handleY};
    int flip = (flipX ? SDL_FLIP_HORIZONTAL : 0) | (flipY ? SDL_FLIP_VERTICAL : 0);
    SDL_RenderCopyExF(Renderer, texture, &source, &target, State.rotation, &centre,
                      static_cast<SDL_RendererFlip>(flip));
  }
}

// Rects and lines take colour, alpha, blend and scale; rotation is not applied to them.
static void PrepareShapeColour() {
  SDL_SetRenderDrawBlendMode(Renderer, SdlBlend(State.blend));
  SDL_SetRenderDrawColor(Renderer, State.red, State.green, State.blue, SdlAlpha());
}

void DrawRect(float x, float y, float width, float height, bool filled) {
  if (!Renderer) return;
  PrepareShapeColour();
  SDL_FRect rect{x, y, width * State.scaleX, height * State.scaleY};
  if (rect.w < 0) {
    rect.x += rect.w;
    rect.w = -rect.w;
  }
  if (rect.h < 0) {
    rect.y += rect.h;
    rect.h = -rect.h;
  }
  if (filled)
    SDL_RenderFillRectF(Renderer, &rect);
  else
    SDL_RenderDrawRectF(Renderer, &rect);
}

void DrawLine(float x1, float y1, float x2, float y2) {
  if (!Renderer) return;
  PrepareShapeColour();
  SDL_RenderDrawLineF(Renderer, x1, y1, x2, y2);
}

// The output pixel showing logical pixel (x, y): in full screen the frame is scaled (nearest
// neighbour) and may be letterboxed, so read-back samples the middle of the scaled pixel.
static SDL_Point OutputPixel(int x, int y) {
  float scaleX = 1, scaleY = 1;
  SDL_RenderGetScale(Renderer, &scaleX, &scaleY);
  SDL_Rect viewport{};
  SDL_RenderGetViewport(Renderer, &viewport);
  return SDL_Point{static_cast<int>((viewport.x + x + 0.5f) * scaleX), static_cast<int>((viewport.y + y + 0.5f) * scaleY)};
}

static bool OutputIsScaled() {
  float scaleX = 1, scaleY = 1;
  SDL_RenderGetScale(Renderer, &scaleX, &scaleY);
  SDL_Rect viewport{};
  SDL_RenderGetViewport(Renderer, &viewport);
  return scaleX != 1 || scaleY != 1 || viewport.x != 0 || viewport.y != 0;
}

uint32_t ReadPixel(int x, int y) {
  if (!Renderer || x < 0 || y < 0 || x >= ScreenWidth || y >= ScreenHeight) return 0;
  SDL_Point at = OutputPixel(x, y);
  SDL_Rect rect{at.x, at.y, 1, 1};
  uint32_t pixel = 0;
  if (SDL_RenderReadPixels(Renderer, &rect, SDL_PIXELFORMAT_ARGB8888, &pixel, 4) != 0) return 0;
  return pixel & 0xFFFFFF;
}

bool SaveScreenshot(const std::string& path) {
  if (!Renderer) return false;
  std::vector<uint32_t> pixels(static_cast<size_t>(ScreenWidth) * ScreenHeight);
  if (!OutputIsScaled()) {
    SDL_Rect rect{0, 0, ScreenWidth, ScreenHeight};
    if (SDL_RenderReadPixels(Renderer, &rect, SDL_PIXELFORMAT_ARGB8888, pixels.data(), ScreenWidth * 4) != 0)
      return false;
  } else {
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(Renderer, &outputWidth, &outputHeight);
    std::vector<uint32_t> output(static_cast<size_t>(outputWidth) * outputHeight);
    if (output.empty() ||
        SDL_RenderReadPixels(Renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, output.data(), outputWidth * 4) != 0)
      return false;
    for (int y = 0; y < ScreenHeight; ++y)
      for (int x = 0; x < ScreenWidth; ++x) {
        SDL_Point at = OutputPixel(x, y);
        if (at.x >= 0 && at.y >= 0 && at.x < outputWidth && at.y < outputHeight)
          pixels[static_cast<size_t>(y) * ScreenWidth + x] = output[static_cast<size_t>(at.y) * outputWidth + at.x];
      }
  }
  for (uint32_t& p : pixels) p |= 0xFF000000;
  return EncodePng(path, ScreenWidth, ScreenHeight, pixels.data());
}

void ShowPointer() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}
void HidePointer() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}
