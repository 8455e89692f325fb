// The replay screen: stepping the player at 1x to 8x, its controls, and the
// letterboxed picture of the replayed game under them.
#include "game/replay/replay_watch.h"

#include "game/options/options.h"
#include "game/replay/replay_store.h"
#include "game/skitterbat.h"
#include "graphics/gxtk_graphics.h"
#include "graphics/image.h"
#include "host/bb_app.h"
#include "input/gxtk_input.h"
#include "runtime/platform.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kIcons = 97;
constexpr int kFocusRingFrame = 6, kRestartFrame = 7, kFastFrame = 8, kBackFrame = 9, kExportFrame = 10;
constexpr int kPauseFrame = 0, kPlayFrame = 3;
constexpr int kClickSound = 98;
constexpr int kMaxSpeed = 8;
// The replayed game keeps clear of a bar above it and, with controls, one below.
constexpr float kTopBar = 48;
constexpr float kBarHeight = 64;
constexpr float kButtonSize = 1.5f;
constexpr float kButtonSpacing = 56;
constexpr float kStickPush = 0.4f;
constexpr char kDesynced[] = "This replay no longer plays the same";
} // namespace

bool InputActivity::Changed(const gxtkInput& input) {
    bool changed = false;
    for (int key = 1; key < gxtkInput::kKeyCount && !changed; ++key) changed = input.keyStates[key] != 0;
    if (input.charCount > 0) changed = true;
    for (float axis : input.joyAxes)
        if (std::fabs(axis) > kStickPush) changed = true;
    if (seen_ && (input.mouseX != mouseX_ || input.mouseY != mouseY_)) changed = true;
    seen_ = true;
    mouseX_ = input.mouseX;
    mouseY_ = input.mouseY;
    return changed;
}

std::string ReplayWatch::ExportName(const ReplayHeader& header) {
    std::string difficulty = DifficultyName(header.difficulty);
    for (char& c : difficulty) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "skitterbat-" + difficulty + "-" + std::to_string(header.score) + ".replay";
}

void ReplayWatch::Start(Replay replay, std::vector<uint8_t> file, bb_Skitterbat_MyApp& shown, Kind kind) {
    kind_ = kind;
    original_ = replay;
    file_ = std::move(file);
    controlCount_ = 0;
    for (Control control : {kRestart, kPlayPause, kSpeed, kExport, kBack}) {
        if (control == kExport && !(gxtk_platform && gxtk_platform->OffersDownloads())) continue;
        controls_[controlCount_++] = control;
    }
    player_.Start(std::move(replay), &shown);
    player_.SetSound(kind == Kind::Watch);
    active_ = true;
    paused_ = false;
    speed_ = 1;
    stepCredit_ = 0;
    focus_ = static_cast<int>(std::find(controls_, controls_ + controlCount_, kPlayPause) - controls_);
    activity_ = InputActivity();
    activity_.Changed(*bb_input_device);
    // Whatever brought the screen up must be let go before a control acts.
    shown.NeedRelease = 1;
    shown.ButtonLock = 1;
}

void ReplayWatch::Stop(bb_Skitterbat_MyApp& shown) {
    active_ = false;
    player_.Clear();
    original_ = Replay();
    file_.clear();
    shown.NeedRelease = 1;
    shown.ButtonLock = 1;
    shown.Mode = ModeMenu;
}

void ReplayWatch::Restart(bb_Skitterbat_MyApp& shown) {
    player_.Start(original_, &shown);
    player_.SetSound(kind_ == Kind::Watch);
    paused_ = false;
    stepCredit_ = 0;
}

bool ReplayWatch::StepDue() {
    stepCredit_ += static_cast<double>(speed_) * player_.SpeedPercent() / options::Live().values.speedPercent;
    for (; stepCredit_ >= 1; stepCredit_ -= 1) {
        if (player_.Step() != ReplayPlayer::Status::Playing) {
            stepCredit_ = 0;
            return false;
        }
    }
    return true;
}

