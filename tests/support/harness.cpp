// The game harness: sets up the framework's devices around the real game
// object and steps it as the host loop would.
#include "harness.h"

#include "audio/gxtk_audio.h"
#include "graphics/gxtk_graphics.h"
#include "graphics/image.h"
#include "host/bb_app.h"
#include "runtime/random.h"
#include "input/gxtk_input.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

#ifndef SKITTERBAT_DATA_DIR
#define SKITTERBAT_DATA_DIR "data"
#endif

namespace fs = std::filesystem;

namespace {
std::string MakeTempDir() {
    std::string pattern = (fs::temp_directory_path() / "skitterbat-game-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}
} // namespace

std::string GameHarness::BuildDataDir() {
    return SKITTERBAT_DATA_DIR;
}

bb_Skitterbat_MyApp& GameHarness::MakeGame() {
    return *new bb_Skitterbat_MyApp();
}

GameHarness::GameHarness(const HarnessOptions& options) : game(MakeGame()) {
    previousDir_ = fs::current_path().string();
    dir_ = MakeTempDir();
    std::string data = options.dataDir;
    if (data.empty() && options.window) data = BuildDataDir();
    if (!data.empty()) fs::create_directory_symlink(fs::absolute(data), fs::path(dir_) / "data");
    fs::current_path(dir_);

    platform.width = options.width;
    platform.height = options.height;
    platform.dataArrivesLater = options.dataArrivesLater;
    platform.pendingData = options.pendingData;
    gxtk_platform = &platform;
    if (options.window) OpenWindow(options.width, options.height);
    OpenSound();

    // What bb_std_main does: framework and game globals, then the game and its adapter.
    bbInit();
    game.g_new();
    device_ = bb_app_device;
    device_->InvokeOnCreate();
    Render();
    if (options.finishLoading) FinishLoading();
}

GameHarness::~GameHarness() {
    gxtkAudio& audio = Audio();
    for (int channel = 0; channel < gxtkAudio::kChannelCount; ++channel) audio.StopChannel(channel);
    // Images and sounds go with the game, while their GL and AL contexts still exist.
    delete &game;
    FlushDiscarded(&audio);
    delete bb_graphics_context;
    bb_graphics_context = nullptr;
    delete device_;
    bb_app_device = nullptr;
    bb_graphics_device = nullptr;
    bb_input_device = nullptr;
    bb_audio_device = nullptr;
    gxtk_platform = nullptr;

    alcMakeContextCurrent(nullptr);
    if (alContext_ != nullptr) alcDestroyContext(static_cast<ALCcontext*>(alContext_));
    if (alDevice_ != nullptr) alcCloseDevice(static_cast<ALCdevice*>(alDevice_));
    if (window_ != nullptr) {
        glfwDestroyWindow(window_);
        glfwTerminate();
    }
    std::error_code ignored;
    fs::current_path(previousDir_, ignored);
    fs::remove_all(dir_, ignored);
}

void GameHarness::OpenWindow(int width, int height) {
    if (!glfwInit()) {
        const char* reason = nullptr;
        glfwGetError(&reason);
        throw std::runtime_error(std::string("glfwInit failed (") + (reason ? reason : "no reason given") +
                                 "; no X server? run under xvfb-run)");
    }
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_TRUE);
    window_ = glfwCreateWindow(width, height, "Cobalt Game", nullptr, nullptr);
    if (window_ == nullptr) {
        glfwTerminate();
        throw std::runtime_error("glfwCreateWindow failed");
    }
    glfwMakeContextCurrent(window_);
    // A real host presents every frame. Without at least a flush, llvmpipe keeps
    // every texture a pending frame drew alive, deleted or not, and a run of
    // reloads looks like a leak. A flush keeps the back buffer for PixelAt.
    platform.onSwap = [] { glFlush(); };
}

void GameHarness::OpenSound() {
    setenv("ALSOFT_DRIVERS", "null", 0);
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr) return;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (context == nullptr || !alcMakeContextCurrent(context)) {
        if (context != nullptr) alcDestroyContext(context);
        alcCloseDevice(device);
        return;
    }
    alDevice_ = device;
    alContext_ = context;
}

void GameHarness::Update(int count) {
    for (int i = 0; i < count; ++i) device_->InvokeOnUpdate();
}

void GameHarness::Render() {
    if (window_ != nullptr) {
        device_->InvokeOnRender();
        return;
    }
    gxtkGraphics& graphics = Graphics();
    if (device_->isSuspended || !graphics.Validate()) return;
    game.FitVirtualScreen(graphics.Width(), graphics.Height());
}

void GameHarness::Frames(int count) {
    for (int i = 0; i < count; ++i) {
        Update();
        Render();
    }
}

void GameHarness::FinishLoading(int limit) {
    for (int i = 0; i < limit && game.LoaderStage > 0; ++i) Frames();
    if (game.LoaderStage > 0) throw std::runtime_error("the loader did not finish");
}

void GameHarness::Suspend() {
    device_->InvokeOnSuspend();
}
void GameHarness::Resume() {
    device_->InvokeOnResume();
}

void GameHarness::Resize(int width, int height) {
    platform.width = width;
    platform.height = height;
    if (window_ == nullptr) return;
    glfwSetWindowSize(window_, width, height);
    // The X server applies the size asynchronously; wait (bounded) for the framebuffer.
    for (int i = 0; i < 200; ++i) {
        glfwPollEvents();
        int w = 0, h = 0;
        glfwGetFramebufferSize(window_, &w, &h);
        if (w == width && h == height) return;
        glfwWaitEventsTimeout(0.01);
    }
}

