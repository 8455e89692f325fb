// Fullscreen on the monitor the window is on, at that monitor's current mode,
// and back to the window's earlier place and size. F11 and Alt+Enter switch;
// the choice is kept in the desktop settings file.
#pragma once

#include "desktop/desktop_settings.h"
#include "host/glfw_platform.h"

#include <optional>
#include <string>

struct GLFWwindow;

class FullscreenSwitch : public KeyFilter {
  public:
    // Shows the window as this run asks (the command line's choice, else the
    // settings file's).
    FullscreenSwitch(GLFWwindow* window, std::optional<bool> forThisRun);

    bool Fullscreen() const;
    // Switches and keeps the new choice for the next run.
    void Toggle();
    // True for the events of the switch's keys, which then never reach the game.
    bool TakeKey(int key, int action, int mods) override;

  private:
    void Enter();
    void Leave();

    GLFWwindow* window_;
    std::string settingsPath_;
    DesktopSettings settings_;
    int windowedX_ = 0, windowedY_ = 0, windowedWidth_ = 640, windowedHeight_ = 640;
};
