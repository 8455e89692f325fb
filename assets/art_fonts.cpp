// Bitmap fonts from the pixel font table: the game's text font (frames of
// 16 x 16 from code 32, glyph cell 7 x 10 centred) and the framework's
// default font (one row, 1-pixel border left and right).
#include "art.h"
#include "pixelfont.h"

void drawTextFont(const View& v, int frame) {
    // Columns 5..9 and rows 4..12 of the 16-unit frame: the 7 x 10 cell
    // around the centre holds the glyph with its spacing.
    pixelfont::drawGlyph(v, 32 + frame, {5, 4}, 1, palette::kWhite);
}

void drawRuneFont(const View& v, int frame) {
    pixelfont::drawGlyph(v, 32 + frame, {2, 1}, 1, palette::kWhite);
}
