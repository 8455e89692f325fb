// Game flow: start-up, the per-update step (input sampling, latches, the mode
// machine, one loader step, iCade letters, badge notes), suspend and resume,
// and the pause when the window loses the focus.
#include "game/skitterbat.h"

#include "game/hints/hints.h"
#include "game/late_assets.h"
#include "game/options/options.h"
#include "game/options/options_screen.h"
#include "game/replay/replays.h"
#include "graphics/gxtk_graphics.h"
#include "graphics/image.h"
#include "host/bb_app.h"
#include "input/gxtk_input.h"

namespace {
constexpr int kMouseButton = 1;
constexpr int kTouch0 = 384;
constexpr int kTouches = 10;
constexpr int kBackKey = 99;
constexpr int kLatchKeys[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, kBackKey};

// Window pixels to whole game units; before the first render there is no scale yet.
int ToGameUnits(float pixels, float scale) {
    float units = scale > 0 ? pixels / scale : pixels;
    if (!(units > -1e9f)) units = -1e9f;
    if (!(units < 1e9f)) units = 1e9f;
    return static_cast<int>(units);
}
// A game in progress comes back paused with its pause menu open. One that has
// ended has nothing to pause: its build-up to GAME OVER goes on, no panel over it.
void PauseForSuspend(bb_Skitterbat_MyApp& game) {
    if (game.Mode == ModePlaying && game.GameEnded > 0) return;
    if (game.Mode > 9) {
        game.Paused = 1;
        game.PauseSlide = 1;
        game.PauseSlideY = static_cast<int>(bb_Skitterbat_jscrh / 2);
        game.PauseSelection = 0;
    } else {
        game.Paused = 0;
        game.PauseSlide = 0;
        game.PauseSlideY = 0;
    }
}
} // namespace

bb_Skitterbat_MyApp* bb_Skitterbat_MyApp::g_new() {
    bb_app_App::g_new();
    return this;
}

bb_Skitterbat_MyApp::~bb_Skitterbat_MyApp() {
    late_assets::Detach(*this);
    replays::Detach(*this);
    hints::Detach(*this);
}

int bb_Skitterbat_MyApp::m_OnCreate() {
    late_assets::Attach(*this);
    Mode = ModeMenu;
    bb_app_SetUpdateRate(60);
    DeviceW = bb_graphics_device->Width();
    DeviceH = bb_graphics_device->Height();
    m_Reload();
    Difficulty = 2;
    MenuSlide = -32;
    MenuValue50 = 50;
    Paused = 0;
    PauseSlide = -1;
    PauseSlideY = -64;
    for (int i = 0; i < 15; ++i) {
        BadgeQueueA[i] = 0;
        BadgeQueueB[i] = 0;
    }
    for (int i = 0; i < 128; ++i) Badges[i] = false;
    for (int i = 0; i < KeyArray.Length(); ++i) KeyArray[i] = 0;
    for (int i = 0; i < Settings.Length(); ++i) Settings[i] = 0;
    Settings[5] = 1;
    for (int i = 0; i <= 30; ++i) Highscores[i] = 0;
    m_Load();
    for (int i = 0; i < Channels.Length(); ++i) Channels[i] = i;
    options::Attach(*this);
    replays::Attach(*this);
    hints::Attach(*this);
    return 0;
}

void bb_Skitterbat_MyApp::SampleInput() {
    gxtkInput* in = bb_input_device;

    // Pointer: a fresh press starts where it is, so it never makes a jump.
    PrevMouseX = MouseX;
    PrevMouseY = MouseY;
    MouseX = ToGameUnits(in->MouseX(), ScreenScale);
    MouseY = ToGameUnits(in->MouseY(), ScreenScale2);
    if (MouseDown == 0 && in->KeyDown(kMouseButton)) {
        PrevMouseX = MouseX;
        PrevMouseY = MouseY;
    }
    PointerDown = in->KeyDown(kMouseButton);
    PointerHit = in->KeyHit(kMouseButton);

    for (LoopI = 0; LoopI < kTouches; ++LoopI) {
        // A finger that has just gone down is a press of its own, whatever
        // another finger still holds: it may press a button at once.
        if (TouchDownArr[LoopI] == 0 && in->KeyDown(kTouch0 + LoopI)) NeedRelease = 0;
        TouchDownArr[LoopI] = 0;
        TouchXArr[LoopI] = static_cast<int>(NoValue);
        TouchYArr[LoopI] = static_cast<int>(NoValue);
        if (in->KeyDown(kTouch0 + LoopI)) {
            TouchDownArr[LoopI] = 1;
            TouchXArr[LoopI] = ToGameUnits(in->TouchX(LoopI), ScreenScale);
            TouchYArr[LoopI] = ToGameUnits(in->TouchY(LoopI), ScreenScale2);
            PointerDown = 1;
        }
    }
    MouseDown = in->KeyDown(kMouseButton);
    if (PointerDown == 0) NeedRelease = 0;

    // Latches: a used key press or pointer press acts again only after release.
    bool anyHeld = false;
    for (int key : kLatchKeys) {
        if (m_PlayKey(key)) {
            anyHeld = true;
            break;
        }
    }
    if (!anyHeld) ButtonLock = 0;
    if (!(anyHeld && ButtonLock != 0) && NeedRelease == 0) {
        if (m_PlayKey(kBackKey) && Mode == ModeMenu && (CreditsOpen == 1 || BadgesOpen == 1)) {
            CreditsOpen = 0;
            BadgesOpen = 0;
            ButtonLock = 1;
            NeedRelease = 1;
        }
    }
}

