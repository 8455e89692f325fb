// Our own 5 x 9 pixel font (capitals 7 rows high, 2 rows of descender) for
// the game's text font, the framework's default font and the preview labels.
#pragma once

#include "canvas.h"

#include <string>

namespace pixelfont {

constexpr int kWidth = 5;
constexpr int kRows = 9;

// True when the pixel at column x, row y of the glyph for code is set.
// Codes without a glyph (controls, 127 and up) have no pixels.
bool on(int code, int x, int y);
bool hasGlyph(int code);

// Draws a glyph with its top-left pixel at topLeft (design units), each font
// pixel `unit` units square, as crisp blocks.
void drawGlyph(const View& v, int code, V2 topLeft, float unit, Color c);

// A line of text with an advance of 6 font pixels; returns the width used.
float drawText(const View& v, const std::string& text, V2 topLeft, float unit, Color c);

} // namespace pixelfont
