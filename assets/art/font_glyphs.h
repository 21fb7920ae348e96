// The letter shapes of both bitmap fonts: 5 by 8 pixels per character, row 7 for descenders.
#pragma once

constexpr int GlyphWidth = 5;
constexpr int GlyphHeight = 8;

// True where the glyph of character code (32..127) has ink; false for any other code.
bool GlyphInk(int code, int x, int y);
