// The kept replays: one file a finished game in replays/ beside the state
// file, named by a running number, its difficulty and its score. A replay is
// kept while its score stands in the best or the recent list of its
// difficulty, and matched to the rows of those lists.
#pragma once

#include "game/replay/replay_file.h"

#include <cstdint>
#include <string>
#include <vector>

struct KeptReplay {
    std::string path;
    uint32_t number = 0; // later games have higher numbers
    ReplayHeader header;
};

// Which kept replay stands behind each row of the score lists (-1: none),
// indexed [difficulty - 1][row]; an index into the list it was made from.
struct ReplayRows {
    int best[3][10];
    int recent[3][10];
};

// The kept replays and the rows they stand behind.
struct ReplayIndex {
    std::vector<KeptReplay> kept;
    ReplayRows rows;
    // The kept replay behind a row, or null.
    const KeptReplay* At(int difficulty, bool recent, int row) const;
};

// "EASY", "NORMAL" or "HARD".
const char* DifficultyName(int difficulty);

class ReplayStore {
  public:
    // The folder beside the platform's state file.
    static std::string DefaultFolder();
    explicit ReplayStore(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }
    // Every replay of ours in the folder, oldest first; others are left alone.
    std::vector<KeptReplay> List() const;
    // Writes a finished game's file under the next number. False (with the
    // reason) when it cannot be written.
    bool Keep(const std::vector<uint8_t>& file, const ReplayHeader& header, std::string* why);
    // The kept replays against `highscores` (the game's 60 entries).
    ReplayIndex Index(const int* highscores) const;
    // The same, after removing the replays no row stands on.
    ReplayIndex Prune(const int* highscores);

    // Rows of a listing against the score lists, without touching the folder.
    static ReplayRows Match(const std::vector<KeptReplay>& kept, const int* highscores);

  private:
    std::string folder_;
};

// A whole file's bytes; false when it cannot be read or is larger than any replay.
bool ReadCappedFile(const std::string& path, std::vector<uint8_t>* bytes);
