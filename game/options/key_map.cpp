// The default bindings and the spare keys beside them, binding with swaps,
// the table m_PlayKey reads, packing a binding into a setting, and key names.
#include "game/options/key_map.h"

namespace options {
namespace {

constexpr int kPlayKeys[kPlayKeyRows] = {0, 3, 5, 8, 10, 11, 12, 13, 99};
constexpr int kActionPlayKeys[kActionCount] = {0, 8, 3, 5, 10, 99};
constexpr const char* kActionNames[kActionCount] = {"Up", "Down", "Left", "Right", "Launch", "Back"};

constexpr Binding kDefaults[kActionCount] = {
    {{38, 87}, 9},  // Up arrow, W; d-pad up
    {{40, 83}, 11}, // Down arrow, S; d-pad down
    {{37, 65}, 8},  // Left arrow, A; d-pad left
    {{39, 68}, 10}, // Right arrow, D; d-pad right
    {{32, 13}, 0},  // Space, Enter; A
    {{27, 8}, 7},   // Escape, Backspace; Start and Back
};

// Keys and buttons of the default set that no action is bound to by name:
// each stays on until an action takes it.
struct Spare {
    int playKey;
    int code; // a key code, or kPadKey0 + button
};
constexpr Spare kSpares[] = {
    {10, 90},           {10, 74},           {11, 17},           {11, 88}, {11, 75}, {12, 16},
    {12, 67},           {12, 76},           {13, 86},           {13, 73}, {99, 46}, // Z J, Ctrl X K, Shift C
                                                                                    // L, V I, Delete
    {11, kPadKey0 + 1}, {12, kPadKey0 + 2}, {13, kPadKey0 + 3},
};

constexpr Stick kSticks[kPlayKeyRows] = {Stick::Up,   Stick::Left, Stick::Right, Stick::Down, Stick::None,
                                         Stick::None, Stick::None, Stick::None,  Stick::None};

constexpr int kF11 = 122;
constexpr int kPackedMark = 1 << 30;
constexpr int kKeyBits = 9, kPadBits = 6;

struct KeyNameEntry {
    int key;
    const char* name;
};
constexpr KeyNameEntry kKeyNames[] = {
    {8, "Bksp"},  {9, "Tab"},   {13, "Enter"}, {16, "Shift"}, {17, "Ctrl"}, {27, "Esc"}, {32, "Space"},
    {33, "PgUp"}, {34, "PgDn"}, {35, "End"},   {36, "Home"},  {37, "Left"}, {38, "Up"},  {39, "Right"},
    {40, "Down"}, {45, "Ins"},  {46, "Del"},   {48, "0"},     {49, "1"},    {50, "2"},   {51, "3"},
    {52, "4"},    {53, "5"},    {54, "6"},     {55, "7"},     {56, "8"},    {57, "9"},   {65, "A"},
    {66, "B"},    {67, "C"},    {68, "D"},     {69, "E"},     {70, "F"},    {71, "G"},   {72, "H"},
    {73, "I"},    {74, "J"},    {75, "K"},     {76, "L"},     {77, "M"},    {78, "N"},   {79, "O"},
    {80, "P"},    {81, "Q"},    {82, "R"},     {83, "S"},     {84, "T"},    {85, "U"},   {86, "V"},
    {87, "W"},    {88, "X"},    {89, "Y"},     {90, "Z"},     {112, "F1"},  {113, "F2"}, {114, "F3"},
    {115, "F4"},  {116, "F5"},  {117, "F6"},   {118, "F7"},   {119, "F8"},  {120, "F9"}, {121, "F10"},
    {123, "F12"}, {186, ";"},   {187, "="},    {188, ","},    {189, "-"},   {190, "."},  {191, "/"},
    {192, "`"},   {219, "["},   {220, "\\"},   {221, "]"},    {222, "'"},
};

constexpr const char* kPadNames[kPadButtonCount] = {
    "A",      "B",      "X",      "Y",      "LB",     "RB",     "Btn 6",  "Start",
    "Left",   "Up",     "Right",  "Down",   "Btn 12", "Btn 13", "Btn 14", "Btn 15",
    "Btn 16", "Btn 17", "Btn 18", "Btn 19", "Btn 20", "Btn 21", "Btn 22", "Btn 23",
    "Btn 24", "Btn 25", "Btn 26", "Btn 27", "Btn 28", "Btn 29", "Btn 30", "Btn 31",
};

bool Taken(const KeyBindings& bindings, int code) {
    for (const Binding& binding : bindings.actions) {
        if (code >= kPadKey0 && binding.pad == code - kPadKey0) return true;
        for (int key : binding.keys)
            if (code < kPadKey0 && key == code) return true;
    }
    return false;
}

} // namespace

KeyBindings DefaultBindings() {
    KeyBindings bindings;
    for (int a = 0; a < kActionCount; ++a) bindings.actions[a] = kDefaults[a];
    return bindings;
}

int RowOf(int playKey) {
    for (int row = 0; row < kPlayKeyRows; ++row)
        if (kPlayKeys[row] == playKey) return row;
    return -1;
}

int PlayKeyOf(Action action) {
    return kActionPlayKeys[action];
}

const char* ActionName(Action action) {
    return kActionNames[action];
}

const char* KeyName(int key) {
    for (const KeyNameEntry& entry : kKeyNames)
        if (entry.key == key) return entry.name;
    return nullptr;
}

const char* PadButtonName(int button) {
    return button >= 0 && button < kPadButtonCount ? kPadNames[button] : "";
}

bool Bindable(int key) {
    return key != kF11 && KeyName(key) != nullptr;
}

bool operator==(const Binding& a, const Binding& b) {
    return a.keys[0] == b.keys[0] && a.keys[1] == b.keys[1] && a.pad == b.pad;
}

void BindKey(KeyBindings* bindings, Action action, int slot, int key) {
    int& target = bindings->actions[action].keys[slot];
    const int old = target;
    if (old == key) return;
    for (Binding& binding : bindings->actions)
        for (int& held : binding.keys)
            if (held == key) held = old;
    target = key;
}

void BindPad(KeyBindings* bindings, Action action, int button) {
    int& target = bindings->actions[action].pad;
    const int old = target;
    if (old == button) return;
    for (Binding& binding : bindings->actions)
        if (binding.pad == button) binding.pad = old;
    target = button;
}

bool Valid(const KeyBindings& bindings) {
    for (int a = 0; a < kActionCount; ++a) {
        const Binding& binding = bindings.actions[a];
        if (binding.pad < kNoPadButton || binding.pad >= kPadButtonCount) return false;
        for (int b = a + 1; b < kActionCount; ++b)
            if (binding.pad != kNoPadButton && bindings.actions[b].pad == binding.pad) return false;
        for (int s = 0; s < kKeysPerAction; ++s) {
            const int key = binding.keys[s];
            if (key == 0) continue;
            if (!Bindable(key)) return false;
            // Later slots only: each pair is looked at once.
            for (int b = a; b < kActionCount; ++b)
                for (int t = b == a ? s + 1 : 0; t < kKeysPerAction; ++t)
                    if (bindings.actions[b].keys[t] == key) return false;
        }
    }
    return true;
}

KeyMap BuildKeyMap(const KeyBindings& bindings) {
    KeyMap map{};
    for (int row = 0; row < kPlayKeyRows; ++row) map.rows[row].stick = kSticks[row];
    for (int a = 0; a < kActionCount; ++a) {
        PlayKeyRow& row = map.rows[RowOf(kActionPlayKeys[a])];
        const Binding& binding = bindings.actions[a];
        for (int key : binding.keys)
            if (key != 0) row.keys[row.keyCount++] = key;
        if (binding.pad != kNoPadButton) row.pads[row.padCount++] = binding.pad;
    }
    for (const Spare& spare : kSpares) {
        if (Taken(bindings, spare.code)) continue;
        PlayKeyRow& row = map.rows[RowOf(spare.playKey)];
        if (spare.code >= kPadKey0) {
            if (row.padCount < PlayKeyRow::kMaxPads) row.pads[row.padCount++] = spare.code - kPadKey0;
        } else if (row.keyCount < PlayKeyRow::kMaxKeys) {
            row.keys[row.keyCount++] = spare.code;
        }
    }
    return map;
}

int32_t PackBinding(const Binding& binding) {
    return kPackedMark | binding.keys[0] | binding.keys[1] << kKeyBits | (binding.pad + 1) << (2 * kKeyBits);
}

bool UnpackBinding(int32_t packed, Binding* binding) {
    constexpr int32_t kFields = (1 << (2 * kKeyBits + kPadBits)) - 1;
    if ((packed & ~kFields) != kPackedMark) return false;
    constexpr int32_t kKeyMask = (1 << kKeyBits) - 1;
    binding->keys[0] = packed & kKeyMask;
    binding->keys[1] = (packed >> kKeyBits) & kKeyMask;
    binding->pad = ((packed >> (2 * kKeyBits)) & ((1 << kPadBits) - 1)) - 1;
    return binding->pad < kPadButtonCount;
}

} // namespace options
