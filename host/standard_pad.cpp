// Standard pad to the game's joystick: face buttons 0 to 3 (launch is 0),
// Start and Back both 7 (back, pause), the d-pad on 8 left, 9 up, 10 right,
// 11 down; left stick on axes 0/1, right stick on 3/4, triggers on 2/5.
#include "host/standard_pad.h"

void StandardPadToJoystick(const StandardPad& pad, float* axes, unsigned char* buttons) {
    auto state = [](bool down) -> unsigned char { return down ? 1 : 0; };
    buttons[0] = state(pad.a);
    buttons[1] = state(pad.b);
    buttons[2] = state(pad.x);
    buttons[3] = state(pad.y);
    buttons[4] = state(pad.leftBumper);
    buttons[5] = state(pad.rightBumper);
    buttons[6] = 0;
    // Pads put pause on Start and "back" on Back/Select; the game has one button for both.
    buttons[7] = state(pad.start || pad.back);
    buttons[8] = state(pad.left);
    buttons[9] = state(pad.up);
    buttons[10] = state(pad.right);
    buttons[11] = state(pad.down);

    // Six axes, so the input device keeps this order as it is.
    axes[0] = pad.leftX;
    axes[1] = pad.leftY;
    axes[2] = pad.leftTrigger;
    axes[3] = pad.rightX;
    axes[4] = pad.rightY;
    axes[5] = pad.rightTrigger;
}
