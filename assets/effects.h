// The game's sound effects: which numbers exist, how each is synthesised, and
// how it is stored (16-bit mono PCM in a plain RIFF/WAVE file).
#pragma once

#include <string>
#include <vector>

const std::vector<int>& effectNumbers();
std::string effectFile(int number); // "sfx/005.wav"
std::vector<float> synthesiseEffect(int number);
std::vector<unsigned char> wavFile(const std::vector<float>& samples, int rate);
