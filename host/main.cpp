// Process entry: GLFW window and GL context, OpenAL device and context, the
// framework's start-up, the host loop inside the guarded region, clean-up.
#include "host/allocator.h"
#include "host/glfw_platform.h"
#include "host/guard.h"
#include "host/gxtk_app.h"
#include "host/bb_app.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

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
    ConfigureAllocator();
    if (!glfwInit()) {
        Say("glfwInit failed");
        std::exit(-1);
    }
    int desktopWidth = 640, desktopHeight = 640;
    if (const GLFWvidmode* desktop = glfwGetVideoMode(glfwGetPrimaryMonitor())) {
        desktopWidth = desktop->width;
        desktopHeight = desktop->height;
    }
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

    GlfwPlatform platform(window);
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
