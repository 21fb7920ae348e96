// The 2D drawing layer: one window, persistent drawing state, images cut into frames.
//
// All drawing goes to the back buffer; Flip() shows it, paces the loop to 60 Hz and pumps
// input (and, headless, replays QXR_INPUT_SCRIPT). Drawing state (colour, alpha, blend,
// scale, rotation) persists between calls, as the sprite code relies on it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct ImageData;  // pixels, frames and handle; defined by the SDL implementation
using Image = std::shared_ptr<ImageData>;

// Blend modes for SetBlend (BlendMask until set). The game itself uses BlendAlpha; mask and
// solid blending ignore the alpha.
enum BlendMode { BlendMask = 1, BlendSolid = 2, BlendAlpha = 3, BlendLight = 4, BlendShade = 5 };

// Opens (or reopens) the screen: depth 0 is a window, any other depth full screen.
// Returns false when no video device can be had. Reopening keeps loaded images valid.
bool Graphics(int width, int height, int depth = 0, int hertz = 60);
void EndGraphics();
bool GraphicsOpen();
int GraphicsWidth();
int GraphicsHeight();

void Cls();                               // clears the back buffer to the clear colour
void SetClsColor(int r, int g, int b);
void Flip();                              // shows the frame; waits for the next 1/60 s
int FlipCount();                          // flips since program start (the input script's frames)

// Drawing state.
void SetColor(int r, int g, int b);       // tint of images, colour of rects and lines
void SetAlpha(float alpha);               // 0..1
void SetBlend(int mode);                  // a BlendMode
void SetScale(float scaleX, float scaleY);// negative x mirrors about the handle
void SetRotation(float degrees);          // clockwise, about the handle
void SetMaskColor(int r, int g, int b);   // pixels of this colour in images loaded later are transparent
void AutoMidHandle(bool on);              // new images get their handle at their centre when on
int ColorRed();
int ColorGreen();
int ColorBlue();

// Images. A url is a file path or "incbin::" + an embedded file's name (see stream.h).
// flags are accepted for the loaders' signatures; -1 means the defaults. Null on failure.
Image LoadImage(const std::string& url, int flags = -1);
Image LoadAnimImage(const std::string& url, int cellWidth, int cellHeight, int firstCell, int cellCount,
                    int flags = -1);
// A blank image of transparent frames; frames are filled with WriteImagePixels.
Image CreateImage(int width, int height, int frames = 1);
// Replaces one frame's pixels; argb holds width*height values 0xAARRGGBB.
void WriteImagePixels(const Image& image, int frame, const uint32_t* argb);
// Reads one pixel of a frame as 0xAARRGGBB (0 outside the frame).
uint32_t ReadImagePixel(const Image& image, int frame, int x, int y);

int ImageWidth(const Image& image);       // one frame's width (0 for Null)
int ImageHeight(const Image& image);
int ImageFrames(const Image& image);
void SetImageHandle(const Image& image, int x, int y);  // the point drawn at (x, y)
void MidHandleImage(const Image& image);
int ImageXHandle(const Image& image);
int ImageYHandle(const Image& image);

// Draws a frame with the current state. Null images and frames out of range draw nothing.
void DrawImage(const Image& image, float x, float y, int frame = 0);
void DrawRect(float x, float y, float width, float height, bool filled = true);  // scaled, not rotated
void DrawLine(float x1, float y1, float x2, float y2);

// Pixel-exact: true when an opaque pixel of one frame covers an opaque pixel of the other.
// Positions are where DrawImage would be given them (handles honoured); scale,
// mirroring and rotation are ignored.
bool ImagesCollide(const Image& a, float ax, float ay, int frameA, const Image& b, float bx, float by, int frameB);

// Read-back of the back buffer, for tests and screenshots.
uint32_t ReadPixel(int x, int y);         // 0xRRGGBB of the back buffer (0 outside)
bool SaveScreenshot(const std::string& path);  // PNG of the current back buffer

void ShowPointer();
void HidePointer();
