// A pad with a standard layout (GLFW's gamepad state) read as the joystick the
// game knows: its button numbers and its axis order.
#pragma once

constexpr int kGamepadAxisCount = 6;
constexpr int kGamepadButtonCount = 12;

// padButtons: GLFW_GAMEPAD_BUTTON_LAST + 1 states; padAxes: GLFW_GAMEPAD_AXIS_LAST
// + 1 values. Fills kGamepadAxisCount axes and kGamepadButtonCount button states
// (GLFW_PRESS or GLFW_RELEASE).
void TransGamepad(const unsigned char* padButtons, const float* padAxes, float* axes, unsigned char* buttons);
