// Pads in the browser: one the browser maps as "standard" (its W3C layout of
// the common pads) reads as the desktop's standard pad does, through the same
// layout; any other pad is GLFW's, read by its raw button numbers as before.
#include "web/web_platform.h"

#include "host/standard_pad.h"

#include <emscripten/html5.h>

#include <cstring>

namespace {

// The standard mapping's buttons.
enum W3cButton {
    kA,
    kB,
    kX,
    kY,
    kLeftBumper,
    kRightBumper,
    kLeftTrigger,
    kRightTrigger,
    kBack,
    kStart,
    kLeftStick,
    kRightStick,
    kUp,
    kDown,
    kLeft,
    kRight,
    kW3cButtons
};

EmscriptenGamepadEvent pad;

} // namespace

// The first pad present is the one read, as on the desktop and as GLFW counts them.
bool WebPlatform::ReadStandardPad() {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return false;
    const int count = emscripten_get_num_gamepads();
    for (int i = 0; i < count; ++i) {
        if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) continue;
        if (std::strcmp(pad.mapping, "standard") != 0 || pad.numButtons < kW3cButtons || pad.numAxes < 4)
            return false;
        constexpr StandardPadNumbering kW3c{kA,    kB,     kX,  kY,    kLeftBumper, kRightBumper,
                                            kBack, kStart, kUp, kDown, kLeft,       kRight};
        StandardPad standard;
        ReadStandardButtons(
            kW3c, [](int button) { return pad.digitalButton[button] != 0; }, &standard);
        standard.leftX = static_cast<float>(pad.axis[0]);
        standard.leftY = static_cast<float>(pad.axis[1]);
        standard.rightX = static_cast<float>(pad.axis[2]);
        standard.rightY = static_cast<float>(pad.axis[3]);
        // The standard layout's triggers are buttons with a pull from 0 to 1.
        standard.leftTrigger = static_cast<float>(pad.analogButton[kLeftTrigger]);
        standard.rightTrigger = static_cast<float>(pad.analogButton[kRightTrigger]);
        StandardPadToJoystick(standard, standardAxes_, standardButtons_);
        return true;
    }
    return false;
}

const float* WebPlatform::JoystickAxes(int* count) {
    if (!ReadStandardPad()) return GlfwPlatform::JoystickAxes(count);
    *count = kGamepadAxisCount;
    return standardAxes_;
}

const unsigned char* WebPlatform::JoystickButtons(int* count) {
    if (!ReadStandardPad()) return GlfwPlatform::JoystickButtons(count);
    *count = kGamepadButtonCount;
    return standardButtons_;
}
