// Process entry: the command line, GLFW window and GL context, OpenAL device
// and context, the framework's start-up, the host loop inside the guarded
// region, clean-up.
#include "desktop/allocator.h"
#include "desktop/command_line.h"
#include "desktop/fullscreen.h"
#include "host/glfw_platform.h"
#include "host/guard.h"
#include "host/gxtk_app.h"
#include "desktop/sound_start.h"
#include "host/bb_app.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_store.h"
#include "game/replay/replay_verify.h"
#include "game/replay/replays.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

namespace {

void Say(const char* line) {
    std::puts(line);
    std::fflush(stdout);
}

} // namespace

int main(int count, char** arguments) {
    CommandLine options = ParseCommandLine(count, arguments);
    if (options.exitStatus) return *options.exitStatus;
    if (!options.verify.empty()) return VerifyReplayFiles(options.verify, stdout);
    if (options.replay) {
        // A file that cannot be played is refused before any window opens.
        std::vector<uint8_t> bytes;
        Replay replay;
        if (!ReadCappedFile(*options.replay, &bytes)) {
            std::fprintf(stderr, "%s: cannot be read\n", options.replay->c_str());
            return 2;
        }
        const ReplayReadResult read = ReadReplay(bytes.data(), bytes.size(), &replay);
        if (!read.ok()) {
            std::fprintf(stderr, "%s: %s\n", options.replay->c_str(), read.why.c_str());
            return 2;
        }
        replays::WatchWhenReady(std::move(bytes), *options.replay);
    }
    ConfigureAllocator();
    if (!glfwInit()) {
        Say("glfwInit failed");
        std::exit(-1);
    }
    // The sound device opens while the window is made; its outcome is
    // reported below, where it always was.
    SoundStart sound;
    sound.Begin();
    int desktopWidth = 0, desktopHeight = 0;
    DesktopSize(&desktopWidth, &desktopHeight);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    // Without a class of its own the window is classed by its title, which a
    // dock cannot match to the desktop entry.
    glfwWindowHintString(GLFW_X11_CLASS_NAME, "skitterbat");
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "skitterbat");
    GLFWwindow* window = glfwCreateWindow(640, 640, "Cobalt Game", nullptr, nullptr);
    if (!window) {
        sound.Close();
        Say("glfwOpenWindow failed");
        glfwTerminate();
        std::exit(-1);
    }
    glfwMakeContextCurrent(window);
    glfwSetWindowPos(window, (desktopWidth - 640) / 2, (desktopHeight - 640) / 2);
    glfwSetWindowTitle(window, "Cobalt Game");

    // Without sound the game still runs; the failures are only reported.
    if (const char* failure = sound.Finish()) Say(failure);

    FullscreenSwitch fullscreen(window, options.fullscreen);
    GlfwPlatform platform(window, &fullscreen);
    gxtk_platform = &platform;

    int status = RunGuarded([&] {
        bb_std_main(count, arguments);
        if (gxtkApp::runner) gxtkApp::runner();
    });

    sound.Close();
    glfwTerminate();
    gxtk_platform = nullptr;
    return status;
}
