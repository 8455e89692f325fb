// A whole game played from a fixed script of inputs on the game harness: the
// paddle follows the lowest falling ball or pod, held balls are launched with
// the fire key, the game is paused and resumed once. The final score, round
// and object table are pinned, so any change of behaviour shows at once.
#include "harness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr int KeyBack = 27, KeySpace = 32;

uint32_t ObjectChecksum(const bb_Skitterbat_MyApp& g) {
    // FNV-1a over the bit patterns of the whole table.
    uint32_t hash = 2166136261u;
    for (int i = 0; i < g.Objects.Length(); ++i) {
        uint32_t bits = 0;
        std::memcpy(&bits, &g.Objects[i], sizeof bits);
        for (int b = 0; b < 4; ++b) {
            hash ^= (bits >> (8 * b)) & 0xffu;
            hash *= 16777619u;
        }
    }
    return hash;
}

struct ScriptResult {
    int updates = 0;
    int score = 0;
    int round = 0;
    int lives = 0;
    int launches = 0;
    uint32_t checksum = 0;
};

ScriptResult PlayScript(GameHarness& h, int maxUpdates) {
    bb_Skitterbat_MyApp& g = h.game;
    ScriptResult result;
    h.StartGame(2, 1234);
    bool fireHeld = false;
    int u = 0;
    for (; u < maxUpdates && g.GameEnded == 0; ++u) {
        // Aim for the lowest thing falling toward the paddle, a little off centre
        // so the ball leaves at varied angles.
        float aim = g.PaddleX;
        float lowest = -1e9f;
        bool held = false;
        for (int r = 0; r < ObjectRecords; ++r) {
            const float* o = &g.Objects[10 * r];
            if (!(o[ObjColour] > 0)) continue;
            const float kind = o[ObjKind];
            if (kind == 18.0f) held = true;
            const bool flyer = kind == 17.0f || (kind >= 1.0f && kind <= 4.0f);
            if (flyer && o[ObjDY] > 0 && o[ObjY] > lowest && o[ObjY] < g.PaddleY) {
                lowest = o[ObjY];
                aim = o[ObjX] + o[ObjDX] * (g.PaddleY - o[ObjY]) / o[ObjDY];
            }
        }
        const float offsets[] = {-12, 0, 9, 4, -5};
        aim += offsets[(u / 240) % 5];
        // Late in the game the player gives up and parks the paddle by the wall.
        if (u >= 16000) aim = 20;
        if (aim < 0) aim = 0;
        if (aim > bb_Skitterbat_jscrw - 1) aim = bb_Skitterbat_jscrw - 1;
        h.MouseToGame(aim, 300);

        // Fire: pressed for one update whenever a ball waits in the play phase.
        if (fireHeld) {
            h.KeyUp(KeySpace);
            fireHeld = false;
        } else if (held && g.RoundPhase == 10 && g.Paused == 0 && u < 16000) {
            h.KeyDown(KeySpace);
            fireHeld = true;
            ++result.launches;
        }

        // One pause in the middle of the game: open, wait, resume by key.
        if (u == 1500) h.KeyDown(KeyBack);
        if (u == 1501) h.KeyUp(KeyBack);
        if (u == 1560) h.KeyDown(KeySpace);
        if (u == 1561) h.KeyUp(KeySpace);

        h.Update();
    }
    result.updates = u;
    result.score = g.Score;
    result.round = g.Round;
    result.lives = g.Lives;
    result.checksum = ObjectChecksum(g);
    return result;
}

TEST(PlayScriptTest, ScriptedGameEndsWithThePinnedScoreRoundAndTable) {
    GameHarness h;
    const ScriptResult r = PlayScript(h, 40000);
    // A game that went somewhere: launches, several rounds (a focus round among them), a real end.
    EXPECT_EQ(h.game.GameEnded, 1);
    EXPECT_GE(r.launches, 5);
    EXPECT_EQ(r.round, 5);
    EXPECT_EQ(r.lives, 0);
    // Pinned from the run: any change of behaviour moves them.
    EXPECT_EQ(r.updates, 17855);
    EXPECT_EQ(r.score, 10558);
    EXPECT_EQ(r.checksum, 0x6ff6d725u);

    for (int i = 0; i < 200 && h.game.Mode != ModeMenu; ++i) h.Update();
    EXPECT_EQ(h.game.Mode, ModeMenu);
}

} // namespace
