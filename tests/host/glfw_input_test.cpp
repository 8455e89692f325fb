// GLFW's key numbers as key codes, and a standard pad's buttons, sticks and
// triggers as the joystick buttons and axes the game's controls read.
#include "host/glfw_input.h"
#include "input/gxtk_input.h"

#include "runtime/headless_platform.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <gtest/gtest.h>

namespace {

TEST(GlfwKeys, TranslateToVirtualKeyCodes) {
    EXPECT_EQ(TransKey(GLFW_KEY_LEFT), 37);
    EXPECT_EQ(TransKey(GLFW_KEY_UP), 38);
    EXPECT_EQ(TransKey(GLFW_KEY_RIGHT), 39);
    EXPECT_EQ(TransKey(GLFW_KEY_DOWN), 40);
    EXPECT_EQ(TransKey(GLFW_KEY_ESCAPE), 27);
    EXPECT_EQ(TransKey(GLFW_KEY_F1), 112);
    EXPECT_EQ(TransKey(GLFW_KEY_F12), 123);
    EXPECT_EQ(TransKey(GLFW_KEY_HOME), 36);
    EXPECT_EQ(TransKey(GLFW_KEY_END), 35);
    EXPECT_EQ(TransKey(GLFW_KEY_GRAVE_ACCENT), 192);
    EXPECT_EQ(TransKey(GLFW_KEY_APOSTROPHE), 222);
    EXPECT_EQ(TransKey(GLFW_KEY_7), 55);
    EXPECT_EQ(TransKey(GLFW_KEY_Q), 81);
    for (int key : {GLFW_KEY_F13, GLFW_KEY_KP_0, GLFW_KEY_KP_ENTER, GLFW_KEY_LEFT_ALT, GLFW_KEY_LEFT_SUPER,
                    GLFW_KEY_UNKNOWN, GLFW_KEY_WORLD_1, int{'a'}, GLFW_KEY_MENU}) {
        EXPECT_EQ(TransKey(key), 0) << key;
    }
}

constexpr float kSticksAtRest[GLFW_GAMEPAD_AXIS_LAST + 1] = {0, 0, 0, 0, -1, -1};

TEST(GamepadTranslation, EachPadButtonHoldsTheGameButtonOfItsControl) {
    struct Case {
        int pad;
        int game; // -1: no game button
    };
    const Case cases[] = {
        {GLFW_GAMEPAD_BUTTON_A, 0},
        {GLFW_GAMEPAD_BUTTON_B, 1},
        {GLFW_GAMEPAD_BUTTON_X, 2},
        {GLFW_GAMEPAD_BUTTON_Y, 3},
        {GLFW_GAMEPAD_BUTTON_START, 7},
        {GLFW_GAMEPAD_BUTTON_BACK, 7},
        {GLFW_GAMEPAD_BUTTON_DPAD_LEFT, 8},
        {GLFW_GAMEPAD_BUTTON_DPAD_UP, 9},
        {GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, 10},
        {GLFW_GAMEPAD_BUTTON_DPAD_DOWN, 11},
        {GLFW_GAMEPAD_BUTTON_GUIDE, -1},
        {GLFW_GAMEPAD_BUTTON_LEFT_THUMB, -1},
        {GLFW_GAMEPAD_BUTTON_RIGHT_THUMB, -1},
    };
    for (const Case& c : cases) {
        unsigned char pad[GLFW_GAMEPAD_BUTTON_LAST + 1] = {};
        pad[c.pad] = GLFW_PRESS;
        float axes[kGamepadAxisCount];
        unsigned char buttons[kGamepadButtonCount];
        StandardPadToJoystick(StandardPadFromGlfw(pad, kSticksAtRest), axes, buttons);
        for (int game = 0; game < kGamepadButtonCount; ++game) {
            EXPECT_EQ(buttons[game], game == c.game ? 1 : 0)
                << "pad button " << c.pad << ", game button " << game;
        }
    }
}

// Through the input device, whose axis remap must leave a pad's six axes alone.
TEST(GamepadTranslation, SticksAndTriggersReachTheGameAsJoystickAxes) {
    HeadlessPlatform platform;
    gxtkInput input;
    gxtk_platform = &platform;

    unsigned char pad[GLFW_GAMEPAD_BUTTON_LAST + 1] = {};
    pad[GLFW_GAMEPAD_BUTTON_START] = GLFW_PRESS;
    float padAxes[GLFW_GAMEPAD_AXIS_LAST + 1] = {};
    padAxes[GLFW_GAMEPAD_AXIS_LEFT_X] = -0.5f;
    padAxes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -0.9f; // pushed up
    padAxes[GLFW_GAMEPAD_AXIS_RIGHT_X] = 0.25f;
    padAxes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = 0.75f;
    padAxes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = -1.0f; // released
    padAxes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 1.0f; // pulled fully

    platform.axes.resize(kGamepadAxisCount);
    platform.buttons.resize(kGamepadButtonCount);
    StandardPadToJoystick(StandardPadFromGlfw(pad, padAxes), platform.axes.data(), platform.buttons.data());
    input.BeginUpdate();
    gxtk_platform = nullptr;

    EXPECT_FLOAT_EQ(input.JoyX(0), -0.5f);
    EXPECT_FLOAT_EQ(input.JoyY(0), -0.9f); // the game's "up" is below -0.4
    EXPECT_FLOAT_EQ(input.JoyZ(0), 0.0f);
    EXPECT_FLOAT_EQ(input.JoyX(1), 0.25f);
    EXPECT_FLOAT_EQ(input.JoyY(1), -0.75f);
    EXPECT_FLOAT_EQ(input.JoyZ(1), 1.0f);
    EXPECT_EQ(input.KeyHit(256 + 7), 1);
    EXPECT_EQ(input.KeyDown(256 + 0), 0);
}

} // namespace
