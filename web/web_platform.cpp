// WebPlatform: the page's visibility, size and sound gesture, the frame
// driver of the host loop, and the state file's folder in IndexedDB.
#include "web/web_platform.h"

#include "host/gxtk_app.h"
#include "web/canvas_size.h"
#include "web/data_packages.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>

namespace {

// IDBFS keeps every file of its folder, so the folder holds the state alone.
constexpr char kStateFolder[] = "/state";
constexpr char kStatePath[] = "/state/.cobaltstate";

// Suspend, resume and a render are each one pass; more means a fault, not work.
constexpr int kMaxPassesPerFrame = 8;

// clang-format off
EM_JS(void, web_begin_state_load, (const char* folder), {
    var path = UTF8ToString(folder);
    Module.stateLoaded = false;
    Module.stateKept = false;
    FS.mkdir(path);
    var unkept = function(why) {
        console.warn("Scores will not be kept: this browser gives the page no storage (" + why + ").");
        Module.stateLoaded = true;
    };
    var storage = null;
    try { storage = window.indexedDB; } catch (e) {}
    if (!storage) return unkept("no IndexedDB");
    // Without it a browser may clear the scores of a site not visited for a while.
    if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(function() {});
    // One write at a time; a save during a write is written when it ends.
    Module.persistState = function() {
        if (!Module.stateKept) return;
        if (Module.statePersisting) {
            Module.statePersistAgain = true;
            return;
        }
        Module.statePersisting = true;
        FS.syncfs(false, function done(error) {
            if (error) {
                Module.statePersisting = false;
                Module.stateKept = false;
                console.warn("Scores will not be kept: storing them failed (" + (error.message || error) + ").");
            } else if (Module.statePersistAgain) {
                Module.statePersistAgain = false;
                FS.syncfs(false, done);
            } else {
                Module.statePersisting = false;
            }
        });
    };
    // Hiding is the last moment a page can count on; a closing tab may not finish.
    document.addEventListener("visibilitychange", function() {
        if (document.visibilityState === "hidden") Module.persistState();
    });
    window.addEventListener("pagehide", function() { Module.persistState(); });
    FS.mount(IDBFS, {}, path);
    FS.syncfs(true, function(error) {
        if (error) return unkept(error.message || String(error));
        Module.stateKept = true;
        Module.stateLoaded = true;
    });
});

EM_JS(int, web_state_loaded, (), {
    return Module.stateLoaded ? 1 : 0;
});

// Every save goes to IndexedDB at once.
EM_JS(void, web_persist_state, (), {
    if (Module.persistState) Module.persistState();
});

EM_JS(int, web_page_hidden, (), {
    return document.hidden ? 1 : 0;
});

// Browsers start audio only from a gesture; keep trying until it runs.
EM_JS(void, web_resume_sound_on_gesture, (), {
    var resume = function() {
        var context = AL.currentCtx && AL.currentCtx.audioCtx;
        if (context && context.state == "suspended") context.resume();
    };
    ["keydown", "mousedown", "touchend", "pointerup"].forEach(function(type) {
        window.addEventListener(type, resume, true);
    });
});

// For the worker, which keeps the build once the game waits for nothing, and
// for the tests and the benchmark: the art level shown and since when.
EM_JS(void, web_late_data_shown, (int level, int waiting), {
    Module.lateDataWaiting = waiting != 0;
    if (!Module.artLevels) Module.artLevels = [];
    var last = Module.artLevels[Module.artLevels.length - 1];
    if (!last || last[0] != level) Module.artLevels.push([level, performance.now()]);
});

EM_JS(void, web_watch_visibility, (), {
    document.addEventListener("visibilitychange", function() {
        Module._web_visibility_changed(document.hidden ? 1 : 0);
    });
});
// clang-format on

// The one platform of the page, for the page's callbacks into the program.
WebPlatform* pagePlatform = nullptr;

} // namespace

// A hidden page gets no animation frames, so the change runs the loop itself.
extern "C" EMSCRIPTEN_KEEPALIVE void web_visibility_changed(int hidden) {
    if (!pagePlatform) return;
    pagePlatform->SetHidden(hidden != 0);
    if (app) pagePlatform->RunFrame(app);
}

// For the benchmark, which reports updates a second from the page.
extern "C" EMSCRIPTEN_KEEPALIVE double web_update_count() {
    return pagePlatform ? static_cast<double>(pagePlatform->UpdateCount()) : 0.0;
}

WebPlatform::WebPlatform(GLFWwindow* window) : GlfwPlatform(window), hidden_(web_page_hidden() != 0) {
    pagePlatform = this;
    web_watch_visibility();
    WebPackagesBegin();
}

void WebPlatform::BeginStateLoad() {
    web_begin_state_load(kStateFolder);
}

bool WebPlatform::StateLoaded() {
    return web_state_loaded() != 0;
}

void WebPlatform::FollowPageSize() {
    FollowCanvasSize();
}

void WebPlatform::ResumeSoundOnGesture() {
    web_resume_sound_on_gesture();
}

void WebPlatform::RunFrame(gxtkApp* host) {
    presented_ = false;
    for (int pass = 0; pass < kMaxPassesPerFrame && !presented_; ++pass) {
        double sleepSeconds = 0;
        if (host->RunPass(&sleepSeconds) != gxtkApp::LoopWait::None) break;
    }
}

// The browser's thread must never block: the next animation frame is the sleep.
void WebPlatform::Sleep(double) {}

void WebPlatform::WaitEvents() {}

bool WebPlatform::WindowIconified() {
    return hidden_;
}

// A shown page counts as restored and active; an unfocused one keeps running.
bool WebPlatform::WindowActive() {
    return !hidden_;
}

void WebPlatform::SwapBuffers() {
    GlfwPlatform::SwapBuffers();
    presented_ = true;
}

void WebPlatform::MousePosition(int* x, int* y) {
    ++updates_;
    GlfwPlatform::MousePosition(x, y);
}

const char* WebPlatform::StateFilePath() {
    return kStatePath;
}

void WebPlatform::StateFileSaved() {
    web_persist_state();
}

bool WebPlatform::DataFileReady(const char* name) {
    return WebDataFileReady(name);
}

unsigned WebPlatform::DataArrivals() {
    return WebDataArrivals();
}

void WebPlatform::LateDataShown(int artLevel, bool waiting) {
    web_late_data_shown(artLevel, waiting ? 1 : 0);
}
