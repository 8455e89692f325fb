// The Options screen: its layout at every shape (two columns on a wide
// screen, one on a tall one), drawing, and the keys, pointer and fingers
// that work it, including waiting for the key or pad button to bind.
#include "game/options/options_screen.h"

#include "game/options/options.h"
#include "game/skitterbat.h"
#include "input/gxtk_input.h"

#include <algorithm>

namespace options {
namespace {

enum Row {
    kSpeedRow,
    kVolumeRow,
    kMarksRow,
    kMotionRow,
    kHoldRow,
    kFirstControlRow,
    kDefaultsRow = kFirstControlRow + kActionCount,
    kDoneRow,
    kRowCount
};
constexpr const char* kRowLabels[kFirstControlRow] = {"Game speed", "Volume", "Pod marks", "Reduced motion",
                                                      "Keys without holding"};
constexpr int kPadColumn = 2, kControlColumns = 3;
// What a press on a value row means.
constexpr int kLess = -1, kValue = 0, kMore = 1;

constexpr int kClickSound = 98, kOpenSound = 99;
// Ten seconds at full speed without a key: the wait for one ends.
constexpr int kCaptureUpdates = 600;
constexpr int kFirstKey = 8, kLastKey = 255;

constexpr float kTitleSpace = 44, kFoot = 8, kMargin = 12, kGap = 4;
constexpr float kMaxRowHeight = 40, kCellInset = 3;
constexpr float kValueWidth = 112, kStepperWidth = 28, kControlLabelWidth = 72;
constexpr float kTextSize = 1.5f;
// Rows a column holds: on a wide screen the controls (a half-row heading,
// six actions and Defaults); on a tall one everything.
constexpr float kWideRows = 7.5f, kTallRows = 12.5f;

struct Cell {
    float x, y, w, h;
    float CentreX() const { return x + w / 2; }
    float CentreY() const { return y + h / 2; }
};

struct Layout {
    Cell rows[kRowCount];
    Cell heading; // over the control cells: "Keys" and "Pad"
};

Layout MakeLayout(bool wide, float w, float h) {
    Layout layout{};
    if (wide) {
        const float column = std::min(300.0f, (w - 3 * kMargin) / 2);
        const float left = w / 2 - kMargin / 2 - column, right = w / 2 + kMargin / 2;
        const float rowH = std::min(kMaxRowHeight, (h - kTitleSpace - kFoot) / kWideRows);
        const float top = kTitleSpace + std::max(0.0f, (h - kTitleSpace - kFoot - kWideRows * rowH) / 2);
        layout.heading = {right, top, column, rowH / 2};
        for (int r = 0; r < kFirstControlRow; ++r)
            layout.rows[r] = {left, top + (0.5f + static_cast<float>(r)) * rowH, column, rowH};
        for (int a = 0; a < kActionCount; ++a)
            layout.rows[kFirstControlRow + a] = {right, top + (0.5f + static_cast<float>(a)) * rowH, column,
                                                 rowH};
        layout.rows[kDefaultsRow] = {right, top + 6.5f * rowH, column, rowH};
        layout.rows[kDoneRow] = {left, top + 6.5f * rowH, column, rowH};
    } else {
        const float column = std::min(400.0f, w - 2 * kMargin);
        const float x = (w - column) / 2;
        const float rowH = std::min(kMaxRowHeight, (h - kTitleSpace - kFoot) / kTallRows);
        const float top = kTitleSpace + std::max(0.0f, (h - kTitleSpace - kFoot - kTallRows * rowH) / 2);
        for (int r = 0; r < kFirstControlRow; ++r)
            layout.rows[r] = {x, top + static_cast<float>(r) * rowH, column, rowH};
        layout.heading = {x, top + 5 * rowH, column, rowH / 2};
        for (int a = 0; a < kActionCount; ++a)
            layout.rows[kFirstControlRow + a] = {x, top + (5.5f + static_cast<float>(a)) * rowH, column,
                                                 rowH};
        const float half = (column - kGap) / 2;
        layout.rows[kDefaultsRow] = {x, top + 11.5f * rowH, half, rowH};
        layout.rows[kDoneRow] = {x + half + kGap, top + 11.5f * rowH, half, rowH};
    }
    return layout;
}

// The cells of a row: a value row's less, value and more; a switch's value;
// a control row's two keys and pad button; a button's whole row.
Cell ValueArea(const Cell& row) {
    return {row.x + row.w - kValueWidth, row.y + kCellInset, kValueWidth, row.h - 2 * kCellInset};
}

Cell StepperCell(const Cell& row, int side) {
    const Cell area = ValueArea(row);
    return {side == kLess ? area.x : area.x + area.w - kStepperWidth, area.y, kStepperWidth, area.h};
}

Cell ControlCell(const Cell& row, int column) {
    const float width = (row.w - kControlLabelWidth - 2 * kGap) / kControlColumns;
    return {row.x + kControlLabelWidth + static_cast<float>(column) * (width + kGap), row.y + kCellInset,
            width, row.h - 2 * kCellInset};
}

Cell ButtonCell(const Cell& row) {
    return {row.x, row.y + kCellInset, row.w, row.h - 2 * kCellInset};
}

bool Stepped(int row) {
    return row == kSpeedRow || row == kVolumeRow;
}

bool Switch(int row) {
    return row == kMarksRow || row == kMotionRow || row == kHoldRow;
}

bool ControlRow(int row) {
    return row >= kFirstControlRow && row < kDefaultsRow;
}

bool MotionReduced(const GameOptions& options, const Values& values) {
    return values.motion == kMotionReduced ||
           (values.motion == kMotionAsPlatform && options.platformReducedMotion);
}

String ValueText(const GameOptions& options, const Values& values, int row) {
    switch (row) {
    case kSpeedRow:
        return String(values.speedPercent) + " %";
    case kVolumeRow:
        return String(values.volumePercent) + " %";
    case kMarksRow:
        return values.podMarks ? "On" : "Off";
    case kMotionRow:
        return MotionReduced(options, values) ? "On" : "Off";
    case kHoldRow:
        return values.keysWithoutHolding ? "On" : "Off";
    default:
        return String();
    }
}

String CellText(const Values& values, int row, int column) {
    const Binding& binding = values.bindings.actions[row - kFirstControlRow];
    const char* name = column == kPadColumn ? PadButtonName(binding.pad) : KeyName(binding.keys[column]);
    return name != nullptr && name[0] != 0 ? String(name) : String("-");
}

// The pen size at which `text` fits `width`, at most the screen's text size.
float FitSize(const bb_Skitterbat_MyApp& game, const String& text, float width) {
    return game.TextSizeToFit(text, width, kTextSize);
}

void Outline(bb_Skitterbat_MyApp& game, const Cell& cell) {
    constexpr float kLine = 2;
    game.m_SetCol(255, 255, 100, 1);
    game.m_Rect(cell.x - kLine, cell.y - kLine, cell.w + 2 * kLine, kLine);
    game.m_Rect(cell.x - kLine, cell.y + cell.h, cell.w + 2 * kLine, kLine);
    game.m_Rect(cell.x - kLine, cell.y, kLine, cell.h);
    game.m_Rect(cell.x + cell.w, cell.y, kLine, cell.h);
}

// Where a press landed this update.
struct Press {
    int row = -1;
    int part = 0;
};

class ScreenRun {
  public:
    explicit ScreenRun(bb_Skitterbat_MyApp& game)
        : game_(game), options_(Current()), screen_(options_.screen), values_(options_.values) {}

