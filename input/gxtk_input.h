// gxtkInput: the one place where keyboard, character, mouse, touch and
// joystick events become input state, in one key-code space 0..511; and the
// bb_input_* functions.
#pragma once

#include "runtime/runtime.h"

class gxtkInput : public gxtkObject {
  public:
    static constexpr int kKeyCount = 512;
    static constexpr int kCharQueueSize = 32;
    static constexpr int kTouch0 = 384;
    // Touch 0 is the mouse's left button at the mouse's place; touches 1 to 9
    // are fingers a touch screen reports besides it, as keys 385 to 393.
    static constexpr int kTouchCount = 10;

    int keyStates[kKeyCount] = {};
    int charQueue[kCharQueueSize] = {};
    int charCount = 0;
    int charRead = 0;
    float mouseX = 0;
    float mouseY = 0;
    float joyAxes[6] = {};
    float touchX[kTouchCount] = {};
    float touchY[kTouchCount] = {};
    // Keys pressed and let go again before any update saw them: the next
    // update sees them held, so a quick click, tap or key press is not lost.
    bool releasedUnseen[kKeyCount] = {};

    virtual int SetKeyboardEnabled(int enabled);
    virtual int KeyDown(int key);
    virtual int KeyHit(int key);
    virtual int GetChar();
    virtual float MouseX() { return mouseX; }
    virtual float MouseY() { return mouseY; }
    virtual float JoyX(int index);
    virtual float JoyY(int index);
    virtual float JoyZ(int index);
    virtual float TouchX(int index);
    virtual float TouchY(int index);
    virtual float AccelX() { return 0; }
    virtual float AccelY() { return 0; }
    virtual float AccelZ() { return 0; }

    void OnKeyDown(int key);
    void OnKeyUp(int key);
    // Where touch `index` (1 to 9) is, in window pixels; others are ignored.
    void SetTouchPosition(int index, float x, float y);
    void PutChar(int chr);
    void BeginUpdate(); // polls mouse and joystick through the platform seam
    void EndUpdate();
};

// Key code to the character it queues when pressed (0 for none).
int KeyToChar(int key);

extern gxtkInput* bb_input_device;

int bb_input_SetInputDevice(gxtkInput* device);
int bb_input_EnableKeyboard();
int bb_input_DisableKeyboard();
int bb_input_GetChar();
int bb_input_KeyDown(int key);
int bb_input_KeyHit(int key);
float bb_input_MouseX();
float bb_input_MouseY();
int bb_input_MouseDown(int button);
int bb_input_MouseHit(int button);
int bb_input_TouchDown(int index);
float bb_input_TouchX(int index);
float bb_input_TouchY(int index);
float bb_input_JoyX(int index, int unit);
float bb_input_JoyY(int index, int unit);
int bb_input_JoyDown(int button, int unit);
float bb_input_AccelX();
float bb_input_AccelY();
