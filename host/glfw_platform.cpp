// GlfwPlatform: the window-system seam over GLFW 3, the window's state kept
// from its callbacks, and the adapters from GLFW 3's callback signatures to
// the host's static callbacks.
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
    return iconified_;
}

bool GlfwPlatform::WindowActive() {
    return focused_;
}

void GlfwPlatform::WindowSize(int* width, int* height) {
    *width = width_;
    *height = height_;
}

void GlfwPlatform::FramebufferSize(int* width, int* height) {
    *width = framebufferWidth_;
    *height = framebufferHeight_;
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

void WindowRefreshCallback(GLFWwindow*) {
    gxtkApp::OnWindowRefresh();
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

GlfwPlatform::GlfwPlatform(GLFWwindow* window, KeyFilter* keyFilter)
    : window_(window), keyFilter_(keyFilter) {
    glfwSetWindowUserPointer(window_, this);
    glfwGetWindowSize(window_, &width_, &height_);
    glfwGetFramebufferSize(window_, &framebufferWidth_, &framebufferHeight_);
    iconified_ = glfwGetWindowAttrib(window_, GLFW_ICONIFIED) != 0;
    focused_ = glfwGetWindowAttrib(window_, GLFW_FOCUSED) != 0;
    glfwGetCursorPos(window_, &cursorX_, &cursorY_);
    glfwSetWindowSizeCallback(window_, SizeCallback);
    glfwSetFramebufferSizeCallback(window_, FramebufferSizeCallback);
    glfwSetWindowIconifyCallback(window_, IconifyCallback);
    glfwSetWindowFocusCallback(window_, FocusCallback);
    glfwSetCursorPosCallback(window_, CursorCallback);
    glfwSetJoystickCallback(JoystickCallback);
}

namespace {
GlfwPlatform* PlatformOf(GLFWwindow* window) {
    return static_cast<GlfwPlatform*>(glfwGetWindowUserPointer(window));
}
} // namespace

void GlfwPlatform::SizeCallback(GLFWwindow* window, int width, int height) {
    GlfwPlatform* platform = PlatformOf(window);
    platform->width_ = width;
    platform->height_ = height;
    gxtkApp::OnWindowSize(width, height);
}

void GlfwPlatform::FramebufferSizeCallback(GLFWwindow* window, int width, int height) {
    GlfwPlatform* platform = PlatformOf(window);
    platform->framebufferWidth_ = width;
    platform->framebufferHeight_ = height;
}

void GlfwPlatform::IconifyCallback(GLFWwindow* window, int iconified) {
    PlatformOf(window)->iconified_ = iconified == GLFW_TRUE;
}

void GlfwPlatform::FocusCallback(GLFWwindow* window, int focused) {
    PlatformOf(window)->focused_ = focused == GLFW_TRUE;
    gxtkApp::OnWindowFocus(focused == GLFW_TRUE);
}

void GlfwPlatform::CursorCallback(GLFWwindow* window, double x, double y) {
    GlfwPlatform* platform = PlatformOf(window);
    platform->cursorX_ = x;
    platform->cursorY_ = y;
    platform->pointerIsFinger_ = false;
}

// As of the last event poll, which is where the position changes.
void GlfwPlatform::MousePosition(int* x, int* y) {
    *x = TruncateToInt(cursorX_);
    *y = TruncateToInt(cursorY_);
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

// The size and focus callbacks reach the host from the start; they are the
// platform's own, which keeps what they say.
void GlfwPlatform::RegisterCallbacks() {
    glfwSetKeyCallback(window_, KeyCallback);
    glfwSetCharCallback(window_, CharCallback);
    glfwSetWindowRefreshCallback(window_, WindowRefreshCallback);
    glfwSetMouseButtonCallback(window_, MouseButtonCallback);
}
