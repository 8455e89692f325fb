// Playing a replay: the recorded events applied to an input device and a
// platform of the player's own, the game's globals swapped in around each
// update, and the recorded checksums compared as they come.
#include "game/replay/replay_player.h"

#include "game/options/options.h"
#include "game/replay/replay_events.h"
#include "game/replay/replay_state.h"
#include "game/skitterbat.h"
#include "input/gxtk_input.h"
#include "runtime/platform.h"

#include <cstring>

namespace {

// The replayed game: the real game with everything that reaches outside it
// turned inward. Its art and sounds are the game on screen's.
class ReplayGame : public bb_Skitterbat_MyApp {
  public:
    bool sound = false;

    int m_Save() override {
        SaveWanted = 0;
        return 0;
    }
    int m_LoadImg(int image, const String&, int frameW, int frameH, int frames, int) override {
        ImageSizes[3 * image] = frameW * ImageScale;
        ImageSizes[3 * image + 1] = frameH * ImageScale;
        ImageSizes[3 * image + 2] = frames;
        return 0;
    }
    int m_LoadFont(int image, const String&, int glyphW, int glyphH) override {
        ImageSizes[3 * image] = glyphW;
        ImageSizes[3 * image + 1] = glyphH;
        ImageSizes[3 * image + 2] = 128;
        FontImage = image;
        return 0;
    }
    int m_LoadSFX(int) override { return 0; }
    int m_PlaySFX(int n, float rate, float volume, float pan) override {
        if (sound) PlayEffect(n, rate, volume, pan);
        return 0;
    }
};

// What the replayed game asks of its platform: whether its loader's file is
// there (as it was when recorded) and to keep the screen on (never).
class ReplayPlatform : public gxtkPlatform {
  public:
    bool waiting = false;
    int width = 640, height = 480;

    double Time() override { return 0; }
    void Sleep(double) override {}
    void PollEvents() override {}
    void WaitEvents() override {}
    bool WindowOpened() override { return true; }
    bool WindowIconified() override { return false; }
    bool WindowActive() override { return true; }
    void WindowSize(int* w, int* h) override {
        *w = width;
        *h = height;
    }
    void FramebufferSize(int* w, int* h) override { WindowSize(w, h); }
    void SwapBuffers() override {}
    void MousePosition(int* x, int* y) override {
        *x = 0;
        *y = 0;
    }
    const float* JoystickAxes(int* count) override {
        *count = 0;
        return nullptr;
    }
    const unsigned char* JoystickButtons(int* count) override {
        *count = 0;
        return nullptr;
    }
    const char* StateFilePath() override { return ""; }
    bool DataFileReady(const char*) override { return !waiting; }
};

// Swaps a replay's globals in for its lifetime and the previous ones back.
class GlobalsSwap {
  public:
    explicit GlobalsSwap(GameGlobals& own) : own_(own), outside_(GameGlobals::Current()) { own_.Install(); }
    ~GlobalsSwap() {
        own_ = GameGlobals::Current();
        outside_.Install();
    }

  private:
    GameGlobals& own_;
    GameGlobals outside_;
};

} // namespace

struct ReplayPlayer::State {
    ReplayGame game;
    gxtkInput input;
    ReplayPlatform platform;
    GameGlobals globals;
    options::GameOptions options;
    ReplayEventReader reader{nullptr, 0};
    uint32_t run = 0; // updates left of the current run
};

ReplayPlayer::ReplayPlayer() = default;
ReplayPlayer::~ReplayPlayer() = default;

