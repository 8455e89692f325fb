// Reading and writing replay files: the fixed header, the start state and
// the event stream deflated together with stb's zlib, and a CRC-32 of the
// inflated body, so a changed byte is caught before a single update runs.
#include "game/replay/replay_file.h"

#include "game/replay/replay_bytes.h"
#include "game/replay/replay_events.h"
#include "game/skitterbat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>

// stb's zlib: the compressor comes with the image writer, the decompressor
// with the image reader; both are in every build.
extern "C" unsigned char* stbi_zlib_compress(unsigned char* data, int data_len, int* out_len, int quality);
extern "C" int stbi_zlib_decode_buffer(char* obuffer, int olen, const char* ibuffer, int ilen);

namespace {

constexpr uint8_t kMagic[8] = {'S', 'K', 'B', 'R', 'P', 'L', 'Y', 0x1A};
constexpr int kCompressionQuality = 8;
constexpr size_t kMaxParticles = 100;
constexpr size_t kMaxOptions = 64;
// The earned badges' 8 words of 32 bits.
constexpr int32_t kBadgeFlags = 256;

ReplayLimits readerLimits;

uint32_t Crc32(const uint8_t* data, size_t size) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

template <size_t N> void WriteInts(ByteWriter& out, const int32_t (&values)[N]) {
    for (int32_t value : values) out.Signed(value);
}
template <size_t N> void ReadInts(ByteReader& in, int32_t (&values)[N]) {
    for (int32_t& value : values) value = in.Signed();
}

void WriteStart(ByteWriter& out, const ReplayStart& s) {
    out.U32(s.seed);
    out.Signed(s.difficulty);
    out.Signed(s.windowWidth);
    out.Signed(s.windowHeight);
    out.Float(s.screenWidth);
    out.Float(s.screenHeight);
    out.Float(s.scale);
    out.Float(s.scale2);
    out.Signed(s.scaleAxis);
    out.Signed(s.landscape);
    out.Signed(s.steerByKeys);
    out.Signed(s.iCade);
    WriteInts(out, s.settings);
    WriteInts(out, s.keyArray);
    for (int32_t value : {s.mouseX, s.mouseY, s.prevMouseX, s.prevMouseY, s.mouseDown, s.needRelease,
                          s.buttonLock, s.backHeld, s.pauseSelection})
        out.Signed(value);
    out.Float(s.tilt);
    out.Signed(s.shownScore);
    out.Signed(s.prevBallCount);
    out.Float(s.backdropAngle);
    for (uint32_t word : s.badgeWords) out.U32(word);
    WriteInts(out, s.noteBadges);
    WriteInts(out, s.noteAges);
    WriteInts(out, s.bestScores);
    out.Varint(static_cast<uint32_t>(s.particles.size()));
    for (const ReplayParticle& p : s.particles) {
        out.Byte(p.slot);
        for (float f : p.fields) out.Float(f);
    }
    out.Varint(static_cast<uint32_t>(s.options.size()));
    for (const auto& [id, value] : s.options) {
        out.Signed(id);
        out.Signed(value);
    }
}

bool Within(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

bool Finite(float value, float bound) {
    return std::isfinite(value) && std::fabs(value) <= bound;
}

// Only what a game could have been in: the game takes its start as it stands,
// and its arithmetic (a badge note's age counted on, a particle's frame made
// an index, the shown score eased towards the score) holds only there.
bool StartIsPlayable(const ReplayStart& s) {
    const bool screen = Within(s.difficulty, 1, 3) && Within(s.windowWidth, 1, kReplayMaxWindow) &&
                        Within(s.windowHeight, 1, kReplayMaxWindow) && s.screenWidth > 0 &&
                        s.screenWidth <= kReplayMaxWindow && s.screenHeight > 0 &&
                        s.screenHeight <= kReplayMaxWindow && s.scale >= kReplayMinScale &&
                        s.scale <= kReplayMaxScale && s.scale2 >= kReplayMinScale &&
                        s.scale2 <= kReplayMaxScale && Within(s.scaleAxis, 1, 2) && Within(s.landscape, 0, 1);
    // The game holds the pointer within a billion units of the corner.
    const int32_t pointer = 1000000000;
    const bool input =
        Within(s.steerByKeys, 0, 1) && Within(s.iCade, 0, 1) && Within(s.mouseX, -pointer, pointer) &&
        Within(s.mouseY, -pointer, pointer) && Within(s.prevMouseX, -pointer, pointer) &&
        Within(s.prevMouseY, -pointer, pointer) && Within(s.mouseDown, 0, 1) && Within(s.needRelease, 0, 1) &&
        Within(s.buttonLock, 0, 1) && Within(s.backHeld, 0, 1) && Within(s.pauseSelection, -1, 1);
    // Scores stay far below where the shown score's easing could overflow.
    const bool play = std::isfinite(s.tilt) && Within(s.shownScore, 0, 1 << 30) &&
                      Within(s.prevBallCount, 0, ObjectRecords) && std::isfinite(s.backdropAngle);
    bool notes = true;
    for (int k = 0; k < 15; ++k)
        notes = notes && Within(s.noteBadges[k], 0, kBadgeFlags - 1) && Within(s.noteAges[k], 0, 1 << 16);
    bool particles = true;
    for (const ReplayParticle& p : s.particles)
        for (float field : p.fields) particles = particles && Finite(field, 1e6f);
    return screen && input && play && notes && particles;
}

bool ReadStart(ByteReader& in, ReplayStart* s) {
    s->seed = in.U32();
    s->difficulty = in.Signed();
    s->windowWidth = in.Signed();
    s->windowHeight = in.Signed();
    s->screenWidth = in.Float();
    s->screenHeight = in.Float();
    s->scale = in.Float();
    s->scale2 = in.Float();
    s->scaleAxis = in.Signed();
    s->landscape = in.Signed();
    s->steerByKeys = in.Signed();
    s->iCade = in.Signed();
    ReadInts(in, s->settings);
    ReadInts(in, s->keyArray);
    for (int32_t* value : {&s->mouseX, &s->mouseY, &s->prevMouseX, &s->prevMouseY, &s->mouseDown,
                           &s->needRelease, &s->buttonLock, &s->backHeld, &s->pauseSelection})
        *value = in.Signed();
    s->tilt = in.Float();
    s->shownScore = in.Signed();
    s->prevBallCount = in.Signed();
    s->backdropAngle = in.Float();
    for (uint32_t& word : s->badgeWords) word = in.U32();
    ReadInts(in, s->noteBadges);
    ReadInts(in, s->noteAges);
    ReadInts(in, s->bestScores);
    const uint32_t particles = in.Varint();
    if (particles > kMaxParticles) return false;
    s->particles.resize(particles);
    for (ReplayParticle& p : s->particles) {
        p.slot = in.Byte();
        if (p.slot >= kMaxParticles) return false;
        for (float& f : p.fields) f = in.Float();
    }
    const uint32_t options = in.Varint();
    if (options > kMaxOptions) return false;
    s->options.resize(options);
    for (auto& [id, value] : s->options) {
        id = in.Signed();
        value = in.Signed();
    }
    return !in.Failed() && StartIsPlayable(*s);
}

ReplayReadResult Result(ReplayReadStatus status, std::string why) {
    ReplayReadResult result;
    result.status = status;
    result.why = std::move(why);
    return result;
}

// The header up to the body; `bodyAt` is where the deflated body starts.
struct Framing {
    uint32_t rawSize = 0, packedSize = 0, crc = 0;
    size_t bodyAt = 0;
};

ReplayReadResult ReadFraming(const uint8_t* bytes, size_t size, ReplayHeader* header, Framing* framing) {
    ByteReader in(bytes, size);
    const uint8_t* magic = in.Take(sizeof kMagic);
    if (magic == nullptr || std::memcmp(magic, kMagic, sizeof kMagic) != 0)
        return Result(ReplayReadStatus::NotAReplay, "not a replay: it does not start as one");
    header->formatVersion = static_cast<int>(in.U16());
    header->rulesVersion = static_cast<int>(in.U16());
    if (in.Failed()) return Result(ReplayReadStatus::Damaged, "not a replay: cut short in its header");
    if (header->formatVersion > kReplayFormatVersion || header->formatVersion < 1)
        return Result(ReplayReadStatus::NewerFormat, "not a replay: written by a newer version of the game");
    const uint8_t buildLength = in.Byte();
    const uint8_t* build = in.Take(buildLength);
    if (build == nullptr || buildLength > kReplayMaxBuildChars)
        return Result(ReplayReadStatus::Damaged, "not a replay: damaged header");
    header->build.assign(reinterpret_cast<const char*>(build), buildLength);
    for (char c : header->build)
        if (c < 0x20 || c > 0x7E) return Result(ReplayReadStatus::Damaged, "not a replay: damaged header");
    header->difficulty = in.Byte();
    header->score = static_cast<int32_t>(in.U32());
    header->updates = in.U32();
    header->recordedAt = static_cast<int64_t>(in.U64());
    framing->rawSize = in.U32();
    framing->packedSize = in.U32();
    framing->crc = in.U32();
    framing->bodyAt = in.Position();
    if (in.Failed()) return Result(ReplayReadStatus::Damaged, "not a replay: cut short in its header");
    if (header->difficulty < 1 || header->difficulty > 3 || header->updates == 0 ||
        header->updates > readerLimits.maxUpdates || header->score < 0)
        return Result(ReplayReadStatus::Damaged, "not a replay: its header claims what no game has");
    if (framing->rawSize == 0 || framing->rawSize > readerLimits.maxBodyBytes || framing->packedSize == 0)
        return Result(ReplayReadStatus::Damaged, "not a replay: its header claims what no game has");
    if (size - framing->bodyAt != framing->packedSize)
        return Result(ReplayReadStatus::Damaged, size - framing->bodyAt < framing->packedSize
                                                     ? "not a replay: cut short"
                                                     : "not a replay: more bytes than it says");
    if (header->rulesVersion < kReplayRulesVersion)
        return Result(ReplayReadStatus::OlderRules, "recorded with an older version of the game");
    if (header->rulesVersion > kReplayRulesVersion)
        return Result(ReplayReadStatus::NewerRules, "recorded with a newer version of the game");
    return Result(ReplayReadStatus::Ok, "");
}

} // namespace

void SetReplayLimits(const ReplayLimits& limits) {
    readerLimits = limits;
}

std::vector<uint8_t> WriteReplay(const Replay& replay) {
    std::vector<uint8_t> body;
    ByteWriter bodyOut(body);
    WriteStart(bodyOut, replay.start);
    body.insert(body.end(), replay.events.begin(), replay.events.end());

    int packedSize = 0;
    unsigned char* packed =
        stbi_zlib_compress(body.data(), static_cast<int>(body.size()), &packedSize, kCompressionQuality);
    if (packed == nullptr) return {};
    std::unique_ptr<unsigned char, void (*)(void*)> owned(packed, std::free);

    std::vector<uint8_t> file;
    ByteWriter out(file);
    out.Bytes(kMagic, sizeof kMagic);
    out.U16(static_cast<uint32_t>(replay.header.formatVersion));
    out.U16(static_cast<uint32_t>(replay.header.rulesVersion));
    const size_t buildLength = std::min(replay.header.build.size(), kReplayMaxBuildChars);
    out.Byte(static_cast<uint8_t>(buildLength));
    out.Bytes(reinterpret_cast<const uint8_t*>(replay.header.build.data()), buildLength);
    out.Byte(static_cast<uint8_t>(replay.header.difficulty));
    out.U32(static_cast<uint32_t>(replay.header.score));
    out.U32(replay.header.updates);
    out.U64(static_cast<uint64_t>(replay.header.recordedAt));
    out.U32(static_cast<uint32_t>(body.size()));
    out.U32(static_cast<uint32_t>(packedSize));
    out.U32(Crc32(body.data(), body.size()));
    out.Bytes(packed, static_cast<size_t>(packedSize));
    return file;
}

ReplayReadResult ReadReplayHeader(const uint8_t* bytes, size_t size, ReplayHeader* header) {
    Framing framing;
    return ReadFraming(bytes, size, header, &framing);
}

ReplayReadResult ReadReplay(const uint8_t* bytes, size_t size, Replay* replay) {
    Framing framing;
    ReplayReadResult framed = ReadFraming(bytes, size, &replay->header, &framing);
    if (!framed.ok()) return framed;

    std::vector<uint8_t> body(framing.rawSize);
    // Exactly the size the header gives, and not a byte more: a stream that
    // expands beyond it fails here, however far it would go.
    const int inflated = stbi_zlib_decode_buffer(
        reinterpret_cast<char*>(body.data()), static_cast<int>(body.size()),
        reinterpret_cast<const char*>(bytes + framing.bodyAt), static_cast<int>(framing.packedSize));
    if (inflated != static_cast<int>(framing.rawSize))
        return Result(ReplayReadStatus::Damaged, "not a replay: its compressed body is damaged");
    if (Crc32(body.data(), body.size()) != framing.crc)
        return Result(ReplayReadStatus::Damaged, "not a replay: its body was changed or damaged");

    ByteReader in(body.data(), body.size());
    if (!ReadStart(in, &replay->start))
        return Result(ReplayReadStatus::Damaged, "not a replay: its start is damaged");
    replay->events.assign(body.begin() + static_cast<std::ptrdiff_t>(in.Position()), body.end());
    if (!ReplayEventsWellFormed(replay->events.data(), replay->events.size(), replay->header.updates))
        return Result(ReplayReadStatus::Damaged, "not a replay: its events are damaged");
    return Result(ReplayReadStatus::Ok, "");
}

std::string ReplayClock(uint32_t updates) {
    const uint32_t seconds = updates / 60;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
    return text;
}
