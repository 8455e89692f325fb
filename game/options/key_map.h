// The key map: which keys, pad buttons and stick directions hold each play
// key. The player binds two keys and one pad button to each of six actions;
// the other keys of the default set (the further fire buttons and the spare
// launch and back keys) stay on for as long as no action has taken them.
// m_PlayKey reads the table built from the bindings, one row a play key.
#pragma once

#include <cstdint>

namespace options {

enum Action { kUp, kDown, kLeft, kRight, kLaunch, kBack, kActionCount };
constexpr int kKeysPerAction = 2;
constexpr int kNoPadButton = -1;
// The joystick buttons the input device reads (key codes 256 + button).
constexpr int kPadButtonCount = 32;
constexpr int kPadKey0 = 256;

struct Binding {
    int keys[kKeysPerAction]; // key codes, 0 for none
    int pad;                  // button number, or kNoPadButton
};

struct KeyBindings {
    Binding actions[kActionCount];
};

enum class Stick { None, Left, Right, Up, Down };

// One play key's sources.
struct PlayKeyRow {
    static constexpr int kMaxKeys = 6, kMaxPads = 2;
    int keys[kMaxKeys];
    int keyCount;
    int pads[kMaxPads]; // button numbers
    int padCount;
    Stick stick;
};

// Rows for play keys 0 (up), 3 (left), 5 (right), 8 (down), 10 to 13 (launch
// and the further fire buttons) and 99 (back).
constexpr int kPlayKeyRows = 9;
struct KeyMap {
    PlayKeyRow rows[kPlayKeyRows];
};

KeyBindings DefaultBindings();
// The row of a play key, -1 for a number that is no play key.
int RowOf(int playKey);
int PlayKeyOf(Action action);
const char* ActionName(Action action);

// Keyboard keys a binding may hold: what the platforms report, less F11,
// which switches fullscreen, and the left and right Shift and Control, which
// also count as plain Shift and Control.
bool Bindable(int key);
// Binding `key` to a slot: an action's slot that held it gets the slot's old key.
void BindKey(KeyBindings* bindings, Action action, int slot, int key);
void BindPad(KeyBindings* bindings, Action action, int button);
// Every key bindable and held by one slot at most, every pad button by one action.
bool Valid(const KeyBindings& bindings);
bool operator==(const Binding& a, const Binding& b);

KeyMap BuildKeyMap(const KeyBindings& bindings);

// One action's binding as one int of the settings, never 0; false for an int
// that holds no binding.
int32_t PackBinding(const Binding& binding);
bool UnpackBinding(int32_t packed, Binding* binding);

// Short names as the Options screen shows them: "Space", "Left", "F5", "A".
const char* KeyName(int key);
// The standard pad's names ("A", "Start", "Left"), "Btn 12" beyond them.
const char* PadButtonName(int button);

} // namespace options
