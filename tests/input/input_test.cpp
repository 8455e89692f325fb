// Input device: key words and hit counts, quick presses, Shift/Control folding,
// the character queue, mouse as touch 0 and joystick polling.
#include "input/gxtk_input.h"

#include "runtime/headless_platform.h"

#include <gtest/gtest.h>

namespace {

class InputTest : public testing::Test {
  protected:
    HeadlessPlatform platform;
    gxtkInput input;

    void SetUp() override {
        gxtk_platform = &platform;
        bb_input_SetInputDevice(&input);
    }
    void TearDown() override {
        gxtk_platform = nullptr;
        bb_input_SetInputDevice(nullptr);
    }

    // What the host's key callback does with a key event.
    void Key(int code, int action) {
        if (action == gxtkKeyReleased) {
            input.OnKeyUp(code);
        } else if (action == gxtkKeyPressed || action == gxtkKeyRepeated) {
            input.OnKeyDown(code);
            if (int chr = KeyToChar(code)) input.PutChar(chr);
        }
    }

    std::vector<int> DrainChars() {
        std::vector<int> chars;
        while (int chr = input.GetChar()) chars.push_back(chr);
        return chars;
    }
};

TEST_F(InputTest, PressesBetweenUpdatesAreCountedAndClearedAfterTheUpdate) {
    Key(88, gxtkKeyPressed);
    Key(88, gxtkKeyReleased);
    Key(88, gxtkKeyPressed);
    Key(88, gxtkKeyReleased);
    input.BeginUpdate();
    EXPECT_EQ(bb_input_KeyHit(88), 2);
    EXPECT_EQ(bb_input_KeyDown(88), 1) << "held for the update that had not seen it";
    input.EndUpdate();
    EXPECT_EQ(bb_input_KeyHit(88), 0);
    EXPECT_EQ(bb_input_KeyDown(88), 0);

    // A held key stays down across updates but is hit only once.
    Key(88, gxtkKeyPressed);
    input.BeginUpdate();
    EXPECT_EQ(input.KeyHit(88), 1);
    input.EndUpdate();
    input.BeginUpdate();
    EXPECT_EQ(input.KeyDown(88), 1);
    EXPECT_EQ(input.KeyHit(88), 0);
    EXPECT_EQ(input.keyStates[88], 256);
}

TEST_F(InputTest, CodesOutsideTheKeySpaceReadZero) {
    for (int key = 0; key < 512; ++key) input.OnKeyDown(key);
    EXPECT_EQ(input.KeyDown(0), 0);
    EXPECT_EQ(input.KeyHit(0), 0);
    EXPECT_EQ(input.KeyDown(512), 0);
    EXPECT_EQ(input.KeyHit(-1), 0);
    EXPECT_EQ(input.KeyDown(511), 1);
    input.OnKeyDown(512);
    input.OnKeyUp(-5);
    EXPECT_EQ(input.KeyDown(512), 0);
}

TEST_F(InputTest, HitCountSaturatesWithoutTouchingTheDownBit) {
    for (int i = 0; i < 300; ++i) {
        input.OnKeyDown(65);
        input.OnKeyUp(65);
    }
    EXPECT_EQ(input.KeyHit(65), 255);
    EXPECT_EQ(input.KeyDown(65), 0);
}

TEST_F(InputTest, BothShiftKeysFoldIntoOneShift) {
    Key(160, gxtkKeyPressed);
    EXPECT_EQ(input.KeyDown(16), 1);
    Key(161, gxtkKeyPressed);
    EXPECT_EQ(input.KeyDown(16), 1);
    Key(160, gxtkKeyReleased);
    EXPECT_EQ(input.KeyDown(16), 1);
    EXPECT_EQ(input.KeyHit(16), 1);
    EXPECT_EQ(input.KeyDown(160), 0);
    EXPECT_EQ(input.KeyDown(161), 1);
    Key(161, gxtkKeyReleased);
    EXPECT_EQ(input.KeyDown(16), 0);
    EXPECT_EQ(input.KeyHit(16), 1);
    EXPECT_EQ(input.KeyHit(160), 1);
    EXPECT_EQ(input.KeyHit(161), 1);

    Key(163, gxtkKeyPressed);
    Key(162, gxtkKeyPressed);
    Key(163, gxtkKeyReleased);
    EXPECT_EQ(input.KeyDown(17), 1);
    Key(162, gxtkKeyReleased);
    EXPECT_EQ(input.KeyDown(17), 0);
    EXPECT_EQ(input.KeyHit(17), 1);
    EXPECT_EQ(input.KeyDown(16), 0);
}

// A click, tap or key press let go before the next update is seen held by that
// update and released by the one after; its presses are counted once.
TEST_F(InputTest, QuickPressesAreSeenHeldByOneUpdate) {
    struct Case {
        const char* what;
        int code;  // pressed and let go
        int read;  // read back
        int again; // 1: pressed once more before the update, and held
    };
    const Case cases[] = {
        {"left mouse button", 1, 1, 0},
        {"right mouse button", 2, 2, 0},
        {"middle mouse button", 3, 3, 0},
        {"touch 0", 1, 384, 0},
        {"key", 88, 88, 0},
        {"key pressed again", 88, 88, 1},
        {"left Shift as Shift", 160, 16, 0},
        {"right Control as Control", 163, 17, 0},
        {"left Shift pressed again", 160, 16, 1},
    };
    for (const Case& c : cases) {
        gxtkInput device;
        device.OnKeyDown(c.code);
        device.OnKeyUp(c.code);
        if (c.again) device.OnKeyDown(c.code);
        device.BeginUpdate();
        EXPECT_EQ(device.KeyDown(c.read), 1) << c.what;
        EXPECT_EQ(device.KeyHit(c.read), 1 + c.again) << c.what;
        device.EndUpdate();
        device.BeginUpdate();
        EXPECT_EQ(device.KeyDown(c.read), c.again) << c.what << ", next update";
        EXPECT_EQ(device.KeyHit(c.read), 0) << c.what << ", next update";
        device.EndUpdate();
    }

    // Right Shift tapped while left Shift is let go: Shift was held all along.
    Key(160, gxtkKeyPressed);
    input.BeginUpdate();
    input.EndUpdate();
    Key(161, gxtkKeyPressed);
    Key(160, gxtkKeyReleased);
    Key(161, gxtkKeyReleased);
    input.BeginUpdate();
    EXPECT_EQ(input.KeyDown(16), 1);
    EXPECT_EQ(input.KeyHit(16), 0);
    EXPECT_EQ(input.KeyDown(160), 0) << "seen held already";
    EXPECT_EQ(input.KeyDown(161), 1);
    input.EndUpdate();
    input.BeginUpdate();
    EXPECT_EQ(input.KeyDown(16), 0);
    EXPECT_EQ(input.KeyDown(161), 0);
}

TEST_F(InputTest, EditingKeysQueueTheirCharacters) {
    // A held Backspace repeats its character, not its hit.
    Key(8, gxtkKeyPressed);
    Key(8, gxtkKeyRepeated);
    Key(8, gxtkKeyRepeated);
    EXPECT_EQ(input.KeyHit(8), 1);
    EXPECT_EQ(DrainChars(), (std::vector<int>{8, 8, 8}));
    input.EndUpdate();

    // Letters come only from the character callback.
    Key(65, gxtkKeyPressed);
    input.PutChar('a');
    Key(37, gxtkKeyPressed);
    Key(46, gxtkKeyPressed);
    Key(13, gxtkKeyPressed);
    Key(45, gxtkKeyPressed);
    EXPECT_EQ(input.KeyDown(65), 1);
    EXPECT_EQ(DrainChars(), (std::vector<int>{97, 65573, 127, 13, 65536 + 45}));
    EXPECT_EQ(input.GetChar(), 0);
}

TEST_F(InputTest, CharacterQueueHoldsThirtyTwoPerUpdate) {
    for (int i = 0; i < 33; ++i) input.PutChar(1000 + i);
    input.BeginUpdate();
    std::vector<int> chars = DrainChars();
    ASSERT_EQ(chars.size(), 32u);
    EXPECT_EQ(chars.front(), 1000);
    EXPECT_EQ(chars.back(), 1031);
    input.EndUpdate();

    // Unread characters go at the end of the update too.
    input.PutChar('q');
    input.PutChar('r');
    EXPECT_EQ(bb_input_GetChar(), 'q');
    input.EndUpdate();
    EXPECT_EQ(bb_input_GetChar(), 0);
    input.PutChar('s');
    EXPECT_EQ(bb_input_GetChar(), 's');
}

TEST_F(InputTest, MouseIsTouchZero) {
    platform.mouseX = 123;
    platform.mouseY = -7;
    input.OnKeyDown(1);
    input.BeginUpdate();
    EXPECT_EQ(bb_input_MouseX(), 123.0f);
    EXPECT_EQ(bb_input_MouseY(), -7.0f);
    EXPECT_EQ(bb_input_TouchX(5), 123.0f);
    EXPECT_EQ(bb_input_TouchY(0), -7.0f);
    EXPECT_EQ(input.KeyDown(384), 1);
    EXPECT_EQ(input.KeyHit(384), 1);
    EXPECT_EQ(bb_input_TouchDown(0), 1);
    EXPECT_EQ(bb_input_TouchDown(1), 0);
    EXPECT_EQ(bb_input_MouseDown(0), 1);
    EXPECT_EQ(bb_input_MouseHit(0), 1);
    EXPECT_EQ(bb_input_MouseDown(1), 0);
    input.OnKeyUp(1);
    EXPECT_EQ(bb_input_TouchDown(0), 0);
    EXPECT_EQ(input.KeyHit(384), 1);
}

// Fingers beside the first are touches 1 to 9: keys 385 to 393 and a place
// of their own while down; a touch no finger holds reads the mouse.
TEST_F(InputTest, FingersBesideTheMouseAreTouchesOneToNine) {
    platform.mouseX = 10;
    platform.mouseY = 20;
    input.SetTouchPosition(2, 300, 400);
    input.OnKeyDown(384 + 2);
    input.SetTouchPosition(10, 1, 1); // no such touch
    input.BeginUpdate();
    EXPECT_EQ(bb_input_TouchDown(2), 1);
    EXPECT_EQ(bb_input_TouchDown(0), 0);
    EXPECT_EQ(bb_input_TouchX(2), 300.0f);
    EXPECT_EQ(bb_input_TouchY(2), 400.0f);
    EXPECT_EQ(bb_input_TouchX(3), 10.0f);
    EXPECT_EQ(bb_input_TouchY(10), 20.0f);
    input.EndUpdate();
    // A tap let go before the update is seen there, where it was.
    input.SetTouchPosition(2, 301, 401);
    input.OnKeyUp(384 + 2);
    input.SetTouchPosition(9, 50, 60);
    input.OnKeyDown(384 + 9);
    input.OnKeyUp(384 + 9);
    input.BeginUpdate();
    EXPECT_EQ(bb_input_TouchDown(2), 0);
    EXPECT_EQ(bb_input_TouchDown(9), 1);
    EXPECT_EQ(bb_input_TouchX(9), 50.0f);
    input.EndUpdate();
    EXPECT_EQ(bb_input_TouchDown(9), 0);
}

TEST_F(InputTest, FourAndFiveAxisJoysticksPutTheSecondStickInThreeAndFour) {
    platform.axes = {0.1f, 0.2f, 0.3f, 0.4f};
    input.BeginUpdate();
    EXPECT_FLOAT_EQ(bb_input_JoyX(0, 0), 0.1f);
    EXPECT_FLOAT_EQ(bb_input_JoyY(0, 0), 0.2f);
    EXPECT_EQ(input.JoyZ(0), 0.0f);
    EXPECT_FLOAT_EQ(bb_input_JoyX(1, 0), 0.4f);
    EXPECT_FLOAT_EQ(bb_input_JoyY(1, 0), -0.3f);

    platform.axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    input.BeginUpdate();
    EXPECT_FLOAT_EQ(input.JoyZ(0), 0.3f);
    EXPECT_FLOAT_EQ(input.JoyX(1), 0.5f);
    EXPECT_FLOAT_EQ(input.JoyY(1), -0.4f);
    EXPECT_EQ(input.JoyZ(1), 0.0f);
    EXPECT_EQ(bb_input_JoyX(0, 1), 0.0f); // only unit 0 exists
    EXPECT_EQ(input.JoyX(2), 0.0f);

    // Unplugging clears every axis and releases the buttons held.
    platform.buttons = {0, 0, 0, 0, 0, 0, 0, 0, 1};
    input.BeginUpdate();
    EXPECT_EQ(input.KeyDown(256 + 8), 1);
    platform.axes.clear();
    platform.buttons.clear();
    input.BeginUpdate();
    for (float axis : input.joyAxes) EXPECT_EQ(axis, 0.0f);
    EXPECT_EQ(input.KeyDown(256 + 8), 0);
}

TEST_F(InputTest, JoystickButtonsAreKeysFromTwoHundredFiftySix) {
    platform.buttons = {0, 1, 0};
    input.BeginUpdate();
    EXPECT_EQ(bb_input_JoyDown(1, 0), 1);
    EXPECT_EQ(input.KeyHit(257), 1);
    EXPECT_EQ(bb_input_JoyDown(0, 0), 0);
    input.EndUpdate();

    input.BeginUpdate(); // still held: down, no new hit
    EXPECT_EQ(input.KeyDown(257), 1);
    EXPECT_EQ(input.KeyHit(257), 0);
    input.EndUpdate();

    platform.buttons = {1, 0, 0};
    input.BeginUpdate();
    EXPECT_EQ(input.KeyDown(257), 0);
    EXPECT_EQ(input.KeyHit(256), 1);
    EXPECT_EQ(bb_input_JoyDown(16, 0), bb_input_JoyDown(0, 1));
}

TEST_F(InputTest, OversizedJoysticksAreClamped) {
    platform.axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f};
    platform.buttons.assign(40, 1);
    input.BeginUpdate();
    EXPECT_FLOAT_EQ(input.JoyX(1), 0.4f); // six axes: no remap
    EXPECT_FLOAT_EQ(input.JoyZ(1), 0.6f);
    EXPECT_EQ(input.KeyDown(256 + 31), 1);
    EXPECT_EQ(input.KeyDown(256 + 32), 0);
    EXPECT_EQ(input.KeyDown(256 + 39), 0);
}

TEST_F(InputTest, NoDeviceReadsZero) {
    bb_input_SetInputDevice(nullptr);
    EXPECT_EQ(bb_input_KeyDown(65), 0);
    EXPECT_EQ(bb_input_JoyX(0, 0), 0.0f);
    gxtk_platform = nullptr;
    input.OnKeyDown(65);
    input.BeginUpdate(); // nothing to poll
    EXPECT_EQ(input.KeyDown(65), 1);
}

} // namespace
