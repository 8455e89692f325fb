// The event stream's bytes. A byte below 0x40 is a run of 1 to 64 quiet
// updates; 0x40 to 0x7F is a pointer move of -4..3 on each axis followed by
// one update; the rest name the events of replay_events.h (see
// docs/replay-format.md).
#include "game/replay/replay_events.h"

namespace {
constexpr uint8_t kRunLimit = 0x40;  // run bytes: count - 1
constexpr uint8_t kSmallMove = 0x40; // + (dx + 4) * 8 + (dy + 4)
constexpr uint8_t kPointer = 0x80, kPointerAt = 0x81, kKey = 0x82, kChars = 0x83, kTouch = 0x84, kAxes = 0x85,
                  kWindow = 0x86, kSuspend = 0x87, kResume = 0x88, kFocusLost = 0x89, kDataWait = 0x8A,
                  kCheck = 0x8B, kEnd = 0x8C;
constexpr int kFingers = 10;
constexpr int kKeyCodes = 512;

bool SmallMove(int32_t dx, int32_t dy) {
    return dx >= -4 && dx <= 3 && dy >= -4 && dy <= 3;
}
} // namespace

void ReplayEventWriter::Pointer(int32_t dx, int32_t dy) {
    if (moving_) {
        // A second move before the update: fold both into one.
        dx += moveX_;
        dy += moveY_;
        moving_ = false;
    }
    if (dx == 0 && dy == 0) return;
    if (SmallMove(dx, dy)) {
        moving_ = true;
        moveX_ = dx;
        moveY_ = dy;
        return;
    }
    ByteWriter out = Out();
    out.Byte(kPointer);
    out.Signed(dx);
    out.Signed(dy);
}

void ReplayEventWriter::PointerAt(float x, float y) {
    moving_ = false;
    ByteWriter out = Out();
    out.Byte(kPointerAt);
    out.Float(x);
    out.Float(y);
}

void ReplayEventWriter::Key(int code, int word) {
    ByteWriter out = Out();
    out.Byte(kKey);
    out.Varint(static_cast<uint32_t>(code));
    out.Varint(static_cast<uint32_t>(word));
}

void ReplayEventWriter::Chars(const int* chars, int count) {
    if (count <= 0) return;
    if (count > kReplayMaxChars) count = kReplayMaxChars;
    ByteWriter out = Out();
    out.Byte(kChars);
    out.Byte(static_cast<uint8_t>(count));
    for (int i = 0; i < count; ++i) out.Signed(chars[i]);
}

void ReplayEventWriter::Touch(int finger, float x, float y) {
    ByteWriter out = Out();
    out.Byte(kTouch);
    out.Byte(static_cast<uint8_t>(finger));
    out.Float(x);
    out.Float(y);
}

void ReplayEventWriter::Axes(uint8_t mask, const float* axes) {
    ByteWriter out = Out();
    out.Byte(kAxes);
    out.Byte(mask);
    for (int i = 0; i < 6; ++i)
        if (mask & (1u << i)) out.Float(axes[i]);
}

void ReplayEventWriter::Window(int width, int height, bool reload) {
    ByteWriter out = Out();
    out.Byte(kWindow);
    out.Varint(static_cast<uint32_t>(width));
    out.Varint(static_cast<uint32_t>(height));
    out.Byte(reload ? 1 : 0);
}

void ReplayEventWriter::Mark(ReplayEvent kind) {
    uint8_t byte = 0;
    switch (kind) {
    case ReplayEvent::Suspend:
        byte = kSuspend;
        break;
    case ReplayEvent::Resume:
        byte = kResume;
        break;
    case ReplayEvent::FocusLost:
        byte = kFocusLost;
        break;
    case ReplayEvent::DataWait:
        byte = kDataWait;
        break;
    default:
        return;
    }
    Out().Byte(byte);
}

void ReplayEventWriter::Update() {
    if (moving_) {
        moving_ = false;
        Out().Byte(static_cast<uint8_t>(kSmallMove + (moveX_ + 4) * 8 + (moveY_ + 4)));
        return;
    }
    if (runAt_ < out_.size() && out_[runAt_] < kRunLimit - 1) {
        ++out_[runAt_];
        return;
    }
    ByteWriter out = Out();
    out.Byte(0);
    runAt_ = out_.size() - 1;
}

