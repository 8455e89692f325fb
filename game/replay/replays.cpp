// The replay module's one state: the game on screen, its recorder, the kept
// replays and their rows, the replay screen and the idle menu's demo clock.
#include "game/replay/replays.h"

#include "game/options/options_screen.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_recorder.h"
#include "game/replay/replay_store.h"
#include "game/replay/replay_watch.h"
#include "game/skitterbat.h"
#include "input/gxtk_input.h"
#include "runtime/datapath.h"
#include "runtime/platform.h"

#include <cstdio>
#include <memory>

namespace replays {
namespace {

// Half a minute of an untouched menu before the demo.
constexpr int kIdleUpdatesBeforeDemo = 30 * 60;
constexpr int kRefusalShownUpdates = 4 * 60;
constexpr char kShippedDemo[] = "cobalt://data/demo.replay";

struct System {
    bb_Skitterbat_MyApp* shown = nullptr;
    ReplayRecorder recorder;
    std::unique_ptr<ReplayStore> store;
    ReplayIndex index;
    bool indexed = false;
    ReplayWatch watch;
    InputActivity activity;
    int idleUpdates = 0;
    // The loader's step when this update began: a step that stays put waited
    // for its file.
    int loaderStage = 0;
    bool storingScore = false;
    std::vector<uint8_t> pendingFile;
    std::string pendingName;
    bool pending = false;
    std::string refusal;
    int refusalUpdates = 0;
};

System& TheSystem() {
    static System system;
    return system;
}

bool IsShown(const bb_Skitterbat_MyApp& game) {
    return TheSystem().shown == &game;
}

ReplayStore& Store() {
    System& s = TheSystem();
    if (!s.store) s.store = std::make_unique<ReplayStore>(ReplayStore::DefaultFolder());
    return *s.store;
}

const ReplayIndex& Index(const bb_Skitterbat_MyApp& game) {
    System& s = TheSystem();
    if (!s.indexed) {
        s.index = Store().Index(game.Highscores.Data());
        s.indexed = true;
    }
    return s.index;
}

void Refuse(const std::string& name, const std::string& why) {
    System& s = TheSystem();
    s.refusal = name.empty() ? why : name + ": " + why;
    s.refusalUpdates = kRefusalShownUpdates;
    std::fprintf(stderr, "%s\n", s.refusal.c_str());
}

bool WatchBytes(bb_Skitterbat_MyApp& game, const std::vector<uint8_t>& bytes, const std::string& name,
                ReplayWatch::Kind kind) {
    Replay replay;
    const ReplayReadResult read = ReadReplay(bytes.data(), bytes.size(), &replay);
    if (!read.ok()) {
        Refuse(name, read.why);
        return false;
    }
    TheSystem().watch.Start(std::move(replay), bytes, game, kind);
    return true;
}

// The best kept game of the chosen difficulty, even one of no score that
// only the recent list holds.
const KeptReplay* BestKept(const bb_Skitterbat_MyApp& game) {
    const ReplayIndex& index = Index(game);
    if (const KeptReplay* best = index.At(game.Difficulty, false, 0)) return best;
    const KeptReplay* best = nullptr;
    for (const KeptReplay& kept : index.kept)
        if (kept.header.difficulty == game.Difficulty && (!best || kept.header.score > best->header.score))
            best = &kept;
    return best;
}

// The best kept game of the chosen difficulty, or the one that comes with the game.
void StartDemo(bb_Skitterbat_MyApp& game) {
    std::vector<uint8_t> bytes;
    if (const KeptReplay* best = BestKept(game)) {
        if (ReadCappedFile(best->path, &bytes) &&
            WatchBytes(game, bytes, best->path, ReplayWatch::Kind::Demo))
            return;
    }
    if (FILE* file = fopenFile(String(kShippedDemo), String("rb"))) {
        const std::string data = ReadWholeFile(file);
        std::fclose(file);
        bytes.assign(data.begin(), data.end());
        WatchBytes(game, bytes, "", ReplayWatch::Kind::Demo);
    }
}

void KeepFinishedGame(const bb_Skitterbat_MyApp& game) {
    System& s = TheSystem();
    Replay replay;
    const char* why = "";
    if (!s.recorder.Finish(game, &replay, &why)) {
        std::fprintf(stderr, "The replay of this game is not kept: %s\n", why);
        return;
    }
    const std::vector<uint8_t> file = WriteReplay(replay);
    std::string failure;
    if (file.empty()) {
        std::fprintf(stderr, "The replay of this game is not kept: it could not be compressed\n");
    } else if (!Store().Keep(file, replay.header, &failure)) {
        std::fprintf(stderr, "The replay of this game is not kept: %s\n", failure.c_str());
    }
    s.index = Store().Prune(game.Highscores.Data());
    s.indexed = true;
    if (gxtk_platform) gxtk_platform->StateFileSaved();
}

// A refused file's reason, over the menu for a few seconds.
void ShowRefusal(bb_Skitterbat_MyApp& game) {
    System& s = TheSystem();
    if (s.refusalUpdates <= 0 || game.Mode != ModeMenu) return;
    --s.refusalUpdates;
    const float w = bb_Skitterbat_jscrw, h = bb_Skitterbat_jscrh;
    game.m_ResetDraw();
    game.m_SetCol(0, 0, 0, 0.8f);
    game.m_Rect(8, h / 2 - 20, w - 16, 40);
    game.m_SetCol(255, 140, 140, 1);
    game.m_Text(w / 2, h / 2, String(s.refusal), 1, 1);
}

} // namespace

void Attach(bb_Skitterbat_MyApp& game) {
    System& s = TheSystem();
    s.shown = &game;
    s.recorder.Drop();
    s.store.reset();
    s.indexed = false;
    s.idleUpdates = 0;
    s.activity = InputActivity();
}

void Detach(bb_Skitterbat_MyApp& game) {
    System& s = TheSystem();
    if (s.shown != &game) return;
    if (s.watch.Active()) s.watch.Stop(game);
    s.recorder.Drop();
    s.shown = nullptr;
}

bool BeforeUpdate(bb_Skitterbat_MyApp& game) {
    if (!IsShown(game)) return false;
    System& s = TheSystem();
    if (s.watch.Active()) {
        // A file handed over meanwhile takes the screen at once; a refused
        // one leaves the replay playing.
        if (s.pending && game.LoaderStage == 0) {
            s.pending = false;
            WatchBytes(game, s.pendingFile, s.pendingName, ReplayWatch::Kind::Watch);
            s.pendingFile.clear();
        }
        s.watch.Update(game);
        return true;
    }
    const bool menu = game.Mode == ModeMenu && game.LoaderStage == 0;
    if (menu && s.pending) {
        s.pending = false;
        if (WatchBytes(game, s.pendingFile, s.pendingName, ReplayWatch::Kind::Watch)) {
            s.pendingFile.clear();
            s.watch.Update(game);
            return true;
        }
    }
    // The demo waits for a menu left alone, with no box open over it.
    const bool quietMenu = menu && game.CreditsOpen == 0 && game.BadgesOpen == 0 && !options::ScreenOpen();
    if (!quietMenu || s.activity.Changed(*bb_input_device)) {
        s.idleUpdates = 0;
    } else if (++s.idleUpdates >= kIdleUpdatesBeforeDemo) {
        s.idleUpdates = 0;
        StartDemo(game);
        if (s.watch.Active()) {
            s.watch.Update(game);
            return true;
        }
    }

    if (!s.recorder.Recording() && game.Mode == ModeStartGame && game.LoaderStage == 0)
        s.recorder.Begin(game);
    if (s.recorder.Recording()) s.recorder.Input(*bb_input_device);
    s.loaderStage = game.LoaderStage;
    s.storingScore = game.Mode == ModeReturnToMenu && game.LoaderStage == 0;
    return false;
}

void AfterUpdate(bb_Skitterbat_MyApp& game) {
    if (!IsShown(game)) return;
    System& s = TheSystem();
    if (s.recorder.Recording()) {
        s.recorder.EndUpdate(game, s.loaderStage > 0 && game.LoaderStage == s.loaderStage);
        if (s.storingScore) KeepFinishedGame(game);
    }
    ShowRefusal(game);
}

void WindowFitted(bb_Skitterbat_MyApp& game, int width, int height, bool reload) {
    if (IsShown(game)) TheSystem().recorder.Window(width, height, reload);
}

void Happened(bb_Skitterbat_MyApp& game, ReplayEvent event) {
    if (IsShown(game)) TheSystem().recorder.Mark(event);
}

bool Render(bb_Skitterbat_MyApp& game) {
    System& s = TheSystem();
    if (!IsShown(game) || !s.watch.Active() || game.LoaderStage > 0) return false;
    s.watch.Render(game);
    return true;
}

bool Showing(const bb_Skitterbat_MyApp& game) {
    return IsShown(game) && TheSystem().watch.Active();
}

bool RowHasReplay(const bb_Skitterbat_MyApp& game, bool recent, int row) {
    return IsShown(game) && Index(game).At(game.Difficulty, recent, row) != nullptr;
}

void WatchRow(bb_Skitterbat_MyApp& game, bool recent, int row) {
    if (!IsShown(game)) return;
    const KeptReplay* kept = Index(game).At(game.Difficulty, recent, row);
    if (kept == nullptr) return;
    std::vector<uint8_t> bytes;
    if (!ReadCappedFile(kept->path, &bytes)) {
        Refuse(kept->path, "cannot be read");
        return;
    }
    WatchBytes(game, bytes, kept->path, ReplayWatch::Kind::Watch);
}

void WatchWhenReady(std::vector<uint8_t> file, std::string name) {
    System& s = TheSystem();
    s.pendingFile = std::move(file);
    s.pendingName = std::move(name);
    s.pending = true;
}

const std::string& LastRefusal() {
    return TheSystem().refusal;
}

} // namespace replays
