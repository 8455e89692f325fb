// Standard pad layout to the game's joystick: face buttons 0 to 3 (launch is
// 0), Start and Back both 7 (back, pause), the d-pad on 8 left, 9 up, 10 right,
// 11 down; left stick on axes 0/1, right stick on 3/4, triggers as 0..1 on 2/5.
#include "input/gamepad_translation.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {

// GLFW reports a trigger at rest as -1; the game's Z axes rest at 0.
float TriggerToZ(float trigger) {
    return (trigger + 1.0f) * 0.5f;
}

} // namespace

void TransGamepad(const unsigned char* padButtons, const float* padAxes, float* axes,
                  unsigned char* buttons) {
    auto held = [padButtons](int button) { return padButtons[button] == GLFW_PRESS; };
    auto state = [](bool down) -> unsigned char { return down ? GLFW_PRESS : GLFW_RELEASE; };

    buttons[0] = state(held(kPadA));
    buttons[1] = state(held(kPadB));
    buttons[2] = state(held(kPadX));
    buttons[3] = state(held(kPadY));
    buttons[4] = state(held(kPadLeftBumper));
    buttons[5] = state(held(kPadRightBumper));
    buttons[6] = GLFW_RELEASE;
    // Pads put pause on Start and "back" on Back/Select; the game has one button for both.
    buttons[7] = state(held(kPadStart) || held(kPadBack));
    buttons[8] = state(held(kPadLeft));
    buttons[9] = state(held(kPadUp));
    buttons[10] = state(held(kPadRight));
    buttons[11] = state(held(kPadDown));

    // Six axes, so the input device keeps this order as it is.
    axes[0] = padAxes[kPadLeftX];
    axes[1] = padAxes[kPadLeftY];
    axes[2] = TriggerToZ(padAxes[kPadLeftTrigger]);
    axes[3] = padAxes[kPadRightX];
    axes[4] = padAxes[kPadRightY];
    axes[5] = TriggerToZ(padAxes[kPadRightTrigger]);
}
