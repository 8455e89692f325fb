// FullscreenSwitch: which monitor the window is on, the switch both ways over
// GLFW, its keys, and keeping the choice.
#include "desktop/fullscreen.h"

#include <GLFW/glfw3.h>

#include <algorithm>

namespace {

// The monitor holding most of the window; the primary one when it is on none.
GLFWmonitor* MonitorUnder(GLFWwindow* window) {
    int x, y, width, height;
    glfwGetWindowPos(window, &x, &y);
    glfwGetWindowSize(window, &width, &height);
    int count = 0;
    GLFWmonitor** monitors = glfwGetMonitors(&count);
    GLFWmonitor* best = glfwGetPrimaryMonitor();
    long bestArea = 0;
    for (int i = 0; i < count; ++i) {
        const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
        if (!mode) continue;
        int mx, my;
        glfwGetMonitorPos(monitors[i], &mx, &my);
        long overlapW = std::min(x + width, mx + mode->width) - std::max(x, mx);
        long overlapH = std::min(y + height, my + mode->height) - std::max(y, my);
        if (overlapW > 0 && overlapH > 0 && overlapW * overlapH > bestArea) {
            bestArea = overlapW * overlapH;
            best = monitors[i];
        }
    }
    return best;
}

} // namespace

FullscreenSwitch::FullscreenSwitch(GLFWwindow* window, std::optional<bool> forThisRun)
    : window_(window), settingsPath_(DesktopSettingsPath()), settings_(LoadDesktopSettings(settingsPath_)) {
    // Without a mode switch there is nothing to hand back when another window
    // takes the focus, and a player on a second monitor still sees the game.
    glfwSetWindowAttrib(window_, GLFW_AUTO_ICONIFY, GLFW_FALSE);
    if (forThisRun.value_or(settings_.fullscreen)) Enter();
}

bool FullscreenSwitch::Fullscreen() const {
    return glfwGetWindowMonitor(window_) != nullptr;
}

void FullscreenSwitch::Enter() {
    if (Fullscreen()) return;
    GLFWmonitor* monitor = MonitorUnder(window_);
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (!mode) return;
    glfwGetWindowPos(window_, &windowedX_, &windowedY_);
    glfwGetWindowSize(window_, &windowedWidth_, &windowedHeight_);
    glfwSetWindowMonitor(window_, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

void FullscreenSwitch::Leave() {
    if (!Fullscreen()) return;
    glfwSetWindowMonitor(window_, nullptr, windowedX_, windowedY_, windowedWidth_, windowedHeight_,
                         GLFW_DONT_CARE);
}

void FullscreenSwitch::Toggle() {
    if (Fullscreen())
        Leave();
    else
        Enter();
    settings_.fullscreen = Fullscreen();
    SaveDesktopSettings(settingsPath_, settings_);
}

bool FullscreenSwitch::TakeKey(int key, int action, int mods) {
    if (key == GLFW_KEY_F11) {
        if (action == GLFW_PRESS) Toggle();
        return true;
    }
    // A release of Enter still reaches the game, so a key it saw go down never sticks.
    bool enter = key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER;
    if (enter && (mods & GLFW_MOD_ALT) != 0 && action != GLFW_RELEASE) {
        if (action == GLFW_PRESS) Toggle();
        return true;
    }
    return false;
}
