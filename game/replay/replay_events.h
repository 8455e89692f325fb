// The event stream of a replay: what changed in the input the game read, and
// what happened to its window, between one update and the next, then how many
// updates ran. Only changes are written; a run of quiet updates is one byte,
// and a small pointer move with its update is one byte too.
#pragma once

#include "game/replay/replay_bytes.h"

#include <cstdint>
#include <vector>

enum class ReplayEvent : uint8_t {
    Updates,   // count updates run
    Pointer,   // the pointer moved by (a, b) whole pixels; thenUpdate: one update follows
    PointerAt, // the pointer is at (x, y)
    Key,       // key code a now reads as state word b (down bit 256, presses below)
    Chars,     // the characters queued for the next update
    Touch,     // finger a (1 to 9) is at (x, y)
    Axes,      // the joystick axes whose bit is set in mask have new values
    Window,    // the window became a x b pixels; reload: the art level changed with it
    Suspend,
    Resume,
    FocusLost,
    DataWait, // the loader's file was not there yet during the next update
    Check,    // the game's checksum after the last update
    End,
};

struct ReplayEventData {
    ReplayEvent kind = ReplayEvent::End;
    uint32_t count = 0;
    int32_t a = 0, b = 0;
    float x = 0, y = 0;
    bool thenUpdate = false;
    bool reload = false;
    uint8_t mask = 0;
    float axes[6] = {};
    uint32_t check = 0;
    int chars[32] = {};
};

constexpr int kReplayMaxChars = 32;
// What no recorded game exceeds: a window's side in pixels, and the virtual
// screen's scale (a 1 x 1 window has 1/480, 16384 x 320 has 51.2).
constexpr int32_t kReplayMaxWindow = 16384;
constexpr float kReplayMinScale = 1.0f / 1024, kReplayMaxScale = 64;

// Appends events to a byte buffer the caller owns (and reserves, so that
// recording allocates nothing in steady play).
class ReplayEventWriter {
  public:
    explicit ReplayEventWriter(std::vector<uint8_t>& out) : out_(out) {}
    // For a buffer that was emptied: nothing pending from before.
    void Reset() {
        moving_ = false;
        runAt_ = SIZE_MAX;
    }

    void Pointer(int32_t dx, int32_t dy);
    void PointerAt(float x, float y);
    void Key(int code, int word);
    void Chars(const int* chars, int count);
    void Touch(int finger, float x, float y);
    void Axes(uint8_t mask, const float* axes);
    void Window(int width, int height, bool reload);
    void Mark(ReplayEvent kind); // Suspend, Resume, FocusLost or DataWait
    void Update();
    void Check(uint32_t checksum);
    void End();

  private:
    std::vector<uint8_t>& out_;
    bool moving_ = false;
    int32_t moveX_ = 0, moveY_ = 0;
    // Where the last run of quiet updates was written, while it can grow.
    size_t runAt_ = SIZE_MAX;

    ByteWriter Out() {
        runAt_ = SIZE_MAX;
        return ByteWriter(out_);
    }
};

class ReplayEventReader {
  public:
    ReplayEventReader(const uint8_t* data, size_t size) : in_(data, size) {}
    // The next event; false at the end of the bytes or on a malformed event.
    bool Next(ReplayEventData* event);
    bool Failed() const { return failed_; }
    bool AtEnd() const { return in_.AtEnd(); }
    // Where the next event starts.
    size_t Position() const { return in_.Position(); }

  private:
    ByteReader in_;
    bool failed_ = false;
};

// Walks a whole stream: true when it is well formed, ends with End and runs
// exactly `updates` updates.
bool ReplayEventsWellFormed(const uint8_t* data, size_t size, uint32_t updates);
