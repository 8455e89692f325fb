// The replay verifier for node: the same check and output as `skitterbat
// --verify`, on real files (NODERAWFS), with no window, GL or sound.
#include "game/replay/replay_verify.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int count, char** arguments) {
    if (count < 2) {
        std::fputs("Usage: node skitterbat-verify.js FILE...\n", stderr);
        return 2;
    }
    const std::vector<std::string> paths(arguments + 1, arguments + count);
    return VerifyReplayFiles(paths, stdout);
}
