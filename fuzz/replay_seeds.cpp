// Seeds of the replay target from the golden games: each cut to its first
// seconds (within the target's length limit) and played to learn its score,
// as a whole file and as an inflated body behind the target's own header,
// plus the whole game, which the target refuses for its length.
#include "replay_seeds.h"

#include "game/replay/replay_events.h"
#include "game/replay/replay_file.h"
#include "game/replay/replay_player.h"
#include "game/replay/replay_store.h"
#include "game/skitterbat.h"
#include "host/bb_app.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

extern "C" int stbi_zlib_decode_buffer(char* obuffer, int olen, const char* ibuffer, int ilen);

namespace {

// Below the replay target's 240 updates, and past the first checksums.
constexpr uint32_t kSeedUpdates = 220;

void Save(const fs::path& path, uint8_t mode, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.put(static_cast<char>(mode));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The game's first `updates` updates or a few more, to the end of an event.
Replay Cut(const Replay& whole, uint32_t updates) {
    Replay cut = whole;
    ReplayEventReader reader(whole.events.data(), whole.events.size());
    ReplayEventData event;
    uint32_t played = 0;
    size_t end = 0;
    while (played < updates && reader.Next(&event) && event.kind != ReplayEvent::End) {
        if (event.kind == ReplayEvent::Updates) played += event.count;
        if (event.kind == ReplayEvent::Pointer && event.thenUpdate) ++played;
        end = reader.Position();
    }
    cut.events.assign(whole.events.begin(), whole.events.begin() + static_cast<std::ptrdiff_t>(end));
    cut.events.push_back(static_cast<uint8_t>(0x8C)); // End
    cut.header.updates = played;
    ReplayPlayer player;
    player.Start(cut, nullptr);
    while (player.Step() == ReplayPlayer::Status::Playing) {
    }
    cut.header.score = player.Game().Score;
    return cut;
}

// The deflated body of a written file, inflated again.
std::vector<uint8_t> Body(const std::vector<uint8_t>& file) {
    const size_t sizesAt = 13 + file[12] + 1 + 4 + 4 + 8;
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(file[at]) | static_cast<uint32_t>(file[at + 1]) << 8 |
               static_cast<uint32_t>(file[at + 2]) << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
    };
    std::vector<uint8_t> body(u32(sizesAt));
    const size_t packedAt = sizesAt + 12;
    stbi_zlib_decode_buffer(reinterpret_cast<char*>(body.data()), static_cast<int>(body.size()),
                            reinterpret_cast<const char*>(file.data() + packedAt),
                            static_cast<int>(file.size() - packedAt));
    return body;
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

void ReplaySeeds(const fs::path& dir, const fs::path& golden) {
    bbInit();
    for (const auto& entry : fs::directory_iterator(golden)) {
        if (entry.path().extension() != ".replay") continue;
        std::vector<uint8_t> bytes;
        Replay whole;
        if (!ReadCappedFile(entry.path().string(), &bytes) ||
            !ReadReplay(bytes.data(), bytes.size(), &whole).ok()) {
            std::fprintf(stderr, "%s: not a replay of this build, no seed made\n", entry.path().c_str());
            continue;
        }
        const std::string name = entry.path().stem().string();
        Save(dir / (name + ".whole"), 0, bytes);
        const Replay cut = Cut(whole, kSeedUpdates);
        const std::vector<uint8_t> file = WriteReplay(cut);
        Save(dir / (name + ".cut"), 0, file);
        std::vector<uint8_t> behind = {static_cast<uint8_t>(cut.header.difficulty)};
        Put32(behind, cut.header.updates);
        Put32(behind, static_cast<uint32_t>(cut.header.score));
        const std::vector<uint8_t> body = Body(file);
        behind.insert(behind.end(), body.begin(), body.end());
        Save(dir / (name + ".body"), 1, behind);
    }
}