void ReplayEventWriter::Check(uint32_t checksum) {
    ByteWriter out = Out();
    out.Byte(kCheck);
    out.U32(checksum);
}

void ReplayEventWriter::End() {
    if (moving_) Update(); // never happens: a move always comes with its update
    Out().Byte(kEnd);
}

bool ReplayEventReader::Next(ReplayEventData* event) {
    if (failed_ || in_.AtEnd()) return false;
    const uint8_t byte = in_.Byte();
    event->thenUpdate = false;
    if (byte < kRunLimit) {
        event->kind = ReplayEvent::Updates;
        event->count = byte + 1u;
        return true;
    }
    if (byte < kPointer) {
        const int code = byte - kSmallMove;
        event->kind = ReplayEvent::Pointer;
        event->a = code / 8 - 4;
        event->b = code % 8 - 4;
        event->thenUpdate = true;
        return true;
    }
    switch (byte) {
    case kPointer:
        event->kind = ReplayEvent::Pointer;
        event->a = in_.Signed();
        event->b = in_.Signed();
        break;
    case kPointerAt:
        event->kind = ReplayEvent::PointerAt;
        event->x = in_.Float();
        event->y = in_.Float();
        break;
    case kKey:
        event->kind = ReplayEvent::Key;
        event->a = static_cast<int32_t>(in_.Varint());
        event->b = static_cast<int32_t>(in_.Varint());
        if (event->a < 0 || event->a >= kKeyCodes || event->b < 0 || event->b > 511) failed_ = true;
        break;
    case kChars:
        event->kind = ReplayEvent::Chars;
        event->count = in_.Byte();
        if (event->count == 0 || event->count > kReplayMaxChars) failed_ = true;
        for (uint32_t i = 0; i < event->count && !failed_; ++i) event->chars[i] = in_.Signed();
        break;
    case kTouch:
        event->kind = ReplayEvent::Touch;
        event->a = in_.Byte();
        event->x = in_.Float();
        event->y = in_.Float();
        if (event->a < 1 || event->a >= kFingers) failed_ = true;
        break;
    case kAxes:
        event->kind = ReplayEvent::Axes;
        event->mask = in_.Byte();
        if (event->mask == 0 || event->mask >= 64) failed_ = true;
        for (int i = 0; i < 6 && !failed_; ++i)
            if (event->mask & (1u << i)) event->axes[i] = in_.Float();
        break;
    case kWindow: {
        event->kind = ReplayEvent::Window;
        const uint32_t width = in_.Varint(), height = in_.Varint();
        const uint8_t reload = in_.Byte();
        const auto side = static_cast<uint32_t>(kReplayMaxWindow);
        if (width < 1 || height < 1 || width > side || height > side || reload > 1) failed_ = true;
        event->a = static_cast<int32_t>(width);
        event->b = static_cast<int32_t>(height);
        event->reload = reload == 1;
        break;
    }
    case kSuspend:
        event->kind = ReplayEvent::Suspend;
        break;
    case kResume:
        event->kind = ReplayEvent::Resume;
        break;
    case kFocusLost:
        event->kind = ReplayEvent::FocusLost;
        break;
    case kDataWait:
        event->kind = ReplayEvent::DataWait;
        break;
    case kCheck:
        event->kind = ReplayEvent::Check;
        event->check = in_.U32();
        break;
    case kEnd:
        event->kind = ReplayEvent::End;
        break;
    default:
        failed_ = true;
    }
    if (in_.Failed()) failed_ = true;
    return !failed_;
}

bool ReplayEventsWellFormed(const uint8_t* data, size_t size, uint32_t updates) {
    ReplayEventReader reader(data, size);
    ReplayEventData event;
    uint64_t ran = 0;
    while (reader.Next(&event)) {
        if (event.kind == ReplayEvent::End) return reader.AtEnd() && ran == updates;
        if (event.kind == ReplayEvent::Updates) ran += event.count;
        if (event.thenUpdate) ran += 1;
        if (ran > updates) return false;
    }
    return false;
}
