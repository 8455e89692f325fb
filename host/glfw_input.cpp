// GLFW 3 key numbers as key codes, and GLFW 3.3's gamepad state as a
// standard pad.
#include "host/glfw_input.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

int TransKey(int glfwKey) {
    if (glfwKey >= GLFW_KEY_0 && glfwKey <= GLFW_KEY_9) return glfwKey;
    if (glfwKey >= GLFW_KEY_A && glfwKey <= GLFW_KEY_Z) return glfwKey;
    if (glfwKey >= GLFW_KEY_F1 && glfwKey <= GLFW_KEY_F12) return 112 + (glfwKey - GLFW_KEY_F1);

    switch (glfwKey) {
    case GLFW_KEY_SPACE:
        return 32;
    case GLFW_KEY_APOSTROPHE:
        return 222;
    case GLFW_KEY_COMMA:
        return 188;
    case GLFW_KEY_MINUS:
        return 189;
    case GLFW_KEY_PERIOD:
        return 190;
    case GLFW_KEY_SLASH:
        return 191;
    case GLFW_KEY_SEMICOLON:
        return 186;
    case GLFW_KEY_EQUAL:
        return 187;
    case GLFW_KEY_LEFT_BRACKET:
        return 219;
    case GLFW_KEY_BACKSLASH:
        return 220;
    case GLFW_KEY_RIGHT_BRACKET:
        return 221;
    case GLFW_KEY_GRAVE_ACCENT:
        return 192;
    case GLFW_KEY_ESCAPE:
        return 27;
    case GLFW_KEY_ENTER:
        return 13;
    case GLFW_KEY_TAB:
        return 9;
    case GLFW_KEY_BACKSPACE:
        return 8;
    case GLFW_KEY_INSERT:
        return 45;
    case GLFW_KEY_DELETE:
        return 46;
    case GLFW_KEY_RIGHT:
        return 39;
    case GLFW_KEY_LEFT:
        return 37;
    case GLFW_KEY_DOWN:
        return 40;
    case GLFW_KEY_UP:
        return 38;
    case GLFW_KEY_PAGE_UP:
        return 33;
    case GLFW_KEY_PAGE_DOWN:
        return 34;
    case GLFW_KEY_HOME:
        return 36;
    case GLFW_KEY_END:
        return 35;
    case GLFW_KEY_LEFT_SHIFT:
        return 160;
    case GLFW_KEY_RIGHT_SHIFT:
        return 161;
    case GLFW_KEY_LEFT_CONTROL:
        return 162;
    case GLFW_KEY_RIGHT_CONTROL:
        return 163;
    default:
        return 0;
    }
}

namespace {

// GLFW 3.3's gamepad numbering, spelled out because the browser's GLFW (3.2)
// has no gamepad layout to name it.
enum GlfwPadButton {
    kPadA,
    kPadB,
    kPadX,
    kPadY,
    kPadLeftBumper,
    kPadRightBumper,
    kPadBack,
    kPadStart,
    kPadGuide,
    kPadLeftThumb,
    kPadRightThumb,
    kPadUp,
    kPadRight,
    kPadDown,
    kPadLeft
};
enum GlfwPadAxis { kPadLeftX, kPadLeftY, kPadRightX, kPadRightY, kPadLeftTrigger, kPadRightTrigger };

#if GLFW_VERSION_MAJOR > 3 || (GLFW_VERSION_MAJOR == 3 && GLFW_VERSION_MINOR >= 3)
static_assert(kPadLeft == GLFW_GAMEPAD_BUTTON_LAST && kPadStart == GLFW_GAMEPAD_BUTTON_START &&
              kPadUp == GLFW_GAMEPAD_BUTTON_DPAD_UP);
static_assert(kPadRightTrigger == GLFW_GAMEPAD_AXIS_LAST &&
              kPadLeftTrigger == GLFW_GAMEPAD_AXIS_LEFT_TRIGGER);
#endif

// GLFW reports a trigger at rest as -1.
float TriggerPull(float axis) {
    return (axis + 1.0f) * 0.5f;
}

} // namespace

StandardPad StandardPadFromGlfw(const unsigned char* buttons, const float* axes) {
    constexpr StandardPadNumbering kGlfw{kPadA,          kPadB,           kPadX,    kPadY,
                                         kPadLeftBumper, kPadRightBumper, kPadBack, kPadStart,
                                         kPadUp,         kPadDown,        kPadLeft, kPadRight};
    StandardPad pad;
    ReadStandardButtons(
        kGlfw, [buttons](int button) { return buttons[button] == GLFW_PRESS; }, &pad);
    pad.leftX = axes[kPadLeftX];
    pad.leftY = axes[kPadLeftY];
    pad.rightX = axes[kPadRightX];
    pad.rightY = axes[kPadRightY];
    pad.leftTrigger = TriggerPull(axes[kPadLeftTrigger]);
    pad.rightTrigger = TriggerPull(axes[kPadRightTrigger]);
    return pad;
}