void GameHarness::SteerAutopilot() {
    float targetX = game.PaddleX, lowest = -1e9f;
    bool held = false;
    for (int r = 0; r < ObjectRecords; ++r) {
        const float* o = game.Objects.Data() + 10 * r;
        if (!(o[ObjColour] > 0)) continue;
        const float kind = o[ObjKind];
        if (kind == KindBallHeld) held = true;
        const bool flyer = kind == KindBallFlying || (kind >= 1 && kind <= 4);
        if (flyer && o[ObjDY] > 0 && o[ObjY] > lowest) {
            lowest = o[ObjY];
            targetX = o[ObjX];
        }
    }
    MouseToGame(targetX, static_cast<float>(game.PaddleY));
    // A held ball is launched by a press that starts after a release.
    const bool pressing = Input().KeyDown(1) != 0;
    MouseButton(held && game.FlyingCount == 0 && !pressing);
}

void GameHarness::StartGame(int difficulty, int seed) {
    bb_random_Seed = seed;
    game.Difficulty = difficulty;
    game.Mode = ModeStartGame;
    Update();
}

void GameHarness::KeyDown(int key) {
    Input().OnKeyDown(key);
}
void GameHarness::KeyUp(int key) {
    Input().OnKeyUp(key);
}

void GameHarness::PressKey(int key, int updates) {
    KeyDown(key);
    Update(updates);
    KeyUp(key);
}

void GameHarness::Type(const std::string& text) {
    for (unsigned char c : text) TypeChar(c);
}
void GameHarness::TypeChar(int chr) {
    Input().PutChar(chr);
}

void GameHarness::MouseTo(int x, int y) {
    platform.mouseX = x;
    platform.mouseY = y;
}

void GameHarness::MouseToGame(float x, float y) {
    const float sx = game.ScreenScale > 0 ? game.ScreenScale : 1;
    const float sy = game.ScreenScale2 > 0 ? game.ScreenScale2 : 1;
    // The centre of the pixel, so truncating back lands on the same unit.
    MouseTo(static_cast<int>(std::floor(x * sx + sx / 2)), static_cast<int>(std::floor(y * sy + sy / 2)));
}

void GameHarness::MouseButton(bool down) {
    if (down)
        KeyDown(1);
    else
        KeyUp(1);
}

void GameHarness::Tap(float x, float y) {
    MouseToGame(x, y);
    MouseButton(true);
    Update();
    MouseButton(false);
}

std::vector<DrawRecord> GameHarness::Records() const {
    std::vector<DrawRecord> records;
    const float* list = game.DrawList.Data();
    for (int i = 0; i + DrawRecordSize <= game.DrawCount; i += DrawRecordSize) {
        const float* r = list + i;
        DrawRecord record;
        record.kind = r[0];
        record.x = r[1];
        record.y = r[2];
        record.rot = r[3];
        record.w = r[4];
        record.h = r[5];
        record.frame = r[6];
        record.alpha = r[7];
        record.red = r[10];
        record.green = r[11];
        record.blue = r[12];
        record.blend = r[13];
        records.push_back(record);
    }
    return records;
}

std::vector<DrawRecord> GameHarness::RecordsOfImage(int image) const {
    std::vector<DrawRecord> out;
    for (const DrawRecord& r : Records())
        if (r.IsImage(image)) out.push_back(r);
    return out;
}

std::vector<TextRun> GameHarness::Texts() const {
    std::vector<TextRun> runs;
    const std::vector<DrawRecord> records = Records();
    const float font = static_cast<float>(game.FontImage);
    const float advance = static_cast<float>(game.ImageSizes[3 * game.FontImage]);
    const DrawRecord* previous = nullptr;
    for (size_t i = 0; i < records.size(); ++i) {
        const DrawRecord& r = records[i];
        if (r.kind != font) {
            previous = nullptr;
            continue;
        }
        const char glyph = static_cast<char>(static_cast<int>(r.frame) + 32);
        bool continues = false;
        int gaps = 0;
        if (previous != nullptr && previous->w == r.w && previous->rot == r.rot && advance * r.w != 0) {
            // Glyphs of one line lie whole advances apart along the text direction.
            const float angle = (90 - r.rot) * 0.017453292f;
            const float step = advance * r.w;
            const float dx = r.x - previous->x, dy = r.y - previous->y;
            const float along = (dx * std::sin(angle) - dy * std::cos(angle)) / step;
            const float across = (dx * std::cos(angle) + dy * std::sin(angle)) / step;
            const float whole = std::round(along);
            if (whole >= 1 && std::fabs(along - whole) < 0.01f && std::fabs(across) < 0.01f) {
                continues = true;
                gaps = static_cast<int>(whole) - 1;
            }
        }
        if (continues) {
            runs.back().text.append(static_cast<size_t>(gaps), ' ');
            runs.back().text.push_back(glyph);
        } else {
            TextRun run;
            run.text = std::string(1, glyph);
            run.x = r.x;
            run.y = r.y;
            run.size = r.w;
            run.red = r.red;
            run.green = r.green;
            run.blue = r.blue;
            run.alpha = r.alpha;
            run.firstRecord = static_cast<int>(i);
            runs.push_back(run);
        }
        previous = &r;
    }
    return runs;
}

bool GameHarness::HasText(const std::string& part) const {
    return AllText().find(part) != std::string::npos;
}

std::string GameHarness::AllText() const {
    std::string all;
    for (const TextRun& run : Texts()) all += run.text + "\n";
    return all;
}

uint32_t GameHarness::PixelAt(int x, int y) {
    if (window_ == nullptr) throw std::runtime_error("PixelAt needs a window");
    Array<int> pixel(1);
    Graphics().ReadPixels(pixel, x, y, 1, 1, 0, 1);
    return static_cast<uint32_t>(pixel[0]);
}
