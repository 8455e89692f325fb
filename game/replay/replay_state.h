// The parts of a game a replay carries and checks: its start, taken from a
// game and given to another, its checksum, and the module globals that a
// replayed game keeps apart from the game on screen.
#pragma once

#include "game/replay/replay_file.h"

#include <cstdint>

class bb_Skitterbat_MyApp;
class gxtkInput;
class gxtkPlatform;
namespace options {
struct GameOptions;
}

// The game's module globals: one set per game, swapped in around its updates.
struct GameGlobals {
    float screenWidth = 640, screenHeight = 480;
    int steerByKeys = 0, iCade = 0;
    int seed = 1234;
    gxtkInput* input = nullptr;
    gxtkPlatform* platform = nullptr;
    // The game's options (its key map, speed and the rest).
    options::GameOptions* options = nullptr;

    static GameGlobals Current();
    void Install() const;
};

// What the game holds at the start of the update that begins it (Mode 11).
void CaptureStart(const bb_Skitterbat_MyApp& game, ReplayStart* start);
// Puts a fresh game where that one stood; `globals` receives the replay's own
// globals, and the options it points to the game's recorded ones. The game
// keeps its art sizes.
void ApplyStart(const ReplayStart& start, bb_Skitterbat_MyApp* game, GameGlobals* globals);

// The object table, score, lives, round, paddle and the random generator's
// state, hashed (FNV-1a): two games that still play alike agree on it.
uint32_t ReplayChecksum(const bb_Skitterbat_MyApp& game);
