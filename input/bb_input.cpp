// The bb_input_* functions: the application's view of the current input device.
#include "input/gxtk_input.h"

gxtkInput* bb_input_device = nullptr;

namespace {
constexpr int kJoyButton0 = 256;
constexpr int kJoyUnitStride = 16;
} // namespace

int bb_input_SetInputDevice(gxtkInput* device) {
    bb_input_device = device;
    return 0;
}

int bb_input_EnableKeyboard() {
    return bb_input_device ? bb_input_device->SetKeyboardEnabled(1) : 0;
}
int bb_input_DisableKeyboard() {
    return bb_input_device ? bb_input_device->SetKeyboardEnabled(0) : 0;
}
int bb_input_GetChar() {
    return bb_input_device ? bb_input_device->GetChar() : 0;
}
int bb_input_KeyDown(int key) {
    return bb_input_device ? bb_input_device->KeyDown(key) : 0;
}
int bb_input_KeyHit(int key) {
    return bb_input_device ? bb_input_device->KeyHit(key) : 0;
}
float bb_input_MouseX() {
    return bb_input_device ? bb_input_device->MouseX() : 0;
}
float bb_input_MouseY() {
    return bb_input_device ? bb_input_device->MouseY() : 0;
}
int bb_input_MouseDown(int button) {
    return bb_input_KeyDown(1 + button);
}
int bb_input_MouseHit(int button) {
    return bb_input_KeyHit(1 + button);
}
int bb_input_TouchDown(int index) {
    return bb_input_KeyDown(gxtkInput::kTouch0 + index);
}
float bb_input_TouchX(int index) {
    return bb_input_device ? bb_input_device->TouchX(index) : 0;
}
float bb_input_TouchY(int index) {
    return bb_input_device ? bb_input_device->TouchY(index) : 0;
}

float bb_input_JoyX(int index, int unit) {
    return bb_input_device ? bb_input_device->JoyX(unit * kJoyUnitStride + index) : 0;
}

float bb_input_JoyY(int index, int unit) {
    return bb_input_device ? bb_input_device->JoyY(unit * kJoyUnitStride + index) : 0;
}

int bb_input_JoyDown(int button, int unit) {
    return bb_input_KeyDown(kJoyButton0 + unit * kJoyUnitStride + button);
}

float bb_input_AccelX() {
    return bb_input_device ? bb_input_device->AccelX() : 0;
}
float bb_input_AccelY() {
    return bb_input_device ? bb_input_device->AccelY() : 0;
}
