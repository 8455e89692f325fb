// Verifying replay files with no window, sound or display: each is played
// to its end as fast as it goes, and one line says how it went. What a score
// server would run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum class VerifyStatus { Ok = 0, Differs = 1, Unreadable = 2 };

struct VerifyOutcome {
    VerifyStatus status = VerifyStatus::Unreadable;
    // After the file's name: "ok, EASY, score 2466, 5:12 of play",
    // "differs from update 3780 (1:03)" or "not a replay: <reason>".
    std::string line;
};

VerifyOutcome VerifyReplayBytes(const std::vector<uint8_t>& bytes);
// Prints "FILE: <line>" a file to `out`; returns the exit status: 0 when all
// are ok, 1 when one differs, 2 when one cannot be read.
int VerifyReplayFiles(const std::vector<std::string>& paths, FILE* out);
