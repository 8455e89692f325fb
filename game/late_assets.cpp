// Data that arrives while the game runs: the effects waiting for their files,
// and the art level the window needs, decoded item by item beside the level
// in use and swapped in whole once every item has been read.
#include "game/late_assets.h"

#include "audio/gxtk_audio.h"
#include "game/loader_items.h"
#include "game/skitterbat.h"
#include "graphics/image.h"
#include "host/bb_app.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// The loader's images, then its font.
constexpr int kArtImages = static_cast<int>(std::size(kLoaderArt));
constexpr int kArtItems = kArtImages + 1;
// The time a render may spend on decoding beyond its first file.
constexpr int kLeastBudgetMs = 8, kMostBudgetMs = 50;

// An effect, or an image of the smallest art level, that comes after the
// first menu.
struct WaitingItem {
    int effect;              // 0 for an image
    bb_audio_SoundRef sound; // the effect's entry the game plays, filled in place
    int art;                 // index in kLoaderArt, for an image
};

struct LateState {
    bb_Skitterbat_MyApp* game = nullptr;
    std::vector<WaitingItem> items; // in the loader's order
    // A level being read beside the one in use, and how many items of it are in.
    int stagedLevel = 0;
    int stagedItems = 0;
    bb_graphics_ImageRef staged[kArtItems];
    // The level whose files could not be read; tried again only once the
    // window has wanted another.
    int failedLevel = 0;
    int wantedLevel = 0;
    // Nothing more can be read until the platform's count of arrivals moves.
    bool stalled = false;
    unsigned stalledAt = 0;
    // When the last render began, in the host's milliseconds (-1 before the first).
    int lastStepAt = -1;
    // What the platform was last told.
    bool told = false;
    int toldLevel = 0;
    bool toldWaiting = false;
};

LateState& State() {
    static LateState state;
    return state;
}

String ItemFile(int item, int level) {
    const char* path = item < kArtImages ? kLoaderArt[item].path : kFontPath;
    return String(path) + bb_Skitterbat_MyApp::ArtSuffixOf(level) + ".png";
}

void DropStaged(LateState& s) {
    for (bb_graphics_ImageRef& image : s.staged) image.reset();
    s.stagedLevel = 0;
    s.stagedItems = 0;
}

void SwapStagedIn(bb_Skitterbat_MyApp& game, LateState& s) {
    const int level = s.stagedLevel;
    for (int item = 0; item < kArtImages; ++item) {
        const LoaderArt& art = kLoaderArt[item];
        game.Images[art.image] = s.staged[item];
        game.ImageSizes[3 * art.image] = art.frameW * level;
        game.ImageSizes[3 * art.image + 1] = art.frameH * level;
    }
    // The font's sizes are its advance and line height in game units.
    game.Images[kFontImage] = s.staged[kArtImages];
    game.ImageScale = level;
    game.ImageInvScale = 1.0f / static_cast<float>(level);
    DropStaged(s);
}

// Reads the next item of the staged level; false when it could not be read.
bool ReadStagedItem(LateState& s) {
    const int item = s.stagedItems, level = s.stagedLevel;
    const String file = ItemFile(item, level);
    bb_graphics_ImageRef image =
        item < kArtImages
            ? bb_graphics_LoadImage2(file, kLoaderArt[item].frameW * level, kLoaderArt[item].frameH * level,
                                     kLoaderArt[item].frames, 1)
            : bb_graphics_LoadImage2(file, 16 * level, 16 * level, 128, 1);
    if (image == nullptr) return false;
    s.staged[item] = std::move(image);
    s.stagedItems += 1;
    return true;
}

