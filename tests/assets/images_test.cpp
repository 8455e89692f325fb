// Generated images: every sheet at every level holds the frames the game cuts
// from it, the frames it draws are not empty, sprites leave a clear border,
// tinted sheets are neutral grey, badges differ, and the fonts fit their cells.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::string kData = SKITTERBAT_DATA_DIR;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    bool ok() const { return width > 0; }
    const unsigned char* at(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

Picture Load(const std::string& path) {
    Picture p;
    int n = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &p.width, &p.height, &n, 4);
    if (!pixels) return {};
    p.rgba.assign(pixels, pixels + size_t(p.width) * p.height * 4);
    stbi_image_free(pixels);
    return p;
}

struct Rect {
    int x, y, w, h;
};

// The frames as the framework grabs them: left to right, wrapping to the next
// row when a frame would pass the right edge. Empty when they do not fit.
std::vector<Rect> Grab(const Picture& p, int fw, int fh, int count) {
    std::vector<Rect> frames;
    int cx = 0, cy = 0;
    for (int i = 0; i < count; ++i) {
        if (cx + fw > p.width) {
            cx = 0;
            cy += fh;
        }
        if (cx + fw > p.width || cy + fh > p.height) return {};
        frames.push_back({cx, cy, fw, fh});
        cx += fw;
    }
    return frames;
}

bool AnyVisible(const Picture& p, Rect r) {
    for (int y = r.y; y < r.y + r.h; ++y)
        for (int x = r.x; x < r.x + r.w; ++x)
            if (p.at(x, y)[3] > 0) return true;
    return false;
}

bool BorderClear(const Picture& p, Rect r) {
    for (int i = 0; i < r.w; ++i)
        if (p.at(r.x + i, r.y)[3] || p.at(r.x + i, r.y + r.h - 1)[3]) return false;
    for (int i = 0; i < r.h; ++i)
        if (p.at(r.x, r.y + i)[3] || p.at(r.x + r.w - 1, r.y + i)[3]) return false;
    return true;
}

std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

struct Sheet {
    const char* name;
    int fw, fh, frames;
    std::vector<int> drawn; // frames the game shows: must not be empty
    bool sprite;            // frames keep a clear outer pixel row and column
    bool tinted;            // drawn neutral so the game's colour shows
};

const std::vector<Sheet>& Sheets() {
    static const std::vector<Sheet> sheets = {
        {"gfx", 32, 32, 16, Range(0, 7), true, true},
        {"bg", 256, 256, 2, {0, 1}, true, false},
        {"BadgesA", 64, 64, 64, Range(0, 19), true, false},
        {"fonts/editundo", 16, 16, 128, Range(1, 94), true, true},
        {"common/icade", 64, 64, 2, {0, 1}, true, false},
        {"common/TarnLogo", 256, 256, 1, {0}, true, false},
        {"common/dpad", 32, 32, 16, Range(0, 4), true, false},
        {"common/Buttons", 64, 64, 16, {0, 1, 2, 14, 15}, true, false},
        {"parts", 8, 8, 16, {0, 1}, true, false},
        {"common/icons", 32, 32, 16, {0, 1, 3, 4, 5, 6}, true, true},
        {"logo", 256, 128, 1, {0}, true, false},
        {"menu", 256, 256, 4, {0, 1, 2}, false, false},
    };
    return sheets;
}

std::string FileName(const char* name, int level) {
    return kData + "/" + name + (level == 2 ? "-hd" : level == 4 ? "-hd2" : "") + ".png";
}

TEST(Images, EverySheetHoldsItsFramesAtEveryLevel) {
    for (const Sheet& s : Sheets()) {
        Picture base = Load(FileName(s.name, 1));
        ASSERT_TRUE(base.ok()) << FileName(s.name, 1);
        for (int level : {1, 2, 4}) {
            std::string file = FileName(s.name, level);
            Picture p = Load(file);
            ASSERT_TRUE(p.ok()) << file;
            EXPECT_EQ(p.width, base.width * level) << file;
            EXPECT_EQ(p.height, base.height * level) << file;
            EXPECT_EQ(p.width % (s.fw * level), 0) << file << ": width is not a whole number of frames";
            std::vector<Rect> frames = Grab(p, s.fw * level, s.fh * level, s.frames);
            ASSERT_EQ(frames.size(), size_t(s.frames)) << file << ": frames do not fit";
            for (int f : s.drawn) EXPECT_TRUE(AnyVisible(p, frames[size_t(f)])) << file << " frame " << f;
            if (s.sprite) {
                for (size_t f = 0; f < frames.size(); ++f)
                    EXPECT_TRUE(BorderClear(p, frames[f])) << file << " frame " << f << " touches its edge";
            }
        }
    }
}

