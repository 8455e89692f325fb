#include "audio/gxtk_audio.h"
#include "graphics/image.h"
#include "host/bb_app.h"
#include "runtime/headless_platform.h"
#include "input/gxtk_input.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <string>
#include <vector>

namespace {

class RecordingGame : public bb_app_App {
  public:
    std::vector<std::string> calls;
    bool fontSetAtCreate = false;
    bool drawingDeviceSetInRender = false;

    int m_OnCreate() override {
        calls.push_back("create");
        fontSetAtCreate = bb_graphics_context->m_font != nullptr && bb_graphics_context->m_firstChar == 32;
        return 0;
    }
    int m_OnUpdate() override {
        calls.push_back("update");
        return 0;
    }
    int m_OnSuspend() override {
        calls.push_back("suspend");
        return 0;
    }
    int m_OnResume() override {
        calls.push_back("resume");
        return 0;
    }
    int m_OnRender() override {
        calls.push_back("render");
        drawingDeviceSetInRender = bb_graphics_renderDevice == bb_graphics_device && bb_graphics_device;
        return 0;
    }
    int m_OnLoading() override {
        calls.push_back("loading");
        return 0;
    }
};

class AppLayer : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        gxtk_platform = &platform;
        bb_graphics_context = new bb_graphics_GraphicsContext();
    }
    void TearDown() override {
        delete bb_app_device;
        bb_app_device = nullptr;
        bb_graphics_device = nullptr;
        bb_input_device = nullptr;
        bb_audio_device = nullptr;
        bb_graphics_renderDevice = nullptr;
        delete bb_graphics_context;
        bb_graphics_context = nullptr;
        gxtk_platform = nullptr;
        TempDirTest::TearDown();
    }

    HeadlessPlatform platform;
};

} // namespace

TEST_F(AppLayer, AdapterWiresTheDevicesAndForwardsCallbacks) {
    // The framework's default font: 96 glyphs of 8 x 8 pixels in a row.
    std::vector<unsigned char> pixels(96 * 8 * 8 * 4, 255);
    std::filesystem::create_directories("data");
    ASSERT_NE(stbi_write_png("data/rune_font.png", 96 * 8, 8, 4, pixels.data(), 96 * 8 * 4), 0);

    RecordingGame game;
    EXPECT_EQ(game.g_new(), &game);
    ASSERT_NE(bb_app_device, nullptr);
    EXPECT_EQ(app, bb_app_device);
    EXPECT_EQ(bb_app_device->m_application, &game);
    EXPECT_EQ(bb_graphics_device, bb_app_device->ownedGraphics);
    EXPECT_EQ(bb_input_device, bb_app_device->ownedInput);
    EXPECT_EQ(bb_audio_device, bb_app_device->ownedAudio);
    EXPECT_EQ(bb_app_device->updatesPerSecond, 0);
    EXPECT_EQ(bb_app_device->g_new2(), bb_app_device);

    bb_app_device->InvokeOnCreate();
    EXPECT_TRUE(game.fontSetAtCreate); // the default font comes first

    EXPECT_EQ(bb_app_SetUpdateRate(60), 0);
    EXPECT_EQ(bb_app_device->updatesPerSecond, 60);
    bb_app_device->InvokeOnUpdate();
    bb_app_device->InvokeOnRender();
    EXPECT_TRUE(game.drawingDeviceSetInRender);
    EXPECT_EQ(bb_graphics_renderDevice, nullptr); // no drawing outside render

    // The rate outlives a suspend; only the suspension stops the updates.
    bb_app_device->InvokeOnSuspend();
    EXPECT_EQ(bb_app_device->updatesPerSecond, 60);
    bb_app_device->InvokeOnUpdate(); // nothing while suspended
    bb_app_device->InvokeOnRender();
    bb_app_device->InvokeOnResume();
    EXPECT_EQ(bb_app_device->updatesPerSecond, 60);

    EXPECT_EQ(bb_app_SetUpdateRate(0), 0);
    EXPECT_EQ(bb_app_device->updatesPerSecond, 0);
    bb_app_device->InvokeOnUpdate(); // no updates without a rate
    bb_app_device->OnLoading();
    EXPECT_EQ(bb_graphics_renderDevice, nullptr);

    EXPECT_EQ(game.calls,
              (std::vector<std::string>{"create", "update", "render", "suspend", "resume", "loading"}));

    platform.now = 1.25;
    EXPECT_EQ(bb_app_Millisecs(), 1250);
}

TEST_F(AppLayer, StateAndTextFilesThroughTheAdapter) {
    RecordingGame game;
    game.g_new();
    EXPECT_EQ(bb_app_LoadState(), String());
    EXPECT_EQ(bb_app_SaveState(String(u"\u00E9|1|2")), 0);
    EXPECT_EQ(ReadBytes(".cobaltstate"), "\xC3\xA9|1|2");
    EXPECT_EQ(bb_app_LoadState(), String(u"\u00E9|1|2"));

    // LoadString takes its path as given: plain names are not data names.
    WriteBytes("data/notes.txt", "\xEF\xBB\xBFin data");
    WriteBytes("notes.txt", "here");
    EXPECT_EQ(bb_app_device->LoadString("cobalt://data/notes.txt"), String("in data"));
    EXPECT_EQ(bb_app_device->LoadString("notes.txt"), String("here"));
    EXPECT_EQ(bb_app_device->LoadString("cobalt://data/none.txt"), String());
    EXPECT_EQ(bb_app_device->AppTitle(), String("Cobalt Game"));
}
