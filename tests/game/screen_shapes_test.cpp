// Every screen whole at every shape of window: a phone held upright and on its
// side, a tablet and a 21:9 monitor. On each, nothing the menu, the play
// screen, the pause panel, game over, the badge gallery or the credits draw
// is cut by the window's edge, and no text or button covers another. With
// SKITTERBAT_SCREENS_SHEET naming a PNG file, every screen is also rendered
// with the real art into one contact sheet there, a row a shape.
#include "game/replay/replays.h"
#include "harness.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Shape {
    const char* name;
    int width, height;
    float virtualWidth, virtualHeight; // the screen the game lays itself out in
};
constexpr Shape kShapes[] = {
    {"phone upright", 390, 844, 320, 844 / (390 / 320.0f)},
    {"phone on its side", 844, 390, 844 / (390 / 360.0f), 360},
    {"tablet", 820, 1180, 820 / (1180 / 480.0f), 480},
    {"21:9 monitor", 1260, 540, 840, 360},
    {"design", 640, 480, 640, 480},
};

enum Screen { kMenu, kPlay, kPause, kGameOver, kGallery, kBadgeDetail, kCredits, kReplay, kScreenCount };
constexpr const char* kScreenNames[kScreenCount] = {"menu",    "play",         "pause",   "game over",
                                                    "gallery", "badge detail", "credits", "replay"};

constexpr int kRingFrame = 15, kFocusFrame = 6;

// The buttons' art at its smallest level, where a pixel is a game unit.
struct ButtonArt {
    int image;
    const char* file;
    int frameW, frameH;
};
constexpr ButtonArt kButtonArt[] = {
    {97, "common/icons.png", 32, 32},   {95, "common/Buttons.png", 64, 64},
    {92, "common/icade.png", 64, 64},   {93, "common/TarnLogo.png", 256, 256},
    {80, "BadgesA.png", 64, 64},        {98, "logo.png", 256, 128},
    {90, "fonts/editundo.png", 16, 16},
};
constexpr int kCreditsDisc = 93;
// Drawn art is anti-aliased: edges that meet within this many units touch, no more.
constexpr float kTouching = 2;

// What a frame really draws, from its centre, in game units at scale 1: a
// frame's transparent margin covers nothing.
struct Extent {
    float left, top, right, bottom;
};

const Extent* DrawnPart(int image, int frame) {
    static std::map<std::pair<int, int>, Extent> known;
    const auto key = std::make_pair(image, frame);
    if (auto found = known.find(key); found != known.end()) return &found->second;
    const ButtonArt* art = nullptr;
    for (const ButtonArt& a : kButtonArt)
        if (a.image == image) art = &a;
    if (!art) return nullptr;
    int width = 0, height = 0, channels = 0;
    const std::string path = GameHarness::BuildDataDir() + "/" + art->file;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!pixels) return nullptr;
    const int perRow = width / art->frameW;
    const int x0 = (frame % perRow) * art->frameW, y0 = (frame / perRow) * art->frameH;
    Extent e{1e9f, 1e9f, -1e9f, -1e9f};
    for (int y = 0; y < art->frameH && y0 + y < height; ++y)
        for (int x = 0; x < art->frameW; ++x) {
            if (pixels[(static_cast<size_t>(y0 + y) * width + x0 + x) * 4 + 3] < 64) continue;
            e.left = std::min(e.left, x - art->frameW / 2.0f);
            e.right = std::max(e.right, x + 1 - art->frameW / 2.0f);
            e.top = std::min(e.top, y - art->frameH / 2.0f);
            e.bottom = std::max(e.bottom, y + 1 - art->frameH / 2.0f);
        }
    stbi_image_free(pixels);
    return &(known[key] = e);
}

struct Box {
    std::string what;
    float left, top, right, bottom;
    bool hangsOver = false; // the credits disc hangs over the foot of the screen by design
    bool Overlaps(const Box& o) const {
        return std::min(right, o.right) - std::max(left, o.left) > kTouching &&
               std::min(bottom, o.bottom) - std::max(top, o.top) > kTouching;
    }
};

