// Replays on the game harness: real games played through the whole update
// with every kind of input, kept when their score is stored, read back and
// played again by a player of their own to the same checksums and score.
#include "game/replay/replay_events.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_player.h"
#include "game/replay/replay_state.h"
#include "game/replay/replay_store.h"
#include "game/replay/replays.h"
#include "harness.h"
#include "input/gxtk_input.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int KeyEnter = 13, KeyBack = 27, KeyLeft = 37, KeyRight = 39;

// Opens the pause panel, moves to Quit and takes it; then waits for the menu.
void QuitByKeys(GameHarness& h) {
    h.MouseButton(false);
    h.Frames(2);
    // A panel already open (a reload's) is not closed again by the back key.
    if (h.game.Paused == 0) h.PressKey(KeyBack);
    h.Frames(14);
    h.PressKey(KeyLeft);
    h.Frames(2);
    h.PressKey(KeyEnter);
    for (int i = 0; i < 300 && h.game.Mode != ModeMenu; ++i) h.Frames();
    ASSERT_EQ(h.game.Mode, ModeMenu);
}

void Autopilot(GameHarness& h, int frames) {
    for (int i = 0; i < frames; ++i) {
        h.SteerAutopilot();
        h.Frames();
    }
}

std::vector<KeptReplay> Kept(GameHarness& h) {
    return ReplayStore(h.Dir() + "/replays").List();
}

Replay ReadKept(const KeptReplay& kept) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadCappedFile(kept.path, &bytes));
    Replay replay;
    const ReplayReadResult read = ReadReplay(bytes.data(), bytes.size(), &replay);
    EXPECT_TRUE(read.ok()) << read.why;
    return replay;
}

struct Played {
    ReplayPlayer::Status status;
    uint32_t updates;
    int score;
    uint32_t checksum;
};

Played PlayHeadless(const Replay& replay) {
    ReplayPlayer player;
    player.Start(replay, nullptr);
    while (player.Step() == ReplayPlayer::Status::Playing) {
    }
    return {player.status(), player.Played(), player.Game().Score, ReplayChecksum(player.Game())};
}

struct Scenario {
    const char* name;
    std::function<void(GameHarness&)> play;
    // On the menu, before the game starts.
    std::function<void(GameHarness&)> before = [](GameHarness&) {};
};

const Scenario kScenarios[] = {
    {"pointer", [](GameHarness& h) { Autopilot(h, 1500); }},
    {"keys, a pause and a resize to another art level",
     [](GameHarness& h) {
         h.Frames(200);
         h.KeyDown(KeyRight);
         h.Frames(30);
         h.KeyUp(KeyRight);
         h.PressKey(KeyBack);
         h.Frames(40);
         h.PressKey(KeyBack);
         h.Frames(20);
         h.Resize(800, 700);
         h.Frames(120);
         h.KeyDown(KeyLeft);
         h.Frames(25);
         h.KeyUp(KeyLeft);
         h.PressKey(KeyEnter);
         h.Frames(300);
     }},
    {"a suspend, a lost focus and a resize in the same art level",
     [](GameHarness& h) {
         Autopilot(h, 400);
         h.Suspend();
         h.Resume();
         h.Frames(30);
         h.PressKey(KeyEnter); // resumes from the pause the suspend left
         Autopilot(h, 200);
         h.Device().OnFocusLost();
         h.Frames(20);
         h.PressKey(KeyEnter);
         h.Resize(700, 560);
         Autopilot(h, 300);
     }},
    {"fingers, the iCade and a pad",
     [](GameHarness& h) {
         h.Frames(180);
         h.Input().SetTouchPosition(1, 100.5f, 400.25f);
         h.KeyDown(385);
         h.Frames(60);
         h.Input().SetTouchPosition(1, 300.75f, 410);
         h.Frames(60);
         h.KeyUp(385);
         h.Type("d");
         h.Frames(30);
         h.Type("c");
         h.Frames(30);
         h.JoystickAxes({-0.9f, 0.1f, 0, 0.3f});
         h.Frames(40);
         h.JoystickAxes({0, 0, 0, 0});
         h.JoystickButtons({1, 0, 0, 0});
         h.Frames(5);
         h.JoystickButtons({0, 0, 0, 0});
         h.Frames(400);
     },
     [](GameHarness& h) { h.game.m_iCade(1); }},
};

class ReplayRoundTrip : public testing::TestWithParam<Scenario> {};

TEST_P(ReplayRoundTrip, KeptGamePlaysBackToTheSameScoreAndState) {
    GameHarness h;
    // Particles of an earlier game decide where the first new ones go.
    h.StartGame(3, 99);
    Autopilot(h, 300);
    QuitByKeys(h);
    ASSERT_EQ(Kept(h).size(), 1u);

    GetParam().before(h);
    h.game.Difficulty = 2;
    h.game.Mode = ModeStartGame;
    h.Frames();
    GetParam().play(h);
    QuitByKeys(h);
    const uint32_t finalChecksum = ReplayChecksum(h.game);
    const std::vector<KeptReplay> kept = Kept(h);
    ASSERT_EQ(kept.size(), 2u);
    const Replay replay = ReadKept(kept.back());
    EXPECT_EQ(replay.header.difficulty, 2);
    EXPECT_EQ(replay.header.score, h.game.Score);

    // Written again, the same bytes.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadCappedFile(kept.back().path, &bytes));
    EXPECT_EQ(WriteReplay(replay), bytes);

    const Played played = PlayHeadless(replay);
    EXPECT_EQ(played.status, ReplayPlayer::Status::Ended);
    EXPECT_EQ(played.updates, replay.header.updates);
    EXPECT_EQ(played.score, replay.header.score);
    EXPECT_EQ(played.checksum, finalChecksum);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ReplayRoundTrip, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

} // namespace
