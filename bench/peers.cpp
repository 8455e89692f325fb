// Sprite throughput against peers: the same sprites (8 x 8 frames of one
// 16-frame atlas, alpha blending of premultiplied colour, a 640 x 640 window,
// one placement pattern) drawn by our renderer through bb_graphics_DrawImage
// and DrawImage2, by SDL2's renderer on each of its GL backends with batching
// on, and as one pre-built vertex array in one draw call (the driver's floor).
//
// Each contender runs in a child process of its own, so no heap or driver
// state carries over; rounds alternate the contenders, so the load of a
// shared machine falls on all of them alike. Per contender, variant and
// sprite count it prints the median over the rounds:
//     peer CONTENDER VARIANT SPRITES sprites_per_ms frame_ms faults_per_frame
// sprites_per_ms counts the submitting thread's CPU time over one span, the
// same for all: from the frame's first GL work (for ours the renderer's
// per-frame set-up, then the clear; SDL2 sets its state inside its flush) to
// the frame's last flush. Window-system work stays outside it: SDL2 learns the
// window's size from events and the floor never asks, so ours reads its
// window and framebuffer sizes before the span too. frame_ms is the wall time
// of the same frame up to glFinish; faults are the whole process's page
// faults per frame.
//
// Usage: skitterbat_peers DATA_DIR [ROUNDS]
//        skitterbat_peers --child CONTENDER DATA_DIR [VARIANT SPRITES [REPEATS]]
// The second form runs one contender in this process (one case of it, as
// often as asked, when given), for a profiler.
#include "sprite_pattern.h"

#include "graphics/image.h"
#include "desktop/allocator.h"
#include "host/glfw_platform.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <stb_image.h>
#if SKITTERBAT_PEER_SDL
#include <SDL.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWindowSize = 640;
constexpr int kSpriteCounts[] = {1000, 10000, 100000};
constexpr const char* kVariants[] = {"plain", "turned"};
constexpr int kFrameSize = 8;

