// GameHarness: the real game object on the framework's real devices, driven
// update by update without the host loop. Input goes in as the window system
// would deliver it; the game's fields and draw list are open for inspection.
//
// Two ways to run it:
//  - Fast (default, no X server needed): no window and no GL context; the
//    data folder holds no art, so the loader runs its 44 real steps quickly
//    with every image missing. Afterwards ImageSizes, FontImage, Mode and the
//    virtual screen are exactly as after real loading; only Images (and, with
//    an empty data folder, Sounds) stay null. Render() performs only the
//    non-drawing half of a render (size check and virtual-screen fit).
//  - Window (options.window = true, run under xvfb-run): a real GLFW window
//    with a current GL context; art and sounds load through the real loader
//    from the build's data folder, and Render() is the host's render step, so
//    PixelAt() reads what was drawn.
//
// Sound always goes through a real OpenAL Soft device (the null backend unless
// ALSOFT_DRIVERS says otherwise). Each harness works in its own temporary
// folder (the state file lands there) with "data" linked to the chosen folder.
//
// A game at the start of play with a given seed and difficulty:
//     GameHarness h;                 // menu, loading done
//     h.StartGame(2, 1234);          // Mode 10, round 1 set up, nothing played yet
//     h.Update(60);                  // one second of play
#pragma once

#include "game/skitterbat.h"
#include "runtime/headless_platform.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct GLFWwindow;

struct HarnessOptions {
    int width = 640;
    int height = 480;
    // A real window and GL context (needs an X server); art loads for real.
    bool window = false;
    // Data folder linked as ./data: empty = the build's data folder with a
    // window and none without. Without a window it must hold no images.
    std::string dataDir;
    // Run the loader to its end before the constructor returns.
    bool finishLoading = true;
    // As a page on a slow link: data that arrives while the game runs, and
    // the files still on their way when the game starts.
    bool dataArrivesLater = false;
    std::set<std::string> pendingData;
};

// One draw-list record, decoded.
struct DrawRecord {
    float kind = 0; // image number, DrawKindRect or DrawKindOval
    float x = 0, y = 0;
    float rot = 0;
    float w = 0, h = 0; // scale for images, size for rectangles, radii for ovals
    float frame = 0;
    float alpha = 0;
    float red = 0, green = 0, blue = 0;
    float blend = 0;

    bool IsRect() const { return kind == DrawKindRect; }
    bool IsOval() const { return kind == DrawKindOval; }
    bool IsImage(int image) const { return kind == static_cast<float>(image); }
};

// A run of glyphs drawn by one m_Text line; gaps of whole advances are spaces.
struct TextRun {
    std::string text;
    float x = 0, y = 0; // centre of the first glyph
    float size = 1;     // horizontal pen scale of the glyphs
    float red = 0, green = 0, blue = 0, alpha = 0;
    int firstRecord = 0;
};

class GameHarness {
  public:
    explicit GameHarness(const HarnessOptions& options = HarnessOptions());
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    bb_Skitterbat_MyApp& game;
    HeadlessPlatform platform;

    bb_app_AppDevice& Device() { return *device_; }
    gxtkInput& Input() { return *device_->InputDevice(); }
    gxtkGraphics& Graphics() { return *device_->GraphicsDevice(); }
    gxtkAudio& Audio() { return *device_->AudioDevice(); }
    // The temporary working folder (holds "data" and the state file).
    const std::string& Dir() const { return dir_; }
    bool HasWindow() const { return window_ != nullptr; }

    // Host steps.
    void Update(int count = 1);          // BeginUpdate, m_OnUpdate, EndUpdate, as the host does
    void Render();                       // one render step (see the top of this file)
    void Frames(int count = 1);          // count times: one update, then one render
    void FinishLoading(int limit = 200); // updates (and renders) until the loader is done
    void Suspend();                      // the host's suspend, as on iconify
    void Resume();                       // the host's resume, as on restore
    // Sets the window size; the next Render() notices it (and restarts the loader).
    void Resize(int width, int height);

    // Starts a game at its first frame: seed and difficulty set, Mode 11 run once.
    void StartGame(int difficulty, int seed = 1234);
    // Steady play's input for one update: the pointer follows the lowest
    // falling ball or pod, and a held ball is launched.
    void SteerAutopilot();

    // Input, as the window system delivers it (key codes of the input device).
    void KeyDown(int key);
    void KeyUp(int key);
    // Holds the key for `updates` updates, then releases it (seen from the next update).
    void PressKey(int key, int updates = 1);
    void Type(const std::string& text); // queues characters, read by the next update
    void TypeChar(int chr);
    void MouseTo(int x, int y);         // window pixels
    void MouseToGame(float x, float y); // game units, through the current scale
    void MouseButton(bool down);        // left button, also touch 0
    // Clicks at a point in game units: move, press for one update, release.
    void Tap(float x, float y);
    void JoystickAxes(std::vector<float> axes) { platform.axes = std::move(axes); }
    void JoystickButtons(std::vector<unsigned char> buttons) { platform.buttons = std::move(buttons); }

    // Draw list of the last update.
    std::vector<DrawRecord> Records() const;
    std::vector<DrawRecord> RecordsOfImage(int image) const;
    std::vector<TextRun> Texts() const;
    bool HasText(const std::string& part) const;
    std::string AllText() const; // every run, one per line

    // Window mode: the colour 0xAARRGGBB at a window pixel of the last render.
    uint32_t PixelAt(int x, int y);

    // The build's data folder.
    static std::string BuildDataDir();

  private:
    bb_app_AppDevice* device_ = nullptr;
    GLFWwindow* window_ = nullptr;
    void* alDevice_ = nullptr;
    void* alContext_ = nullptr;
    std::string dir_;
    std::string previousDir_;

    static bb_Skitterbat_MyApp& MakeGame();
    void OpenWindow(int width, int height);
    void OpenSound();
};
