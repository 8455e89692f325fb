// Process entry: the command line, GLFW window and GL context, OpenAL device
// and context, the framework's start-up, the host loop inside the guarded
// region, clean-up.
#include "host/command_line.h"
#include "host/fullscreen.h"
#include "host/glfw_platform.h"
#include "host/guard.h"
#include "host/gxtk_app.h"
#include "host/bb_app.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <malloc.h>

int bb_std_main(int count, char** arguments) {
    ::argc = count;
    ::argv = arguments;
    InstallSignalHandlers();
    bbInit();
    bbMain();
    return 0;
}

namespace {

void Say(const char* line) {
    std::puts(line);
    std::fflush(stdout);
}

} // namespace

int main(int count, char** arguments) {
    CommandLine options = ParseCommandLine(count, arguments);
    if (options.exitStatus) return *options.exitStatus;
    // Every resize decodes all art and sound again into large, short-lived
    // buffers. glibc's sliding mmap threshold would move them onto the heap,
    // whose freed middle it cannot give back: the resident size then wanders
    // upwards by tens of megabytes. A fixed threshold keeps them in mappings
    // of their own, returned whole on free.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    if (!glfwInit()) {
        Say("glfwInit failed");
        std::exit(-1);
    }
    int desktopWidth = 0, desktopHeight = 0;
    DesktopSize(&desktopWidth, &desktopHeight);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    GLFWwindow* window = glfwCreateWindow(640, 640, "Cobalt Game", nullptr, nullptr);
    if (!window) {
        Say("glfwOpenWindow failed");
        glfwTerminate();
        std::exit(-1);
    }
    glfwMakeContextCurrent(window);
    glfwSetWindowPos(window, (desktopWidth - 640) / 2, (desktopHeight - 640) / 2);
    glfwSetWindowTitle(window, "Cobalt Game");

    // Without sound the game still runs; the failures are only reported.
    ALCcontext* context = nullptr;
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        Say("alcOpenDevice failed");
    } else {
        context = alcCreateContext(device, nullptr);
        if (!context)
            Say("alcCreateContext failed");
        else if (!alcMakeContextCurrent(context))
            Say("alcMakeContextCurrent failed");
    }

    FullscreenSwitch fullscreen(window, options.fullscreen);
    GlfwPlatform platform(window, &fullscreen);
    gxtk_platform = &platform;

    int status = RunGuarded([&] {
        bb_std_main(count, arguments);
        if (runner) runner();
    });

    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device) alcCloseDevice(device);
    glfwTerminate();
    gxtk_platform = nullptr;
    return status;
}