// Decodes the next file whose bytes are in: the waiting items in the
// loader's order, then the next item of the level the window wants. The
// items go first, as a player hears the effects from the first tap and
// starts a round on the smallest art; asking for a file starts its fetch, so
// the sharper art is asked for behind them while they are still on their way.
// False when there was none; `missing` when one is still to come.
bool TakeOneFile(bb_Skitterbat_MyApp& game, LateState& s, bool* missing) {
    while (!s.items.empty()) {
        const WaitingItem next = s.items.front();
        // Art of the smallest level is of no use once a sharper one is in.
        if (next.art >= 0 && game.ImageScale != 1) {
            s.items.erase(s.items.begin());
            continue;
        }
        const String file =
            next.art >= 0 ? ItemFile(next.art, 1) : bb_Skitterbat_MyApp::SfxFileName(next.effect);
        if (!bb_app_DataReady(file)) {
            *missing = true;
            break;
        }
        s.items.erase(s.items.begin());
        // A file that never came, or does not decode, leaves its entry as it is.
        if (next.art >= 0) {
            const LoaderArt& art = kLoaderArt[next.art];
            game.Images[art.image] = bb_graphics_LoadImage2(file, art.frameW, art.frameH, art.frames, 1);
        } else if (bb_audio_SoundRef loaded = bb_audio_LoadSound(file)) {
            next.sound->m_sample = loaded->m_sample;
        }
        return true;
    }
    const int wanted = s.wantedLevel;
    if (wanted == game.ImageScale || wanted == s.failedLevel) {
        DropStaged(s);
        return false;
    }
    if (s.stagedLevel != wanted) {
        DropStaged(s);
        s.stagedLevel = wanted;
    }
    if (!bb_app_DataReady(ItemFile(s.stagedItems, wanted))) {
        *missing = true;
        return false;
    }
    if (!ReadStagedItem(s)) {
        // The level in use stays rather than a level with holes in it.
        s.failedLevel = wanted;
        DropStaged(s);
    } else if (s.stagedItems == kArtItems) {
        SwapStagedIn(game, s);
    }
    return true;
}

void Tell(const bb_Skitterbat_MyApp& game, LateState& s) {
    const bool waiting =
        !s.items.empty() || (s.wantedLevel != game.ImageScale && s.wantedLevel != s.failedLevel);
    if (s.told && s.toldLevel == game.ImageScale && s.toldWaiting == waiting) return;
    s.told = true;
    s.toldLevel = game.ImageScale;
    s.toldWaiting = waiting;
    bb_app_LateDataShown(game.ImageScale, waiting);
}

} // namespace

namespace late_assets {

bool Active() {
    return bb_app_DataArrivesLater();
}

void Attach(bb_Skitterbat_MyApp& game) {
    State() = LateState();
    State().game = &game;
}

void Detach(bb_Skitterbat_MyApp& game) {
    if (State().game == &game) State() = LateState();
}

bool StepComesLater(bb_Skitterbat_MyApp& game, int step) {
    LateState& s = State();
    if (s.game != &game || !Active()) return false;
    if (const int effect = EffectAtStep(step)) {
        // An effect in hand or on its way is not asked for again.
        if (effect < game.Sounds.Length() && game.Sounds[effect] == nullptr) {
            game.Sounds[effect] = std::make_shared<bb_audio_Sound>();
            s.items.push_back({effect, game.Sounds[effect], -1});
        }
        return true;
    }
    for (int item = 0; item < kArtImages; ++item) {
        const LoaderArt& art = kLoaderArt[item];
        if (art.step != step || art.firstMenu) continue;
        // Its sizes are those of the level the loader reads, as play expects.
        game.ImageSizes[3 * art.image] = art.frameW * game.ImageScale;
        game.ImageSizes[3 * art.image + 1] = art.frameH * game.ImageScale;
        game.ImageSizes[3 * art.image + 2] = art.frames;
        s.items.push_back({0, nullptr, item});
        return true;
    }
    return false;
}

void Step(bb_Skitterbat_MyApp& game) {
    LateState& s = State();
    if (s.game != &game || game.LoaderStage > 0 || !Active()) return;
    const int wanted = bb_Skitterbat_MyApp::ArtLevelFor(game.DeviceW, game.DeviceH);
    if (wanted != s.wantedLevel) {
        s.wantedLevel = wanted;
        if (wanted != s.failedLevel) s.failedLevel = 0;
        s.stalled = false;
    }
    // At least one file a frame, more while they take less than a quarter of
    // the time a frame takes here: a frame on a phone is not held up, and a
    // page whose frames are slow anyway takes its files up as fast. The time
    // is taken at every render, so a wait for data does not count as one long
    // frame; a page shown again after a while is held up 50 ms at most.
    const int start = bb_app_Millisecs();
    const int frame = s.lastStepAt < 0 ? 0 : start - s.lastStepAt;
    const int budget = std::clamp(frame / 4, kLeastBudgetMs, kMostBudgetMs);
    s.lastStepAt = start;
    const unsigned arrivals = bb_app_DataArrivals();
    if (s.stalled && arrivals == s.stalledAt) return;
    s.stalled = false;

    bool missing = false;
    while (TakeOneFile(game, s, &missing)) {
        missing = false;
        if (bb_app_Millisecs() - start >= budget) break;
    }
    if (missing) {
        s.stalled = true;
        s.stalledAt = arrivals;
    }
    Tell(game, s);
}

} // namespace late_assets
