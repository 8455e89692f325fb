// Seeds of the replay fuzz target, made from the golden games.
#pragma once

#include <filesystem>

namespace fs = std::filesystem;

// Writes the seeds of every replay in `golden` into `dir`.
void ReplaySeeds(const fs::path& dir, const fs::path& golden);
