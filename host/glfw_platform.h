// The platform of the real program: one GLFW 3 window with its GL context,
// the GLFW clock and the first joystick present, read through GLFW's standard
// gamepad layout where GLFW knows the pad. The window's sizes, state and
// cursor are asked once and then kept from GLFW's callbacks, so a frame asks
// the window system nothing beyond polling its events.
#pragma once

#include "runtime/platform.h"
#include "host/standard_pad.h"

struct GLFWwindow;

// Sees each key event before the game does; true keeps it from the game.
class KeyFilter {
  public:
    virtual ~KeyFilter() = default;
    virtual bool TakeKey(int key, int action, int mods) = 0;
};

// The primary monitor's current size, or 640 x 640 when GLFW knows no
// monitor or no mode for it (a desktop without outputs, or none at all).
void DesktopSize(int* width, int* height);

class GlfwPlatform : public gxtkPlatform {
  public:
    // The filter, when given, takes its keys before the game sees them.
    explicit GlfwPlatform(GLFWwindow* window, KeyFilter* keyFilter = nullptr);

    double Time() override;
    void Sleep(double seconds) override;
    void PollEvents() override;
    void WaitEvents() override;
    bool WindowOpened() override;
    bool WindowIconified() override;
    bool WindowActive() override;
    void WindowSize(int* width, int* height) override;
    void FramebufferSize(int* width, int* height) override;
    void SwapBuffers() override;
    void MousePosition(int* x, int* y) override;
    const float* JoystickAxes(int* count) override;
    const unsigned char* JoystickButtons(int* count) override;
    void RegisterCallbacks() override;
    bool PointerIsFinger() override { return pointerIsFinger_; }

    GLFWwindow* Window() const { return window_; }
    KeyFilter* Keys() const { return keyFilter_; }

  protected:
    // For a platform whose pointer moves by other means than GLFW's (a finger).
    void SetCursor(double x, double y) {
        cursorX_ = x;
        cursorY_ = y;
        pointerIsFinger_ = true;
    }

  private:
    int Joystick();
    static void SizeCallback(GLFWwindow* window, int width, int height);
    static void FramebufferSizeCallback(GLFWwindow* window, int width, int height);
    static void IconifyCallback(GLFWwindow* window, int iconified);
    static void FocusCallback(GLFWwindow* window, int focused);
    static void CursorCallback(GLFWwindow* window, double x, double y);

    GLFWwindow* window_;
    KeyFilter* keyFilter_;
    int width_ = 0, height_ = 0;
    int framebufferWidth_ = 0, framebufferHeight_ = 0;
    bool iconified_ = false;
    bool focused_ = false;
    double cursorX_ = 0, cursorY_ = 0;
    // A finger moved the pointer last (SetCursor), not GLFW's mouse.
    bool pointerIsFinger_ = false;
    int joystick_ = -1;               // GLFW joystick id read, -1 for none
    unsigned joystickEventsSeen_ = 0; // connection events already acted on
    bool joystickChosen_ = false;
    float padAxes_[kGamepadAxisCount] = {};
    unsigned char padButtons_[kGamepadButtonCount] = {};
};
