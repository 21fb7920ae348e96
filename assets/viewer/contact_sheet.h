// The contact sheet: every embedded picture, frame by frame, labelled, on one PNG.
#pragma once

#include <string>

#include "assets/art/canvas.h"
#include "assets/viewer/embedded_pictures.h"

Canvas ContactSheet();

// One picture's frames alone, enlarged by a whole factor (2 for small cells, 1 for full screens).
Canvas PicturePage(const PictureEntry& entry);

// The default hero and the fifty skins side by side, four walking frames each, enlarged.
Canvas HeroLineUp();

// Writes a line of text in the small letter shapes (for labels), one pixel per glyph pixel.
void Label(Canvas& canvas, const std::string& text, int x, int y, Colour colour, int scale = 1);
