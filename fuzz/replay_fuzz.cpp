// Replay fuzz target: the replay reader and the headless player, as
// --verify runs them. The first byte chooses what the rest is: a whole file,
// or the inflated body of one behind a header made here (difficulty, length,
// score, then the body), so that mutations reach the start and the event
// stream past the deflate stream and its CRC. Whatever reads as a replay is
// played to its end, written again and read back to the same bytes.
#include "game/replay/replay_file.h"
#include "game/replay/replay_verify.h"
#include "host/bb_app.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Four seconds of play (four checksums) and a body of 256 KB: a full-length
// game would take minutes of a sanitized build, and nothing in the reader or
// the player grows past these.
constexpr uint32_t kFuzzMaxUpdates = 240;
constexpr size_t kFuzzMaxBodyBytes = 256 * 1024;

constexpr uint8_t kMagic[8] = {'S', 'K', 'B', 'R', 'P', 'L', 'Y', 0x1A};

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// A zlib stream of stored blocks: no compressor in the loop, and every body
// byte the fuzzer sets reaches the reader as it was set.
std::vector<uint8_t> Stored(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(size - at, 65535);
        out.push_back(at + n == size ? 1 : 0);
        Put(out, n, 2);
        Put(out, ~n & 0xFFFF, 2);
        out.insert(out.end(), data + at, data + at + n);
        at += n;
    } while (at < size);
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    const uint32_t adler = (b << 16) | a;
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(adler >> shift));
    return out;
}

// difficulty (1 byte), updates (4), score (4), then the inflated body.
std::vector<uint8_t> BehindAHeader(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(kMagic, kMagic + sizeof kMagic);
    if (size < 9) return file;
    const uint8_t* body = data + 9;
    const size_t bodySize = size - 9;
    const std::vector<uint8_t> packed = Stored(body, bodySize);
    const char build[] = "fuzz";
    Put(file, kReplayFormatVersion, 2);
    Put(file, kReplayRulesVersion, 2);
    file.push_back(sizeof build - 1);
    file.insert(file.end(), build, build + sizeof build - 1);
    file.push_back(data[0]);
    file.insert(file.end(), data + 5, data + 9); // score
    file.insert(file.end(), data + 1, data + 5); // updates
    Put(file, 0, 8);
    Put(file, bodySize, 4);
    Put(file, packed.size(), 4);
    Put(file, Crc32(body, bodySize), 4);
    file.insert(file.end(), packed.begin(), packed.end());
    return file;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ReplayLimits limits;
    limits.maxUpdates = kFuzzMaxUpdates;
    limits.maxBodyBytes = kFuzzMaxBodyBytes;
    SetReplayLimits(limits);
    bbInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::vector<uint8_t> file =
        data[0] & 1 ? BehindAHeader(data + 1, size - 1) : std::vector<uint8_t>(data + 1, data + size);

    // The header alone says no more than the whole file does.
    ReplayHeader header;
    Replay replay;
    const ReplayReadResult headerRead = ReadReplayHeader(file.data(), file.size(), &header);
    const ReplayReadResult read = ReadReplay(file.data(), file.size(), &replay);
    if (read.ok() && !headerRead.ok()) std::abort();
    if (!headerRead.ok() && read.status != headerRead.status) std::abort();

    const VerifyOutcome outcome = VerifyReplayBytes(file);
    if (read.ok() != (outcome.status != VerifyStatus::Unreadable)) std::abort();
    if (!read.ok()) return 0;

    // Written again, it reads back to a replay that writes the same bytes.
    const std::vector<uint8_t> written = WriteReplay(replay);
    Replay again;
    if (!ReadReplay(written.data(), written.size(), &again).ok()) std::abort();
    if (WriteReplay(again) != written) std::abort();
    return 0;
}
