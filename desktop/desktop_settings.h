// The desktop settings file: how the program's window is shown, kept apart
// from the game's state file in $XDG_CONFIG_HOME/skitterbat/settings.ini.
#pragma once

#include <string>
#include <string_view>

struct DesktopSettings {
    bool fullscreen = false;
};

// Reads the file's text. A damaged text gives false and the reason, naming
// the line; keys and sections this version does not know are skipped.
bool ParseDesktopSettings(std::string_view text, DesktopSettings* settings, std::string* reason);

std::string FormatDesktopSettings(const DesktopSettings& settings);

// $XDG_CONFIG_HOME/skitterbat/settings.ini, or ~/.config/... when that is
// unset or relative; empty when there is no home folder to put it in.
std::string DesktopSettingsPath();

// A missing file gives the defaults silently; a damaged or unreadable one the
// defaults and one line on standard error.
DesktopSettings LoadDesktopSettings(const std::string& path);

// Creates the folder when needed and replaces the file whole with
// WriteFileAtomically. On failure says so in one line on standard error and
// returns false.
bool SaveDesktopSettings(const std::string& path, const DesktopSettings& settings);
