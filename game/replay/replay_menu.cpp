// The menu's score rows as a way into the replays: a small play mark on every
// row whose game is kept, a tap on the row to watch it, and for keys and pads
// a focus that Right brings into the panel from the last difficulty.
#include "game/replay/replays.h"

#include "game/skitterbat.h"

namespace replays {
namespace {

constexpr int kIcons = 97, kPlayFrame = 3;
constexpr int kClickSound = 98;
constexpr float kPanelWidth = 140;

// Rows are numbered best list first: 0 to 9 best, 10 to 19 recent; -1 none.
int focusedRow = -1;

bool HasReplay(const bb_Skitterbat_MyApp& game, int row) {
    return row >= 0 && row < 20 && row % 10 < game.MenuRows && RowHasReplay(game, row >= 10, row % 10);
}

// The next row with a kept game from `row` in `step`s, or `row` itself.
int NextRow(const bb_Skitterbat_MyApp& game, int row, int step) {
    for (int next = row + step; next >= 0 && next < 20; next += step)
        if (HasReplay(game, next)) return next;
    return row;
}

bool TouchedIn(const bb_Skitterbat_MyApp& game, float x, float y, float w, float h) {
    if (game.PointerDown == 0 || game.NeedRelease != 0) return false;
    for (int i = 0; i < 10; ++i) {
        const float tx = static_cast<float>(game.TouchXArr[i]), ty = static_cast<float>(game.TouchYArr[i]);
        if (game.TouchDownArr[i] != 0 && x < tx && tx < x + w && y < ty && ty < y + h) return true;
    }
    return false;
}

} // namespace

bool ScorePanel(bb_Skitterbat_MyApp& game, float panelX, float bestTop, float recentTop) {
    if (game.Mode != ModeMenu || game.CreditsOpen != 0 || game.BadgesOpen != 0) {
        focusedRow = -1;
        return false;
    }
    const float line = static_cast<float>(game.MenuLineHeight);
    if (!HasReplay(game, focusedRow)) focusedRow = -1;
    int chosen = -1;
    for (int row = 0; row < 20; ++row) {
        if (!HasReplay(game, row)) continue;
        const float top = (row < 10 ? bestTop : recentTop) + line * static_cast<float>(row % 10 + 1);
        game.m_ResetDraw();
        game.m_SetSize(0.35f);
        game.m_SetCol(row < 10 ? 255.0f : 200.0f, row < 10 ? 200.0f : 255.0f, 100, 0.9f);
        game.m_DrawImg(kIcons, panelX + 10, top + line / 2, kPlayFrame);
        if (row == focusedRow) {
            game.m_SetCol(255, 255, 100, 0.35f);
            game.m_Rect(panelX + 2, top - 1, kPanelWidth - 4, line + 2);
        }
        if (TouchedIn(game, panelX, top, kPanelWidth, line)) chosen = row;
    }
    game.m_ResetDraw();
    if (chosen >= 0) {
        game.NeedRelease = 1;
        game.m_PlaySFX(kClickSound, 1, 0.5f, 0);
        focusedRow = -1;
        WatchRow(game, chosen >= 10, chosen % 10);
        return true;
    }
    if (game.ButtonLock != 0) return focusedRow >= 0;
    if (focusedRow < 0) {
        // Right from the last difficulty leads on into the scores.
        if (game.Difficulty != 3 || !game.m_PlayKey(5)) return false;
        const int first = NextRow(game, -1, 1);
        if (first < 0) return false;
        focusedRow = first;
        game.ButtonLock = 1;
        game.m_PlaySFX(kClickSound, 1.2f, 0.5f, 0);
        return true;
    }
    if (game.m_PlayKey(0)) {
        focusedRow = NextRow(game, focusedRow, -1);
        game.ButtonLock = 1;
        game.m_PlaySFX(kClickSound, 0.8f, 0.5f, 0);
    } else if (game.m_PlayKey(8)) {
        focusedRow = NextRow(game, focusedRow, 1);
        game.ButtonLock = 1;
        game.m_PlaySFX(kClickSound, 1.2f, 0.5f, 0);
    } else if (game.m_PlayKey(3) || game.m_PlayKey(99)) {
        focusedRow = -1;
        game.ButtonLock = 1;
        game.m_PlaySFX(kClickSound, 0.8f, 0.5f, 0);
    } else {
        for (int key = 10; key <= 17; ++key) {
            if (!game.m_PlayKey(key)) continue;
            const int row = focusedRow;
            focusedRow = -1;
            game.ButtonLock = 1;
            game.m_PlaySFX(kClickSound, 1, 0.5f, 0);
            WatchRow(game, row >= 10, row % 10);
            break;
        }
    }
    return true;
}

} // namespace replays
