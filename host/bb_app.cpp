// The application layer: the adapter between the host and the game, and the
// module functions the game reaches the host through.
#include "host/bb_app.h"

#include "audio/gxtk_audio.h"
#include "graphics/image.h"
#include "runtime/datapath.h"
#include "runtime/platform.h"
#include "input/gxtk_input.h"

bb_app_AppDevice* bb_app_device = nullptr;

bb_app_App* bb_app_App::g_new() {
    // The adapter is the host object and lives as long as the process.
    bb_app_device = (new bb_app_AppDevice())->g_new(this);
    return this;
}

bb_app_AppDevice* bb_app_AppDevice::g_new(bb_app_App* application) {
    m_application = application;
    bb_graphics_device = GraphicsDevice();
    bb_input_device = InputDevice();
    bb_audio_device = AudioDevice();
    return this;
}

int bb_app_AppDevice::OnCreate() {
    bb_graphics_SetFont(nullptr, 32);
    return m_application->m_OnCreate();
}

int bb_app_AppDevice::OnSuspend() {
    return m_application->m_OnSuspend();
}

int bb_app_AppDevice::OnResume() {
    return m_application->m_OnResume();
}

int bb_app_AppDevice::OnUpdate() {
    return m_application->m_OnUpdate();
}

int bb_app_AppDevice::OnRender() {
    if (bb_graphics_device->Mode() != 0) bb_graphics_BeginRender();
    int result = m_application->m_OnRender();
    bb_graphics_renderDevice = nullptr;
    return result;
}

int bb_app_AppDevice::OnLoading() {
    if (bb_graphics_device->Mode() != 0) bb_graphics_BeginRender();
    int result = m_application->m_OnLoading();
    bb_graphics_renderDevice = nullptr;
    return result;
}

int bb_app_AppDevice::OnFocusLost() {
    return m_application->m_OnFocusLost();
}

int bb_app_SetUpdateRate(int hertz) {
    bb_app_device->SetUpdateRate(hertz);
    return 0;
}

int bb_app_Millisecs() {
    return bb_app_device->MilliSecs();
}

String bb_app_LoadState() {
    return bb_app_device->LoadState();
}

int bb_app_SaveState(const String& state) {
    return bb_app_device->SaveState(state);
}

int bb_app_KeepScreenOn(bool on) {
    if (gxtk_platform) gxtk_platform->KeepScreenOn(on);
    return 0;
}

bool bb_app_DataReady(const String& path) {
    static const String dataScheme("cobalt://data/");
    const String fixed = bb_data_FixDataPath(path);
    if (!gxtk_platform || !fixed.StartsWith(dataScheme)) return true;
    return gxtk_platform->DataFileReady(fixed.Slice(dataScheme.Length()).ToCString().c_str());
}

bool bb_app_DataArrivesLater() {
    return gxtk_platform && gxtk_platform->DataArrivesLater();
}

unsigned bb_app_DataArrivals() {
    return gxtk_platform ? gxtk_platform->DataArrivals() : 0;
}

String bb_app_SoundFileExtension() {
    return String(gxtk_platform ? gxtk_platform->SoundFileExtension() : "wav");
}

int bb_app_LateDataShown(int artLevel, bool waiting) {
    if (gxtk_platform) gxtk_platform->LateDataShown(artLevel, waiting);
    return 0;
}
