// The first-game note: which input the player used last, the note's life in
// a game (shown from the announcement, faded after the launch), the count of
// games with a launch of the player's own, and drawing the note.
#include "game/hints/hints.h"

#include "game/hints/hint_text.h"
#include "game/options/options.h"
#include "game/skitterbat.h"
#include "input/gxtk_input.h"
#include "runtime/platform.h"

#include <algorithm>
#include <cmath>

namespace hints {
namespace {

constexpr int kFadeInUpdates = 20, kFadeOutUpdates = 24;
// In full motion the note drops this far into place and rises away as it fades.
constexpr float kRise = 12;
// The note's foot above the paddle line: clear of a waiting ball, which
// reaches 24 units above it.
constexpr float kAboveBall = 30;
constexpr float kMaxSize = 2, kMargin = 16;
constexpr float kStickThreshold = 0.4f;
constexpr int kMouseButton = 1;
constexpr int kHeldSeconds = 2;
// The pause button's place and the glow around it.
constexpr float kPauseX = 16, kPauseY = 16, kGlowRadius = 22;
constexpr double kDegToRad = 0.017453292519943295;

struct Note {
    bool active = false;   // this game shows the note
    bool launched = false; // its first ball has gone
    bool counted = false;  // a launch of the player's counted for this game
    int shown = 0;         // updates since the announcement
    int fading = 0;        // updates since the launch
    float launchAlpha = 1; // how opaque it was then
};

// The two lines as drawn, made again only when what they say changes.
struct Lines {
    bool valid = false;
    InputKind kind = InputKind::Mouse;
    bool lift = false;
    ControlNames names;
    String controls, pause;
};

struct Tracker {
    const bb_Skitterbat_MyApp* game = nullptr;
    InputKind last = InputKind::Mouse;
    bool pointerKnown = false;
    float pointerX = 0, pointerY = 0;
    // Updates the mouse button or a finger has stayed down.
    int pointerHeld = 0;
    Note note;
    Lines lines;
};

Tracker tracker;

bool PadUsed(gxtkInput& in) {
    for (int button = 0; button < options::kPadButtonCount; ++button)
        if (in.KeyDown(options::kPadKey0 + button)) return true;
    return std::fabs(in.JoyX(0)) > kStickThreshold || std::fabs(in.JoyY(0)) > kStickThreshold;
}

bool KeysUsed(gxtkInput& in) {
    for (const options::PlayKeyRow& row : options::Current().play.keys.rows)
        for (int i = 0; i < row.keyCount; ++i)
            if (in.KeyDown(row.keys[i])) return true;
    return false;
}

const Lines& CurrentLines() {
    Lines& lines = tracker.lines;
    const InputKind kind = tracker.last;
    const bool pointer = kind == InputKind::Finger || kind == InputKind::Mouse;
    const bool lift = pointer && tracker.pointerHeld > kHeldSeconds * options::UpdateRate();
    const ControlNames names = NamesOf(options::Current().play.keys, bb_Skitterbat_iCadeControls == 0);
    if (!lines.valid || lines.kind != kind || lines.lift != lift || !(lines.names == names)) {
        const HintLines wording = Wording(kind, lift, names);
        lines.valid = true;
        lines.kind = kind;
        lines.lift = lift;
        lines.names = names;
        lines.controls = String(wording.controls);
        lines.pause = String(wording.pause);
    }
    return lines;
}

// The note centred above the paddle, `offset` units lower than its place,
// and a glow under the pause button.
void DrawNote(bb_Skitterbat_MyApp& game, float alpha, float offset) {
    if (alpha <= 0) return;
    const Lines& lines = CurrentLines();
    const float w = bb_Skitterbat_jscrw;
    const float advance = static_cast<float>(game.ImageSizes[3 * game.FontImage]);
    const float lineHeight = static_cast<float>(game.ImageSizes[3 * game.FontImage + 1]);
    const float padding = advance;
    const float room = w - 2 * kMargin - 2 * padding;
    const float size = std::min(game.TextSizeToFit(lines.controls, room, kMaxSize),
                                game.TextSizeToFit(lines.pause, room, kMaxSize));
    const int longest = std::max(lines.controls.Length(), lines.pause.Length());
    const float panelW = static_cast<float>(longest) * advance * size + 2 * padding;
    const float line = lineHeight * size;
    const float panelH = 2 * line + padding;
    const float top = static_cast<float>(game.PaddleY) - kAboveBall - panelH + offset;

    game.m_ResetDraw();
    game.m_SetCol(0, 0, 0, 0.75f * alpha);
    game.m_Rect((w - panelW) / 2, top, panelW, panelH);
    game.m_SetSize(size);
    game.m_SetCol(255, 240, 140, alpha);
    game.m_Text(w / 2, top + padding / 2 + line / 2, lines.controls, 1, 1);
    game.m_SetCol(190, 215, 255, alpha);
    game.m_Text(w / 2, top + padding / 2 + 1.5f * line, lines.pause, 1, 1);

    // A steady glow where motion is reduced; a slow pulse otherwise.
    float glow = 0.4f;
    if (!options::ReducedMotion())
        glow = 0.35f + 0.15f * static_cast<float>(std::sin(tracker.note.shown * 6 * kDegToRad));
    game.m_ResetDraw();
    game.m_SetCol(255, 240, 140, glow * alpha);
    game.m_Oval(kPauseX, kPauseY, kGlowRadius, kGlowRadius);
    game.m_ResetDraw();
}

float Offset(float alpha) {
    return options::ReducedMotion() ? 0 : -(1 - alpha) * kRise;
}

} // namespace

void Attach(const bb_Skitterbat_MyApp& game) {
    tracker = Tracker();
    tracker.game = &game;
    if (gxtk_platform && gxtk_platform->PointerIsFinger()) tracker.last = InputKind::Finger;
}

void Detach(const bb_Skitterbat_MyApp& game) {
    if (tracker.game == &game) tracker = Tracker();
}

void SeeInput(const bb_Skitterbat_MyApp& game) {
    gxtkInput* in = bb_input_device;
    if (&game != tracker.game || in == nullptr) return;
    // Touches 1 to 9 are only ever fingers; touch 0 is the mouse's button,
    // or the first finger where the platform says so.
    bool fingers = false;
    for (int t = 1; t < gxtkInput::kTouchCount; ++t) fingers = fingers || in->KeyDown(gxtkInput::kTouch0 + t);
    const bool button = in->KeyDown(kMouseButton) != 0;
    const float x = in->MouseX(), y = in->MouseY();
    const bool moved = tracker.pointerKnown && (x != tracker.pointerX || y != tracker.pointerY);
    tracker.pointerKnown = true;
    tracker.pointerX = x;
    tracker.pointerY = y;
    tracker.pointerHeld = button || fingers ? tracker.pointerHeld + 1 : 0;
    const bool finger = gxtk_platform && gxtk_platform->PointerIsFinger();
    if (fingers || ((button || moved) && finger))
        tracker.last = InputKind::Finger;
    else if (button || moved)
        tracker.last = InputKind::Mouse;
    else if (PadUsed(*in))
        tracker.last = InputKind::Pad;
    else if (KeysUsed(*in))
        tracker.last = InputKind::Keys;
}

void GameBegins(const bb_Skitterbat_MyApp& game) {
    if (&game != tracker.game) return;
    tracker.note = Note();
    tracker.note.active = LaunchedGames(game) < kGamesToLearn;
}

void BallLaunched(bb_Skitterbat_MyApp& game, bool byPlayer) {
    if (&game != tracker.game) return;
    Note& note = tracker.note;
    if (!note.launched) {
        note.launched = true;
        note.launchAlpha = std::min(1.0f, static_cast<float>(note.shown) / kFadeInUpdates);
    }
    // A ball the launch timer sent shows nothing learnt.
    if (!byPlayer || note.counted) return;
    note.counted = true;
    const int games = LaunchedGames(game);
    if (games >= kGamesToLearn) return;
    game.Settings[kLaunchedGamesSetting] = games + 1;
    game.SaveWanted = 1;
}

void Draw(bb_Skitterbat_MyApp& game, Layer layer) {
    if (&game != tracker.game) return;
    Note& note = tracker.note;
    if (!note.active) return;
    if (layer == Layer::UnderPlay) {
        if (note.fading > 0) {
            const float alpha =
                note.launchAlpha * (1 - static_cast<float>(note.fading) / (kFadeOutUpdates + 1));
            DrawNote(game, alpha, Offset(alpha));
        }
        return;
    }
    // A game quit from the pause panel has no ball to launch.
    if (game.GameEnded != 0) {
        note.active = false;
        return;
    }
    // From the round's announcement on.
    if (game.Round == 1 && game.RoundPhase == 0) return;
    if (!note.launched) {
        ++note.shown;
        const float alpha = std::min(1.0f, static_cast<float>(note.shown) / kFadeInUpdates);
        DrawNote(game, alpha, Offset(alpha));
        return;
    }
    // The launch's own frame: the ball has not yet left its place under the note.
    if (note.fading == 0) DrawNote(game, note.launchAlpha, Offset(note.launchAlpha));
    if (++note.fading > kFadeOutUpdates) note.active = false;
}

int LaunchedGames(const bb_Skitterbat_MyApp& game) {
    const int games = game.Settings[kLaunchedGamesSetting];
    return games >= 0 && games <= kGamesToLearn ? games : 0;
}

} // namespace hints
