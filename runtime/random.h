// The framework's random generator (a 32-bit LCG seeded 1234) and absolute values.
#pragma once

extern int bb_random_Seed;

float bb_random_Rnd();
float bb_random_Rnd2(float low, float high);
float bb_random_Rnd3(float range);

int bb_math_Abs(int value);
float bb_math_Abs2(float value);
