// The contact sheet: every embedded picture, frame by frame, labelled, on one PNG.
#pragma once

#include <string>

#include "assets/art/canvas.h"

Canvas ContactSheet();

// Writes a line of text in the small letter shapes (for labels), one pixel per glyph pixel.
void Label(Canvas& canvas, const std::string& text, int x, int y, Colour colour, int scale = 1);
