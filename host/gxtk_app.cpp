// gxtkApp: device ownership, the fixed-rate loop with its catch-up cap,
// suspend and resume with the window, and the state file and text loading.
#include "host/gxtk_app.h"

#include "runtime/datapath.h"
#include "runtime/platform.h"
#include "runtime/state_file.h"

#include <cstdlib>

gxtkApp* app = nullptr;
int (*gxtkApp::runner)() = nullptr;

int RunApp() {
    app->Run();
    return 0;
}

gxtkApp::gxtkApp() {
    app = this;
    ownedGraphics = new gxtkGraphics();
    ownedInput = new gxtkInput();
    ownedAudio = new gxtkAudio();
    updatesPerSecond = 0;
    isSuspended = false;
    runner = RunApp;
}

gxtkApp::~gxtkApp() {
    delete ownedAudio;
    delete ownedInput;
    delete ownedGraphics;
    if (app == this) app = nullptr;
}

String gxtkApp::LoadState() {
    return ReadStateFile(gxtk_platform->StateFilePath());
}

int gxtkApp::SaveState(const String& state) {
    int status = WriteStateFile(gxtk_platform->StateFilePath(), state);
    if (status == 0) gxtk_platform->StateFileSaved();
    return status;
}

String gxtkApp::LoadString(const String& path) {
    FILE* file = fopenFile(path, "rb");
    if (!file) return String();
    std::string bytes = ReadWholeFile(file);
    std::fclose(file);
    return DecodeStateText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

int gxtkApp::SetUpdateRate(int rate) {
    updatesPerSecond = rate;
    if (rate != 0) {
        secondsPerUpdate = 1.0 / rate;
        nextUpdateTime = gxtk_platform->Time() + secondsPerUpdate;
    }
    return 0;
}

int gxtkApp::MilliSecs() {
    return static_cast<int>(gxtk_platform->Time() * 1000.0);
}

namespace {

void RenderStep(gxtkApp* host) {
    gxtkGraphics* graphics = host->ownedGraphics;
    graphics->BeginRender();
    host->OnRender();
    if (graphics->Mode() != 0 && graphics->batchCount > 0) graphics->Flush();
    gxtk_platform->SwapBuffers();
}

void UpdateStep(gxtkApp* host) {
    host->ownedInput->BeginUpdate();
    host->OnUpdate();
    host->ownedInput->EndUpdate();
}

} // namespace

void gxtkApp::InvokeOnCreate() {
    ownedGraphics->windowWidth = 0;
    ownedGraphics->windowHeight = 0;
    gxtk_platform->WindowSize(&ownedGraphics->windowWidth, &ownedGraphics->windowHeight);
    if (ownedGraphics->windowWidth <= 0 || ownedGraphics->windowHeight <= 0) std::abort();
    OnCreate();
}

void gxtkApp::InvokeOnRender() {
    if (isSuspended || !ownedGraphics->Validate()) return;
    RenderStep(this);
}

void gxtkApp::InvokeOnUpdate() {
    if (isSuspended || updatesPerSecond == 0 || !ownedGraphics->Validate()) return;
    UpdateStep(this);
}

// The rate stays as the application set it: being suspended is what stops
// the updates.
void gxtkApp::InvokeOnSuspend() {
    if (isSuspended) return;
    isSuspended = true;
    OnSuspend();
    ownedAudio->OnSuspend();
}

void gxtkApp::InvokeOnResume() {
    if (!isSuspended) return;
    // The first update after a resume comes one full period later.
    if (updatesPerSecond != 0) SetUpdateRate(updatesPerSecond);
    ownedAudio->OnResume();
    OnResume();
    isSuspended = false;
}

void gxtkApp::Run() {
    gxtkPlatform* platform = gxtk_platform;
    BeginRun();
    for (;;) {
        double sleepSeconds = 0;
        LoopWait wait = RunPass(&sleepSeconds);
        if (wait == LoopWait::Ended) break;
        if (wait == LoopWait::Sleep)
            platform->Sleep(sleepSeconds);
        else if (wait == LoopWait::Events)
            platform->WaitEvents();
    }
    // Closing ends the run as iconifying would pause it: the application
    // saves what it has. One already suspended saved when it was.
    InvokeOnSuspend();
}

void gxtkApp::BeginRun() {
    gxtk_platform->RegisterCallbacks();
    InvokeOnCreate();
    if (!isSuspended && ownedGraphics->Validate()) RenderStep(this);
}

gxtkApp::LoopWait gxtkApp::RunPass(double* sleepSeconds) {
    gxtkPlatform* platform = gxtk_platform;
    if (!platform->WindowOpened()) return LoopWait::Ended;
    if (platform->WindowIconified()) {
        if (!isSuspended) {
            InvokeOnSuspend();
            return LoopWait::None;
        }
        return LoopWait::Events;
    }
    if (isSuspended) {
        // Stays suspended until the window is restored and has the focus.
        if (!platform->WindowActive()) return LoopWait::Events;
        InvokeOnResume();
        return LoopWait::None;
    }
    if (updatesPerSecond == 0) {
        if (ownedGraphics->Validate()) RenderStep(this);
        return LoopWait::Events;
    }

    double now = static_cast<float>(platform->Time());
    if (nextUpdateTime > now) {
        *sleepSeconds = nextUpdateTime - now;
        return LoopWait::Sleep;
    }
    platform->PollEvents();
    for (int budget = kMaxUpdatesPerFrame;;) {
        nextUpdateTime += secondsPerUpdate;
        if (!isSuspended && updatesPerSecond != 0 && ownedGraphics->Validate()) UpdateStep(this);
        if (updatesPerSecond == 0 || platform->Time() < nextUpdateTime) break;
        if (--budget == 0) {
            // Too far behind: drop the backlog rather than carry it.
            nextUpdateTime = platform->Time();
            break;
        }
    }
    if (!isSuspended && ownedGraphics->Validate()) RenderStep(this);
    return LoopWait::None;
}