void ReplayWatch::Act(bb_Skitterbat_MyApp& shown, Control control) {
    shown.m_PlaySFX(kClickSound, control == kBack ? 0.8f : 1.0f, 0.5f, 0);
    switch (control) {
    case kRestart:
        Restart(shown);
        break;
    case kPlayPause:
        if (player_.status() != ReplayPlayer::Status::Playing)
            Restart(shown);
        else
            paused_ = !paused_;
        break;
    case kSpeed:
        speed_ = speed_ >= kMaxSpeed ? 1 : speed_ * 2;
        break;
    case kExport:
        if (gxtk_platform)
            gxtk_platform->OfferDownload(ExportName(original_.header).c_str(), file_.data(), file_.size());
        break;
    case kBack:
        Stop(shown);
        break;
    }
}

void ReplayWatch::Update(bb_Skitterbat_MyApp& shown) {
    shown.SampleInput();
    bb_app_KeepScreenOn(false);
    // A window resized to another art level reloads the shown game's art;
    // the replay waits where it is meanwhile.
    if (shown.LoaderStage > 0) {
        shown.m_Loader();
        return;
    }
    if (kind_ == Kind::Demo) {
        if (activity_.Changed(*bb_input_device) || !StepDue()) {
            Stop(shown);
            return;
        }
        shown.m_CLS2D(0, 0, 0, 0);
        shown.m_SetSize(2);
        shown.m_SetCol(255, 200, 100, 1);
        shown.m_Text(12, 14, "DEMO", 0, 0);
        return;
    }
    if (!paused_) {
        StepDue();
        if (player_.status() == ReplayPlayer::Status::Desynced)
            std::fprintf(stderr, "%s: it differs from update %u (%s)\n", kDesynced, player_.DesyncedAt(),
                         ReplayClock(player_.DesyncedAt()).c_str());
    }
    if (player_.status() != ReplayPlayer::Status::Playing) paused_ = true;
    shown.m_CLS2D(0, 0, 0, 0);
    DrawControls(shown);
}

