// Round-play bench on the game harness: the data folder holds one short silent
// sound per effect number, so the effects an update played can be read back
// from the audio channels; records are placed by hand on a quiet field.
#pragma once

#include "harness.h"

#include "audio/gxtk_audio.h"
#include "runtime/random.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

struct Effect {
    int n;
    float rate;
};

class PlayBench : public testing::Test {
  protected:
    static inline std::string dataDir;

    static void SetUpTestSuite() {
        namespace fs = std::filesystem;
        dataDir = (fs::temp_directory_path() / ("skitterbat-play-sfx-" + std::to_string(getpid()))).string();
        fs::create_directories(fs::path(dataDir) / "sfx");
        // 8-bit mono PCM, eight samples of silence.
        const unsigned char wav[] = {'R', 'I', 'F',  'F',  44, 0,   0,   0,   'W', 'A', 'V', 'E',  'f',
                                     'm', 't', ' ',  16,   0,  0,   0,   1,   0,   1,   0,   0x40, 0x1f,
                                     0,   0,   0x40, 0x1f, 0,  0,   1,   0,   8,   0,   'd', 'a',  't',
                                     'a', 8,   0,    0,    0,  128, 128, 128, 128, 128, 128, 128,  128};
        for (int n = 1; n <= 99; ++n) {
            char name[16];
            std::snprintf(name, sizeof name, "sfx/%03d.wav", n);
            std::FILE* file = std::fopen((fs::path(dataDir) / name).c_str(), "wb");
            ASSERT_NE(file, nullptr);
            std::fwrite(wav, 1, sizeof wav, file);
            std::fclose(file);
        }
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(dataDir, ignored);
    }

    std::unique_ptr<GameHarness> harness;
    bb_Skitterbat_MyApp* game = nullptr;
    std::vector<Effect> effects; // every effect since the last ClearEffects, in order

    void SetUp() override { Open(640, 480); }

    void Open(int width, int height) {
        HarnessOptions options;
        options.width = width;
        options.height = height;
        options.dataDir = dataDir;
        harness.reset();
        harness = std::make_unique<GameHarness>(options);
        game = &harness->game;
        game->Settings[5] = 1;
    }

    GameHarness& H() { return *harness; }

    // A started game on an empty field (no particles either), in a phase that does nothing by itself,
    // with the pointer resting over the paddle.
    void QuietField() {
        H().StartGame(2, 1234);
        ClearObjects();
        game->RoundPhase = 12;
        game->PhaseTimer = 1000000;
        PointAt(game->PaddleX);
        effects.clear();
    }
    void ClearObjects() {
        for (float& f : game->Objects) f = 0.0f;
        for (float& f : game->Parts) f = 0.0f;
    }
    void PointAt(float x, float y = 300) { H().MouseToGame(x, y); }

    void Place(int r, float colour, float x, float y, float dx, float dy, float kind, float cooldown = 0) {
        float* o = &game->Objects[10 * r];
        o[ObjColour] = colour;
        o[ObjX] = x;
        o[ObjY] = y;
        o[ObjDX] = dx;
        o[ObjDY] = dy;
        o[ObjKind] = kind;
        o[ObjPhase] = 0;
        o[ObjCooldown] = cooldown;
    }
    float Obj(int r, int field) const { return game->Objects[10 * r + field]; }
    int CountKind(float low, float high) const {
        int n = 0;
        for (int r = 0; r < ObjectRecords; ++r) {
            if (Obj(r, ObjColour) > 0 && Obj(r, ObjKind) >= low && Obj(r, ObjKind) <= high) ++n;
        }
        return n;
    }
    int LiveParticles() const {
        int n = 0;
        for (int r = 0; r < ParticleRecords; ++r) n += game->Parts[10 * r + PartLife] > 0 ? 1 : 0;
        return n;
    }

    // Updates, noting which effects each one played (read from the channels it used).
    void Step(int count = 1) {
        for (int i = 0; i < count; ++i) {
            const int before = game->ChannelCursor;
            H().Update();
            const int used = (game->ChannelCursor - before + 24) % 24;
            for (int k = 1; k <= used; ++k) {
                const gxtkChannel& channel = H().Audio().channels[game->Channels[(before + k) % 24]];
                Effect effect{-1, 0};
                for (int n = 0; n < 100; ++n) {
                    if (game->Sounds[n] && channel.sample && game->Sounds[n]->m_sample == channel.sample)
                        effect.n = n;
                }
                alGetSourcef(channel.source, AL_PITCH, &effect.rate);
                effects.push_back(effect);
            }
        }
    }
    int Count(int n) const {
        return static_cast<int>(
            std::count_if(effects.begin(), effects.end(), [n](const Effect& e) { return e.n == n; }));
    }
    std::vector<float> Rates(int n) const {
        std::vector<float> rates;
        for (const Effect& e : effects) {
            if (e.n == n) rates.push_back(e.rate);
        }
        return rates;
    }

    // Sprite frames of image 1 drawn at (x, y) in the last update.
    std::vector<int> FramesAt(float x, float y) const {
        std::vector<int> frames;
        for (const DrawRecord& r : harness->RecordsOfImage(1)) {
            if (r.x == x && r.y == y) frames.push_back(static_cast<int>(r.frame));
        }
        return frames;
    }
};
