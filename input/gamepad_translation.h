// A pad with a standard layout (GLFW's gamepad state) read as the joystick the
// game knows: its button numbers and its axis order.
#pragma once

constexpr int kGamepadAxisCount = 6;
constexpr int kGamepadButtonCount = 12;

// The standard layout's numbering, as GLFW 3.3 gives it. Spelled out here
// because the browser's GLFW (3.2) has no gamepad layout to name them.
enum PadButton {
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
    kPadLeft,
    kPadButtonCount
};
enum PadAxis {
    kPadLeftX,
    kPadLeftY,
    kPadRightX,
    kPadRightY,
    kPadLeftTrigger,
    kPadRightTrigger,
    kPadAxisCount
};

// padButtons: kPadButtonCount states; padAxes: kPadAxisCount values. Fills kGamepadAxisCount axes and
// kGamepadButtonCount button states (GLFW_PRESS or GLFW_RELEASE).
void TransGamepad(const unsigned char* padButtons, const float* padAxes, float* axes, unsigned char* buttons);