double Seconds(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

long PageFaults() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// Enough frames for a steady mean, few enough for a round of a few seconds.
// A frame of 1,000 sprites takes a few tenths of a millisecond: it gets the
// most frames, or a scheduler hiccup would decide its row.
int FramesFor(int sprites) {
    return std::clamp(300000 / sprites, 8, 300);
}

// A contender draws one whole frame up to its last flush; finish waits for the
// picture; prepare, when set, does the window-system work before the span.
struct Contender {
    std::function<void()> prepare;
    std::function<void(int sprites, bool turned)> frame;
    std::function<void()> finish;
};

// The case a profiling run is limited to; every case when variant is empty.
struct OnlyCase {
    std::string variant;
    int sprites = 0;
    int repeats = 1;
};
OnlyCase onlyCase;

// Runs every variant and count; one line each: VARIANT SPRITES cpu_ms frame_ms faults.
void MeasureAll(const Contender& c) {
    for (const char* variant : kVariants) {
        const bool turned = std::strcmp(variant, "turned") == 0;
        for (int sprites : kSpriteCounts) {
            if (!onlyCase.variant.empty() && (onlyCase.variant != variant || onlyCase.sprites != sprites))
                continue;
            const int frames = FramesFor(sprites) * onlyCase.repeats;
            for (int i = 0; i < 3; ++i) {
                if (c.prepare) c.prepare();
                c.frame(sprites, turned);
                c.finish();
            }
            double cpu = 0, wall = 0;
            const long faultsBefore = PageFaults();
            for (int i = 0; i < frames; ++i) {
                const double wallStart = Seconds(CLOCK_MONOTONIC);
                if (c.prepare) c.prepare();
                const double cpuStart = Seconds(CLOCK_THREAD_CPUTIME_ID);
                c.frame(sprites, turned);
                cpu += Seconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
                c.finish();
                wall += Seconds(CLOCK_MONOTONIC) - wallStart;
            }
            const double faults = static_cast<double>(PageFaults() - faultsBefore) / frames;
            std::printf("%s %d %.5f %.5f %.1f\n", variant, sprites, cpu * 1000 / frames, wall * 1000 / frames,
                        faults);
            std::fflush(stdout);
        }
    }
}

// The atlas frame's top-left pixel, cut as bb_graphics_Image::m_Grab cuts it.
void AtlasFrame(int frame, int atlasWidth, int* left, int* top) {
    int cx = 0, cy = 0;
    for (int i = 0; i < frame; ++i) {
        cx += kFrameSize;
        if (cx + kFrameSize > atlasWidth) {
            cx = 0;
            cy += kFrameSize;
        }
    }
    *left = cx;
    *top = cy;
}

GLFWwindow* OpenGlfwWindow() {
    if (!glfwInit()) return nullptr;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    GLFWwindow* window = glfwCreateWindow(kWindowSize, kWindowSize, "Cobalt Game", nullptr, nullptr);
    if (window) glfwMakeContextCurrent(window);
    return window;
}

int RunOurs(const std::string& data) {
    GLFWwindow* window = OpenGlfwWindow();
    if (!window) return 1;
    // Its sizes come from GLFW's callbacks, as SDL2's come from its events.
    GlfwPlatform platform(window);
    gxtk_platform = &platform;
    gxtkGraphics graphics;
    bb_graphics_GraphicsContext context;
    bb_graphics_device = &graphics;
    bb_graphics_context = &context;
    graphics.Validate();
    bb_graphics_ImageRef atlas;
    if (gxtkSurfaceRef surface = graphics.LoadSurface(String(data + "/parts.png"))) {
        auto whole = std::make_shared<bb_graphics_Image>();
        whole->m_Init(std::move(surface), 1, 0);
        atlas = whole->m_GrabImage(0, 0, kFrameSize, kFrameSize, 16, bb_graphics_Image::CentreHandle);
    }
    if (!atlas) return 1;
    const int width = graphics.Width(), height = graphics.Height();
    Contender ours;
    ours.frame = [&](int sprites, bool turned) {
        graphics.Validate();
        graphics.BeginRender();
        bb_graphics_BeginRender();
        graphics.Cls(0, 0, 0);
        for (int i = 0; i < sprites; ++i) {
            const SpritePlace p = PlaceSprite(i, width, height);
            if (turned)
                bb_graphics_DrawImage2(atlas.get(), p.x, p.y, p.degrees, kTurnedSpriteScale,
                                       kTurnedSpriteScale, p.frame);
            else
                bb_graphics_DrawImage(atlas.get(), p.x, p.y, p.frame);
        }
        if (graphics.batchCount > 0) graphics.Flush();
        bb_graphics_EndRender();
    };
    ours.finish = [] { glFinish(); };
    MeasureAll(ours);
    atlas.reset();
    bb_graphics_device = nullptr;
    bb_graphics_context = nullptr;
    gxtk_platform = nullptr;
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}

// One pre-built array of every sprite's two triangles, drawn in one call with
// the same GL state, texture and vertex layout as our renderer's.
int RunFloor(const std::string& data) {
    GLFWwindow* window = OpenGlfwWindow();
    if (!window) return 1;
    GlfwPlatform platform(window);
    gxtk_platform = &platform;
    gxtkGraphics graphics; // for the texture upload only
    graphics.Validate();
    gxtkSurfaceRef surface = graphics.LoadSurface(String(data + "/parts.png"));
    if (!surface) return 1;
    const int width = graphics.Width(), height = graphics.Height();

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, surface->textureName);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);

    std::vector<gxtkVertex> vertices;
    int builtSprites = -1;
    bool builtTurned = false;
    auto build = [&](int sprites, bool turned) {
        vertices.assign(static_cast<size_t>(sprites) * 6, gxtkVertex{});
        const float half = kFrameSize * 0.5f;
        for (int i = 0; i < sprites; ++i) {
            const SpritePlace p = PlaceSprite(i, width, height);
            int left = 0, top = 0;
            AtlasFrame(p.frame, surface->Width(), &left, &top);
            const float u0 = static_cast<float>(left) * surface->texScaleU;
            const float v0 = static_cast<float>(top) * surface->texScaleV;
            const float u1 = static_cast<float>(left + kFrameSize) * surface->texScaleU;
            const float v1 = static_cast<float>(top + kFrameSize) * surface->texScaleV;
            const float scale = turned ? kTurnedSpriteScale : 1.0f;
            const float radians = turned ? p.degrees * 0.017453292f : 0.0f;
            const float c = std::cos(radians) * scale, s = std::sin(radians) * scale;
            const float corners[4][4] = {
                {-half, -half, u0, v0}, {half, -half, u1, v0}, {half, half, u1, v1}, {-half, half, u0, v1}};
            const int order[6] = {0, 1, 2, 0, 2, 3};
            for (int k = 0; k < 6; ++k) {
                const float* corner = corners[order[k]];
                gxtkVertex& v = vertices[static_cast<size_t>(i) * 6 + static_cast<size_t>(k)];
                v.x = p.x + corner[0] * c + corner[1] * s;
                v.y = p.y - corner[0] * s + corner[1] * c;
                v.u = corner[2];
                v.v = corner[3];
                std::memset(v.rgba, 255, 4);
            }
        }
        builtSprites = sprites;
        builtTurned = turned;
    };
    Contender array;
    array.frame = [&](int sprites, bool turned) {
        if (sprites != builtSprites || turned != builtTurned) build(sprites, turned);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].u);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), vertices[0].rgba);
        glDrawArrays(GL_TRIANGLES, 0, sprites * 6);
        glFlush();
    };
    array.finish = [] { glFinish(); };
    MeasureAll(array);
    surface.reset();
    gxtk_platform = nullptr;
    glfwDestroyWindow(window);
    glfwTerminate();
    return 0;
}

