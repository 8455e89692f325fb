// The framework's one random generator and the absolute-value helpers.
#include "runtime/random.h"

#include <cstdint>

int bb_random_Seed = 1234;

namespace {

// One draw of the 32-bit LCG: 24 significant bits in [0, 1).
float Draw() {
    uint32_t seed = static_cast<uint32_t>(bb_random_Seed) * 1664525u + 1013904223u;
    bb_random_Seed = static_cast<int>(seed);
    return static_cast<float>(seed >> 8) * 5.9604645e-8f;
}

} // namespace

float bb_random_Rnd() {
    return Draw();
}

float bb_random_Rnd2(float low, float high) {
    return low + (high - low) * Draw();
}

float bb_random_Rnd3(float range) {
    return Draw() * range;
}

// Negation wraps, so the smallest int stays itself.
int bb_math_Abs(int value) {
    return value < 0 ? static_cast<int>(0u - static_cast<unsigned>(value)) : value;
}

float bb_math_Abs2(float value) {
    return value < 0 ? -value : value;
}
