// Data that arrives while the game runs, as a page on a slow link has it: the
// first menu on the smallest art with the effects still to come, an effect
// silent until its file has arrived, and the art the window needs swapped
// into a round in play that goes on, and plays back the same as a replay.
#include "game/loader_items.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_player.h"
#include "game/replay/replay_state.h"
#include "game/replay/replay_store.h"
#include "harness.h"
#include "harness_data.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::set<std::string> LevelFiles(const std::string& suffix) {
    std::set<std::string> files = {kFontPath + suffix + ".png"};
    for (const LoaderArt& art : kLoaderArt) files.insert(art.path + suffix + ".png");
    return files;
}

int PlayedChannel(const bb_Skitterbat_MyApp& g) {
    return g.Channels[g.ChannelCursor];
}

} // namespace

TEST(LateData, TheMenuComesFirstAndAnEffectIsSilentUntilItsFileArrives) {
    TestDataDir data;
    data.WriteWav("sfx/001.wav", 3.0); // long enough to still play during the test
    data.WriteWav("sfx/099.wav", 3.0);
    HarnessOptions options;
    options.dataDir = data.Path();
    options.finishLoading = false;
    options.dataArrivesLater = true;
    options.pendingData = {"sfx/001.wav", "sfx/099.wav"};
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;

    // The loader reads only the first menu's art: the steps of the effects
    // and of the play art take no update.
    int updates = 0;
    for (; g.LoaderStage > 0 && updates < 100; ++updates) h.Frames();
    EXPECT_EQ(updates, 9);
    EXPECT_EQ(g.Mode, ModeMenu);
    EXPECT_EQ(g.ImageScale, 1) << "the smallest art first, whatever the window";
    EXPECT_EQ(g.ImageInvScale, 1.0f);

    h.Frames(40);
    gxtkAudio& audio = h.Audio();
    ASSERT_NE(g.Sounds[1], nullptr);
    g.m_PlaySFX(1, 1, 1, 0);
    EXPECT_EQ(audio.channels[PlayedChannel(g)].state, 0) << "an effect asked for before its file is silent";
    EXPECT_TRUE(h.platform.lateDataWaiting);

    h.platform.Arrive({"sfx/001.wav", "sfx/099.wav"});
    h.Frames(60);
    g.m_PlaySFX(1, 1, 1, 0);
    EXPECT_EQ(audio.channels[PlayedChannel(g)].state, 1) << "the same effect plays once it has come";
    g.m_PlaySFX(99, 1, 1, 0);
    EXPECT_EQ(audio.channels[PlayedChannel(g)].state, 1);
    // This folder has no art at all: the level the window wants is given up.
    EXPECT_FALSE(h.platform.lateDataWaiting);
    EXPECT_EQ(h.platform.artLevelShown, 1);
}

// The -hd art arrives in a round in play, then the window grows past the next
// level and the -hd2 art arrives: each is read beside the art in use and
// swapped in with no loader, no pause and no update lost; the paddle follows
// the pointer at every update, and the kept game plays back to the same
// checksum.
TEST(LateDataWindow, SharperArtIsSwappedIntoARoundThatGoesOn) {
    HarnessOptions options;
    options.window = true;
    options.width = 640;
    options.height = 640;
    options.dataArrivesLater = true;
    options.pendingData = LevelFiles("-hd");
    options.pendingData.merge(LevelFiles("-hd2"));
    options.finishLoading = false;
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;
    for (int i = 0; i < 50 && g.LoaderStage > 0; ++i) {
        h.Update();
        if (g.LoaderStage > 0) h.Render();
    }
    ASSERT_EQ(g.LoaderStage, 0);
    ASSERT_EQ(g.ImageScale, 1);
    ASSERT_NE(g.Images[99], nullptr);
    EXPECT_EQ(g.Images[99]->m_frameWidth, 256);
    EXPECT_EQ(g.Images[1], nullptr) << "the play art comes after the first menu";
    h.Render();
    const float gfxUnits = g.ImageInvScale * static_cast<float>(g.ImageSizes[3 * 1]);

    h.StartGame(2);
    h.Frames(120);
    ASSERT_NE(g.Images[1], nullptr);
    EXPECT_EQ(g.Images[1]->m_frameWidth, 32);
    float pointer = 100;
    auto playUntilLevel = [&](int level) {
        for (int frame = 0; frame < 60 && g.ImageScale != level; ++frame) {
            pointer = pointer > 300 ? 100 : pointer + 7;
            h.MouseToGame(pointer, static_cast<float>(g.PaddleY));
            h.Frames();
            ASSERT_EQ(g.Mode, ModePlaying);
            ASSERT_EQ(g.LoaderStage, 0);
            ASSERT_EQ(g.Paused, 0);
            ASSERT_NEAR(g.PaddleTargetX, pointer, 1.0f) << "the paddle lost the pointer";
        }
        ASSERT_EQ(g.ImageScale, level);
    };
    h.platform.Arrive(LevelFiles("-hd"));
    playUntilLevel(2);
    EXPECT_EQ(g.Images[1]->m_frameWidth, 64);
    EXPECT_EQ(g.Images[kFontImage]->m_frameWidth, 32);
    EXPECT_EQ(g.ImageInvScale * static_cast<float>(g.ImageSizes[3 * 1]), gfxUnits);

    h.Resize(1240, 1000);
    h.Frames(30);
    EXPECT_EQ(g.ImageScale, 2) << "the -hd2 art is still on its way";
    EXPECT_TRUE(h.platform.lateDataWaiting);
    h.platform.Arrive(LevelFiles("-hd2"));
    playUntilLevel(4);
    EXPECT_EQ(g.Images[1]->m_frameWidth, 128);
    EXPECT_EQ(g.ImageInvScale * static_cast<float>(g.ImageSizes[3 * 1]), gfxUnits);
    EXPECT_FALSE(h.platform.lateDataWaiting);
    EXPECT_EQ(h.platform.artLevelShown, 4);

    // Quit from the pause panel; the game is kept with its score.
    h.MouseButton(false);
    h.PressKey(27);
    h.Frames(14);
    h.PressKey(37);
    h.Frames(2);
    h.PressKey(13);
    for (int i = 0; i < 300 && g.Mode != ModeMenu; ++i) h.Frames();
    ASSERT_EQ(g.Mode, ModeMenu);
    const std::vector<KeptReplay> kept = ReplayStore(h.Dir() + "/replays").List();
    ASSERT_EQ(kept.size(), 1u);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadCappedFile(kept[0].path, &bytes));
    Replay replay;
    ASSERT_TRUE(ReadReplay(bytes.data(), bytes.size(), &replay).ok());
    ReplayPlayer player;
    player.Start(replay, nullptr);
    while (player.Step() == ReplayPlayer::Status::Playing) {
    }
    EXPECT_EQ(player.status(), ReplayPlayer::Status::Ended);
    EXPECT_EQ(player.Game().Score, g.Score);
    EXPECT_EQ(ReplayChecksum(player.Game()), ReplayChecksum(g));
}
