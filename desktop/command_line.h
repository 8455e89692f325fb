// The program's command line, read before any window exists: help, version,
// and the window mode for one run.
#pragma once

#include <optional>

struct CommandLine {
    // Set when the run ends at once: 0 after --help or --version, 2 after a
    // bad argument. The text has been printed by then.
    std::optional<int> exitStatus;
    // Set by --fullscreen or --windowed; otherwise the settings file decides.
    std::optional<bool> fullscreen;
};

CommandLine ParseCommandLine(int argc, char** argv);
