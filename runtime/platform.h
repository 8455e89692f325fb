// The narrow seam between the framework and the window system. The host loop,
// the renderer and the input device reach GLFW only through this interface, so
// their logic runs in tests against a scripted clock and window.
#pragma once

#include <cstddef>

// What a key or button event says, as the host's callbacks take it.
enum gxtkKeyAction { gxtkKeyReleased = 0, gxtkKeyPressed = 1, gxtkKeyRepeated = 2 };
// The mouse buttons the host's callbacks know.
enum gxtkMouseButton { gxtkMouseLeft = 0, gxtkMouseRight = 1, gxtkMouseMiddle = 2 };

class gxtkPlatform {
  public:
    virtual ~gxtkPlatform() = default;

    virtual double Time() = 0;              // seconds since the clock started
    virtual void Sleep(double seconds) = 0; // never processes events
    virtual void PollEvents() = 0;
    virtual void WaitEvents() = 0;
    virtual bool WindowOpened() = 0;
    virtual bool WindowIconified() = 0;
    virtual bool WindowActive() = 0;
    virtual void WindowSize(int* width, int* height) = 0;      // window units
    virtual void FramebufferSize(int* width, int* height) = 0; // pixels, for glViewport
    virtual void SwapBuffers() = 0;
    virtual void MousePosition(int* x, int* y) = 0;
    // Null and a count of 0 when no joystick is present; a button reads 1 while held.
    virtual const float* JoystickAxes(int* count) = 0;
    virtual const unsigned char* JoystickButtons(int* count) = 0;
    // Routes the window's key, character, mouse-button, size and refresh events
    // to the host's callbacks, keys already as key codes and buttons and actions
    // as above; a platform without a window has none to route.
    virtual void RegisterCallbacks() {}
    // Where the state file lives, and a word after each save: a platform whose
    // files vanish with the page keeps the file elsewhere and persists it.
    virtual const char* StateFilePath() { return ".cobaltstate"; }
    virtual void StateFileSaved() {}
    // Whether a file of the data folder (named relative to it) can be read
    // now. A platform that fetches its data in parts starts fetching the part
    // that holds the file and says no until it is in place.
    virtual bool DataFileReady(const char* /*name*/) { return true; }
    // A platform that fetches part of its data while the game runs (a page
    // on a slow link) says true: the game then starts on the smallest art,
    // which such a platform has at hand, and takes its sound effects and the
    // art its window needs up as they arrive instead of waiting for them.
    virtual bool DataArrivesLater() { return false; }
    // Counts the parts of the data that have arrived or been given up, so
    // the game looks at its files again only when something came.
    virtual unsigned DataArrivals() { return 0; }
    // What the data folder's sound effects are: the desktop's WAV files, or
    // a format that downloads in fewer bytes.
    virtual const char* SoundFileExtension() { return "wav"; }
    // Told whenever it changes: the art level the game shows and whether it
    // still waits for data that arrives while it runs. A page keeps its files
    // for offline play only once the game waits for nothing, so as not to
    // share the link with the game's own downloads.
    virtual void LateDataShown(int /*artLevel*/, bool /*waiting*/) {}
    // Whether a round is being played, told at every update: a platform
    // whose screen dims and locks without touches keeps it on meanwhile.
    virtual void KeepScreenOn(bool /*on*/) {}
    // Whether the player asked the system for less motion (a browser's
    // prefers-reduced-motion); kept current by the platform, cheap to ask.
    virtual bool PrefersReducedMotion() { return false; }
    // Whether the player can be handed a file to keep, as a browser's
    // download: a desktop's files are in the player's folder already.
    virtual bool OffersDownloads() { return false; }
    virtual void OfferDownload(const char* /*name*/, const unsigned char* /*bytes*/, size_t /*size*/) {}
    // Whether the pointer (the mouse's left button, touch 0) last moved or
    // went down under a finger on a touch screen rather than a mouse.
    virtual bool PointerIsFinger() { return false; }
};

// The platform the process runs on; set by the entry point or by a test harness.
extern gxtkPlatform* gxtk_platform;
