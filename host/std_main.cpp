// The framework's start-up, shared by the desktop and browser entries:
// arguments, signal handlers, globals, then the game's main.
#include "host/bb_app.h"
#include "host/guard.h"
#include "host/gxtk_app.h"

namespace {
// The command line as the framework was started with it; nothing reads it yet.
int argc = 0;
char** argv = nullptr;
} // namespace

int bb_std_main(int count, char** arguments) {
    argc = count;
    argv = arguments;
    InstallSignalHandlers();
    bbInit();
    bbMain();
    return 0;
}