void ReplayWatch::DrawControls(bb_Skitterbat_MyApp& shown) {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    const Replay& replay = player_.replay();

    shown.m_ResetDraw();
    shown.m_SetSize(2);
    shown.m_SetCol(255, 200, 100, 1);
    shown.m_Text(12, 6, "REPLAY", 0, 0);
    shown.m_SetSize(1);
    shown.m_SetCol(200, 255, 100, 1);
    shown.m_Text(12, 32,
                 String(DifficultyName(replay.header.difficulty)) + "  " + String(replay.header.score), 0, 0);
    const std::string clock = ReplayClock(player_.Played()) + " / " + ReplayClock(player_.Length());
    shown.m_SetSize(1.5f);
    shown.m_SetCol(255, 255, 255, 1);
    shown.m_Text(w - 12, 8, String(clock) + "  " + String(speed_) + "x", 2, 0);

    const float fraction = player_.Length() > 0
                               ? static_cast<float>(player_.Played()) / static_cast<float>(player_.Length())
                               : 0;
    shown.m_SetCol(70, 70, 90, 1);
    shown.m_Rect(16, h - kBarHeight + 2, w - 32, 6);
    shown.m_SetCol(255, 200, 100, 1);
    shown.m_Rect(16, h - kBarHeight + 2, (w - 32) * std::clamp(fraction, 0.0f, 1.0f), 6);

    const bool playing = player_.status() == ReplayPlayer::Status::Playing && !paused_;
    const int frames[] = {kRestartFrame, playing ? kPauseFrame : kPlayFrame, kFastFrame, kExportFrame,
                          kBackFrame};
    const float y = h - kBarHeight / 2 + 4;
    int pressed = -1;
    for (int i = 0; i < controlCount_; ++i) {
        const Control control = controls_[i];
        const float x =
            w / 2 + (static_cast<float>(i) - static_cast<float>(controlCount_ - 1) / 2) * kButtonSpacing;
        shown.m_SetSize(kButtonSize);
        shown.m_SetCol(control == kBack ? 255.0f : 120.0f, control == kBack ? 120.0f : 200.0f, 255, 1);
        if (shown.m_Button(kIcons, x, y, frames[control]) && shown.NeedRelease == 0) pressed = i;
        if (i == focus_) {
            shown.m_SetSize(kButtonSize * 1.25f);
            shown.m_SetCol(255, 255, 100, 1);
            shown.m_DrawImg(kIcons, x, y, kFocusRingFrame);
        }
    }

    if (player_.status() == ReplayPlayer::Status::Desynced) {
        shown.m_SetSize(1);
        shown.m_SetCol(0, 0, 0, 0.8f);
        shown.m_Rect(w / 2 - 150, h / 2 - 24, 300, 48);
        shown.m_SetSize(1.5f);
        shown.m_SetCol(255, 140, 140, 1);
        shown.m_Text(w / 2, h / 2, kDesynced, 1, 1);
    }

    if (pressed >= 0) {
        shown.NeedRelease = 1;
        focus_ = pressed;
        Act(shown, controls_[pressed]);
        return;
    }
    if (shown.ButtonLock != 0) return;
    if (shown.m_PlayKey(3) || shown.m_PlayKey(0)) {
        shown.ButtonLock = 1;
        focus_ = std::max(0, focus_ - 1);
        shown.m_PlaySFX(kClickSound, 0.8f, 0.5f, 0);
    } else if (shown.m_PlayKey(5) || shown.m_PlayKey(8)) {
        shown.ButtonLock = 1;
        focus_ = std::min(controlCount_ - 1, focus_ + 1);
        shown.m_PlaySFX(kClickSound, 1.2f, 0.5f, 0);
    } else if (shown.m_PlayKey(99)) {
        shown.ButtonLock = 1;
        Act(shown, kBack);
    } else {
        for (int key = 10; key <= 17; ++key) {
            if (!shown.m_PlayKey(key)) continue;
            shown.ButtonLock = 1;
            Act(shown, controls_[focus_]);
            break;
        }
    }
}

void ReplayWatch::Render(bb_Skitterbat_MyApp& shown) {
    const float width = static_cast<float>(bb_graphics_DeviceWidth());
    const float height = static_cast<float>(bb_graphics_DeviceHeight());
    const bb_Skitterbat_MyApp& game = player_.Game();
    const float top = std::floor(kTopBar * shown.ScreenScale);
    const float bottom = kind_ == Kind::Watch ? std::floor(kBarHeight * shown.ScreenScale) : 0;
    const float roomH = std::max(1.0f, height - top - bottom);
    const float played = static_cast<float>(std::max(1, game.DeviceW));
    const float playedH = static_cast<float>(std::max(1, game.DeviceH));
    const float k = std::min(width / played, roomH / playedH);
    const float boxW = played * k, boxH = playedH * k;
    const float x = std::floor((width - boxW) / 2), y = top + std::floor((roomH - boxH) / 2);

    // Bars where the window is wider or taller than the game was; the box
    // itself keeps what play leaves of the last frame, as play does.
    bb_graphics_SetColor(0, 0, 0);
    bb_graphics_SetAlpha(1);
    bb_graphics_DrawRect(0, 0, width, y);
    bb_graphics_DrawRect(0, y + boxH, width, height - y - boxH);
    bb_graphics_DrawRect(0, y, x, boxH);
    bb_graphics_DrawRect(x + boxW, y, width - x - boxW, boxH);

    bb_graphics_SetScissor(x, y, boxW, boxH);
    bb_graphics_SetColor(game.ClsRed, game.ClsGreen, game.ClsBlue);
    bb_graphics_SetAlpha(game.ClsAlpha);
    bb_graphics_DrawRect(x - 1, y - 1, boxW + 2, boxH + 2);
    shown.DrawRecords(game.DrawList.Data(), game.DrawCount, game.ScreenScale * k, x, y);
    bb_graphics_SetScissor(0, 0, width, height);
    shown.ReplayDrawList();
}