    void Run();

  private:
    bb_Skitterbat_MyApp& game_;
    GameOptions& options_;
    ScreenState& screen_;
    Values values_;
    bool changed_ = false;
    Press press_;

    bool Focused(int row, int column) const {
        return screen_.row == row && (!ControlRow(row) || screen_.column == column);
    }
    // Draws a cell that a press can land on; notes a new press on it.
    void DrawCell(const Cell& cell, int row, int part, const String& text, bool lit);
    void DrawRows(const Layout& layout);
    void DrawTitle();
    void Act(int row, int part);
    void Keys();
    void Capture();
    void Click(float pitch) { game_.m_PlaySFX(kClickSound, pitch, 0.5f, 0); }
    void Close();
};

void ScreenRun::DrawCell(const Cell& cell, int row, int part, const String& text, bool lit) {
    if (lit)
        game_.m_SetCol(200, 120, 40, 0.95f);
    else
        game_.m_SetCol(40, 70, 140, 0.9f);
    if (game_.m_Touch(cell.x, cell.y, cell.w, cell.h) && game_.NeedRelease == 0 && press_.row < 0) {
        press_.row = row;
        press_.part = part;
    }
    game_.m_SetCol(255, 255, 255, 1);
    game_.m_SetSize(FitSize(game_, text, cell.w - 8));
    game_.m_Text(cell.CentreX(), cell.CentreY(), text, 1, 1);
}

void ScreenRun::DrawRows(const Layout& layout) {
    // One size for every label, the one the longest fits at.
    float labelSize = kTextSize;
    for (int r = 0; r < kFirstControlRow; ++r)
        labelSize = std::min(labelSize, FitSize(game_, kRowLabels[r], layout.rows[r].w - kValueWidth - 12));
    for (int a = 0; a < kActionCount; ++a)
        labelSize =
            std::min(labelSize, FitSize(game_, ActionName(static_cast<Action>(a)), kControlLabelWidth - 8));
    const float advance = static_cast<float>(game_.ImageSizes[3 * game_.FontImage]);
    auto label = [&](const Cell& row, const char* text) {
        game_.m_SetSize(labelSize);
        game_.m_SetCol(255, 200, 100, 1);
        game_.m_Text(row.x + 4 + advance * labelSize / 2, row.CentreY(), text, 0, 1);
    };

    for (int r = 0; r < kFirstControlRow; ++r) {
        const Cell& row = layout.rows[r];
        label(row, kRowLabels[r]);
        const String value = ValueText(options_, values_, r);
        if (Stepped(r)) {
            const Cell area = ValueArea(row);
            DrawCell(StepperCell(row, kLess), r, kLess, "<", false);
            DrawCell(StepperCell(row, kMore), r, kMore, ">", false);
            game_.m_SetSize(FitSize(game_, value, area.w - 2 * kStepperWidth - 4));
            game_.m_Text(area.CentreX(), area.CentreY(), value, 1, 1);
            if (Focused(r, 0)) Outline(game_, area);
        } else {
            DrawCell(ValueArea(row), r, kValue, value, false);
            if (Focused(r, 0)) Outline(game_, ValueArea(row));
        }
    }

    game_.m_SetSize(1);
    game_.m_SetCol(150, 170, 220, 1);
    const Cell firstKey = ControlCell(layout.rows[kFirstControlRow], 0);
    const Cell secondKey = ControlCell(layout.rows[kFirstControlRow], 1);
    const Cell pad = ControlCell(layout.rows[kFirstControlRow], kPadColumn);
    game_.m_Text((firstKey.x + secondKey.x + secondKey.w) / 2, layout.heading.CentreY(), "Keys", 1, 1);
    game_.m_Text(pad.CentreX(), layout.heading.CentreY(), "Pad", 1, 1);

    for (int r = kFirstControlRow; r < kDefaultsRow; ++r) {
        const Cell& row = layout.rows[r];
        label(row, ActionName(static_cast<Action>(r - kFirstControlRow)));
        for (int c = 0; c < kControlColumns; ++c) {
            const bool waiting = screen_.capture == c && screen_.row == r;
            const Cell cell = ControlCell(row, c);
            DrawCell(cell, r, c, waiting ? String("?") : CellText(values_, r, c), waiting);
            if (Focused(r, c)) Outline(game_, cell);
        }
    }

    DrawCell(ButtonCell(layout.rows[kDefaultsRow]), kDefaultsRow, kValue, "Defaults", false);
    if (Focused(kDefaultsRow, 0)) Outline(game_, ButtonCell(layout.rows[kDefaultsRow]));
    DrawCell(ButtonCell(layout.rows[kDoneRow]), kDoneRow, kValue, "Done", false);
    if (Focused(kDoneRow, 0)) Outline(game_, ButtonCell(layout.rows[kDoneRow]));
}

void ScreenRun::DrawTitle() {
    const float w = bb_Skitterbat_jscrw;
    String title("Options");
    if (screen_.capture >= 0) {
        const char* action = ActionName(static_cast<Action>(screen_.row - kFirstControlRow));
        title =
            String(screen_.capture == kPadColumn ? "Press a pad button for " : "Press a key for ") + action;
        game_.m_SetCol(255, 255, 100, 1);
    } else {
        game_.m_SetCol(255, 255, 255, 1);
    }
    game_.m_SetSize(game_.TextSizeToFit(title, w - 2 * kMargin, 2));
    game_.m_Text(w / 2, kTitleSpace / 2, title, 1, 1);
}

void ScreenRun::Act(int row, int part) {
    switch (row) {
    case kSpeedRow: {
        int& speed = values_.speedPercent;
        speed = part == kLess   ? speed - 10
                : part == kMore ? speed + 10
                                : (speed > kSlowestSpeed ? speed - 10 : 100);
        speed = std::clamp(speed, kSlowestSpeed, 100);
        break;
    }
    case kVolumeRow: {
        int& volume = values_.volumePercent;
        volume = part == kLess ? volume - 10 : part == kMore ? volume + 10 : (volume > 0 ? volume - 10 : 100);
        volume = std::clamp(volume, 0, 100);
        break;
    }
    case kMarksRow:
        values_.podMarks = !values_.podMarks;
        break;
    case kMotionRow:
        values_.motion = MotionReduced(options_, values_) ? kMotionFull : kMotionReduced;
        break;
    case kHoldRow:
        values_.keysWithoutHolding = !values_.keysWithoutHolding;
        break;
    case kDefaultsRow:
        values_.bindings = DefaultBindings();
        break;
    case kDoneRow:
        Close();
        return;
    default:
        // A control cell waits for the key or button to bind; the press
        // that chose it must be let go first.
        screen_.column = part;
        screen_.capture = part;
        screen_.captureArmed = false;
        screen_.captureUpdates = 0;
        Click(1.2f);
        return;
    }
    changed_ = true;
    Click(1);
}

void ScreenRun::Close() {
    screen_.open = false;
    screen_.capture = -1;
    game_.ButtonLock = 1;
    game_.NeedRelease = 1;
    if (screen_.fromPause) game_.PauseSelection = kPauseOptionsItem;
    Click(0.8f);
}

void ScreenRun::Keys() {
    bb_Skitterbat_MyApp& g = game_;
    bool select = false;
    for (int key = 10; key <= 13 && !select; ++key) select = g.m_PlayKey(key);
    const bool up = g.m_PlayKey(0), down = g.m_PlayKey(8), left = g.m_PlayKey(3), right = g.m_PlayKey(5);
    if (!(select || up || down || left || right || g.m_PlayKey(99))) return;
    g.ButtonLock = 1;
    int& row = screen_.row;
    if (g.m_PlayKey(99)) {
        Close();
    } else if (up || down) {
        row = (row + (up ? kRowCount - 1 : 1)) % kRowCount;
        Click(up ? 0.8f : 1.2f);
    } else if (left || right) {
        if (Stepped(row)) {
            Act(row, left ? kLess : kMore);
        } else if (Switch(row)) {
            Act(row, kValue);
        } else if (ControlRow(row)) {
            screen_.column = std::clamp(screen_.column + (left ? -1 : 1), 0, kControlColumns - 1);
            Click(left ? 0.8f : 1.2f);
        } else {
            row = row == kDefaultsRow ? kDoneRow : kDefaultsRow;
            Click(left ? 0.8f : 1.2f);
        }
    } else {
        Act(row, ControlRow(row) ? screen_.column : kValue);
    }
}

void ScreenRun::Capture() {
    gxtkInput& input = *bb_input_device;
    ++screen_.captureUpdates;
    int key = 0;
    for (int k = kFirstKey; k <= kLastKey && key == 0; ++k)
        if (input.KeyDown(k) && Bindable(k)) key = k;
    int button = kNoPadButton;
    for (int b = 0; b < kPadButtonCount && button == kNoPadButton; ++b)
        if (input.KeyDown(kPadKey0 + b)) button = b;
    const bool pointer = game_.PointerDown != 0;
    const bool timedOut = screen_.captureUpdates > kCaptureUpdates;
    if (!screen_.captureArmed) {
        screen_.captureArmed = key == 0 && button == kNoPadButton && !pointer;
        if (!timedOut) return;
    }
    const Action action = static_cast<Action>(screen_.row - kFirstControlRow);
    if (screen_.capture == kPadColumn && button != kNoPadButton && screen_.captureArmed) {
        BindPad(&values_.bindings, action, button);
        changed_ = true;
    } else if (screen_.capture < kPadColumn && key != 0 && screen_.captureArmed) {
        BindKey(&values_.bindings, action, screen_.capture, key);
        changed_ = true;
    } else if (key == 0 && button == kNoPadButton && !pointer && !timedOut) {
        return;
    }
    // Bound, or given up: the press that ended the wait does nothing more.
    screen_.capture = -1;
    game_.ButtonLock = 1;
    if (pointer) game_.NeedRelease = 1;
    Click(changed_ ? 1 : 0.8f);
}

void ScreenRun::Run() {
    const float w = bb_Skitterbat_jscrw, h = bb_Skitterbat_jscrh;
    const Layout layout = MakeLayout(game_.Landscape != 0 && w >= 600, w, h);
    if (!screen_.fromPause) game_.m_CLS2D(0, 0, 80, 1);
    game_.m_ResetDraw();
    game_.m_SetCol(8, 16, 48, 0.92f);
    game_.m_Rect(-1, -1, w + 2, h + 2);
    DrawTitle();
    DrawRows(layout);
    game_.m_ResetDraw();

    if (screen_.capture >= 0) {
        Capture();
    } else if (press_.row >= 0) {
        game_.NeedRelease = 1;
        screen_.row = press_.row;
        if (ControlRow(press_.row)) screen_.column = press_.part;
        Act(press_.row, press_.part);
    } else if (game_.ButtonLock == 0) {
        Keys();
    }
    if (changed_) Change(game_, values_);
}

} // namespace

bool ScreenOpen() {
    return Current().screen.open;
}

void OpenScreen(bb_Skitterbat_MyApp& game, bool fromPause) {
    ScreenState& screen = Current().screen;
    const float restY = screen.panelRestY;
    screen = ScreenState();
    screen.open = true;
    screen.fromPause = fromPause;
    screen.panelRestY = restY;
    game.NeedRelease = 1;
    game.ButtonLock = 1;
    game.m_PlaySFX(kOpenSound, 1, 1, 0);
}

void RunScreen(bb_Skitterbat_MyApp& game) {
    ScreenRun(game).Run();
}

} // namespace options
