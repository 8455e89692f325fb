// The signal handler and the guarded region of the entry point.
#include "host/guard.h"

#include "host/gxtk_app.h"
#include "runtime/runtime.h"

#include <csignal>

void sighandle(int sig) {
    const char* text = "Unknown signal";
    switch (sig) {
    case SIGILL:
        text = "Illegal instruction";
        break;
    case SIGFPE:
        text = "Floating point exception";
        break;
    case SIGSEGV:
        text = "Memory access violation";
        break;
    default:
        break;
    }
    dbg_error(text);
}

void InstallSignalHandlers() {
    std::signal(SIGSEGV, sighandle);
    std::signal(SIGILL, sighandle);
    std::signal(SIGFPE, sighandle);
}

int RunGuarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const ThrowableObject*) {
        Print("Cobalt Runtime Error : Uncaught Cobalt Exception");
        return -1;
    } catch (const ThrowableObject&) {
        Print("Cobalt Runtime Error : Uncaught Cobalt Exception");
        return -1;
    } catch (const char*) {
        // Thrown text ends the program quietly, as a request to quit.
    }
    return 0;
}
