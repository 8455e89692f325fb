// The command line as Debian games have it: --help and --version answer
// without a display, --fullscreen and --windowed choose the window mode for
// this run, and anything else is a usage error with exit status 2.
#include "desktop/command_line.h"

#include <cstdio>
#include <cstring>

#ifndef SKITTERBAT_VERSION
#error "the build names the version"
#endif

namespace {

constexpr int kUsageError = 2;

void PrintUsage(FILE* out) {
    std::fputs("Usage: skitterbat [OPTION]...\n"
               "Steer the paddle, keep the balls in play and break up the centipedes.\n"
               "\n"
               "  --fullscreen  start in fullscreen for this run\n"
               "  --windowed    start in a window for this run\n"
               "  -h, --help    show this help and exit\n"
               "  --version     show the version and exit\n"
               "\n"
               "F11 or Alt+Enter switches between the window and fullscreen; the choice is\n"
               "kept in $XDG_CONFIG_HOME/skitterbat/settings.ini (~/.config/skitterbat/).\n"
               "The game reads ./data/ and keeps its settings, badges and scores in\n"
               "./.cobaltstate in the working folder.\n",
               out);
}

} // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            PrintUsage(stdout);
            std::fflush(stdout);
            line.exitStatus = 0;
            return line;
        }
        if (std::strcmp(argument, "--version") == 0) {
            std::printf("skitterbat %s\n", SKITTERBAT_VERSION);
            std::fflush(stdout);
            line.exitStatus = 0;
            return line;
        }
        if (std::strcmp(argument, "--fullscreen") == 0) {
            line.fullscreen = true;
        } else if (std::strcmp(argument, "--windowed") == 0) {
            line.fullscreen = false;
        } else {
            const char* what = argument[0] == '-' ? "unknown option" : "unexpected argument";
            std::fprintf(stderr, "skitterbat: %s '%s'\n", what, argument);
            PrintUsage(stderr);
            line.exitStatus = kUsageError;
            return line;
        }
    }
    return line;
}
