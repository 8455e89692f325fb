// The recorder: from the update a game starts until its score is stored, the
// changes in what the game reads from the input device, its window's sizes,
// suspends, resumes and lost focus, and a checksum every second of play.
// Its buffers are reserved when a game starts, so steady play allocates
// nothing.
#pragma once

#include "game/replay/replay_events.h"
#include "game/replay/replay_file.h"

#include <cstdint>
#include <vector>

class bb_Skitterbat_MyApp;
class gxtkInput;

// What the game reads of the input device, as last recorded.
struct InputPicture {
    int keys[512] = {};
    float mouseX = 0, mouseY = 0;
    float touchX[10] = {}, touchY[10] = {};
    float axes[6] = {};
};

class ReplayRecorder {
  public:
    ReplayRecorder();

    bool Recording() const { return recording_; }
    // At the start of the update that starts a game, before it reads anything.
    void Begin(const bb_Skitterbat_MyApp& game);
    // What this update is about to read.
    void Input(const gxtkInput& input);
    void Window(int width, int height, bool reload);
    void Mark(ReplayEvent kind);
    // After the update; `dataWaited`: the loader found its file not there yet.
    void EndUpdate(const bb_Skitterbat_MyApp& game, bool dataWaited);
    // After the update that stored the score: the whole replay, and the
    // recorder idle again. False (with the reason) when the game was too long.
    bool Finish(const bb_Skitterbat_MyApp& game, Replay* replay, const char** why);
    void Drop();

  private:
    bool recording_ = false;
    bool tooLong_ = false;
    uint32_t updates_ = 0;
    ReplayStart start_;
    std::vector<uint8_t> events_;
    ReplayEventWriter writer_;
    InputPicture last_;
};