// Brings the game on the harness to the screen, through its own controls
// where a player would use them.
void ShowScreen(GameHarness& h, Screen screen) {
    bb_Skitterbat_MyApp& g = h.game;
    for (int i = 0; i < 20; ++i) g.Badges[i] = i % 3 == 0;
    g.Highscores[0] = 5000; // a best score to show
    h.Frames(140);          // the menu has slid in
    switch (screen) {
    case kMenu:
        return;
    case kGallery:
        g.BadgesOpen = 1;
        h.Frames(2);
        return;
    case kBadgeDetail:
        // A finger on the first badge's icon shows what it was given for.
        g.BadgesOpen = 1;
        h.Frames(2);
        h.MouseToGame(0.8f * bb_Skitterbat_jscrw, 32);
        h.MouseButton(true);
        h.Frames(2);
        return;
    case kCredits:
        g.CreditsOpen = 1;
        h.Frames(2);
        return;
    case kReplay:
        // A game of this shape, kept, then watched from its recent row.
        h.StartGame(1);
        h.Frames(400);
        g.GameEnded = 1;
        h.Frames(200);
        replays::WatchRow(g, true, 0);
        h.Frames(300);
        return;
    default:
        break;
    }
    h.StartGame(1);
    h.Frames(400); // past the round's announcement
    if (screen == kPause) {
        h.KeyDown(27);
        h.Frames(30);
        h.KeyUp(27);
        h.Frames(2);
    } else if (screen == kGameOver) {
        g.Score = 12345;
        g.GameEnded = 1;
        h.Frames(60); // the build-up stands whole
    }
}

// The records of the top layer: a box, panel or overlay starts with a
// rectangle over the screen's full height; what lies under it may be covered.
// The records of the top layer: a box, panel or overlay may cover what lies
// under it, and starts with a rectangle of its own colour.
std::vector<DrawRecord> TopLayer(const std::vector<DrawRecord>& records, Screen screen) {
    auto starts = [screen](const DrawRecord& r) {
        if (!r.IsRect()) return false;
        switch (screen) {
        case kGallery:
        case kCredits:
            return r.red == 255 && r.green == 125 && r.blue == 0;
        case kBadgeDetail:
            return r.red == 0 && r.green == 40 && r.blue == 80;
        case kPause:
            return r.red == 0 && r.green == 0 && r.blue == 0 && r.x == 0 && r.y == 0;
        case kGameOver:
            return r.red == 0 && r.green == 0 && r.blue == 0 && r.x == -1 && r.y == -1;
        default:
            return false;
        }
    };
    auto first = std::find_if(records.begin(), records.end(), starts);
    if (first == records.end()) first = records.begin();
    return std::vector<DrawRecord>(first, records.end());
}

std::vector<Box> TextAndButtons(GameHarness& h, const std::vector<DrawRecord>& layer) {
    bb_Skitterbat_MyApp& g = h.game;
    std::vector<Box> boxes;
    // A line of text covers what its glyphs draw.
    const std::vector<DrawRecord> records = h.Records();
    for (const TextRun& run : h.Texts()) {
        const DrawRecord& first = records[static_cast<size_t>(run.firstRecord)];
        bool inLayer = false;
        for (const DrawRecord& r : layer)
            if (r.x == first.x && r.y == first.y && r.kind == first.kind && r.frame == first.frame)
                inLayer = true;
        if (!inLayer) continue;
        Box box{"\"" + run.text + "\"", 1e9f, 1e9f, -1e9f, -1e9f};
        const size_t glyphs = static_cast<size_t>(
            std::count_if(run.text.begin(), run.text.end(), [](char c) { return c != ' '; }));
        for (size_t i = 0; i < glyphs; ++i) {
            const DrawRecord& r = records[static_cast<size_t>(run.firstRecord) + i];
            const Extent* e = DrawnPart(g.FontImage, static_cast<int>(r.frame));
            if (!e || e->left > e->right) continue;
            box.left = std::min(box.left, r.x + e->left * r.w);
            box.right = std::max(box.right, r.x + e->right * r.w);
            box.top = std::min(box.top, r.y + e->top * r.h);
            box.bottom = std::max(box.bottom, r.y + e->bottom * r.h);
        }
        if (box.left <= box.right) boxes.push_back(box);
    }
    for (const DrawRecord& r : layer) {
        if (r.kind < 0 || r.kind == static_cast<float>(g.FontImage)) continue;
        const int image = static_cast<int>(r.kind);
        // Rings that mark the chosen button sit on it by design.
        if ((image == 95 && r.frame == kRingFrame) || (image == 97 && r.frame == kFocusFrame)) continue;
        const Extent* e = DrawnPart(image, static_cast<int>(r.frame));
        if (!e || e->left > e->right) continue;
        boxes.push_back(
            {"image " + std::to_string(image) + " frame " + std::to_string(static_cast<int>(r.frame)),
             r.x + e->left * r.w, r.y + e->top * r.h, r.x + e->right * r.w, r.y + e->bottom * r.h,
             image == kCreditsDisc});
    }
    return boxes;
}