int bb_Skitterbat_MyApp::m_OnUpdate() {
    options::BeforeUpdate(*this);
    // A kept game on screen takes the whole update; a game being played is
    // recorded from here to the end of the update.
    if (replays::BeforeUpdate(*this)) return 0;
    SampleInput();
    hints::SeeInput(*this);

    if (LoaderStage == 0) {
        bool returnedToMenu = false;
        switch (Mode) {
        case ModeMenu:
            // The Options screen stands in for the menu while it is open.
            if (options::ScreenOpen())
                options::RunScreen(*this);
            else
                m_Menu();
            break;
        case ModeReturnToMenu:
            m_LoadMenu();
            Mode = ModeMenu;
            returnedToMenu = true;
            break;
        case ModePlaying:
            m_Game();
            m_InGame();
            break;
        case ModeStartGame:
            m_LoadGame();
            break;
        default:
            break;
        }
        bool overlays = true;
        if (!returnedToMenu) {
            if (Mode == ModePlaying && GameEnded > 0) m_GameOver();
            if (Mode == ModePlaying && GameEnded == 0) overlays = false;
        }
        if (overlays) {
            if (Mode == ModeMenu || Mode == ModeReturnToMenu) m_GameOver();
            if (Mode == ModeMenu) {
                if (CreditsOpen == 1) m_CreditBox();
                if (Mode == ModeMenu && BadgesOpen == 1) m_BadgesBox();
            }
        }
    }

    // After the dispatch, so a loader started by a mode method steps at once.
    if (LoaderStage > 0) m_Loader();

    if (bb_Skitterbat_iCadeControls == 1) {
        gxtkInput* in = bb_input_device;
        for (ICadeChar = in->GetChar(); ICadeChar != 0; ICadeChar = in->GetChar()) {
            if (ICadeChar > 0) DecodeICadeChar(ICadeChar);
        }
    }

    m_ShowBadges();
    // A change that counts is on disk before the next update, not only at the
    // end of a game or a suspend, where a kill or a closed tab would lose it.
    if (SaveWanted != 0) m_Save();
    bb_app_KeepScreenOn(Mode == ModePlaying && Paused == 0 && GameEnded == 0 && LoaderStage == 0);
    replays::AfterUpdate(*this);
    return 0;
}

void bb_Skitterbat_MyApp::SuspendPlay() {
    m_iCade(0);
    PauseForSuspend(*this);
}

void bb_Skitterbat_MyApp::ResumePlay() {
    PauseForSuspend(*this);
    m_iCade(0);
}

int bb_Skitterbat_MyApp::m_OnSuspend() {
    bb_app_KeepScreenOn(false);
    SuspendPlay();
    replays::Happened(*this, ReplayEvent::Suspend);
    bb_app_SetUpdateRate(5);
    // A replay on screen has changed nothing of the player's to save.
    if (!replays::Showing(*this)) m_Save();
    return 0;
}

int bb_Skitterbat_MyApp::m_OnResume() {
    ResumePlay();
    replays::Happened(*this, ReplayEvent::Resume);
    bb_app_SetUpdateRate(options::UpdateRate());
    return 0;
}

// A player who turns to another window comes back to a paused round, as if
// they had pressed back; no click sounds, as nobody pressed anything here.
// A panel that is sliding out opens again; menus carry on.
int bb_Skitterbat_MyApp::m_OnFocusLost() {
    replays::Happened(*this, ReplayEvent::FocusLost);
    if (Mode != ModePlaying || GameEnded > 0) return 0;
    if (Paused == 1 && PauseSlide == 1) return 0;
    if (Paused == 0) PauseSelection = 0;
    Paused = 1;
    PauseSlide = 1;
    return 0;
}
