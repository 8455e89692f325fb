// The replays folder: listing it, writing a finished game into it and
// pruning it against the score lists.
#include "game/replay/replay_store.h"

#include "runtime/atomic_file.h"
#include "runtime/platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace {
constexpr char kExtension[] = ".replay";

// "0042-normal-2466.replay": the number comes first.
bool NumberOf(const char* name, uint32_t* number) {
    const size_t length = std::strlen(name);
    const size_t extension = sizeof kExtension - 1;
    if (length <= extension || std::strcmp(name + length - extension, kExtension) != 0) return false;
    uint32_t value = 0;
    size_t digits = 0;
    for (; name[digits] >= '0' && name[digits] <= '9'; ++digits) {
        if (digits >= 9) return false;
        value = value * 10 + static_cast<uint32_t>(name[digits] - '0');
    }
    if (digits == 0 || name[digits] != '-') return false;
    *number = value;
    return true;
}
} // namespace

const char* DifficultyName(int difficulty) {
    switch (difficulty) {
    case 1:
        return "EASY";
    case 2:
        return "NORMAL";
    case 3:
        return "HARD";
    default:
        return "UNKNOWN";
    }
}

bool ReadCappedFile(const std::string& path, std::vector<uint8_t>* bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bytes->clear();
    uint8_t chunk[4096];
    bool ok = true;
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file);
        bytes->insert(bytes->end(), chunk, chunk + got);
        if (bytes->size() > kReplayMaxFileBytes) {
            ok = false;
            break;
        }
        if (got < sizeof chunk) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    return ok;
}

std::string ReplayStore::DefaultFolder() {
    std::string state = gxtk_platform ? gxtk_platform->StateFilePath() : ".cobaltstate";
    const size_t slash = state.rfind('/');
    return (slash == std::string::npos ? std::string() : state.substr(0, slash + 1)) + "replays";
}

std::vector<KeptReplay> ReplayStore::List() const {
    std::vector<KeptReplay> kept;
    DIR* folder = opendir(folder_.c_str());
    if (folder == nullptr) return kept;
    std::vector<uint8_t> bytes;
    while (const dirent* entry = readdir(folder)) {
        KeptReplay replay;
        if (!NumberOf(entry->d_name, &replay.number)) continue;
        replay.path = folder_ + "/" + entry->d_name;
        if (!ReadCappedFile(replay.path, &bytes)) continue;
        if (!ReadReplayHeader(bytes.data(), bytes.size(), &replay.header).ok()) continue;
        kept.push_back(std::move(replay));
    }
    closedir(folder);
    std::sort(kept.begin(), kept.end(),
              [](const KeptReplay& a, const KeptReplay& b) { return a.number < b.number; });
    return kept;
}

bool ReplayStore::Keep(const std::vector<uint8_t>& file, const ReplayHeader& header, std::string* why) {
    if (::mkdir(folder_.c_str(), 0755) != 0 && errno != EEXIST) {
        *why = folder_ + ": " + std::strerror(errno);
        return false;
    }
    uint32_t next = 1;
    if (DIR* folder = opendir(folder_.c_str())) {
        while (const dirent* entry = readdir(folder)) {
            uint32_t number = 0;
            if (NumberOf(entry->d_name, &number)) next = std::max(next, number + 1);
        }
        closedir(folder);
    }
    char name[96];
    std::snprintf(name, sizeof name, "%04u-%s-%d%s", next, DifficultyName(header.difficulty), header.score,
                  kExtension);
    for (char* c = name; *c; ++c) *c = static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c - 'A' + 'a' : *c);
    const std::string path = folder_ + "/" + name;
    if (WriteFileAtomically(path.c_str(), std::string(file.begin(), file.end())) != 0) {
        *why = path + " could not be written";
        return false;
    }
    return true;
}

ReplayRows ReplayStore::Match(const std::vector<KeptReplay>& kept, const int* highscores) {
    ReplayRows rows;
    for (int d = 0; d < 3; ++d) {
        std::fill(std::begin(rows.best[d]), std::end(rows.best[d]), -1);
        std::fill(std::begin(rows.recent[d]), std::end(rows.recent[d]), -1);
        // The recent list, newest first, against the games newest first: a
        // row without a replay (an older build's game) is passed over.
        std::vector<int> newest;
        for (int i = static_cast<int>(kept.size()) - 1; i >= 0; --i)
            if (kept[static_cast<size_t>(i)].header.difficulty == d + 1) newest.push_back(i);
        size_t from = 0;
        for (int row = 0; row < 10; ++row) {
            const int score = highscores[30 + 10 * d + row];
            for (size_t j = from; j < newest.size(); ++j) {
                if (kept[static_cast<size_t>(newest[j])].header.score != score) continue;
                rows.recent[d][row] = newest[j];
                from = j + 1;
                break;
            }
        }
        // The best list holds equal scores oldest first; 0 is no score.
        std::vector<bool> taken(kept.size(), false);
        for (int row = 0; row < 10; ++row) {
            const int score = highscores[10 * d + row];
            if (score <= 0) continue;
            for (size_t i = 0; i < kept.size(); ++i) {
                if (taken[i] || kept[i].header.difficulty != d + 1 || kept[i].header.score != score) continue;
                taken[i] = true;
                rows.best[d][row] = static_cast<int>(i);
                break;
            }
        }
    }
    return rows;
}

const KeptReplay* ReplayIndex::At(int difficulty, bool recent, int row) const {
    if (difficulty < 1 || difficulty > 3 || row < 0 || row >= 10) return nullptr;
    const int i = recent ? rows.recent[difficulty - 1][row] : rows.best[difficulty - 1][row];
    return i >= 0 && static_cast<size_t>(i) < kept.size() ? &kept[static_cast<size_t>(i)] : nullptr;
}

ReplayIndex ReplayStore::Index(const int* highscores) const {
    ReplayIndex index;
    index.kept = List();
    index.rows = Match(index.kept, highscores);
    return index;
}

ReplayIndex ReplayStore::Prune(const int* highscores) {
    ReplayIndex index = Index(highscores);
    std::vector<bool> needed(index.kept.size(), false);
    for (int d = 0; d < 3; ++d)
        for (int row = 0; row < 10; ++row) {
            if (index.rows.best[d][row] >= 0) needed[static_cast<size_t>(index.rows.best[d][row])] = true;
            if (index.rows.recent[d][row] >= 0) needed[static_cast<size_t>(index.rows.recent[d][row])] = true;
        }
    bool removed = false;
    for (size_t i = 0; i < index.kept.size(); ++i) {
        if (needed[i]) continue;
        if (std::remove(index.kept[i].path.c_str()) != 0)
            std::fprintf(stderr, "Cannot remove %s: %s\n", index.kept[i].path.c_str(), std::strerror(errno));
        removed = true;
    }
    return removed ? Index(highscores) : index;
}
