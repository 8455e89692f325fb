// A small synthesiser for the sound effects: voices with envelopes, pitch
// sweeps, vibrato and FM, noise, filters and echo, mixed into a float buffer.
#pragma once

#include <cstddef>
#include <vector>

namespace synth {

constexpr int kRate = 44100;

enum class Wave { Sine, Triangle, Square, Saw, Noise };

struct Voice {
    Wave wave = Wave::Sine;
    float freq = 440;    // Hz at the start
    float freqEnd = 0;   // Hz at the end (0: no sweep); exponential glide
    float sweepTime = 0; // seconds the glide takes (0: the whole note)
    float duty = 0.5f;   // square pulse width
    float vibrato = 0;   // depth in semitones
    float vibratoRate = 6;
    float attack = 0.005f;
    float decay = 0.1f;   // to the sustain level
    float sustain = 0.0f; // level 0..1 held until release
    float release = 0.05f;
    float gain = 1;
    float fmRatio = 0; // FM modulator frequency ratio (0: no FM)
    float fmIndex = 0; // modulation index at the start
    float fmDecay = 0; // seconds for the index to fall to a third
    float lowpass = 0; // one-pole low-pass cutoff in Hz (0: none)
    float tremolo = 0; // depth 0..1
    float tremoloRate = 8;
    unsigned seed = 1; // noise seed
};

class Buffer {
  public:
    explicit Buffer(float seconds) : s_(std::size_t(seconds * kRate), 0.0f) {}
    // Plays a voice from `start` for `length` seconds (release comes after).
    void play(const Voice& v, float start, float length);
    // Low-pass over the whole buffer (cutoff in Hz).
    void lowpass(float cutoff);
    void highpass(float cutoff);
    void echo(float delay, float feedback, float mix);
    std::vector<float>& samples() { return s_; }

  private:
    std::vector<float> s_;
};

// Fades both ends, matches loudness and keeps the peak at or below -1 dBFS.
void finish(std::vector<float>& s);

// Semitone steps from A4 = 440 Hz.
float note(int semitonesFromA4);

} // namespace synth
