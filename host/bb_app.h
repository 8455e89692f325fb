// The application layer: bb_app_App whose callbacks the game overrides, the
// adapter bb_app_AppDevice that forwards the host's callbacks to it, and the
// module functions through which the game reaches the host.
#pragma once

#include "host/gxtk_app.h"
#include "runtime/runtime.h"

class bb_app_App : public Object {
  public:
    bb_app_App* g_new();

    virtual int m_OnCreate() { return 0; }
    virtual int m_OnUpdate() { return 0; }
    virtual int m_OnSuspend() { return 0; }
    virtual int m_OnResume() { return 0; }
    virtual int m_OnRender() { return 0; }
    virtual int m_OnLoading() { return 0; }
    virtual int m_OnFocusLost() { return 0; }
};

class bb_app_AppDevice : public gxtkApp {
  public:
    bb_app_App* m_application = nullptr;

    bb_app_AppDevice* g_new(bb_app_App* application);
    bb_app_AppDevice* g_new2() { return this; }

    int OnCreate() override;
    int OnSuspend() override;
    int OnResume() override;
    int OnUpdate() override;
    int OnRender() override;
    int OnLoading() override;
    int OnFocusLost() override;
};

extern bb_app_AppDevice* bb_app_device;

int bb_app_SetUpdateRate(int hertz);
int bb_app_Millisecs();
String bb_app_LoadState();
int bb_app_SaveState(const String& state);
// False while the data file (a path as the loaders take it) is still on its
// way; a file that is missing for good counts as ready, so its load fails.
bool bb_app_DataReady(const String& path);
// Whether the platform fetches data while the game runs, and its count of
// arrivals (gxtkPlatform::DataArrivesLater, DataArrivals).
bool bb_app_DataArrivesLater();
unsigned bb_app_DataArrivals();
// The extension of the data folder's sound effect files, without the dot.
String bb_app_SoundFileExtension();
// Tells the platform the art level shown and whether data is still awaited.
int bb_app_LateDataShown(int artLevel, bool waiting);

// True while the screen must stay on (a round is being played); the platform
// acts on a change only.
int bb_app_KeepScreenOn(bool on);

// Start-up: framework and game globals, then the game object and its adapter.
int bbInit();
int bbMain();
