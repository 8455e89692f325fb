// The golden games of tests/replays/, real games recorded by playing the real
// program, and the demo that ships from them: each reads and writes back to
// its own bytes and plays to its recorded score and length by the rules of
// this build, and together they cover every difficulty and way to play.
#include "game/replay/replay_events.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_player.h"
#include "game/replay/replay_store.h"
#include "game/skitterbat.h"
#include "graphics/image.h"
#include "host/bb_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#ifndef SKITTERBAT_SOURCE_DIR
#error "the tests read the golden games from the source tree"
#endif

namespace {

namespace fs = std::filesystem;

std::vector<std::string> GoldenFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SKITTERBAT_SOURCE_DIR "/tests/replays", error))
        if (entry.path().extension() == ".replay") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    files.push_back(SKITTERBAT_SOURCE_DIR "/assets/demo.replay");
    return files;
}

enum class Ending { Quit, LivesLost, Centipede };

// How the game ended, seen at the update that ended it.
Ending EndingOf(const bb_Skitterbat_MyApp& game) {
    const float reach = 16.0f * game.PaddleSize + 8;
    for (int r = 0; r < ObjectRecords; ++r) {
        const float* o = game.Objects.Data() + 10 * r;
        if (o[ObjColour] > 0 && o[ObjKind] == KindSegment && std::fabs(o[ObjX] - game.PaddleX) < reach &&
            o[ObjY] > game.PaddleY - 8)
            return Ending::Centipede;
    }
    return game.Lives < 1 ? Ending::LivesLost : Ending::Quit;
}

struct Played {
    ReplayPlayer::Status status = ReplayPlayer::Status::Ended;
    uint32_t updates = 0;
    int score = 0;
    bool ended = false;
    Ending ending = Ending::Quit;
};

Played PlayToTheEnd(const Replay& replay) {
    ReplayPlayer player;
    player.Start(replay, nullptr);
    Played played;
    while (player.Step() == ReplayPlayer::Status::Playing) {
        if (!played.ended && player.Game().GameEnded != 0) {
            played.ended = true;
            played.ending = EndingOf(player.Game());
        }
    }
    played.status = player.status();
    played.updates = player.Played();
    played.score = player.Game().Score;
    return played;
}

// What the events show of the way a game was played.
struct Ways {
    std::set<int> keys;   // codes pressed
    int pointerMoves = 0; // after the first update, whose input is written whole
    bool window = false, suspend = false, resume = false;
};

Ways WaysOf(const Replay& replay) {
    Ways ways;
    ReplayEventReader reader(replay.events.data(), replay.events.size());
    ReplayEventData event;
    uint32_t updates = 0;
    while (reader.Next(&event)) {
        switch (event.kind) {
        case ReplayEvent::Updates:
            updates += event.count;
            break;
        case ReplayEvent::Key:
            if (event.b & 256) ways.keys.insert(event.a);
            break;
        case ReplayEvent::Pointer:
            if (updates > 0 && (event.a != 0 || event.b != 0)) ++ways.pointerMoves;
            updates += event.thenUpdate ? 1 : 0;
            break;
        case ReplayEvent::PointerAt:
            if (updates > 0) ++ways.pointerMoves;
            break;
        case ReplayEvent::Window:
            ways.window = true;
            break;
        case ReplayEvent::Suspend:
            ways.suspend = true;
            break;
        case ReplayEvent::Resume:
            ways.resume = true;
            break;
        default:
            break;
        }
    }
    return ways;
}

// The framework's globals as the verifier sets them up, for tests that run no harness.
struct Framework {
    Framework() { bbInit(); }
    ~Framework() {
        delete bb_graphics_context;
        bb_graphics_context = nullptr;
    }
};

class GoldenGame : public testing::TestWithParam<std::string> {};

TEST_P(GoldenGame, WritesBackToItsBytesAndPlaysToItsScoreAndLength) {
    const Framework framework;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadCappedFile(GetParam(), &bytes));
    Replay replay;
    const ReplayReadResult read = ReadReplay(bytes.data(), bytes.size(), &replay);
    ASSERT_TRUE(read.ok()) << read.why << " (a change to the rules bumps kReplayRulesVersion and records "
                           << "the golden games again: scripts/record-replays)";
    EXPECT_EQ(WriteReplay(replay), bytes);
    const Played played = PlayToTheEnd(replay);
    EXPECT_EQ(played.status, ReplayPlayer::Status::Ended) << "stopped at update " << played.updates;
    EXPECT_EQ(played.updates, replay.header.updates);
    EXPECT_EQ(played.score, replay.header.score);
    EXPECT_TRUE(played.ended);
}

INSTANTIATE_TEST_SUITE_P(Recorded, GoldenGame, testing::ValuesIn(GoldenFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : fs::path(info.param).parent_path().filename().string() + "_" +
                                               fs::path(info.param).stem().string())
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(GoldenGames, CoverEveryDifficultyAndWayToPlay) {
    constexpr int KeyBack = 27, KeyLeft = 37, KeyRight = 39;
    struct Expected {
        const char* name; // the file's name up to its score
        int difficulty;
        bool pointer, arrows, pause, window, suspend;
        bool lostToACentipede; // or quit, or out of lives
    } const expected[] = {
        {"desktop-mouse-easy-", 1, true, false, false, false, false, false},
        {"desktop-keys-normal-pause-resize-", 2, false, true, true, true, false, false},
        {"desktop-mouse-hard-suspend-", 3, true, false, false, false, true, false},
        {"desktop-mouse-normal-centipede-", 2, true, false, false, false, false, true},
    };
    const Framework framework;
    const std::vector<std::string> files = GoldenFiles();
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        const auto file = std::find_if(files.begin(), files.end(), [&](const std::string& path) {
            return fs::path(path).filename().string().rfind(e.name, 0) == 0;
        });
        ASSERT_NE(file, files.end()) << "no such golden game";
        std::vector<uint8_t> bytes;
        Replay replay;
        ASSERT_TRUE(ReadCappedFile(*file, &bytes));
        ASSERT_TRUE(ReadReplay(bytes.data(), bytes.size(), &replay).ok());
        EXPECT_EQ(replay.header.difficulty, e.difficulty);
        const Ways ways = WaysOf(replay);
        // A window moved by a resize moves the pointer within it too, a few times.
        EXPECT_EQ(ways.pointerMoves > 100, e.pointer) << ways.pointerMoves << " pointer moves";
        EXPECT_EQ(ways.keys.count(KeyLeft) && ways.keys.count(KeyRight), e.arrows);
        if (e.pause) {
            EXPECT_TRUE(ways.keys.count(KeyBack));
        }
        EXPECT_EQ(ways.window, e.window);
        EXPECT_EQ(ways.suspend && ways.resume, e.suspend);
        const Played played = PlayToTheEnd(replay);
        EXPECT_EQ(played.ending == Ending::Centipede, e.lostToACentipede);
        EXPECT_GT(played.score, 0);
    }
}

} // namespace