// Renders into a cell of the contact sheet, shrunk by whole pixels to fit.
void PasteInto(std::vector<unsigned char>& sheet, int sheetWidth, int cellX, int cellY, int cell,
               GameHarness& h, int width, int height) {
    Array<int> pixels(width * height);
    h.Graphics().ReadPixels(pixels, 0, 0, width, height, 0, width);
    const int step = (std::max(width, height) + cell - 1) / cell;
    const int outW = width / step, outH = height / step;
    const int offsetX = cellX + (cell - outW) / 2, offsetY = cellY + (cell - outH) / 2;
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x) {
            unsigned sum[3] = {};
            for (int sy = 0; sy < step; ++sy)
                for (int sx = 0; sx < step; ++sx) {
                    const auto argb = static_cast<unsigned>(pixels[(y * step + sy) * width + x * step + sx]);
                    sum[0] += (argb >> 16) & 255;
                    sum[1] += (argb >> 8) & 255;
                    sum[2] += argb & 255;
                }
            unsigned char* out = &sheet[(static_cast<size_t>(offsetY + y) * sheetWidth + offsetX + x) * 3];
            for (int c = 0; c < 3; ++c) out[c] = static_cast<unsigned char>(sum[c] / (step * step));
        }
}

} // namespace

TEST(ScreenShapes, EveryScreenIsWholeAtEveryShape) {
    const char* sheetPath = std::getenv("SKITTERBAT_SCREENS_SHEET");
    constexpr int kCell = 220, kGap = 6;
    const int sheetWidth = kScreenCount * (kCell + kGap) + kGap;
    const int sheetHeight = static_cast<int>(std::size(kShapes)) * (kCell + kGap) + kGap;
    std::vector<unsigned char> sheet(static_cast<size_t>(sheetWidth) * sheetHeight * 3, 24);

    for (size_t row = 0; row < std::size(kShapes); ++row) {
        const Shape& shape = kShapes[row];
        for (int screen = 0; screen < kScreenCount; ++screen) {
            SCOPED_TRACE(std::string(shape.name) + ", " + kScreenNames[screen]);
            HarnessOptions options;
            options.width = shape.width;
            options.height = shape.height;
            options.window = sheetPath != nullptr;
            GameHarness h(options);
            ShowScreen(h, static_cast<Screen>(screen));
            const float w = bb_Skitterbat_jscrw, vh = bb_Skitterbat_jscrh;
            ASSERT_NEAR(w, shape.virtualWidth, 0.01f);
            ASSERT_NEAR(vh, shape.virtualHeight, 0.01f);

            const std::vector<Box> boxes =
                TextAndButtons(h, TopLayer(h.Records(), static_cast<Screen>(screen)));
            EXPECT_FALSE(boxes.empty());
            // The gallery is a list that scrolls: only its sides are fixed.
            const bool scrolls = screen == kGallery || screen == kBadgeDetail;
            for (const Box& b : boxes) {
                if (b.hangsOver) continue;
                EXPECT_TRUE(b.left >= -kTouching && b.right <= w + kTouching)
                    << b.what << " runs past a side: " << b.left << ".." << b.right << " of " << w;
                EXPECT_TRUE(scrolls || (b.top >= -kTouching && b.bottom <= vh + kTouching))
                    << b.what << " runs past the top or bottom: " << b.top << ".." << b.bottom << " of "
                    << vh;
            }
            for (size_t i = 0; i < boxes.size(); ++i) {
                for (size_t j = i + 1; j < boxes.size(); ++j)
                    EXPECT_FALSE(boxes[i].Overlaps(boxes[j])) << boxes[i].what << " covers " << boxes[j].what;
            }
            if (sheetPath) {
                PasteInto(sheet, sheetWidth, kGap + screen * (kCell + kGap),
                          kGap + static_cast<int>(row) * (kCell + kGap), kCell, h, shape.width, shape.height);
            }
        }
    }
    if (sheetPath) {
        ASSERT_NE(stbi_write_png(sheetPath, sheetWidth, sheetHeight, 3, sheet.data(), sheetWidth * 3), 0);
    }
}
