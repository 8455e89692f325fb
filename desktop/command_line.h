// The program's command line, read before any window exists: help, version,
// the window mode for one run, and replays to watch or verify.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    // Set when the run ends at once: 0 after --help or --version, 2 after a
    // bad argument. The text has been printed by then.
    std::optional<int> exitStatus;
    // Set by --fullscreen or --windowed; otherwise the settings file decides.
    std::optional<bool> fullscreen;
    // --replay FILE: the game opens on that replay.
    std::optional<std::string> replay;
    // --verify FILE...: the files to verify, with no window at all.
    std::vector<std::string> verify;
};

CommandLine ParseCommandLine(int argc, char** argv);
