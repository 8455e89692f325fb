// gxtkApp: the host application. Owns the three devices, runs the fixed-rate
// loop and suspends and resumes the application with its window.
#pragma once

#include "audio/gxtk_audio.h"
#include "graphics/gxtk_graphics.h"
#include "runtime/runtime.h"
#include "input/gxtk_input.h"

class gxtkApp : public gxtkObject {
  public:
    static constexpr int kMaxUpdatesPerFrame = 7;

    gxtkGraphics* ownedGraphics = nullptr;
    gxtkInput* ownedInput = nullptr;
    gxtkAudio* ownedAudio = nullptr;
    int updatesPerSecond = 0;
    double nextUpdateTime = 0;
    double secondsPerUpdate = 0;
    bool isSuspended = false;

    gxtkApp();
    ~gxtkApp() override;

    virtual gxtkGraphics* GraphicsDevice() { return ownedGraphics; }
    virtual gxtkInput* InputDevice() { return ownedInput; }
    virtual gxtkAudio* AudioDevice() { return ownedAudio; }
    virtual String AppTitle() { return String("Cobalt Game"); }
    virtual String LoadState();
    virtual int SaveState(const String& state);
    virtual String LoadString(const String& path);
    virtual int SetUpdateRate(int rate);
    virtual int MilliSecs();
    virtual int Loading() { return 0; }
    virtual int OnCreate() { return 0; }
    virtual int OnSuspend() { return 0; }
    virtual int OnResume() { return 0; }
    virtual int OnUpdate() { return 0; }
    virtual int OnRender() { return 0; }
    virtual int OnLoading() { return 0; }
    // The window lost the keyboard focus but still shows; the loop runs on.
    virtual int OnFocusLost() { return 0; }

    // What a pass of the loop asks of the platform before the next pass.
    enum class LoopWait { None, Sleep, Events, Ended };

    // Blocks until the window closes: BeginRun, then passes, sleeping and
    // waiting through the platform as they ask.
    void Run();
    // Registers the callbacks, creates the application and renders once.
    void BeginRun();
    // One pass of the loop. A browser calls this from its frame callback and
    // returns to the browser instead of sleeping or waiting.
    LoopWait RunPass(double* sleepSeconds);
    void InvokeOnCreate();
    void InvokeOnUpdate();
    void InvokeOnRender();
    void InvokeOnSuspend();
    void InvokeOnResume();

    // Window-system callbacks; the platform hands over key codes and the
    // actions and buttons of its seam.
    static void OnKey(int code, int action);
    static void OnChar(int chr, int action);
    static void OnMouseButton(int button, int action);
    // A finger besides the first (which the platform gives as the mouse):
    // touch 1 to 9, down or lifted, at window pixels.
    static void OnTouch(int index, bool down, float x, float y);
    static void OnWindowSize(int width, int height);
    static void OnWindowRefresh();
    static void OnWindowFocus(bool focused);

    // What the entry point runs after start-up: RunApp once the host exists.
    static int (*runner)();
};

extern gxtkApp* app;

int RunApp();
int bb_std_main(int argc, char** argv);
void sighandle(int sig);
