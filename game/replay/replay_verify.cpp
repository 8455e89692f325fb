// Headless verification: the player run flat out on each file.
#include "game/replay/replay_verify.h"

#include "game/replay/replay_file.h"
#include "game/replay/replay_player.h"
#include "game/replay/replay_store.h"
#include "game/skitterbat.h"
#include "host/bb_app.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
std::string Differs(uint32_t update) {
    return "differs from update " + std::to_string(update) + " (" + ReplayClock(update) + ")";
}
} // namespace

VerifyOutcome VerifyReplayBytes(const std::vector<uint8_t>& bytes) {
    VerifyOutcome outcome;
    Replay replay;
    const ReplayReadResult read = ReadReplay(bytes.data(), bytes.size(), &replay);
    if (!read.ok()) {
        outcome.line = read.why;
        return outcome;
    }
    const ReplayHeader header = replay.header;
    ReplayPlayer player;
    player.Start(std::move(replay), nullptr);
    while (player.Step() == ReplayPlayer::Status::Playing) {
    }
    if (player.status() == ReplayPlayer::Status::Desynced) {
        outcome.status = VerifyStatus::Differs;
        outcome.line = Differs(player.DesyncedAt());
        return outcome;
    }
    if (player.Game().Score != header.score || player.Played() != header.updates) {
        outcome.status = VerifyStatus::Differs;
        outcome.line = Differs(player.Played());
        return outcome;
    }
    outcome.status = VerifyStatus::Ok;
    outcome.line = std::string("ok, ") + DifficultyName(header.difficulty) + ", score " +
                   std::to_string(header.score) + ", " + ReplayClock(header.updates) + " of play";
    return outcome;
}

int VerifyReplayFiles(const std::vector<std::string>& paths, FILE* out) {
    // The framework's globals as a start-up leaves them; no device is made.
    bbInit();
    VerifyStatus worst = VerifyStatus::Ok;
    for (const std::string& path : paths) {
        std::vector<uint8_t> bytes;
        VerifyOutcome outcome;
        errno = 0;
        if (!ReadCappedFile(path, &bytes)) {
            outcome.line =
                std::string("cannot be read: ") + (errno != 0 ? std::strerror(errno) : "too large");
        } else {
            outcome = VerifyReplayBytes(bytes);
        }
        std::fprintf(out, "%s: %s\n", path.c_str(), outcome.line.c_str());
        std::fflush(out);
        worst = std::max(worst, outcome.status);
    }
    return static_cast<int>(worst);
}
