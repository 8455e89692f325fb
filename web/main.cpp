// Browser entry: the canvas's GLFW window and GL context, OpenAL through Web
// Audio, the stored state read back, then the framework's start-up and the
// host loop driven by the browser's animation frames.
#include "host/bb_app.h"
#include "host/guard.h"
#include "host/gxtk_app.h"
#include "web/web_platform.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <GLFW/glfw3.h>
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>

namespace {

WebPlatform* platform = nullptr;
bool started = false;
int argumentCount = 0;
char** arguments = nullptr;

void Say(const char* line) {
    std::puts(line);
    std::fflush(stdout);
}

// The game's first update must see the stored state, so nothing starts
// before IndexedDB has answered.
void Frame() {
    if (!started) {
        if (!platform->StateLoaded()) return;
        started = true;
        RunGuarded([] {
            bb_std_main(argumentCount, arguments);
            app->BeginRun();
        });
        return;
    }
    platform->RunFrame(app);
}

} // namespace

int main(int count, char** argv) {
    argumentCount = count;
    arguments = argv;
    if (!glfwInit()) {
        Say("glfwInit failed");
        std::exit(-1);
    }
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    // GLFW names the page after its window: the tab, the history and a phone's
    // task switcher say what the manifest and the icon say.
    GLFWwindow* window = glfwCreateWindow(640, 640, "Skitterbat", nullptr, nullptr);
    if (!window) {
        Say("glfwOpenWindow failed");
        glfwTerminate();
        std::exit(-1);
    }
    glfwMakeContextCurrent(window);
    glfwSetWindowTitle(window, "Skitterbat");

    // Without sound the game still runs; the failures are only reported.
    if (ALCdevice* device = alcOpenDevice(nullptr)) {
        ALCcontext* context = alcCreateContext(device, nullptr);
        if (!context)
            Say("alcCreateContext failed");
        else if (!alcMakeContextCurrent(context))
            Say("alcMakeContextCurrent failed");
    } else {
        Say("alcOpenDevice failed");
    }

    // Lives as long as the page: the browser keeps calling Frame.
    platform = new WebPlatform(window);
    gxtk_platform = platform;
    platform->FollowPageSize();
    platform->WatchTouches();
    platform->WatchReducedMotion();
    platform->ResumeSoundOnGesture();
    platform->BeginStateLoad();
    emscripten_set_main_loop(Frame, 0, false);
    return 0;
}
