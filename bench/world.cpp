// The benchmarks' game: harness lifetime and the scripted game that reaches
// the busy play frame.
#include "world.h"

#include "graphics/image.h"
#include "desktop/allocator.h"
#include "runtime/random.h"

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {
// The program's heap settings, in place before anything is measured.
[[maybe_unused]] const bool heapConfigured = (ConfigureAllocator(), true);

std::unique_ptr<GameHarness> harness;
bool harnessHasWindow = false;
std::unique_ptr<BusyFrame> busy;
std::string soundOnlyData; // a data folder holding only the build's sounds

// Headless runs have no GL context, so their data folder holds the sounds but no art.
std::string SoundOnlyDataDir() {
    if (!soundOnlyData.empty()) return soundOnlyData;
    std::string pattern = (fs::temp_directory_path() / "skitterbat-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    const fs::path sfx = fs::absolute(BenchDataDir()) / "sfx";
    if (fs::exists(sfx)) fs::create_directory_symlink(sfx, fs::path(pattern) / "sfx");
    soundOnlyData = pattern;
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(soundOnlyData, ignored);
    });
    return soundOnlyData;
}

int CountKinds(const bb_Skitterbat_MyApp& game, float low, float high) {
    int count = 0;
    for (int r = 0; r < ObjectRecords; ++r) {
        const float* o = game.Objects.Data() + 10 * r;
        if (o[ObjColour] > 0 && o[ObjKind] >= low && o[ObjKind] <= high) ++count;
    }
    return count;
}
} // namespace

std::string BenchDataDir() {
    return GameHarness::BuildDataDir();
}

GameHarness& BenchHarness(bool window) {
    if (harness && harnessHasWindow == window) return *harness;
    CloseBenchHarness();
    HarnessOptions options;
    options.window = window;
    if (!window) options.dataDir = SoundOnlyDataDir();
    harness = std::make_unique<GameHarness>(options);
    harnessHasWindow = window;
    return *harness;
}

void CloseBenchHarness() {
    // The captured game holds the harness's images and sounds: it goes first.
    busy.reset();
    harness.reset();
}

const BusyFrame& CaptureBusyFrame(GameHarness& h) {
    if (busy) return *busy;
    bb_Skitterbat_MyApp& game = h.game;
    // A game on the hardest setting from seed 1234, played by the autopilot
    // until the first centipede has been under fire for a few seconds.
    h.StartGame(3, 1234);
    for (int i = 0; i < 6000 && !(game.RoundPhase == 10 && game.PedeReleaseTimer < 60); ++i) {
        h.SteerAutopilot();
        h.Frames();
    }
    if (game.RoundPhase != 10) throw std::runtime_error("the scripted game never reached the play phase");
    // Two more centipedes through the game's own operation, then the field
    // planted with mushrooms until only a few records stay free.
    game.m_AddPede(12, 3, 4);
    game.m_AddPede(12, 6, 4);
    for (int row = 0; game.FreeObjectSlot() >= 0 && CountKinds(game, 0, 18) < ObjectRecords - 8; ++row) {
        const int x = 40 + (row * 53) % 560;
        const int y = 48 + (row * 29) % (game.PaddleY - 120);
        game.m_AddShroom(x, y);
    }
    // Let the new centipedes walk in.
    for (int i = 0; i < 45; ++i) {
        h.SteerAutopilot();
        h.Frames();
    }
    busy = std::make_unique<BusyFrame>();
    busy->game = std::make_unique<bb_Skitterbat_MyApp>(game);
    busy->seed = bb_random_Seed;
    busy->keys = bb_Skitterbat_keys;
    return *busy;
}

void RestoreBusyFrame(GameHarness& h, const BusyFrame& frame) {
    h.game = *frame.game;
    bb_random_Seed = frame.seed;
    bb_Skitterbat_keys = frame.keys;
}

BusyFrameStats DescribeBusyFrame(const bb_Skitterbat_MyApp& game) {
    BusyFrameStats stats;
    stats.segments = CountKinds(game, KindSegment, KindSegment);
    stats.pods = CountKinds(game, 1, 4);
    stats.shrooms = CountKinds(game, 5, 8);
    stats.balls = CountKinds(game, KindBallFlying, KindBallHeld);
    stats.records = CountKinds(game, 0, 18);
    for (int p = 0; p < ParticleRecords; ++p)
        if (game.Parts[10 * p + PartLife] > 0) ++stats.particles;
    stats.drawRecords = game.DrawCount / DrawRecordSize;
    return stats;
}

// Draw calls the renderer's batching rules allow for the current draw list:
// a new call only when the kind or the texture changes, a batch fills, or for
// each oval.
int ExpectedDrawCalls(const bb_Skitterbat_MyApp& game) {
    int calls = 0, kind = 0, count = 0;
    const void* surface = nullptr;
    auto quad = [&](const void* s) {
        if (kind != 4 || s != surface || count == gxtkGraphics::kMaxQuads) {
            if (count > 0) ++calls;
            kind = 4;
            surface = s;
            count = 0;
        }
        ++count;
    };
    quad(nullptr); // the background
    const float* list = game.DrawList.Data();
    for (int i = 0; i < game.DrawCount - 14; i += DrawRecordSize) {
        const float* record = list + i;
        if (record[0] == DrawKindRect) {
            quad(nullptr);
        } else if (record[0] == DrawKindOval) {
            if (count > 0) ++calls;
            ++calls;
            kind = 5;
            surface = nullptr;
            count = 0;
        } else if (record[0] > -1) {
            const int n = static_cast<int>(record[0]);
            if (n >= game.Images.Length() || !game.Images[n]) continue;
            const bb_graphics_Image& image = *game.Images[n];
            const int f = static_cast<int>(record[6]);
            if (f < 0 || f >= static_cast<int>(image.m_frameList.size())) continue;
            quad(image.m_texSurface.get());
        }
    }
    if (count > 0) ++calls;
    return calls;
}
