// A pad with the standard layout (four face buttons, two bumpers, Back and
// Start, a d-pad, two sticks and two triggers), whichever platform reports
// it, read as the joystick the game knows: its button numbers and axis order.
#pragma once

constexpr int kGamepadAxisCount = 6;
constexpr int kGamepadButtonCount = 12;

struct StandardPad {
    bool a = false, b = false, x = false, y = false;
    bool leftBumper = false, rightBumper = false;
    bool back = false, start = false;
    bool up = false, down = false, left = false, right = false;
    float leftX = 0, leftY = 0, rightX = 0, rightY = 0; // -1..1, y grows downwards
    float leftTrigger = 0, rightTrigger = 0;            // 0 released .. 1 pulled fully
};

// Where a platform's layout puts each standard button.
struct StandardPadNumbering {
    int a, b, x, y, leftBumper, rightBumper, back, start, up, down, left, right;
};

// The pad's buttons, `held(n)` telling whether the platform's button n is down.
template <class Held> void ReadStandardButtons(const StandardPadNumbering& n, Held held, StandardPad* pad) {
    pad->a = held(n.a);
    pad->b = held(n.b);
    pad->x = held(n.x);
    pad->y = held(n.y);
    pad->leftBumper = held(n.leftBumper);
    pad->rightBumper = held(n.rightBumper);
    pad->back = held(n.back);
    pad->start = held(n.start);
    pad->up = held(n.up);
    pad->down = held(n.down);
    pad->left = held(n.left);
    pad->right = held(n.right);
}

// Fills kGamepadAxisCount axes and kGamepadButtonCount button states (1 held,
// 0 not, as a joystick's buttons reach the input device).
void StandardPadToJoystick(const StandardPad& pad, float* axes, unsigned char* buttons);
