// Replays on the game harness: real games played through the whole update
// with every kind of input, kept when their score is stored, read back and
// played again by a player of their own to the same checksums and score.
#include "game/options/options.h"
#include "game/replay/replay_events.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_player.h"
#include "game/replay/replay_state.h"
#include "game/replay/replay_store.h"
#include "game/replay/replay_verify.h"
#include "game/replay/replay_watch.h"
#include "game/replay/replays.h"
#include "harness.h"
#include "input/gxtk_input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

extern "C" unsigned char* stbi_zlib_compress(unsigned char* data, int data_len, int* out_len, int quality);

namespace {

constexpr int KeyEnter = 13, KeyBack = 27, KeyLeft = 37, KeyRight = 39, KeyN = 78, KeyM = 77;

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
    {"left and right on N and M, keys without holding and a slower game",
     [](GameHarness& h) {
         h.Frames(200);
         for (int tap = 0; tap < 12; ++tap) {
             h.PressKey(tap % 3 == 0 ? KeyN : KeyM);
             h.Frames(9 + 7 * tap);
         }
         // The Left arrow still does, as a tap however long it is held.
         h.KeyDown(KeyLeft);
         h.Frames(20);
         h.KeyUp(KeyLeft);
         h.PressKey(KeyEnter);
         Autopilot(h, 300);
     },
     [](GameHarness& h) {
         options::Values values = options::Live().values;
         BindKey(&values.bindings, options::kLeft, 1, KeyN);
         BindKey(&values.bindings, options::kRight, 1, KeyM);
         values.keysWithoutHolding = true;
         values.speedPercent = 70;
         options::Change(h.game, values);
     }},
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

    // The viewer's own options are not the game's.
    options::Change(h.game, options::Values());
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

// A game played at half speed plays back at half the updates of a viewer at
// full speed, and at one a viewer's update when the viewer plays slow too.
TEST(ReplayWatchSpeed, AKeptGamePlaysBackAtTheSpeedItWasPlayedAt) {
    GameHarness h;
    options::Values slow = options::Live().values;
    slow.speedPercent = 50;
    options::Change(h.game, slow);
    h.StartGame(2);
    Autopilot(h, 200);
    QuitByKeys(h);
    ASSERT_EQ(Kept(h).size(), 1u);
    const Replay replay = ReadKept(Kept(h).back());

    for (int viewer : {100, 50}) {
        SCOPED_TRACE(viewer);
        options::Values values = options::Live().values;
        values.speedPercent = viewer;
        options::Change(h.game, values);
        ReplayWatch watch;
        watch.Start(replay, {}, h.game, ReplayWatch::Kind::Watch);
        for (int i = 0; i < 100; ++i) watch.Update(h.game);
        EXPECT_EQ(watch.player().Played(), viewer == 100 ? 50u : 100u);
        watch.Stop(h.game);
    }
}

} // namespace

