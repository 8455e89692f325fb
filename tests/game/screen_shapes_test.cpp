// Every screen whole at every shape of window: a phone held upright and on its
// side, a tablet and a 21:9 monitor. On each, nothing the menu, the play
// screen, a first game's note, the pause panel, game over, the badge
// gallery, the credits, the Options screen or the replay screen draw
// is cut by the window's edge, no text or button covers another (nor the
// paddle or a ball), the
// gallery's text reads clearly on its panel, and every layer of the menu's
// backdrop runs from edge to edge without a cut. With SKITTERBAT_SCREENS_SHEET
// naming a PNG file, every screen is also rendered with the real art into one
// contact sheet there, a row a shape.
#include "game/replay/replays.h"
#include "harness.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
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

enum Screen {
    kMenu,
    kPlay,
    kFirstGame,
    kPause,
    kGameOver,
    kGallery,
    kBadgeDetail,
    kUnearnedDetail,
    kCredits,
    kOptions,
    kReplay,
    kScreenCount
};
constexpr const char* kScreenNames[kScreenCount] = {"menu",      "play",    "first game",   "pause",
                                                    "game over", "gallery", "badge detail", "badge to earn",
                                                    "credits",   "options", "replay"};

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
    bool hangsOver = false; // the credits disc and a paddle at a wall reach past the screen by design
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
    case kUnearnedDetail: {
        // A tap on a badge's row shows what it was given for, or how it is earned.
        g.BadgesOpen = 1;
        h.Frames(2);
        const std::string name = screen == kBadgeDetail ? "Red Pod" : "Orange Pod";
        for (const TextRun& run : h.Texts())
            if (run.text == name) h.MouseToGame(run.x, run.y);
        h.MouseButton(true);
        h.Frames(2);
        h.MouseButton(false);
        h.Frames(2);
        return;
    }
    case kCredits:
        g.CreditsOpen = 1;
        h.Frames(2);
        return;
    case kOptions:
        // Back on the menu opens it.
        h.PressKey(27);
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
    // A player past the first games, but for the first game's own screen.
    g.Settings[24] = screen == kFirstGame ? 0 : 3;
    if (screen == kFirstGame) {
        // The note follows the input used last: a finger on the narrow
        // screens, kept down (so it says to lift) where they stand upright;
        // keys elsewhere.
        const bool phone = bb_Skitterbat_jscrw < 400 || bb_Skitterbat_jscrh < 400;
        const bool upright = bb_Skitterbat_jscrw < bb_Skitterbat_jscrh;
        h.platform.fingerPointer = phone || upright;
        if (h.platform.fingerPointer) {
            h.MouseToGame(bb_Skitterbat_jscrw / 2, bb_Skitterbat_jscrh / 2);
            h.MouseButton(true);
            h.Frames(1);
            if (!(phone && upright)) h.MouseButton(false);
        } else {
            h.PressKey(39);
        }
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
        case kUnearnedDetail:
            return r.red == 0 && r.green == 40 && r.blue == 80;
        case kPause:
            return r.red == 0 && r.green == 0 && r.blue == 0 && r.x == 0 && r.y == 0;
        case kGameOver:
            return r.red == 0 && r.green == 0 && r.blue == 0 && r.x == -1 && r.y == -1;
        case kOptions:
            return r.red == 8 && r.green == 16 && r.blue == 48;
        default:
            return false;
        }
    };
    auto first = std::find_if(records.begin(), records.end(), starts);
    if (first == records.end()) first = records.begin();
    return std::vector<DrawRecord>(first, records.end());
}

// With `play`, the paddle and the balls too: nothing may cover them.
std::vector<Box> TextAndButtons(GameHarness& h, const std::vector<DrawRecord>& layer, bool play) {
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
        const bool paddle = r.red == 160 && r.green == 255 && r.blue == 160;
        const bool ball = r.red == 150 && r.green == 255 && r.blue == 150;
        if (play && r.IsRect() && (paddle || ball))
            // A paddle at a wall reaches past it by design: only what covers it counts.
            boxes.push_back({paddle ? "the paddle" : "a ball", r.x, r.y, r.x + r.w, r.y + r.h, true});
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

// WCAG relative luminance of a colour of 0..255 channels.
float Luminance(const float rgb[3]) {
    float sum = 0;
    const float weights[3] = {0.2126f, 0.7152f, 0.0722f};
    for (int c = 0; c < 3; ++c) {
        const float v = rgb[c] / 255;
        sum += weights[c] * (v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f));
    }
    return sum;
}