#if SKITTERBAT_PEER_SDL
// SDL2's renderer on the named backend, batching on, the atlas premultiplied
// and blended exactly as ours (ONE, ONE_MINUS_SRC_ALPHA) with linear filtering.
int RunSdl(const std::string& backend, const std::string& data) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, backend.c_str());
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    int index = -1;
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && backend == info.name) index = i;
    }
    if (index < 0) {
        std::printf("unavailable\n");
        SDL_Quit();
        return 0;
    }
    SDL_Window* window = SDL_CreateWindow("Cobalt Game", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          kWindowSize, kWindowSize, SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, index, SDL_RENDERER_ACCELERATED) : nullptr;
    if (!renderer) {
        std::printf("unavailable\n");
        SDL_Quit();
        return 0;
    }
    int atlasWidth = 0, atlasHeight = 0, depth = 0;
    unsigned char* pixels = stbi_load((data + "/parts.png").c_str(), &atlasWidth, &atlasHeight, &depth, 4);
    if (!pixels) return 1;
    for (int i = 0; i < atlasWidth * atlasHeight; ++i) {
        unsigned char* p = pixels + i * 4;
        for (int k = 0; k < 3; ++k) p[k] = static_cast<unsigned char>(p[k] * p[3] / 255);
    }
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC,
                                             atlasWidth, atlasHeight);
    if (!texture) return 1;
    SDL_UpdateTexture(texture, nullptr, pixels, atlasWidth * 4);
    stbi_image_free(pixels);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    const SDL_BlendMode premultiplied = SDL_ComposeCustomBlendMode(
        SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ONE,
        SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
    if (SDL_SetTextureBlendMode(texture, premultiplied) != 0) return 1;
    auto finishGl = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"));
    if (!finishGl) return 1;

    int width = 0, height = 0;
    SDL_GetRendererOutputSize(renderer, &width, &height);
    SDL_Rect frames[16];
    for (int f = 0; f < 16; ++f) {
        AtlasFrame(f, atlasWidth, &frames[f].x, &frames[f].y);
        frames[f].w = frames[f].h = kFrameSize;
    }
    Contender sdl;
    sdl.frame = [&](int sprites, bool turned) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        for (int i = 0; i < sprites; ++i) {
            const SpritePlace p = PlaceSprite(i, width, height);
            if (turned) {
                const float size = kFrameSize * kTurnedSpriteScale;
                const SDL_FRect to{p.x - size * 0.5f, p.y - size * 0.5f, size, size};
                // Ours turns anticlockwise on the screen, SDL clockwise.
                SDL_RenderCopyExF(renderer, texture, &frames[p.frame], &to, -p.degrees, nullptr,
                                  SDL_FLIP_NONE);
            } else {
                const SDL_FRect to{p.x - kFrameSize * 0.5f, p.y - kFrameSize * 0.5f, kFrameSize, kFrameSize};
                SDL_RenderCopyF(renderer, texture, &frames[p.frame], &to);
            }
        }
        SDL_RenderFlush(renderer);
    };
    sdl.finish = [&] { finishGl(); };
    MeasureAll(sdl);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
