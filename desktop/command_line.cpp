// The command line as Debian games have it: --help, --version and --verify
// answer without a display, --fullscreen and --windowed choose the window mode
// for this run, --replay opens on a replay, and anything else is a usage error
// with exit status 2.
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
               "  --fullscreen        start in fullscreen for this run\n"
               "  --windowed          start in a window for this run\n"
               "  --replay FILE       open the window on the replay FILE\n"
               "  --verify FILE...    play each replay to its end without a window and say\n"
               "                      whether it still plays the same (exit 0: all ok,\n"
               "                      1: one differs, 2: one cannot be read)\n"
               "  -h, --help          show this help and exit\n"
               "  --version           show the version and exit\n"
               "\n"
               "F11 or Alt+Enter switches between the window and fullscreen; the choice is\n"
               "kept in $XDG_CONFIG_HOME/skitterbat/settings.ini (~/.config/skitterbat/).\n"
               "The game reads ./data/ and keeps its settings, badges and scores in\n"
               "./.cobaltstate in the working folder, and every finished game's replay\n"
               "in ./replays/.\n",
               out);
}

CommandLine Refuse(CommandLine& line, const char* what, const char* argument) {
    if (*argument != '\0')
        std::fprintf(stderr, "skitterbat: %s '%s'\n", what, argument);
    else
        std::fprintf(stderr, "skitterbat: %s\n", what);
    PrintUsage(stderr);
    line.exitStatus = kUsageError;
    return line;
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
        if (std::strcmp(argument, "--verify") == 0) {
            for (++i; i < argc; ++i) line.verify.push_back(argv[i]);
            if (line.verify.empty()) return Refuse(line, "--verify needs at least one FILE", "");
            return line;
        }
        if (std::strcmp(argument, "--replay") == 0) {
            if (i + 1 >= argc) return Refuse(line, "--replay needs a FILE", "");
            line.replay = argv[++i];
            continue;
        }
        if (std::strcmp(argument, "--fullscreen") == 0) {
            line.fullscreen = true;
        } else if (std::strcmp(argument, "--windowed") == 0) {
            line.fullscreen = false;
        } else {
            return Refuse(line, argument[0] == '-' ? "unknown option" : "unexpected argument", argument);
        }
    }
    return line;
}