// The lowest contrast of a text run against what lies under its first glyph:
// every rectangle drawn before it there, over black and over white (what the
// art under the panels may be at worst).
float TextContrast(const std::vector<DrawRecord>& records, const TextRun& run) {
    float lowest = 1e9f;
    for (float base : {0.0f, 255.0f}) {
        float under[3] = {base, base, base};
        for (int i = 0; i < run.firstRecord; ++i) {
            const DrawRecord& r = records[static_cast<size_t>(i)];
            if (!r.IsRect() || run.x < r.x || run.x > r.x + r.w || run.y < r.y || run.y > r.y + r.h) continue;
            const float colour[3] = {r.red, r.green, r.blue};
            for (int c = 0; c < 3; ++c) under[c] = r.alpha * colour[c] + (1 - r.alpha) * under[c];
        }
        const float ink[3] = {run.red, run.green, run.blue};
        float text[3];
        for (int c = 0; c < 3; ++c) text[c] = run.alpha * ink[c] + (1 - run.alpha) * under[c];
        const float a = Luminance(text) + 0.05f, b = Luminance(under) + 0.05f;
        lowest = std::min(lowest, std::max(a, b) / std::min(a, b));
    }
    return lowest;
}

// Where the menu's backdrop is cut: a layer (a frame of the title art) whose
// copies leave part of the screen's width bare, or an edge of a copy inside
// the screen across which the layer's picture jumps, as where a layer ends.
// Renders each layer alone on the menu's plain background for the second.
std::vector<std::string> BackdropCuts(GameHarness& h, int width, int height) {
    constexpr int kTitleArt = 99;
    bb_Skitterbat_MyApp& g = h.game;
    const float w = bb_Skitterbat_jscrw;
    std::vector<float> menu(g.DrawList.Data(), g.DrawList.Data() + g.DrawCount);
    std::map<int, std::vector<std::pair<float, float>>> layers; // frame -> its copies' left and right
    for (size_t i = 0; i < menu.size(); i += DrawRecordSize) {
        const float* r = &menu[i];
        if (r[0] != static_cast<float>(kTitleArt)) continue;
        const float half = g.ImageInvScale * static_cast<float>(g.ImageSizes[3 * kTitleArt]) * r[4] / 2;
        layers[static_cast<int>(r[6])].push_back({r[1] - half, r[1] + half});
    }

    const float background[3] = {g.ClsRed, g.ClsGreen, g.ClsBlue};
    std::vector<std::string> cuts;
    Array<int> pixels(width * height);
    auto channel = [&](int x, int y, int c) {
        return static_cast<int>((static_cast<unsigned>(pixels[y * width + x]) >> (16 - 8 * c)) & 255);
    };
    for (auto& [frame, copies] : layers) {
        const std::string layer = "frame " + std::to_string(frame) + " of the title art";
        std::sort(copies.begin(), copies.end());
        float reached = 0;
        for (const auto& [left, right] : copies) {
            if (left > reached + 0.5f) break;
            reached = std::max(reached, right);
        }
        if (reached < w - 0.5f)
            cuts.push_back(layer + " leaves the screen bare from x = " + std::to_string(reached));

        g.DrawCount = 0;
        for (size_t i = 0; i < menu.size(); i += DrawRecordSize) {
            if (menu[i] != static_cast<float>(kTitleArt) || menu[i + 6] != static_cast<float>(frame))
                continue;
            std::copy(&menu[i], &menu[i] + DrawRecordSize, g.DrawList.Data() + g.DrawCount);
            g.DrawCount += DrawRecordSize;
        }
        // On white, so every part of the layer stands out from what is not the layer.
        g.ClsRed = g.ClsGreen = g.ClsBlue = 255;
        h.Render();
        h.Graphics().ReadPixels(pixels, 0, 0, width, height, 0, width);
        std::set<int> edges; // where copies meet, once
        for (const auto& [left, right] : copies)
            for (float edge : {left, right}) edges.insert(static_cast<int>(edge * g.ScreenScale));
        for (int x : edges) {
            // Two pixels either side, clear of the edge's own filtered texel.
            if (x - 2 < 0 || x + 2 >= width) continue;
            int jumps = 0;
            for (int y = 0; y < height; ++y) {
                int most = 0;
                for (int c = 0; c < 3; ++c)
                    most = std::max(most, std::abs(channel(x - 2, y, c) - channel(x + 2, y, c)));
                if (most > 48) ++jumps;
            }
            // A thin line may cross where copies meet; a layer's end runs down its height.
            if (static_cast<float>(jumps) > 4 * g.ScreenScale)
                cuts.push_back(layer +
                               " jumps across x = " + std::to_string(static_cast<float>(x) / g.ScreenScale) +
                               " over " + std::to_string(jumps) + " rows");
        }
    }
    g.DrawCount = static_cast<int>(menu.size());
    g.ClsRed = background[0];
    g.ClsGreen = background[1];
    g.ClsBlue = background[2];
    return cuts;
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
            // The menu's backdrop is looked at in pixels.
            options.window = sheetPath != nullptr || screen == kMenu;
            GameHarness h(options);
            ShowScreen(h, static_cast<Screen>(screen));
            const float w = bb_Skitterbat_jscrw, vh = bb_Skitterbat_jscrh;
            ASSERT_NEAR(w, shape.virtualWidth, 0.01f);
            ASSERT_NEAR(vh, shape.virtualHeight, 0.01f);

            const std::vector<Box> boxes =
                TextAndButtons(h, TopLayer(h.Records(), static_cast<Screen>(screen)), screen == kFirstGame);
            EXPECT_FALSE(boxes.empty());
            // The gallery is a list that scrolls: only its sides are fixed.
            const bool scrolls = screen == kGallery || screen == kBadgeDetail || screen == kUnearnedDetail;
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
            if (scrolls) {
                // Every line of the gallery reads clearly on its panel, the dimmed names of
                // badges not yet earned included.
                const std::vector<DrawRecord> records = h.Records();
                const std::vector<DrawRecord> layer = TopLayer(records, static_cast<Screen>(screen));
                const size_t layerStart = records.size() - layer.size();
                for (const TextRun& run : h.Texts()) {
                    // Rows scrolled past the foot are not on the screen.
                    if (static_cast<size_t>(run.firstRecord) < layerStart || run.y > vh) continue;
                    EXPECT_GE(TextContrast(records, run), 4.5f) << "\"" << run.text << "\"";
                }
            }
            if (screen == kFirstGame) {
                // The note reads clearly on its panel, over whatever the field holds.
                int lines = 0;
                for (const TextRun& run : h.Texts()) {
                    if (run.text.find("to launch") == std::string::npos && run.text.rfind("Pause:", 0) != 0)
                        continue;
                    ++lines;
                    EXPECT_GE(TextContrast(h.Records(), run), 4.5f) << "\"" << run.text << "\"";
                }
                EXPECT_EQ(lines, 2) << h.AllText();
            }
            if (sheetPath) {
                PasteInto(sheet, sheetWidth, kGap + screen * (kCell + kGap),
                          kGap + static_cast<int>(row) * (kCell + kGap), kCell, h, shape.width, shape.height);
            }
            if (screen == kMenu) {
                for (const std::string& cut : BackdropCuts(h, shape.width, shape.height))
                    ADD_FAILURE() << cut;
            }
        }
    }
    if (sheetPath) {
        ASSERT_NE(stbi_write_png(sheetPath, sheetWidth, sheetHeight, 3, sheet.data(), sheetWidth * 3), 0);
    }
}
