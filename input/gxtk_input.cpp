// gxtkInput: key-state words with hit counts, quick presses held for one
// update, the character queue, mouse as touch 0 beside the fingers of a touch
// screen, and polling of the first joystick through the platform seam.
#include "input/gxtk_input.h"

#include "runtime/platform.h"

namespace {

constexpr int kDownBit = 256;
constexpr int kHitMask = 255;
constexpr int kMaxAxes = 6;
constexpr int kMaxButtons = 32;
constexpr int kJoyButton0 = 256;

constexpr int kShift = 16, kControl = 17;
constexpr int kLeftShift = 160, kRightShift = 161;
constexpr int kLeftControl = 162, kRightControl = 163;

// Key 384 (touch 0) shares the word of key 1 (left mouse button).
int StateIndex(int key) {
    return key == gxtkInput::kTouch0 ? 1 : key;
}

} // namespace

int gxtkInput::SetKeyboardEnabled(int) {
    return 0;
}

int gxtkInput::KeyDown(int key) {
    if (key < 1 || key >= kKeyCount) return 0;
    return keyStates[StateIndex(key)] >> 8;
}

int gxtkInput::KeyHit(int key) {
    if (key < 1 || key >= kKeyCount) return 0;
    return keyStates[StateIndex(key)] & kHitMask;
}

int gxtkInput::GetChar() {
    if (charRead >= charCount) return 0;
    return charQueue[charRead++];
}

float gxtkInput::JoyX(int index) {
    if (index == 0) return joyAxes[0];
    if (index == 1) return joyAxes[3];
    return 0;
}

float gxtkInput::JoyY(int index) {
    if (index == 0) return joyAxes[1];
    if (index == 1) return -joyAxes[4];
    return 0;
}

float gxtkInput::JoyZ(int index) {
    if (index == 0) return joyAxes[2];
    if (index == 1) return joyAxes[5];
    return 0;
}

// A touch reads its finger while the finger is down; touch 0, one no finger
// holds and any number no finger can have read the mouse, as on a desktop.
float gxtkInput::TouchX(int index) {
    return index > 0 && index < kTouchCount && KeyDown(kTouch0 + index) ? touchX[index] : mouseX;
}
float gxtkInput::TouchY(int index) {
    return index > 0 && index < kTouchCount && KeyDown(kTouch0 + index) ? touchY[index] : mouseY;
}

void gxtkInput::SetTouchPosition(int index, float x, float y) {
    if (index <= 0 || index >= kTouchCount) return;
    touchX[index] = x;
    touchY[index] = y;
}

void gxtkInput::OnKeyDown(int key) {
    while (key >= 0 && key < kKeyCount) {
        int& word = keyStates[key];
        // Down already means a repeat, unless it is down only for this update to
        // see a quick press: then this is a new press.
        if ((word & kDownBit) && !releasedUnseen[key]) return;
        releasedUnseen[key] = false;
        // The count saturates rather than spilling into the down bit.
        int hits = word & kHitMask;
        word = kDownBit | (hits < kHitMask ? hits + 1 : hits);

        if ((key == kLeftShift || key == kRightShift) &&
            ((keyStates[kLeftShift] | keyStates[kRightShift]) & kDownBit)) {
            key = kShift;
        } else if ((key == kLeftControl || key == kRightControl) &&
                   ((keyStates[kLeftControl] | keyStates[kRightControl]) & kDownBit)) {
            key = kControl;
        } else {
            return;
        }
    }
}

void gxtkInput::OnKeyUp(int key) {
    // Shift and Control count as unseen while one of their keys does.
    bool sideUnseen = false;
    while (key >= 0 && key < kKeyCount) {
        int& word = keyStates[key];
        if (!(word & kDownBit) || releasedUnseen[key]) return;
        // A press still counted as a hit is one no update has seen yet.
        if ((word & kHitMask) != 0 || sideUnseen) releasedUnseen[key] = true;
        word &= kHitMask;

        if ((key == kLeftShift || key == kRightShift) &&
            !((keyStates[kLeftShift] | keyStates[kRightShift]) & kDownBit)) {
            sideUnseen = releasedUnseen[kLeftShift] || releasedUnseen[kRightShift];
            key = kShift;
        } else if ((key == kLeftControl || key == kRightControl) &&
                   !((keyStates[kLeftControl] | keyStates[kRightControl]) & kDownBit)) {
            sideUnseen = releasedUnseen[kLeftControl] || releasedUnseen[kRightControl];
            key = kControl;
        } else {
            return;
        }
    }
}

void gxtkInput::PutChar(int chr) {
    if (charCount < kCharQueueSize) charQueue[charCount++] = chr;
}

void gxtkInput::BeginUpdate() {
    for (int key = 0; key < kKeyCount; ++key) {
        if (releasedUnseen[key]) keyStates[key] |= kDownBit;
    }
    if (!gxtk_platform) return;

    int x = 0, y = 0;
    gxtk_platform->MousePosition(&x, &y);
    mouseX = static_cast<float>(x);
    mouseY = static_cast<float>(y);

    int axisCount = 0, buttonCount = 0;
    const float* axes = gxtk_platform->JoystickAxes(&axisCount);
    const unsigned char* buttons = gxtk_platform->JoystickButtons(&buttonCount);
    if (!axes || axisCount < 0) axisCount = 0;
    if (!buttons || buttonCount < 0) buttonCount = 0;
    if (axisCount > kMaxAxes) axisCount = kMaxAxes;
    if (buttonCount > kMaxButtons) buttonCount = kMaxButtons;

    for (float& axis : joyAxes) axis = 0;
    for (int i = 0; i < axisCount; ++i) joyAxes[i] = axes[i];

    // Entries 3 and 4 hold the second stick whatever order the pad reports.
    if (axisCount == 4) {
        joyAxes[4] = joyAxes[2];
        joyAxes[2] = 0;
    } else if (axisCount == 5) {
        float third = joyAxes[3];
        joyAxes[3] = joyAxes[4];
        joyAxes[4] = third;
    }

    // A button the pad no longer reports (pulled out while held, or another pad
    // with fewer buttons took over) is released, or it would stay held for good.
    for (int i = 0; i < kMaxButtons; ++i) {
        if (i < buttonCount && buttons[i] == 1) {
            OnKeyDown(kJoyButton0 + i);
        } else {
            OnKeyUp(kJoyButton0 + i);
        }
    }
}

void gxtkInput::EndUpdate() {
    for (int key = 0; key < kKeyCount; ++key) {
        // Seen held by this update, so released for the next.
        keyStates[key] = releasedUnseen[key] ? 0 : keyStates[key] & kDownBit;
        releasedUnseen[key] = false;
    }
    charCount = 0;
    charRead = 0;
}

int KeyToChar(int key) {
    switch (key) {
    case 8:
    case 9:
    case 13:
    case 27:
        return key;
    case 46:
        return 127;
    case 45:
        return key + 0x10000;
    default:
        return key >= 33 && key <= 40 ? key + 0x10000 : 0;
    }
}