void ReplayPlayer::Start(Replay replay, const bb_Skitterbat_MyApp* shown) {
    replay_ = std::move(replay);
    state_ = std::make_unique<State>();
    State& s = *state_;
    ReplayGame& game = s.game;
    if (shown != nullptr) {
        game.ImageScale = shown->ImageScale;
        game.ImageInvScale = shown->ImageInvScale;
        for (int i = 0; i < game.ImageSizes.Length(); ++i) game.ImageSizes[i] = shown->ImageSizes[i];
        game.FontImage = shown->FontImage;
        for (int i = 0; i < game.Sounds.Length(); ++i) game.Sounds[i] = shown->Sounds[i];
    } else {
        game.ImageScale = 1;
        game.SetArtSizesWithoutLoading();
    }
    s.globals.options = &s.options;
    ApplyStart(replay_.start, &game, &s.globals);
    s.globals.input = &s.input;
    s.globals.platform = &s.platform;
    s.platform.width = replay_.start.windowWidth;
    s.platform.height = replay_.start.windowHeight;
    s.reader = ReplayEventReader(replay_.events.data(), replay_.events.size());
    s.run = 0;
    played_ = 0;
    desyncedAt_ = 0;
    status_ = Status::Playing;
}

void ReplayPlayer::Clear() {
    state_.reset();
    replay_ = Replay();
    status_ = Status::Ended;
    played_ = 0;
    desyncedAt_ = 0;
}

void ReplayPlayer::SetSound(bool on) {
    if (state_) state_->game.sound = on;
}

const bb_Skitterbat_MyApp& ReplayPlayer::Game() const {
    return state_->game;
}

int ReplayPlayer::SpeedPercent() const {
    return state_ ? state_->options.play.speedPercent : 100;
}

void ReplayPlayer::ReadToNextUpdate() {
    State& s = *state_;
    gxtkInput& input = s.input;
    ReplayEventData event;
    while (s.reader.Next(&event)) {
        switch (event.kind) {
        case ReplayEvent::Updates:
            s.run = event.count;
            return;
        case ReplayEvent::Pointer:
            input.mouseX += static_cast<float>(event.a);
            input.mouseY += static_cast<float>(event.b);
            if (event.thenUpdate) {
                s.run = 1;
                return;
            }
            break;
        case ReplayEvent::PointerAt:
            input.mouseX = event.x;
            input.mouseY = event.y;
            break;
        case ReplayEvent::Key:
            input.keyStates[event.a] = event.b;
            break;
        case ReplayEvent::Chars:
            std::memcpy(input.charQueue, event.chars, sizeof(int) * event.count);
            input.charCount = static_cast<int>(event.count);
            input.charRead = 0;
            break;
        case ReplayEvent::Touch:
            input.touchX[event.a] = event.x;
            input.touchY[event.a] = event.y;
            break;
        case ReplayEvent::Axes:
            for (int axis = 0; axis < 6; ++axis)
                if (event.mask & (1u << axis)) input.joyAxes[axis] = event.axes[axis];
            break;
        case ReplayEvent::Window:
            s.platform.width = event.a;
            s.platform.height = event.b;
            s.game.FitWindow(event.a, event.b, event.reload);
            break;
        case ReplayEvent::Suspend:
            s.game.SuspendPlay();
            break;
        case ReplayEvent::Resume:
            s.game.ResumePlay();
            break;
        case ReplayEvent::FocusLost:
            s.game.m_OnFocusLost();
            break;
        case ReplayEvent::DataWait:
            s.platform.waiting = true;
            break;
        case ReplayEvent::Check:
            if (event.check != ReplayChecksum(s.game)) {
                status_ = Status::Desynced;
                desyncedAt_ = played_;
                return;
            }
            break;
        case ReplayEvent::End:
            status_ = Status::Ended;
            return;
        }
    }
    // The file was checked whole when it was read; a stream that stops here
    // has been changed since.
    status_ = Status::Desynced;
    desyncedAt_ = played_;
}

ReplayPlayer::Status ReplayPlayer::Step() {
    if (status_ != Status::Playing) return status_;
    State& s = *state_;
    GlobalsSwap swap(s.globals);
    if (s.run == 0) ReadToNextUpdate();
    if (status_ != Status::Playing || s.run == 0) return status_;
    s.game.m_OnUpdate();
    // Characters and a loader's wait belong to the one update they came with.
    s.input.charCount = 0;
    s.input.charRead = 0;
    s.platform.waiting = false;
    --s.run;
    ++played_;
    return status_;
}
