// GlfwPlatform: the window-system seam over GLFW 3, and the adapters from
// GLFW 3's callback signatures to the host's static callbacks.
#include "host/glfw_platform.h"

#include "host/glfw_input.h"
#include "host/gxtk_app.h"

#include <GLFW/glfw3.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <thread>

void DesktopSize(int* width, int* height) {
    *width = 640;
    *height = 640;
    // GLFW aborts on a null monitor instead of reporting an error.
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (!monitor) return;
    if (const GLFWvidmode* mode = glfwGetVideoMode(monitor)) {
        *width = mode->width;
        *height = mode->height;
    }
}

double GlfwPlatform::Time() {
    return glfwGetTime();
}

// A plain sleep: events wait for the next poll.
void GlfwPlatform::Sleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void GlfwPlatform::PollEvents() {
    glfwPollEvents();
}

void GlfwPlatform::WaitEvents() {
    glfwWaitEvents();
}

bool GlfwPlatform::WindowOpened() {
    return !glfwWindowShouldClose(window_);
}

bool GlfwPlatform::WindowIconified() {
    return glfwGetWindowAttrib(window_, GLFW_ICONIFIED) != 0;
}

bool GlfwPlatform::WindowActive() {
    return glfwGetWindowAttrib(window_, GLFW_FOCUSED) != 0;
}

void GlfwPlatform::WindowSize(int* width, int* height) {
    glfwGetWindowSize(window_, width, height);
}

void GlfwPlatform::FramebufferSize(int* width, int* height) {
    glfwGetFramebufferSize(window_, width, height);
}

void GlfwPlatform::SwapBuffers() {
    glfwSwapBuffers(window_);
}

namespace {

// Toward zero, as the integer mouse position always was; far-off values saturate.
int TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

int ActionOf(int glfwAction) {
    switch (glfwAction) {
    case GLFW_RELEASE:
        return gxtkKeyReleased;
    case GLFW_PRESS:
        return gxtkKeyPressed;
    case GLFW_REPEAT:
        return gxtkKeyRepeated;
    default:
        return -1;
    }
}

void KeyCallback(GLFWwindow* window, int key, int, int action, int mods) {
    auto* platform = static_cast<GlfwPlatform*>(glfwGetWindowUserPointer(window));
    KeyFilter* filter = platform ? platform->Keys() : nullptr;
    if (filter && filter->TakeKey(key, action, mods)) return;
    gxtkApp::OnKey(TransKey(key), ActionOf(action));
}

void CharCallback(GLFWwindow*, unsigned int codepoint) {
    gxtkApp::OnChar(static_cast<int>(codepoint), gxtkKeyPressed);
}

void MouseButtonCallback(GLFWwindow*, int button, int action, int) {
    int ours = button == GLFW_MOUSE_BUTTON_LEFT     ? gxtkMouseLeft
               : button == GLFW_MOUSE_BUTTON_RIGHT  ? gxtkMouseRight
               : button == GLFW_MOUSE_BUTTON_MIDDLE ? gxtkMouseMiddle
                                                    : -1;
    gxtkApp::OnMouseButton(ours, ActionOf(action));
}

void WindowSizeCallback(GLFWwindow*, int width, int height) {
    gxtkApp::OnWindowSize(width, height);
}

void WindowRefreshCallback(GLFWwindow*) {
    gxtkApp::OnWindowRefresh();
}

void WindowFocusCallback(GLFWwindow*, int focused) {
    gxtkApp::OnWindowFocus(focused == GLFW_TRUE);
}

// Pads plugged in or out are reported while events are polled.
unsigned joystickEvents = 0;

void JoystickCallback(int, int) {
    ++joystickEvents;
}

// A pad GLFW has a mapping for, read in the game's joystick layout. GLFW 3.2
// (the browser's) knows no mappings: every pad there reads raw.
bool ReadStandardPad(int jid, float* axes, unsigned char* buttons) {
#if GLFW_VERSION_MAJOR > 3 || (GLFW_VERSION_MAJOR == 3 && GLFW_VERSION_MINOR >= 3)
    GLFWgamepadstate pad;
    if (!glfwJoystickIsGamepad(jid) || !glfwGetGamepadState(jid, &pad)) return false;
    StandardPadToJoystick(StandardPadFromGlfw(pad.buttons, pad.axes), axes, buttons);
    return true;
#else
    (void)jid, (void)axes, (void)buttons;
    return false;
#endif
}

int FirstPresentJoystick() {
    for (int jid = GLFW_JOYSTICK_1; jid <= GLFW_JOYSTICK_LAST; ++jid) {
        if (glfwJoystickPresent(jid)) return jid;
    }
    return -1;
}

} // namespace

void GlfwPlatform::MousePosition(int* x, int* y) {
    double mx = 0, my = 0;
    glfwGetCursorPos(window_, &mx, &my);
    *x = TruncateToInt(mx);
    *y = TruncateToInt(my);
}

// The first pad present is read, whatever slot it got: a pad plugged in after
// start or after another was pulled out takes over without a restart. The
// slots are searched again only after a connection event.
int GlfwPlatform::Joystick() {
    bool gone = joystick_ >= 0 && !glfwJoystickPresent(joystick_);
    if (!joystickChosen_ || gone || joystickEventsSeen_ != joystickEvents) {
        joystickEventsSeen_ = joystickEvents;
        joystickChosen_ = true;
        joystick_ = FirstPresentJoystick();
    }
    return joystick_;
}

const float* GlfwPlatform::JoystickAxes(int* count) {
    *count = 0;
    int jid = Joystick();
    if (jid < 0) return nullptr;
    if (ReadStandardPad(jid, padAxes_, padButtons_)) {
        *count = kGamepadAxisCount;
        return padAxes_;
    }
    const float* axes = glfwGetJoystickAxes(jid, count);
    if (!axes) *count = 0;
    return axes;
}

const unsigned char* GlfwPlatform::JoystickButtons(int* count) {
    *count = 0;
    int jid = Joystick();
    if (jid < 0) return nullptr;
    if (ReadStandardPad(jid, padAxes_, padButtons_)) {
        *count = kGamepadButtonCount;
        return padButtons_;
    }
    const unsigned char* buttons = glfwGetJoystickButtons(jid, count);
    if (!buttons) *count = 0;
    return buttons;
}

void GlfwPlatform::RegisterCallbacks() {
    glfwSetWindowUserPointer(window_, this);
    glfwSetKeyCallback(window_, KeyCallback);
    glfwSetCharCallback(window_, CharCallback);
    glfwSetWindowSizeCallback(window_, WindowSizeCallback);
    glfwSetWindowRefreshCallback(window_, WindowRefreshCallback);
    glfwSetMouseButtonCallback(window_, MouseButtonCallback);
    glfwSetWindowFocusCallback(window_, WindowFocusCallback);
    glfwSetJoystickCallback(JoystickCallback);
}