TEST(Images, TintedSheetsAreNeutralAndLight) {
    for (const Sheet& s : Sheets()) {
        if (!s.tinted) continue;
        Picture p = Load(FileName(s.name, 2));
        ASSERT_TRUE(p.ok());
        int brightest = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const unsigned char* c = p.at(x, y);
                if (c[3] < 128) continue;
                ASSERT_LE(std::abs(c[0] - c[1]), 2) << s.name << " has colour at " << x << "," << y;
                ASSERT_LE(std::abs(c[1] - c[2]), 2) << s.name << " has colour at " << x << "," << y;
                brightest = std::max(brightest, int(c[0]));
            }
        EXPECT_GE(brightest, 240) << s.name << " would darken every tint";
    }
}

TEST(Images, BadgeIconsAreDistinctAndColoured) {
    Picture p = Load(FileName("BadgesA", 1));
    ASSERT_TRUE(p.ok());
    std::vector<Rect> frames = Grab(p, 64, 64, 64);
    ASSERT_EQ(frames.size(), 64u);
    std::set<std::vector<unsigned char>> seen;
    for (int f = 0; f < 20; ++f) {
        std::vector<unsigned char> pixels;
        int coloured = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const unsigned char* c = p.at(frames[size_t(f)].x + x, frames[size_t(f)].y + y);
                pixels.insert(pixels.end(), c, c + 4);
                int spread = std::max({c[0], c[1], c[2]}) - std::min({c[0], c[1], c[2]});
                coloured += c[3] > 200 && spread > 60;
            }
        EXPECT_TRUE(seen.insert(pixels).second) << "badge " << f << " repeats another";
        // The game does not tint badges; only the white pod's may stay white.
        if (f != 7) {
            EXPECT_GT(coloured, 100) << "badge " << f << " is not in colour";
        }
    }
}

// Glyphs sit in the 7 x 10 cell around the frame centre (the game's advance
// and line height), at every level; every printable character has one.
TEST(Images, TextFontGlyphsFitTheirCell) {
    for (int level : {1, 2, 4}) {
        Picture p = Load(FileName("fonts/editundo", level));
        ASSERT_TRUE(p.ok());
        std::vector<Rect> frames = Grab(p, 16 * level, 16 * level, 128);
        ASSERT_EQ(frames.size(), 128u);
        for (int code = 33; code <= 126; ++code) {
            Rect r = frames[size_t(code - 32)];
            int x0 = r.w, y0 = r.h, x1 = -1, y1 = -1;
            for (int y = 0; y < r.h; ++y)
                for (int x = 0; x < r.w; ++x)
                    if (p.at(r.x + x, r.y + y)[3] > 0) {
                        x0 = std::min(x0, x);
                        x1 = std::max(x1, x);
                        y0 = std::min(y0, y);
                        y1 = std::max(y1, y);
                    }
            ASSERT_GE(x1, 0) << "no glyph for " << char(code);
            EXPECT_GE(x0 * 2, 9 * level) << char(code) << " at level " << level;
            EXPECT_LE((x1 + 1) * 2, 23 * level) << char(code) << " at level " << level;
            EXPECT_GE(y0, 3 * level) << char(code) << " at level " << level;
            EXPECT_LE(y1 + 1, 13 * level) << char(code) << " at level " << level;
        }
        EXPECT_FALSE(AnyVisible(p, frames[0])) << "space must be blank";
    }
}

// The framework's default font: 96 frames in one row, each with a clear
// pixel column left and right (cut away by the loader).
TEST(Images, DefaultFontHasPaddedGlyphs) {
    Picture p = Load(kData + "/rune_font.png");
    ASSERT_TRUE(p.ok());
    ASSERT_EQ(p.width % 96, 0);
    int fw = p.width / 96;
    ASSERT_GE(fw, 4);
    for (int i = 0; i < 96; ++i) {
        Rect r{i * fw, 0, fw, p.height};
        for (int y = 0; y < p.height; ++y) {
            EXPECT_EQ(p.at(r.x, y)[3], 0) << "frame " << i;
            EXPECT_EQ(p.at(r.x + fw - 1, y)[3], 0) << "frame " << i;
        }
        if (i >= 1 && i <= 94) {
            EXPECT_TRUE(AnyVisible(p, r)) << "no glyph for " << char(32 + i);
        }
    }
}

} // namespace
