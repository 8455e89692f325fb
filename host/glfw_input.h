// GLFW's numbering in the game's terms: GLFW 3 key numbers as key codes, and
// the state of a pad GLFW knows the layout of as a standard pad.
#pragma once

#include "host/standard_pad.h"

// GLFW 3 key to key code (0 when the key has no code).
int TransKey(int glfwKey);

// GLFW 3.3's gamepad state, in its button and axis order: 15 button states
// (1 held) and 6 axes, triggers resting at -1.
StandardPad StandardPadFromGlfw(const unsigned char* buttons, const float* axes);