#endif

int RunChild(const std::string& contender, const std::string& data, int argc, char** argv) {
    ConfigureAllocator();
    if (argc >= 6)
        onlyCase = OnlyCase{argv[4], std::atoi(argv[5]), argc >= 7 ? std::max(1, std::atoi(argv[6])) : 1};
    if (contender == "ours") return RunOurs(data);
    if (contender == "floor") return RunFloor(data);
#if SKITTERBAT_PEER_SDL
    if (contender.rfind("sdl-", 0) == 0) return RunSdl(contender.substr(4), data);
#endif
    return 2;
}

struct Samples {
    std::vector<double> cpuMs, frameMs, faults;
};

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0) return RunChild(argv[2], argv[3], argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR [ROUNDS]\n", argv[0]);
        return 2;
    }
    const std::string data = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<std::string> contenders = {"ours", "floor"};
#if SKITTERBAT_PEER_SDL
    contenders.push_back("sdl-opengl");
    contenders.push_back("sdl-opengles2");
#endif
    std::map<std::string, bool> unavailable;
    // contender -> "variant sprites" -> samples of every round
    std::map<std::string, std::map<std::pair<std::string, int>, Samples>> results;
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 1;
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < contenders.size(); ++k) {
            // Each round starts with the next contender, so none always runs first.
            const std::string& contender = contenders[(k + static_cast<size_t>(round)) % contenders.size()];
            if (unavailable[contender]) continue;
            const std::string command = ShellQuote(self) + " --child " + contender + " " + ShellQuote(data);
            FILE* child = popen(command.c_str(), "r");
            if (!child) return 1;
            char line[256];
            while (std::fgets(line, sizeof line, child)) {
                if (std::strncmp(line, "unavailable", 11) == 0) {
                    unavailable[contender] = true;
                    continue;
                }
                char variant[16] = {};
                int sprites = 0;
                double cpuMs = 0, frameMs = 0, faults = 0;
                if (std::sscanf(line, "%15s %d %lf %lf %lf", variant, &sprites, &cpuMs, &frameMs, &faults) !=
                    5)
                    continue;
                Samples& s = results[contender][{variant, sprites}];
                s.cpuMs.push_back(cpuMs);
                s.frameMs.push_back(frameMs);
                s.faults.push_back(faults);
            }
            if (pclose(child) != 0) {
                std::fprintf(stderr, "%s failed\n", contender.c_str());
                return 1;
            }
        }
    }
    std::printf("peer_rounds %d\n", rounds);
    for (const auto& [contender, cases] : results) {
        for (const auto& [key, s] : cases) {
            const double cpuMs = Median(s.cpuMs);
            std::printf("peer %s %s %d %.0f %.3f %.0f\n", contender.c_str(), key.first.c_str(), key.second,
                        cpuMs > 0 ? key.second / cpuMs : 0, Median(s.frameMs), Median(s.faults));
        }
    }
    return 0;
}
