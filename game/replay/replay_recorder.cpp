// Recording a game: changes against the last picture of the input, written
// to a buffer reserved at the start for half an hour of busy play.
#include "game/replay/replay_recorder.h"

#include "game/replay/replay_state.h"
#include "game/skitterbat.h"
#include "input/gxtk_input.h"

#include <cmath>
#include <cstring>
#include <ctime>

#ifndef SKITTERBAT_BUILD_NAME
#error "the build names itself"
#endif

namespace {
// About three bytes an update of busy pointer play before compression.
constexpr size_t kReservedEventBytes = 256 * 1024;
constexpr uint32_t kUpdatesPerCheck = 60;

bool WholePixel(float value) {
    return std::fabs(value) < 1e7f && std::nearbyint(value) == value;
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

ReplayRecorder::ReplayRecorder() : writer_(events_) {}

void ReplayRecorder::Begin(const bb_Skitterbat_MyApp& game) {
    recording_ = true;
    tooLong_ = false;
    updates_ = 0;
    CaptureStart(game, &start_);
    events_.clear();
    events_.reserve(kReservedEventBytes);
    writer_.Reset();
    // The first update's input is written whole, as changes from nothing.
    last_ = InputPicture();
}

void ReplayRecorder::Input(const gxtkInput& input) {
    if (!recording_ || tooLong_) return;
    for (int key = 0; key < gxtkInput::kKeyCount; ++key) {
        if (input.keyStates[key] == last_.keys[key]) continue;
        last_.keys[key] = input.keyStates[key];
        writer_.Key(key, input.keyStates[key]);
    }
    writer_.Chars(input.charQueue, input.charCount);
    if (!SameBits(input.mouseX, last_.mouseX) || !SameBits(input.mouseY, last_.mouseY)) {
        if (WholePixel(input.mouseX) && WholePixel(input.mouseY) && WholePixel(last_.mouseX) &&
            WholePixel(last_.mouseY)) {
            writer_.Pointer(static_cast<int32_t>(input.mouseX - last_.mouseX),
                            static_cast<int32_t>(input.mouseY - last_.mouseY));
        } else {
            writer_.PointerAt(input.mouseX, input.mouseY);
        }
        last_.mouseX = input.mouseX;
        last_.mouseY = input.mouseY;
    }
    for (int finger = 1; finger < gxtkInput::kTouchCount; ++finger) {
        if (SameBits(input.touchX[finger], last_.touchX[finger]) &&
            SameBits(input.touchY[finger], last_.touchY[finger]))
            continue;
        last_.touchX[finger] = input.touchX[finger];
        last_.touchY[finger] = input.touchY[finger];
        writer_.Touch(finger, input.touchX[finger], input.touchY[finger]);
    }
    uint8_t mask = 0;
    for (int axis = 0; axis < 6; ++axis) {
        if (SameBits(input.joyAxes[axis], last_.axes[axis])) continue;
        mask |= static_cast<uint8_t>(1u << axis);
        last_.axes[axis] = input.joyAxes[axis];
    }
    if (mask != 0) writer_.Axes(mask, last_.axes);
}

void ReplayRecorder::Window(int width, int height, bool reload) {
    if (recording_ && !tooLong_) writer_.Window(width, height, reload);
}

void ReplayRecorder::Mark(ReplayEvent kind) {
    if (recording_ && !tooLong_) writer_.Mark(kind);
}

void ReplayRecorder::EndUpdate(const bb_Skitterbat_MyApp& game, bool dataWaited) {
    if (!recording_ || tooLong_) return;
    if (dataWaited) writer_.Mark(ReplayEvent::DataWait);
    writer_.Update();
    ++updates_;
    if (updates_ % kUpdatesPerCheck == 0) writer_.Check(ReplayChecksum(game));
    if (updates_ >= kReplayMaxUpdates) {
        // Kept running so the game goes on; the replay is given up.
        tooLong_ = true;
        events_.clear();
        events_.shrink_to_fit();
    }
}

bool ReplayRecorder::Finish(const bb_Skitterbat_MyApp& game, Replay* replay, const char** why) {
    recording_ = false;
    if (tooLong_) {
        *why = "the game was longer than a replay can hold";
        return false;
    }
    if (updates_ % kUpdatesPerCheck != 0) writer_.Check(ReplayChecksum(game));
    writer_.End();
    replay->header = ReplayHeader();
    replay->header.build = SKITTERBAT_BUILD_NAME;
    replay->header.difficulty = start_.difficulty;
    replay->header.score = game.Score;
    replay->header.updates = updates_;
    replay->header.recordedAt = static_cast<int64_t>(std::time(nullptr));
    replay->start = start_;
    replay->events = events_;
    return true;
}

void ReplayRecorder::Drop() {
    recording_ = false;
}
