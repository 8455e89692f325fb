// Sheet table and rendering: frames lie left to right, then top to bottom.
#include "sheets.h"

#include "art.h"

const std::vector<SheetLayout>& sheetLayouts() {
    static const std::vector<SheetLayout> layouts = {
        {"gfx", 32, 32, 16, 4, true, drawGfx},
        {"bg", 256, 256, 2, 2, true, drawBackdrop},
        {"BadgesA", 64, 64, 64, 8, true, drawBadge},
        {"fonts/editundo", 16, 16, 128, 16, true, drawTextFont},
        {"rune_font", 9, 12, 96, 96, false, drawRuneFont},
        {"common/icons", 32, 32, 16, 4, true, drawIcon},
        {"common/Buttons", 64, 64, 16, 4, true, drawButton},
        {"common/icade", 64, 64, 2, 2, true, drawICade},
        {"common/dpad", 32, 32, 16, 4, true, drawDpad},
        {"common/TarnLogo", 256, 256, 1, 1, true, drawMakerLogo},
        {"logo", 256, 128, 1, 1, true, drawTitle},
        {"menu", 256, 256, 4, 2, true, drawMenuArt},
        {"parts", 8, 8, 16, 4, true, drawParts},
    };
    return layouts;
}

std::string sheetFile(const SheetLayout& layout, int level) {
    const char* suffix = level == 2 ? "-hd" : level == 4 ? "-hd2" : "";
    return layout.name + suffix + ".png";
}

Image renderSheet(const SheetLayout& layout, int level) {
    int rows = (layout.frames + layout.columns - 1) / layout.columns;
    int fw = layout.frameW * level, fh = layout.frameH * level;
    Image sheet{fw * layout.columns, fh * rows, {}};
    sheet.rgba.assign(size_t(sheet.width) * sheet.height * 4, 0);
    Canvas frame(fw, fh);
    for (int i = 0; i < layout.frames; ++i) {
        frame.clear();
        View v{&frame, 0, 0, fw, fh, float(level)};
        layout.draw(v, i);
        frame.copyTo(sheet.rgba, sheet.width, (i % layout.columns) * fw, (i / layout.columns) * fh);
    }
    return sheet;
}