namespace {

// A game of the pointer autopilot on EASY that bounces pods (and so earns
// badges), quit after `frames`; its kept replay's bytes.
std::vector<uint8_t> RecordAGame(int frames) {
    GameHarness h;
    h.StartGame(1, 1234);
    Autopilot(h, frames);
    QuitByKeys(h);
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadCappedFile(Kept(h).back().path, &bytes));
    return bytes;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(Replay, AChangedInputIsCaughtAtTheNextSecond) {
    Replay replay;
    const std::vector<uint8_t> bytes = RecordAGame(1500);
    ASSERT_TRUE(ReadReplay(bytes.data(), bytes.size(), &replay).ok());
    // The first small pointer move after update 600 goes three pixels further right.
    ReplayEventReader reader(replay.events.data(), replay.events.size());
    ReplayEventData event;
    uint32_t updates = 0;
    size_t at = 0;
    while (at == 0) {
        const size_t position = reader.Position();
        ASSERT_TRUE(reader.Next(&event));
        if (event.kind == ReplayEvent::Pointer && event.thenUpdate && updates >= 600 && event.a <= 0)
            at = position;
        else
            updates += event.kind == ReplayEvent::Updates ? event.count : event.thenUpdate ? 1 : 0;
    }
    replay.events[at] = static_cast<uint8_t>(replay.events[at] + 3 * 8);
    const uint32_t firstCheck = (updates / 60 + 1) * 60;

    ReplayPlayer player;
    player.Start(replay, nullptr);
    while (player.Step() == ReplayPlayer::Status::Playing) {
    }
    EXPECT_EQ(player.status(), ReplayPlayer::Status::Desynced);
    EXPECT_EQ(player.DesyncedAt(), firstCheck);

    const VerifyOutcome outcome = VerifyReplayBytes(WriteReplay(replay));
    EXPECT_EQ(outcome.status, VerifyStatus::Differs);
    EXPECT_EQ(outcome.line,
              "differs from update " + std::to_string(firstCheck) + " (" + ReplayClock(firstCheck) + ")");
    EXPECT_EQ(VerifyReplayBytes(bytes).status, VerifyStatus::Ok);
}

TEST(Replay, WatchingAGameWritesNothing) {
    const std::vector<uint8_t> bytes = RecordAGame(1500);
    GameHarness h;
    const std::string state = FileBytes(h.Dir() + "/.cobaltstate");
    const int saves = h.platform.stateSaves;
    const int keptOn = h.platform.screenKeptOn;
    Replay replay;
    ASSERT_TRUE(ReadReplay(bytes.data(), bytes.size(), &replay).ok());
    ReplayPlayer alone;
    alone.Start(replay, nullptr);
    while (alone.Step() == ReplayPlayer::Status::Playing) {
    }
    bool played = false;
    for (int b = 0; b < 20; ++b) played = played || alone.Game().Badges[b];
    ASSERT_TRUE(played) << "the game earns no badge, so it proves nothing";

    replays::WatchWhenReady(bytes, "game");
    h.Frames();
    ASSERT_TRUE(replays::Showing(h.game));
    bool earned = false;
    const std::string end = "/ " + ReplayClock(replay.header.updates);
    for (int i = 0; i < 3000 && !h.HasText(ReplayClock(replay.header.updates) + " " + end); ++i) {
        // A window resized to another art level and a suspend on the way
        // neither stop the replay nor make it play another game.
        if (i == 300) h.Resize(900, 700);
        if (i == 600) {
            h.Suspend();
            h.Resume();
        }
        h.Frames();
        for (int b = 0; b < 20; ++b) earned = earned || h.game.Badges[b];
    }
    EXPECT_TRUE(replays::Showing(h.game));
    EXPECT_TRUE(h.HasText(ReplayClock(replay.header.updates) + " " + end)) << h.AllText();
    EXPECT_FALSE(h.HasText("no longer plays the same"));
    EXPECT_FALSE(earned) << "the replayed game's badges are not the player's";
    EXPECT_EQ(h.platform.stateSaves, saves);
    EXPECT_EQ(h.platform.screenKeptOn, keptOn);
    EXPECT_EQ(FileBytes(h.Dir() + "/.cobaltstate"), state);
    EXPECT_TRUE(Kept(h).empty());
}

TEST(Replay, AnIdleMenuPlaysADemoThatAnyInputEndsWithoutStartingAGame) {
    const std::vector<uint8_t> bytes = RecordAGame(600);
    GameHarness h;
    // The best game of the chosen difficulty is the demo.
    std::filesystem::create_directory(h.Dir() + "/replays");
    std::ofstream(h.Dir() + "/replays/0001-easy-" + std::to_string(h.game.Score) + ".replay",
                  std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    Replay replay;
    ASSERT_TRUE(ReadReplay(bytes.data(), bytes.size(), &replay).ok());
    h.game.Highscores[0] = replay.header.score;
    h.game.Difficulty = 1;

    h.Frames(30 * 60 - 2);
    EXPECT_FALSE(replays::Showing(h.game)) << "not before half a minute";
    h.Frames(2);
    ASSERT_TRUE(replays::Showing(h.game));
    h.Frames(120);
    ASSERT_TRUE(replays::Showing(h.game));
    EXPECT_TRUE(h.HasText("DEMO"));

    h.KeyDown(KeyEnter); // Enter on the menu would start a game
    h.Frames();
    EXPECT_FALSE(replays::Showing(h.game));
    h.Frames(10);
    h.KeyUp(KeyEnter);
    h.Frames(10);
    EXPECT_EQ(h.game.Mode, ModeMenu);
    EXPECT_TRUE(Kept(h).size() == 1u);

    // A pointer moved a little ends it as well; then the clock starts again.
    h.Frames(30 * 60);
    ASSERT_TRUE(replays::Showing(h.game));
    h.MouseTo(h.platform.mouseX + 3, h.platform.mouseY);
    h.Frames();
    EXPECT_FALSE(replays::Showing(h.game));
    EXPECT_EQ(h.game.Mode, ModeMenu);
}

TEST(Replay, KeptWhileTheScoreStandsInABestOrARecentList) {
    GameHarness h;
    auto play = [&](int frames) {
        h.game.Difficulty = 1;
        h.game.Mode = ModeStartGame;
        h.Frames();
        Autopilot(h, frames);
        QuitByKeys(h);
    };
    play(1500); // a score that stays the best
    const int best = h.game.Score;
    ASSERT_GT(best, 0);
    for (int i = 0; i < 11; ++i) play(1); // eleven games of no score
    const std::vector<KeptReplay> kept = Kept(h);
    ASSERT_EQ(kept.size(), 11u) << "the ten recent games and the best one";
    EXPECT_EQ(kept.front().header.score, best);
    EXPECT_EQ(kept.front().number, 1u);
    EXPECT_EQ(kept[1].number, 3u) << "the first game of no score left the recent list";
    // Every row of both lists leads to its game.
    const ReplayIndex index = ReplayStore(h.Dir() + "/replays").Index(h.game.Highscores.Data());
    ASSERT_NE(index.At(1, false, 0), nullptr);
    EXPECT_EQ(index.At(1, false, 0)->header.score, best);
    EXPECT_EQ(index.At(1, false, 1), nullptr) << "a score of 0 takes no place";
    for (int row = 0; row < 10; ++row) {
        ASSERT_NE(index.At(1, true, row), nullptr);
        EXPECT_EQ(index.At(1, true, row)->number, 12u - static_cast<uint32_t>(row));
    }
}

TEST(Replay, ScoreRowsLeadToTheirGamesByTapAndByKeys) {
    GameHarness h;
    h.game.Difficulty = 3;
    h.game.Mode = ModeStartGame;
    h.Frames();
    Autopilot(h, 300);
    QuitByKeys(h);
    h.Frames(60);
    ASSERT_TRUE(replays::RowHasReplay(h.game, true, 0));
    EXPECT_FALSE(replays::RowHasReplay(h.game, true, 1));

    // Right from HARD into the panel, Enter watches, back returns.
    h.PressKey(KeyRight);
    h.Frames(2);
    h.PressKey(KeyEnter);
    h.Frames(2);
    ASSERT_TRUE(replays::Showing(h.game));
    EXPECT_TRUE(h.HasText("REPLAY"));
    h.PressKey(KeyBack);
    h.Frames(2);
    EXPECT_FALSE(replays::Showing(h.game));
    EXPECT_EQ(h.game.Mode, ModeMenu);

    // A tap on the recent list's first row.
    const float panelX = bb_Skitterbat_jscrw - 140;
    const float line = static_cast<float>(h.game.MenuLineHeight);
    h.Tap(panelX + 70, bb_Skitterbat_jscrh / 2 + line * 1.5f);
    h.Frames(2);
    EXPECT_TRUE(replays::Showing(h.game));
}

TEST(Replay, DamagedAndForeignFilesAreRefusedInOneLine) {
    const std::vector<uint8_t> good = RecordAGame(300);
    Replay replay;
    ASSERT_TRUE(ReadReplay(good.data(), good.size(), &replay).ok());
    auto rewritten = [&](auto change) {
        Replay copy = replay;
        change(copy);
        return WriteReplay(copy);
    };
    std::vector<uint8_t> flipped = good;
    flipped[flipped.size() / 2] ^= 0x10;
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() - 5));
    // Where the header's numbers sit, after the build's name.
    const size_t updatesAt = 13 + good[12] + 1 + 4, packedAt = updatesAt + 4 + 8 + 4;
    auto put32 = [](std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    };
    std::vector<uint8_t> hours = good;
    put32(hours, updatesAt, kReplayMaxUpdates);
    // A deflated body of 16 MiB of zeros in place of the real one, whose
    // inflated length the header still gives.
    std::vector<uint8_t> zeros(16u << 20, 0);
    int packedSize = 0;
    unsigned char* packed = stbi_zlib_compress(zeros.data(), static_cast<int>(zeros.size()), &packedSize, 8);
    ASSERT_NE(packed, nullptr);
    std::vector<uint8_t> bomb(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(packedAt + 8));
    bomb.insert(bomb.end(), packed, packed + packedSize);
    std::free(packed);
    put32(bomb, packedAt, static_cast<uint32_t>(packedSize));
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* line;
    } cases[] = {
        {"empty", {}, "not a replay: it does not start as one"},
        {"a PNG",
         {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13},
         "not a replay: it does not start as one"},
        {"cut short", cut, "not a replay: cut short"},
        {"a flipped bit", flipped, ""},
        {"claims four hours", hours, "not a replay: its events are damaged"},
        {"a body that inflates without end", bomb, "not a replay: its compressed body is damaged"},
        {"older rules", rewritten([](Replay& r) { r.header.rulesVersion = kReplayRulesVersion - 1; }),
         "recorded with an older version of the game"},
        {"a newer format", rewritten([](Replay& r) { r.header.formatVersion = kReplayFormatVersion + 1; }),
         "not a replay: written by a newer version of the game"},
        {"an event that never ends", rewritten([](Replay& r) { r.events.back() = 0x82; }),
         "not a replay: its events are damaged"},
        // Starts no game can be in, whose arithmetic the game does not guard.
        {"a badge note older than any", rewritten([](Replay& r) { r.start.noteAges[3] = 531586750; }),
         "not a replay: its start is damaged"},
        {"a particle on no frame", rewritten([](Replay& r) {
             r.start.particles.push_back(ReplayParticle{7, {100, 10, 10, 1, 1, 0, std::nanf("")}});
         }),
         "not a replay: its start is damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VerifyOutcome outcome = VerifyReplayBytes(c.bytes);
        EXPECT_EQ(outcome.status, VerifyStatus::Unreadable);
        if (*c.line) {
            EXPECT_EQ(outcome.line, c.line);
        }
        EXPECT_EQ(outcome.line.find('\n'), std::string::npos);
    }
}

TEST(Replay, NarrowerLimitsRefuseALongerGameUnread) {
    const std::vector<uint8_t> bytes = RecordAGame(300);
    Replay replay;
    ASSERT_TRUE(ReadReplay(bytes.data(), bytes.size(), &replay).ok());
    ReplayLimits narrow;
    narrow.maxUpdates = replay.header.updates - 1;
    SetReplayLimits(narrow);
    const ReplayReadResult refused = ReadReplay(bytes.data(), bytes.size(), &replay);
    SetReplayLimits(ReplayLimits());
    EXPECT_EQ(refused.status, ReplayReadStatus::Damaged);
    EXPECT_EQ(refused.why, "not a replay: its header claims what no game has");
    EXPECT_TRUE(ReadReplay(bytes.data(), bytes.size(), &replay).ok());
}
